// A Unicode LISTBOX control and its items as a wide string list. The rows live in the
// window while it exists; while it does not (before Create, or while it is recreated)
// the control keeps them, with their data words, top row and selection, and gives them
// back to the next window.
//
// With a caption source the rows' captions are kept by the owner instead (a list of 100000
// rows would otherwise hold a second copy of every caption): the window stores an empty
// string per row and answers LB_GETTEXT, LB_GETTEXTLEN, the string searches and the
// type-ahead of a typed character from the source, for this program and for others alike.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "unicode/uni_string_list.h"
#include "unicode/uni_win_control_win32.h"
#include "unicode/wide_strings.h"

namespace unicode {

class TUniCustomListBox;

class TUniListBoxStrings : public TUniStrings {
 public:
  explicit TUniListBoxStrings(TUniCustomListBox& listBox) : listBox_(listBox) {}

  // A row that does not exist raises EListError "List index out of bounds (%d)".
  std::u16string Get(int index) const override;
  int GetCount() const override;
  void* Objects(int index) const override;
  void PutObject(int index, void* object) override;
  // Keeps the row's data word (check state, object) and the selected row.
  void Put(int index, std::u16string_view s) override;
  // A row the window refuses raises EOutOfResources "Unable to insert a line".
  int Add(std::u16string_view s) override;
  void Insert(int index, std::u16string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  // The selected row follows its string.
  void Exchange(int index1, int index2) override;
  // The window's case-insensitive whole-string search.
  int IndexOf(std::u16string_view s) const override;
  void Move(int curIndex, int newIndex) override;
  // Reserves room in the window for that many rows (LB_INITSTORAGE).
  void SetCapacity(int capacity) override;
  void AddStrings(const TWideStrings& strings) override;
  // Redrawing stops while an update runs.
  void SetUpdateState(bool updating) override;

 private:
  TUniCustomListBox& listBox_;
};

class TUniCustomListBox : public TUniWinControl {
 public:
  TUniCustomListBox();
  ~TUniCustomListBox() override;

  TUniListBoxStrings& Items() { return items_; }
  const TUniListBoxStrings& Items() const { return items_; }

  // The selected row (the caret row with multiple selection); -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  int TopIndex() const;
  void SetTopIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);

  bool MultiSelect() const;
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);

  // The row's rectangle in client coordinates (empty when the row is not there).
  RECT ItemRect(int index) const;
  // The row under a client point: -1 when none, or with existing = false the row count
  // when the point lies below the last row.
  int ItemAtPos(POINT point, bool existing) const;

  void AddItem(std::u16string_view item, void* object);

  // Row i's caption is source(i), valid until the rows change; the text given to a row when
  // it is added or put is then ignored, and putting a row only repaints it. Set before the
  // first row is added.
  using CaptionSource = std::function<std::u16string_view(int index)>;
  void SetCaptionSource(CaptionSource source) { captionSource_ = std::move(source); }
  bool HasCaptionSource() const { return static_cast<bool>(captionSource_); }
  // The selected rows (or the ItemIndex row) with their objects, added to destination.
  void CopySelection(TWideStrings& destination) const;

  bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  std::function<void()> OnClick;     // LBN_SELCHANGE
  std::function<void()> OnDblClick;  // LBN_DBLCLK

 protected:
  CreateParams GetCreateParams() const override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // A typed character that OnKeyPress let through, before the window's own search sees it:
  // true when the list took it.
  virtual bool TakeChar(wchar_t) { return false; }
  void CreateWnd() override;
  void DestroyWnd() override;

  // An item's object; by default its data word.
  virtual void* ItemObject(int index) const;
  virtual void SetItemObject(int index, void* object);
  // A row with this data word is deleted for good.
  virtual void RowDataReleased(LPARAM data) {}
  // Every row is deleted.
  virtual void RowsCleared() {}

  // The rows, in the window or kept while there is none. Bad indexes raise EListError.
  int RowCount() const;
  std::u16string RowText(int index) const;
  int InsertRow(int index, std::u16string_view text);  // -1 appends; returns the index
  void DeleteRow(int index);
  void ClearRows();
  LPARAM RowData(int index) const;
  void SetRowData(int index, LPARAM data);
  void InvalidateRow(int index);

 private:
  friend class TUniListBoxStrings;
  void CheckRow(int index) const;
  // With a caption source: the row's caption as the window would keep it (up to a NUL).
  std::u16string_view SourceCaption(int index) const;
  // LB_FINDSTRING (prefix) and LB_FINDSTRINGEXACT over the source's captions, from the row
  // after `start`, wrapping around; LB_ERR when none matches.
  int FindCaption(int start, std::u16string_view text, bool exact) const;
  // The typed character moves the selection to the next row whose caption starts with it.
  void TypeAhead(wchar_t key);
  // What the window does with a typed character that no handler took.
  LRESULT PassChar(wchar_t key, LPARAM lp);

  TUniListBoxStrings items_;
  TUniStringList saved_;  // rows without a window; objects hold the data words
  int savedTopIndex_ = 0;
  int savedItemIndex_ = -1;
  int itemHeight_ = 16;
  CaptionSource captionSource_;
};

}  // namespace unicode
