// The Unicode memo: a multi-line EDIT window whose text and lines are UTF-16, and the
// road between UTF-16 text and the clipboard through a (hidden) memo.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "unicode/uni_win_control_win32.h"
#include "unicode/wide_strings.h"

namespace unicode {

class TUniCustomMemo;

// The lines of a memo, read and written through the window's own line messages. While the
// memo has no window they work on the text it keeps for its window.
class TUniMemoStrings : public TUniStrings {
 public:
  explicit TUniMemoStrings(TUniCustomMemo& memo) : memo_(memo) {}

  // A line above 65535 characters raises EOutOfResources "Line too long" (the whole text
  // is still available through Text).
  std::u16string Get(int index) const override;
  // A last line that is empty does not count.
  int GetCount() const override;
  void Put(int index, std::u16string_view s) override;
  void Insert(int index, std::u16string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetUpdateState(bool updating) override;
  // The memo's whole text as it stands, not rebuilt from lines.
  std::u16string GetTextStr() const override;
  // Line breaks become CR LF; the window text is set only when it changes.
  void SetTextStr(std::u16string_view text) override;

 private:
  HWND Window() const;
  template <typename Edit>
  void EditOffline(Edit&& edit);

  TUniCustomMemo& memo_;
};

class TUniCustomMemo : public TUniWinControl {
 public:
  TUniCustomMemo();
  ~TUniCustomMemo() override;

  TUniMemoStrings& Lines() { return lines_; }

  // The whole text: the window's, or while there is none the text kept for it.
  std::u16string Text() const;
  // Sets the window text only when it differs (no change notification otherwise).
  void SetText(std::u16string_view text);

  // Positions in UTF-16 characters.
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);
  std::u16string SelText() const;
  void SetSelText(std::u16string_view text);

  void Clear();
  void SelectAll();
  void PasteFromClipboard();
  void CopyToClipboard();
  void CutToClipboard();

  bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // EN_CHANGE: the text was changed by the user or by the program.
  std::function<void()> OnChange;

  // Set once by the program: every memo's paste (WM_PASTE, Shift+Insert) goes there instead
  // of the EDIT window's own, which reads the clipboard on the window's thread.
  static void SetPasteHandler(std::function<void(HWND)> paste);

 protected:
  CreateParams GetCreateParams() const override;
  void CreateWnd() override;
  void DestroyWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  friend class TUniMemoStrings;
  void ApplyWindowText(const std::u16string& text);

  TUniMemoStrings lines_;
  bool settingText_ = false;
  bool changeReported_ = false;
  std::u16string pendingText_;  // the text while there is no window
};

// The class that window descriptions name; all of TUniCustomMemo is public already.
class TUniMemo : public TUniCustomMemo {};

// The clipboard road of the main window through its hidden memo myUniMemo: the exchange its
// EDIT window's paste and copy make, in the memo's name, without the text entering the EDIT
// (memo_clipboard_win32.cpp says why).
// Reading: the clipboard's CF_UNICODETEXT up to its first NUL. Nothing when there is none, or
// when another program holds the clipboard: a read that failed is never an empty text.
std::optional<std::u16string> ReadClipboardTextThroughMemo(TUniCustomMemo& memo);
// Writing: the text up to its first NUL as CF_UNICODETEXT (the system offers CF_TEXT and
// CF_OEMTEXT from it). An empty text copies nothing (and succeeds). False when the text did not
// reach the clipboard (another program held it, or no memory), so that the caller may try again.
bool WriteClipboardTextThroughMemo(TUniCustomMemo& memo, std::u16string_view text);

}  // namespace unicode
