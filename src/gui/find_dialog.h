// The system's modeless find dialog (FindTextW) as a component: Execute shows it, OnFind
// runs for "Find Next", OnClose when it closes. The owner window hands its messages to
// HandleOwnerMessage (the dialog reports through a registered message to its owner), and
// the application's message loop passes the dialog its keys while it is open.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

namespace gui {

class FindDialog {
 public:
  FindDialog();
  ~FindDialog();
  FindDialog(const FindDialog&) = delete;
  FindDialog& operator=(const FindDialog&) = delete;

  // The options the dialog offers besides whole word (shown unless hidden).
  bool hideMatchCase = true;
  bool hideDirection = true;

  // Shows the dialog, or brings it to the front when it is open.
  void Execute(HWND owner);
  // Closes it as its Cancel button does (OnClose follows).
  void CloseDialog();
  HWND Handle() const { return dialog_; }

  std::u16string FindWhat() const;
  bool WholeWord() const { return (fr_.Flags & FR_WHOLEWORD) != 0; }

  // True when the message was the dialog's report (handled).
  bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp);

  std::function<void()> OnFind;
  std::function<void()> OnClose;

 private:
  FINDREPLACEW fr_{};
  wchar_t text_[256] = {};
  HWND dialog_ = nullptr;
};

}  // namespace gui
