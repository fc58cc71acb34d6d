// A top-level window of the test process with one edit box: the "other program" that the
// user works in while the history pastes into it or copies from it.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "program_driver.h"

namespace e2e {

class ForeignEditor {
 public:
  explicit ForeignEditor(bool multiLine = false) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = L"QuilloraE2EForeignEditor";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"另一个程序", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 100, 420,
                              multiLine ? 240 : 160, nullptr, nullptr, wc.hInstance, nullptr);
    const DWORD style = multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL;
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 380,
                            multiLine ? 180 : 28, window_, nullptr, wc.hInstance, nullptr);
  }
  ~ForeignEditor() { DestroyWindow(window_); }
  ForeignEditor(const ForeignEditor&) = delete;
  ForeignEditor& operator=(const ForeignEditor&) = delete;

  // Brings the window to the foreground with the focus in its edit box.
  bool Activate() {
    using namespace std::chrono_literals;
    return WaitUntil([&] {
      if (GetForegroundWindow() != window_) SetForegroundWindow(window_);
      if (GetFocus() != edit_) SetFocus(edit_);
      return GetForegroundWindow() == window_ && GetFocus() == edit_;
    }, 10s);
  }
  std::wstring Text() const { return WindowText(edit_); }
  void SetText(const std::wstring& text) { SetWindowTextW(edit_, text.c_str()); }
  void SelectAll() { SendMessageW(edit_, EM_SETSEL, 0, -1); }
  HWND window() const { return window_; }

 private:
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

}  // namespace e2e
