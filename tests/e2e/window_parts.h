// Parts of the program's windows as another program finds them: a child window by class
// (and caption), the centre of a window on the screen, the window holding the focus.
#pragma once

#include <windows.h>

#include <string>

#include "program_driver.h"

namespace e2e {

struct ChildSearch {
  std::wstring cls, text;
  HWND found = nullptr;
  static BOOL CALLBACK Match(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if ((!s->cls.empty() && WindowClass(hwnd) != s->cls) || (!s->text.empty() && WindowText(hwnd) != s->text)) {
      return TRUE;
    }
    s->found = hwnd;
    return FALSE;
  }
};

// The first child (at any depth) of the class (any class when empty), and with the caption
// when one is given.
inline HWND ChildWindow(HWND parent, const std::wstring& windowClass, const std::wstring& caption = L"") {
  ChildSearch search{windowClass, caption};
  EnumChildWindows(parent, ChildSearch::Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What the system knows of the thread of `window`: its focus, capture, menu mode.
inline GUITHREADINFO GuiThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

// The window that has the keyboard focus in the thread of `window`.
inline HWND FocusOf(HWND window) { return GuiThreadInfoOf(window).hwndFocus; }

inline POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace e2e
