// The Unicode check-list box: an owner-drawn LISTBOX (LBS_HASSTRINGS, so that other
// programs can read the rows with LB_GETCOUNT, LB_GETTEXTLEN and LB_GETTEXT, also when the
// captions come from a caption source) that draws a check box in front of each row. Check state, enabled flag, header flag and object of
// every row survive the recreation of the window with the rows themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "unicode/uni_list_box_win32.h"

namespace unicode {

enum class TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

class TUniCheckListBox : public TUniCustomListBox {
 public:
  TUniCheckListBox();
  ~TUniCheckListBox() override;

  // Row states. Bad indexes raise EListError.
  TCheckBoxState State(int index) const;
  void SetState(int index, TCheckBoxState state);
  bool Checked(int index) const { return State(index) != TCheckBoxState::cbUnchecked; }
  void SetChecked(int index, bool checked);
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);
  bool Header(int index) const;
  void SetHeader(int index, bool header);

  // With AllowGrayed a click cycles unchecked, checked, grayed.
  bool AllowGrayed = false;
  void SetHeaderColors(COLORREF text, COLORREF background);

  // The width of the check-box column at the left of each row.
  int CheckWidth() const;

  // Toggles the row's check as a click on its box does (enabled, non-header rows only)
  // and runs OnClickCheck.
  void ToggleClickCheck(int index);

  bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // While a scope is open, a row the list asks to draw at once (a new selection, the moved
  // focus) is only marked for the next paint. A short burst of changes (a capture's new row
  // and its selection) then costs no drawing while it runs and repaints only the rows it
  // touched, where a redraw-off scope draws nothing but repaints the whole list after it.
  class TRowPaintDeferral {
   public:
    explicit TRowPaintDeferral(TUniCheckListBox& list) : list_(list) { ++list_.rowPaintDeferrals_; }
    ~TRowPaintDeferral() { --list_.rowPaintDeferrals_; }
    TRowPaintDeferral(const TRowPaintDeferral&) = delete;
    TRowPaintDeferral& operator=(const TRowPaintDeferral&) = delete;

   private:
    TUniCheckListBox& list_;
  };

  std::function<void()> OnClickCheck;
  // Draws a row's text area instead of the control (the check box is drawn already).
  std::function<void(int index, const RECT& rect, UINT state, HDC dc)> OnDrawItem;
  // After every paint, vertical scroll and wheel message: for marks drawn over the rows.
  std::function<void()> OnAfterPaint;

 protected:
  CreateParams GetCreateParams() const override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool TakeChar(wchar_t key) override;
  void* ItemObject(int index) const override;
  void SetItemObject(int index, void* object) override;
  void RowDataReleased(LPARAM data) override;
  void RowsCleared() override;

 private:
  // The state of a row lives in a slot; the row's data word is the slot number + 1
  // (0: a row in the default state, which needs no slot).
  struct RowState {
    TCheckBoxState state = TCheckBoxState::cbUnchecked;
    bool enabled = true;
    bool header = false;
    void* object = nullptr;
  };
  const RowState* FindState(int index) const;
  RowState& EnsureState(int index);
  void DrawRow(const DRAWITEMSTRUCT& item);
  bool InCheckBox(int x, int y, int& index) const;

  std::vector<RowState> slots_;
  std::vector<LPARAM> freeSlots_;
  COLORREF headerColor_ = kDefaultColor;
  COLORREF headerBackground_ = kDefaultColor;
  int rowPaintDeferrals_ = 0;
};

}  // namespace unicode
