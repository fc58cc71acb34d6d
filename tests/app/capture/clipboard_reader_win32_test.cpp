// The clipboard reader's thread under Wine: a read whose owner renders late is given up at its
// deadline, held reads turn the next read away, and once the reader is gone no thread it started
// runs any more.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
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
// which it renders `renderMs` after it is asked for; it copies so again when asked.
class SlowOwner {
 public:
  // With `copyAfterRender` it copies anew at the end of each render.
  explicit SlowOwner(DWORD renderMs, bool copyAfterRender = false) : renderMs_(renderMs), again_(copyAfterRender) {
    thread_ = std::thread([this] { Run(); });
  }
  ~SlowOwner() {
    WaitForSingleObject(started_, 10000);
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool WaitForCopy() { return WaitForSingleObject(copied_, 10000) == WAIT_OBJECT_0; }
  bool CopyAgain() {
    ResetEvent(copied_);
    return PostMessageW(window_, kCopyAgain, 0, 0) && WaitForCopy();
  }
  static UINT Promised() { return RegisterClipboardFormatW(L"Quillora Reader Test Promised"); }
  void SetRenderMs(DWORD ms) { SetWindowLongPtrW(window_, GWLP_USERDATA, static_cast<LONG_PTR>(ms)); }

 private:
  static constexpr UINT kCopyAgain = WM_APP + 7;
  static bool Copy(HWND window) {
    if (!OpenClipboard(window)) return false;
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 4);
    static_cast<wchar_t*>(GlobalLock(text))[0] = L'x';
    GlobalUnlock(text);
    SetClipboardData(CF_UNICODETEXT, text);
    SetClipboardData(Promised(), nullptr);
    return CloseClipboard() != FALSE;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCopyAgain) {
      Copy(hwnd);
      SetEvent(reinterpret_cast<HANDLE>(GetPropW(hwnd, L"copied")));
      return 0;
    }
    if (msg == WM_RENDERFORMAT) {
      Sleep(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
      SetClipboardData(static_cast<UINT>(wp), block);
      // A new copy before the render returns (the reader let the clipboard go at its deadline):
      // the next read is not turned away as one of the clipboard the given-up read found.
      if (GetPropW(hwnd, L"again")) {
        for (int tried = 0; tried < 10 && !Copy(hwnd); ++tried) Sleep(5);
      }
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
    SetPropW(window, L"copied", copied_);
    if (again_) SetPropW(window, L"again", copied_);
    window_ = window;
    SetEvent(started_);
    Copy(window);
    SetEvent(copied_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
  }
  DWORD renderMs_;
  bool again_;
  DWORD threadId_ = 0;
  std::atomic<HWND> window_{nullptr};
  HANDLE copied_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE started_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
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

// A window that starts the next read the moment the reader says a read given up came back.
struct FreedListener {
  static constexpr UINT kFreed = WM_APP + 9;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<FreedListener*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kFreed && self->onFreed) {
      self->onFreed();
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  FreedListener() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuilloraReaderTestFreed";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~FreedListener() { DestroyWindow(window); }
  HWND window;
  std::function<void()> onFreed;
};

TEST(ClipboardReader, TheNextReadStartedTheMomentAHeldReadComesBackRunsAndIsWaitedFor) {
  // The owner renders right about the deadline: the read is given up and comes back a moment
  // later. The next read starts at once, from the wait that sees Held() turn false and from the
  // reader's message that the held read came back: it must run, and be over, before its Run
  // answers. Before, it could take the held read's late answer as its own and run unwaited.
  constexpr ClipboardBudget kBudget{150, 30, 200, 6000};
  SlowOwner owner(kBudget.readMs + 5, true);
  ASSERT_TRUE(owner.WaitForCopy());
  ClipboardReader reader(HandleMessages, kBudget);
  FreedListener listener;
  reader.NotifyWhenFreed(listener.window, FreedListener::kFreed);
  std::atomic<int> running{0};
  int unwaited = 0, notRun = 0, held = 0, ranAfterHeld = 0;
  const auto readAfterHeld = [&] {
    // Shared: a read run unwaited outlives this call.
    const auto ran = std::make_shared<std::atomic<bool>>(false);
    const ClipboardReader::Outcome outcome = reader.Run(ClipboardWait{}, [&running, ran](const std::atomic<bool>&) {
      ++running;
      Sleep(2);
      *ran = true;
      --running;
    });
    if (running != 0) ++unwaited;
    if (outcome == ClipboardReader::Outcome::Done && !*ran) ++notRun;
    if (*ran) ++ranAfterHeld;
  };
  for (int round = 0; round < 40; ++round) {
    ASSERT_TRUE(owner.CopyAgain());
    const bool fromMessage = round % 2 == 1;
    listener.onFreed = fromMessage ? std::function<void()>([&] {
      readAfterHeld();
      readAfterHeld();
    }) : nullptr;
    if (reader.Run(ClipboardWait{}, kReadPromised) != ClipboardReader::Outcome::Late) continue;
    ++held;
    if (fromMessage) {
      // The reader's message comes once the held read is back.
      const DWORD until = GetTickCount() + 3000;
      while (reader.Held() && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        HandleMessages();
      }
      Sleep(20);
      HandleMessages();
    } else {
      while (reader.Held()) {
      }
      readAfterHeld();
      readAfterHeld();
    }
  }
  listener.onFreed = nullptr;
  EXPECT_GT(held, 0) << "no read was given up: the owner rendered too soon";
  EXPECT_GT(ranAfterHeld, held) << "the reads after a held one did not run";
  EXPECT_EQ(unwaited, 0) << "a Run answered while its read still ran";
  EXPECT_EQ(notRun, 0) << "a Run answered Done for a read that never ran";
  EXPECT_EQ(running, 0);
}

TEST(ClipboardReader, AReadThatCameBackAtItsDeadlineIsNotGivenUp) {
  // The owner renders right about the deadline, a little before or after it, round by round.
  // A read that has come back before it was given up answers Done, however late in its job the
  // reader's thread is then (letting its timer go): given up, the clipboard would be turned
  // away as one whose owner did not answer. A read and a give-up that fall in the same instant
  // (the read's last step and the reader's mark that it is over) may still go either way: about
  // one early read in two thousand here, where one in ten was given up before.
  constexpr ClipboardBudget kBudget{60, 10, 200, 6000};
  SlowOwner owner(kBudget.readMs);
  ASSERT_TRUE(owner.WaitForCopy());
  ClipboardReader reader(HandleMessages, kBudget);
  int early = 0, givenUpAfterComingBack = 0;
  for (int round = 0; round < 200; ++round) {
    owner.SetRenderMs(kBudget.readMs - 4 + static_cast<DWORD>(round % 6));
    ASSERT_TRUE(owner.CopyAgain());
    std::atomic<bool> stoppedWhileReading{true};
    const ClipboardReader::Outcome outcome = reader.Run(ClipboardWait{}, [&](const std::atomic<bool>& stop) {
      GetClipboardData(SlowOwner::Promised());
      stoppedWhileReading = stop.load();
    });
    if (!stoppedWhileReading) ++early;
    if (!stoppedWhileReading && outcome != ClipboardReader::Outcome::Done) ++givenUpAfterComingBack;
    const DWORD until = GetTickCount() + 2000;
    while (reader.Held() && GetTickCount() < until) HandleMessages();
  }
  EXPECT_GT(early, 50) << "too few reads came back before their deadline to tell";
  EXPECT_LE(givenUpAfterComingBack, 2) << "of " << early << " reads that came back in time";
}

}  // namespace
}  // namespace app
