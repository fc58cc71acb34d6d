// The program's one-line input dialogs and message boxes seen from another process: found by
// caption or text, read, and answered the way a user does.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace e2e {

// A visible input dialog (a dialog with an edit box) of the process with this caption, or
// nullptr when none shows within the timeout.
HWND WaitForInputDialog(DWORD processId, const std::wstring& caption,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));
// The prompt above the edit box.
std::wstring InputDialogPrompt(HWND dialog);
// Types the text into the edit box one character at a time (WM_CHAR, as the keyboard
// delivers it); true once the box shows it.
bool TypeIntoInputDialog(HWND dialog, const std::wstring& text);
// Types the text (as above), then presses OK, or Cancel; true when the dialog closed.
bool AnswerInputDialog(HWND dialog, const std::wstring& text, bool ok = true);

// A visible message box of the process whose text contains the fragment (nullptr when none
// shows within the timeout).
HWND WaitForMessageBox(DWORD processId, const std::wstring& textFragment,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Whether any dialog or message box of the process shows now.
bool AnyDialogShows(DWORD processId);

}  // namespace e2e
