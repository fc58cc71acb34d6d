// Another program that keeps the clipboard open (from now, or from the clipboard's next change)
// until the test lets it go.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "program_driver.h"

namespace e2e {

// A window on a thread of the test process of its own, which opens the
// clipboard (at once, or as soon as the clipboard changes next) and keeps it open until the
// test lets it go. The test's thread stays free to answer the program and read its boxes.
class ClipboardHolder {
 public:
  enum class From { Now, NextChange };

  explicit ClipboardHolder(From from) : before_(GetClipboardSequenceNumber()) {
    thread_ = std::thread([this, from] { Run(from); });
  }
  ~ClipboardHolder() { Release(); }

  // Holding (From::Now), or in the viewer chain waiting for the change (From::NextChange).
  bool WaitUntilReady() { return WaitUntil([&] { return ready_.load(); }, std::chrono::seconds(20)); }
  bool Held() const { return held_; }
  void Release() {
    released_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  // The next change is heard in the viewer chain, ahead of the program: its notice comes here
  // from inside the program's CloseClipboard, and the clipboard is taken before the program
  // goes on to its next opening (a race the program would mostly win otherwise).
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ClipboardHolder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_DRAWCLIPBOARD) {
      if (!self->held_ && GetClipboardSequenceNumber() != self->before_) self->held_ = OpenClipboard(hwnd) != FALSE;
      if (self->next_) SendMessageW(self->next_, msg, wp, lp);
      return 0;
    }
    if (msg == WM_CHANGECBCHAIN) {
      if (reinterpret_cast<HWND>(wp) == self->next_) {
        self->next_ = reinterpret_cast<HWND>(lp);
      } else if (self->next_) {
        SendMessageW(self->next_, msg, wp, lp);
      }
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  void Run(From from) {
    HWND window = CreateHiddenWindow(L"QuilloraE2EClipboardHolder", Proc);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    if (from == From::NextChange) {
      next_ = SetClipboardViewer(window);
    } else {
      while (!(held_ = OpenClipboard(window) != FALSE) && std::chrono::steady_clock::now() < end) Sleep(10);
    }
    ready_ = true;
    // The program's messages (the chain's, the X11 driver's question to the clipboard's owner)
    // are answered while the clipboard is held.
    while (!released_ && std::chrono::steady_clock::now() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    if (held_) CloseClipboard();
    if (from == From::NextChange) ChangeClipboardChain(window, next_);
    DestroyWindow(window);
  }

  const DWORD before_;
  HWND next_ = nullptr;
  std::atomic<bool> held_{false}, released_{false}, ready_{false};
  std::thread thread_;
};

}  // namespace e2e
