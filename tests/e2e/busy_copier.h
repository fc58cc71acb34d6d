// Another program that copies a numbered text every 100 to 200 ms, from a thread of the test
// process of its own, until the test stops it.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "program_driver.h"

namespace e2e {

class BusyCopier {
 public:
  explicit BusyCopier(std::wstring prefix) : prefix_(std::move(prefix)) {
    thread_ = std::thread([this] { Run(); });
  }
  ~BusyCopier() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // The texts that reached the clipboard, in order.
  std::vector<std::wstring> Copied() {
    std::lock_guard<std::mutex> lock(mutex_);
    return copied_;
  }

 private:
  void Run() {
    HWND window = CreateHiddenWindow(L"QuilloraE2EBusyCopier", DefWindowProcW);
    std::mt19937 random(12345);
    for (int n = 1; !stop_; ++n) {
      const std::wstring text = prefix_ + std::to_wstring(n);
      if (Copy(window, text)) {
        std::lock_guard<std::mutex> lock(mutex_);
        copied_.push_back(text);
      }
      // The program's messages to the clipboard's owner (the X11 driver's question, the
      // emptying's notice) are answered meanwhile.
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100 + random() % 101);
      while (std::chrono::steady_clock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      }
    }
    DestroyWindow(window);
  }
  static bool Copy(HWND window, const std::wstring& text) {
    if (!OpenClipboard(window)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed) GlobalFree(block);
    CloseClipboard();
    return placed;
  }

  const std::wstring prefix_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::wstring> copied_;
  std::thread thread_;
};

}  // namespace e2e
