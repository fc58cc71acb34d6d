// The clipboard reader's thread under Wine: a read whose owner renders late is given up at its
// deadline, held reads turn the next read away, and once the reader is gone no thread it started
// runs any more.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/capture/clipboard_reader_win32.h"
#include "gui/clipboard_reads.h"

namespace app {
namespace {

int ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// Another program's window, on a thread of its own, that copies a text and promises one format,
// which it renders `renderMs` after it is asked for.
class SlowOwner {
 public:
  explicit SlowOwner(DWORD renderMs) : renderMs_(renderMs) { thread_ = std::thread([this] { Run(); }); }
  ~SlowOwner() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool WaitForCopy() { return WaitForSingleObject(copied_, 10000) == WAIT_OBJECT_0; }
  static UINT Promised() { return RegisterClipboardFormatW(L"Quillora Reader Test Promised"); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_RENDERFORMAT) {
      Sleep(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
      SetClipboardData(static_cast<UINT>(wp), block);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  void Run() {
    threadId_ = GetCurrentThreadId();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuilloraReaderTestOwner";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(renderMs_));
    if (OpenClipboard(window)) {
      EmptyClipboard();
      HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 4);
      static_cast<wchar_t*>(GlobalLock(text))[0] = L'x';
      GlobalUnlock(text);
      SetClipboardData(CF_UNICODETEXT, text);
      SetClipboardData(Promised(), nullptr);
      CloseClipboard();
    }
    SetEvent(copied_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
  }
  DWORD renderMs_;
  DWORD threadId_ = 0;
  HANDLE copied_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

bool HandleMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  return true;
}

VOID CALLBACK Nothing(PVOID, BOOLEAN) {}

constexpr ClipboardBudget kShortBudget{300, 50, 200, 6000};
const ClipboardReader::Read kReadPromised = [](const std::atomic<bool>&) { GetClipboardData(SlowOwner::Promised()); };

TEST(ClipboardReader, AReadGivenUpHoldsTheNextAndNoThreadOutlivesTheReader) {
  // The system's pool timer thread, which the reader's let-go timer may start, is there before.
  HANDLE timer = nullptr;
  ASSERT_TRUE(CreateTimerQueueTimer(&timer, nullptr, Nothing, nullptr, 1, 0, WT_EXECUTEONLYONCE));
  Sleep(50);
  DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  SlowOwner owner(500);
  ASSERT_TRUE(owner.WaitForCopy());
  const int before = ThreadsOfThisProcess();
  {
    ClipboardReader reader(HandleMessages, kShortBudget);
    EXPECT_EQ(reader.Run(ClipboardWait{}, [](const std::atomic<bool>&) {}), ClipboardReader::Outcome::Done);
    EXPECT_EQ(reader.Run(ClipboardWait{}, kReadPromised), ClipboardReader::Outcome::Late);
    // Given up and still in the render: the next read is turned away at once.
    EXPECT_TRUE(reader.Held());
    EXPECT_TRUE(gui::ClipboardReadsHeld());
    EXPECT_EQ(reader.Run(ClipboardWait{}, [](const std::atomic<bool>&) {}), ClipboardReader::Outcome::Busy);
    // The reader goes while the read is still in the render: it gets the reads' time to come back.
  }
  EXPECT_FALSE(gui::ClipboardReadsHeld());
  EXPECT_EQ(ThreadsOfThisProcess(), before) << "a thread of the reader still runs";
}

}  // namespace
}  // namespace app
