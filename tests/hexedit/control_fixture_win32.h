// A visible top-level window with hex editor controls, and real keyboard and mouse input
// (SendInput) into them, as a user gives it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hexedit/hex_editor_control_win32.h"

namespace hexedit {

inline void PumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
  return true;
}

inline INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// A key with modifiers held (VK_SHIFT, VK_CONTROL), then released.
inline void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> in;
  for (WORD m : modifiers) in.push_back(KeyInput(m, false));
  in.push_back(KeyInput(vk, false));
  in.push_back(KeyInput(vk, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) in.push_back(KeyInput(*it, true));
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  PumpFor(60);
}

// Characters as typed text (each a Unicode key stroke).
inline void TypeText(std::u16string_view text) {
  std::vector<INPUT> in;
  for (char16_t c : text) {
    for (bool up : {false, true}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      in.push_back(i);
    }
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  PumpFor(80);
}

inline INPUT MouseAt(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

// The screen point in the middle of a cell of an editor.
inline POINT CellCentre(const HexEditorControl& editor, GridCell cell) {
  const RECT r = editor.CellRect(cell);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(editor.Handle(), &p);
  return p;
}

// A mouse drag from one screen point to another, sent from another thread so that the
// program's thread can sit in a modal drag loop meanwhile; returns the thread to join.
inline std::thread DragInBackground(POINT from, POINT to, int steps = 8) {
  return std::thread([from, to, steps] {
    Sleep(100);
    INPUT down[] = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, down, sizeof(INPUT));
    for (int i = 1; i <= steps; ++i) {
      Sleep(40);
      POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
      INPUT move = MouseAt(p, 0);
      SendInput(1, &move, sizeof(INPUT));
    }
    Sleep(150);
    INPUT up = MouseAt(to, MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof(INPUT));
  });
}

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QuillHexEditorTestWindow";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      return RegisterClassW(&wc);
    }();
    (void)atom;
    OleInitialize(nullptr);
    window_ = CreateWindowExW(0, L"QuillHexEditorTestWindow", L"十六进制编辑器测试", WS_POPUP | WS_VISIBLE | WS_BORDER,
                              20, 20, 1100, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    editor_.Create(window_, 1, RECT{0, 0, 640, 400});
    SetForegroundWindow(window_);
    editor_.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == editor_.Handle(); }, 5000));
  }
  void TearDown() override {
    if (second_) second_.reset();
    DestroyWindow(window_);
    PumpFor(20);
  }
  // A second editor at the right of the first.
  HexEditorControl& Second() {
    if (!second_) {
      second_ = std::make_unique<HexEditorControl>();
      second_->Create(window_, 2, RECT{650, 0, 1090, 400});
    }
    return *second_;
  }
  std::string Text(const HexEditorControl& e) const {
    const Bytes& b = e.Data().Bytes();
    return std::string(b.begin(), b.end());
  }
  void Click(HexEditorControl& editor, GridCell cell, std::initializer_list<WORD> modifiers = {}) {
    std::vector<INPUT> in;
    for (WORD m : modifiers) in.push_back(KeyInput(m, false));
    const POINT p = CellCentre(editor, cell);
    in.push_back(MouseAt(p, 0));
    in.push_back(MouseAt(p, MOUSEEVENTF_LEFTDOWN));
    in.push_back(MouseAt(p, MOUSEEVENTF_LEFTUP));
    for (WORD m : modifiers) in.push_back(KeyInput(m, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    PumpFor(100);
  }

  HWND window_ = nullptr;
  HexEditorControl editor_;
  std::unique_ptr<HexEditorControl> second_;
};

}  // namespace hexedit
