// Helpers of the widget tests: a plain parent window with a known background, and a memory
// picture of a control painted as WM_PAINT would paint it.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "widgets/widget_window_win32.h"

namespace widget_tests {

constexpr COLORREF kParentBackground = RGB(0, 140, 70);

class Parent {
 public:
  Parent() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QuillWidgetTestParent";
      wc.hbrBackground = CreateSolidBrush(kParentBackground);
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd = CreateWindowExW(0, L"QuillWidgetTestParent", L"测试", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 600,
                           400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    error = GetLastError();
  }
  ~Parent() { DestroyWindow(hwnd); }
  HWND hwnd;
  DWORD error = 0;
};

// The control's client area painted into a memory bitmap, read back pixel by pixel.
class Picture {
 public:
  explicit Picture(widgets::WidgetWindow& control) {
    RECT r{};
    GetClientRect(control.Handle(), &r);
    width = r.right;
    height = r.bottom;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    control.PaintTo(dc_);
  }
  ~Picture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int Count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) n += At(x, y) == c;
    }
    return n;
  }
  int width = 0, height = 0;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

inline void PumpFor(DWORD ms, const std::function<void()>& each = {}) {
  const DWORD end = GetTickCount() + ms;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (each) each();
    Sleep(5);
  }
}

}  // namespace widget_tests
