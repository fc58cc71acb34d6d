#include "input_dialog_driver.h"

#include "program_driver.h"

namespace e2e {

namespace {

HWND EditBox(HWND dialog) { return FindWindowExW(dialog, nullptr, L"Edit", nullptr); }

}  // namespace

HWND WaitForInputDialog(DWORD processId, const std::wstring& caption, std::chrono::milliseconds timeout) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    for (HWND d : VisibleDialogs(processId)) {
      if (EditBox(d) && WindowText(d) == caption) dialog = d;
    }
    return dialog != nullptr;
  }, timeout);
  return dialog;
}

std::wstring InputDialogPrompt(HWND dialog) {
  HWND prompt = FindWindowExW(dialog, nullptr, L"Static", nullptr);
  return prompt ? WindowText(prompt) : std::wstring();
}

bool TypeIntoInputDialog(HWND dialog, const std::wstring& text) {
  HWND edit = EditBox(dialog);
  if (!edit) return false;
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
  return WaitUntil([&] { return WindowText(edit) == text; }, std::chrono::seconds(10));
}

bool AnswerInputDialog(HWND dialog, const std::wstring& text, bool ok) {
  if (!TypeIntoInputDialog(dialog, text)) return false;
  PressDialogButton(dialog, ok ? IDOK : IDCANCEL);
  return WaitUntil([&] { return !IsWindow(dialog); }, std::chrono::seconds(20));
}

HWND WaitForMessageBox(DWORD processId, const std::wstring& textFragment, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  WaitUntil([&] {
    for (HWND d : VisibleDialogs(processId)) {
      HWND text = GetDlgItem(d, 0xFFFF);  // a message box's text
      if (text && WindowText(text).find(textFragment) != std::wstring::npos) box = d;
    }
    return box != nullptr;
  }, timeout);
  return box;
}

bool AnyDialogShows(DWORD processId) { return !VisibleDialogs(processId).empty(); }

}  // namespace e2e
