// Another program that owns the clipboard and renders what it promised late, or whose thread
// hangs: a window on a thread of the test process of its own.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "clipboard_driver.h"
#include "program_driver.h"

namespace e2e {

// Its thread is not the test's, which stays free to watch the main window while the owner
// stalls. It copies a text and a small format at once and promises three more by delayed
// rendering (SetClipboardData without data): a registered one, CF_DIB and "HTML Format".
class LateOwner {
 public:
  enum class Stall {
    RendersLate,       // renders a promised format 10 s after it is asked for
    Hangs,             // its thread stops handling messages right after the copy
    HangsInSecondRender,  // answers, renders the first promised format at once, hangs in the next
  };
  static constexpr wchar_t kImmediateFormat[] = L"Quillora Test Immediate";
  static constexpr wchar_t kPromisedFormat[] = L"Quillora Test Promised";
  static inline const std::string kImmediateBytes = "set at once";

  // With `holdAfterCopy` it opens the clipboard again right after the copy and keeps it that
  // long: a reader's opening comes that late.
  LateOwner(std::wstring text, Stall stall, std::chrono::milliseconds holdAfterCopy = {})
      : text_(std::move(text)), stall_(stall), holdAfterCopy_(holdAfterCopy) {
    thread_ = std::thread([this] { Run(); });
  }
  ~LateOwner() { End(); }

  // The waits handle the test thread's messages: its window owned the clipboard before, and the
  // copy's EmptyClipboard waits for that window's answer.
  bool WaitForCopy() { return WaitUntil([&] { return Signalled(copied_); }, std::chrono::seconds(10)) && copyDone_; }
  bool WaitForRender(std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return Signalled(rendered_); }, timeout);
  }
  // A reader asked for a promised format (its render may still run).
  bool WaitForRenderAsked(std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return Signalled(asked_); }, timeout);
  }
  // The owner goes away: its thread wakes, destroys its window (the clipboard drops what it
  // never rendered) and ends.
  void End() {
    SetEvent(release_);
    if (thread_.joinable()) thread_.join();
  }

 private:
  static bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
  static HGLOBAL Block(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
  }
  static std::string Dib() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    return bytes + std::string(4, '\xFF');
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<LateOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_RENDERFORMAT) {
      SetEvent(self->asked_);
      // Late (or, hung, for as long as the owner lives), but cut short when the test ends it.
      if (self->stall_ == Stall::RendersLate) WaitForSingleObject(self->release_, 10000);
      if (self->stall_ == Stall::HangsInSecondRender && self->renders_++ > 0) WaitForSingleObject(self->release_, INFINITE);
      const UINT format = static_cast<UINT>(wp);
      const std::string bytes = format == CF_DIB ? Dib() : "<b>rendered late</b>";
      SetClipboardData(format, Block(bytes));
      SetEvent(self->rendered_);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  void Run() {
    HWND window = CreateHiddenWindow(L"QuilloraE2ELateOwner", Proc);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (WaitUntil([&] { return OpenClipboard(window) != FALSE; }, std::chrono::seconds(10))) {
      EmptyClipboard();
      const std::string text(reinterpret_cast<const char*>(text_.c_str()), (text_.size() + 1) * sizeof(wchar_t));
      SetClipboardData(CF_UNICODETEXT, Block(text));
      SetClipboardData(RegisteredFormat(kImmediateFormat), Block(kImmediateBytes));
      SetClipboardData(RegisteredFormat(kPromisedFormat), nullptr);
      SetClipboardData(CF_DIB, nullptr);
      SetClipboardData(RegisteredFormat(L"HTML Format"), nullptr);
      copyDone_ = CloseClipboard() != FALSE;
      if (holdAfterCopy_.count() > 0 && OpenClipboard(window)) {
        SetEvent(copied_);
        Sleep(static_cast<DWORD>(holdAfterCopy_.count()));
        CloseClipboard();
      }
    }
    SetEvent(copied_);
    if (stall_ == Stall::Hangs) {
      WaitForSingleObject(release_, INFINITE);
    } else {
      while (MsgWaitForMultipleObjects(1, &release_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      }
    }
    DestroyWindow(window);
  }

  std::wstring text_;
  Stall stall_;
  std::chrono::milliseconds holdAfterCopy_;
  HANDLE copied_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE rendered_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE asked_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool copyDone_ = false;
  int renders_ = 0;
  std::thread thread_;
};

}  // namespace e2e
