// A parent window for the control tests: it reflects notifications to the controls
// registered with it, as the program's own windows do.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "unicode/uni_win_control_win32.h"

namespace testing_win32 {

class TestParent {
 public:
  explicit TestParent(bool visible = false) {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &TestParent::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QuillUnicodeTestParent";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd = CreateWindowExW(0, L"QuillUnicodeTestParent", L"测试", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                           10, 10, 500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TestParent() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;

  void Add(unicode::TUniWinControl* control) { controls.push_back(control); }

  HWND hwnd = nullptr;
  std::vector<unicode::TUniWinControl*> controls;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_DELETEITEM:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORSTATIC:
        if (self != nullptr) {
          for (auto* control : self->controls) {
            LRESULT result = 0;
            if (control->HandleParentMessage(msg, wp, lp, result)) return result;
          }
        }
        break;
      default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
};

// Runs every pending message of this thread.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline RECT Bounds(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace testing_win32
