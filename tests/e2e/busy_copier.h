// Another program that copies a numbered text every 100 to 200 ms, from a thread of the test
// process of its own, until the test stops it. It notes the copies that a write of the program
// replaced within 40 ms: one that came after the program had last looked and before its write
// emptied the clipboard was there for no one to read.
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
  BusyCopier(std::wstring prefix, DWORD program) : prefix_(std::move(prefix)), program_(program) {
    thread_ = std::thread([this] { Run(); });
  }
  ~BusyCopier() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // The texts that reached the clipboard, in order, and those the program replaced at once.
  std::vector<std::wstring> Copied() {
    std::lock_guard<std::mutex> lock(mutex_);
    return copied_;
  }
  std::vector<std::wstring> ReplacedAtOnce() {
    std::lock_guard<std::mutex> lock(mutex_);
    return replacedAtOnce_;
  }

 private:
  void Run() {
    HWND window = CreateHiddenWindow(L"QuilloraE2EBusyCopier", DefWindowProcW);
    std::mt19937 random(12345);
    for (int n = 1; !stop_;) {
      const std::wstring text = prefix_ + std::to_wstring(n);
      if (!Copy(window, text)) {
        AnswerFor(std::chrono::milliseconds(5));  // the program holds the clipboard a moment
        continue;
      }
      ++n;
      const DWORD copy = GetClipboardSequenceNumber();
      const auto copied = std::chrono::steady_clock::now();
      const auto pause = std::chrono::milliseconds(100 + random() % 101);
      bool replaced = false;
      while (std::chrono::steady_clock::now() - copied < std::chrono::milliseconds(40)) {
        AnswerFor(std::chrono::milliseconds(1));
        if (GetClipboardSequenceNumber() == copy) continue;
        replaced = ProcessOfWindow(GetClipboardOwner()) == program_;
        break;
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        copied_.push_back(text);
        if (replaced) replacedAtOnce_.push_back(text);
      }
      AnswerFor(pause - (std::chrono::steady_clock::now() - copied));
    }
    DestroyWindow(window);
  }
  // The program's messages to the clipboard's owner (the X11 driver's question, the emptying's
  // notice) are answered while the copier waits.
  static void AnswerFor(std::chrono::steady_clock::duration wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    do {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } while (std::chrono::steady_clock::now() < until);
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
  const DWORD program_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::wstring> copied_, replacedAtOnce_;
  std::thread thread_;
};

}  // namespace e2e
