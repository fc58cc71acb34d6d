#include "app/capture/clipboard_reader_win32.h"

#include <algorithm>
#include <mutex>

#include "gui/application.h"
#include "gui/clipboard_reads.h"
#include "gui/modal_loop.h"

namespace app {

namespace {

// Milliseconds from `now` to `deadline` on the wrapping tick count; 0 once it has passed.
DWORD TimeLeft(DWORD deadline, DWORD now) {
  const auto left = static_cast<LONG>(deadline - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

// While the opening is not known yet the deadline may still come closer: the waits are cut
// into slices this long.
constexpr DWORD kOpeningSliceMs = 50;

// Sent to the reader's window (wParam: the read's number) when the window's thread gives a read
// up, or at the read's deadline: it closes the clipboard there. A read held in a render
// (GetClipboardData waits for the owner's answer) still handles what is sent to its thread's
// windows, so other programs and the program's own writes can use the clipboard again although
// the owner has not answered.
constexpr UINT kLetGoMessage = WM_APP + 1;
constexpr wchar_t kReaderWindowClass[] = L"QuilloraClipboardReader";

// How long the end of the program waits for the reader's thread to end once it has nothing in
// hand (it closes its window), and a give-up for a read that came back to be answered: far more
// than either needs.
constexpr DWORD kThreadEndMs = 2000;

// Asks the reader's window to let the clipboard go at the read's deadline. The window's thread
// gives the read up at that deadline itself, unless it is held in a loop of its own by then (a
// row click waiting for the clipboard, a box opened while it waited), which would keep the
// clipboard shut for everyone until that loop ends. It is armed once the window's thread handles
// its messages and the opening is known, whichever comes last: reads that end within the quiet
// time, nearly all, cost no timer.
class LetGoTimer {
 public:
  explicit LetGoTimer(const std::atomic<HWND>& readerWindow) : window_(readerWindow) {}
  LetGoTimer(const LetGoTimer&) = delete;
  LetGoTimer& operator=(const LetGoTimer&) = delete;
  ~LetGoTimer() { Disarm(); }

  // Before each read.
  void Reset(WPARAM read) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ended_ = false;
    read_ = read;
  }
  void Arm(DWORD deadline) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (ended_ || timer_) return;
    // A little after the deadline: the reader's window lets go only once it has passed.
    constexpr DWORD kAfterDeadlineMs = 20;
    const DWORD due = TimeLeft(deadline, GetTickCount()) + kAfterDeadlineMs;
    if (!CreateTimerQueueTimer(&timer_, nullptr, Fire, this, due, 0, WT_EXECUTEONLYONCE)) timer_ = nullptr;
  }
  // After the read, and at the end: the timer is gone, and so is a callback that ran.
  void Disarm() {
    HANDLE timer = nullptr;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ended_ = true;
      std::swap(timer, timer_);
    }
    if (timer) DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  }

 private:
  static VOID CALLBACK Fire(PVOID self, BOOLEAN) {
    auto& t = *static_cast<LetGoTimer*>(self);
    SendNotifyMessageW(t.window_, kLetGoMessage, t.read_, 0);
  }
  std::mutex mutex_;
  HANDLE timer_ = nullptr;
  bool ended_ = true;
  const std::atomic<HWND>& window_;  // the reader's, made by its thread
  WPARAM read_ = 0;                  // set before the timer is made, unchanged while it lives
};

bool OwnedByThisThread() {
  HWND owner = GetClipboardOwner();
  return owner != nullptr && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId();
}

HWND CreateReaderWindow(WNDPROC procedure) {
  static std::once_flag registered;
  std::call_once(registered, [procedure] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kReaderWindowClass;
    RegisterClassW(&windowClass);
  });
  return CreateWindowExW(0, kReaderWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

// What the two threads share. A job is handed over only while the reader's thread is idle, and
// it is over only once that thread is idle again: the read in hand is written by the window's
// thread before `wake`, and read by the reader's thread after it; the answer (its outcome and
// its job's number) is written, and `done` set, under the lock in one step with `idle`, after
// the thread has finished with everything of the job (its closure, its timer). `done` is reset
// under the same lock when the next job is handed over, so it never carries an earlier job's
// answer, and it stays set until then: a wait nested in the window's wait (the end of the
// session finishing a capture) and the wait it is nested in both see the answer.
struct ClipboardReader::Shared {
  Shared() : wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Shared() {
    if (wake) CloseHandle(wake);
    if (done) CloseHandle(done);
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  HANDLE wake;
  HANDLE done;
  std::atomic<bool> quit{false};       // the thread ends instead of taking a read
  std::atomic<HWND> window{nullptr};   // where the clipboard is opened, once the thread made it
  HWND notifyWindow = nullptr;         // told when a read given up came back
  UINT notifyMessage = 0;

  // Guarded by `mutex`: where the read in hand stands.
  mutable std::mutex mutex;
  bool idle = true;      // the thread has nothing in hand: the last job is over (or there was none)
  bool running = false;  // the read in hand has not come back yet
  bool givenUp = false;  // the window's thread stopped waiting for it
  bool exiting = false;  // the program ends: a read given up does nothing more once it comes back
  WPARAM answered = 0;   // the number of the last job answered

  // The read in hand.
  int attempts = 1;
  unsigned stepMs = 0;
  unsigned readMs = 0;
  Read read;
  DWORD processor = 0;  // where the window's thread ran when it handed the read over
  std::atomic<WPARAM> number{0};
  std::atomic<bool> stop{false};      // the read should end as soon as it can
  std::atomic<bool> watching{false};  // the window's thread handles its messages while it waits
  std::atomic<bool> opened{false};
  std::atomic<DWORD> openedAt{0};
  std::atomic<DWORD> sequence{0};  // the clipboard's, at the opening
  Outcome outcome = Outcome::Done;
  LetGoTimer letGo{window};

  bool Past(DWORD now) const { return opened && TimeLeft(openedAt + readMs, now) == 0; }
};

LRESULT CALLBACK ClipboardReader::ReaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLetGoMessage) {
    // For the read in hand when it was given up or is past its deadline; the timer's message may
    // come after the read ended in time, or belong to a read before.
    auto* s = reinterpret_cast<Shared*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!s || wParam != s->number || (!s->stop && !s->Past(GetTickCount()))) return 0;
    s->stop = true;     // the read reads no further
    CloseClipboard();  // fails harmlessly when this thread does not hold it
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI ClipboardReader::ThreadMain(void* shared) {
  // The thread holds a reference of its own: a thread left in a hung owner outlives the reader.
  const std::unique_ptr<std::shared_ptr<Shared>> own(static_cast<std::shared_ptr<Shared>*>(shared));
  Serve(**own);
  return 0;
}

void ClipboardReader::Serve(Shared& s) {
  // The clipboard is opened in a window of this thread: only that window could open it again
  // while this thread holds it (a reader opening it with no window would let any other such
  // reader take it over under Wine).
  HWND window = CreateReaderWindow(ReaderWindowProc);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&s));
  s.window = window;
  DWORD processor = MAXDWORD;
  for (;;) {
    WaitForSingleObject(s.wake, INFINITE);
    if (s.quit) break;
    // The reads run where the window's thread, which now waits, ran: under Wine every read is
    // a round trip to the server, and from another processor each took several times as long
    // (one run in two for a whole process, by the scheduler's choice).
    if (s.processor != processor && s.processor < 8 * sizeof(DWORD_PTR)) {
      processor = s.processor;
      SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR(1) << processor);
    }
    const bool ending = RunJob(s, window);
    s.read = nullptr;  // what it holds goes here, on the thread that used it
    if (ending) {
      // The program is ending and no longer waits: whatever this thread did now (its window's
      // end takes the system's window lock) could be cut off by the process's end and leave a
      // lock held for the thread that ends the process. It does nothing more.
      for (;;) Sleep(INFINITE);
    }
    s.letGo.Disarm();  // before the job is over: the next one arms a timer of its own
    bool givenUp = false;
    {
      // The job is over in one step: the next one may be handed over from here on.
      const std::lock_guard<std::mutex> lock(s.mutex);
      givenUp = s.givenUp;
      if (givenUp) gui::SetClipboardReadsHeld(false);
      s.answered = s.number;
      s.idle = true;
      SetEvent(s.done);
    }
    // Told after the job is over, so that the look it makes finds the thread idle.
    if (givenUp && s.notifyWindow) PostMessageW(s.notifyWindow, s.notifyMessage, 0, 0);
  }
  if (window) DestroyWindow(window);
}

bool ClipboardReader::ReadOver(Shared& s) {
  // One step with GiveUp: a read given up before it is cut short; one over before is not given
  // up any more (the window's thread waits for its answer), whatever the thread still does.
  const std::lock_guard<std::mutex> lock(s.mutex);
  if (s.stop && s.outcome == Outcome::Done) s.outcome = Outcome::Late;
  if (s.exiting) return true;
  s.running = false;  // from here on the end of the program waits for this thread
  return false;
}

bool ClipboardReader::RunJob(Shared& s, HWND window) {
  s.outcome = Outcome::Busy;
  bool open = false;
  for (int tried = 0; window && !s.stop; ++tried) {
    open = OpenClipboard(window) != FALSE;
    if (open || tried + 1 >= s.attempts) break;
    Sleep(s.stepMs);
  }
  if (!open) return ReadOver(s);
  s.openedAt = GetTickCount();
  s.sequence = GetClipboardSequenceNumber();
  s.opened = true;
  if (s.watching) s.letGo.Arm(s.openedAt + s.readMs);
  if (s.stop) {
    s.outcome = Outcome::Late;  // given up while the opening waited
  } else {
    s.outcome = Outcome::Done;
    try {
      s.read(s.stop);
    } catch (...) {
      s.outcome = Outcome::Failed;
    }
  }
  const bool ending = ReadOver(s);
  CloseClipboard();  // fails harmlessly when the let-go closed it already
  return ending;
}

ClipboardReader::ClipboardReader(std::function<bool()> handleMessages, ClipboardBudget budget)
    : handleMessages_(std::move(handleMessages)), budget_(budget) {}

void ClipboardReader::NotifyWhenFreed(HWND window, UINT message) {
  notifyWindow_ = window;
  notifyMessage_ = message;
  if (shared_) {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->notifyWindow = window;
    shared_->notifyMessage = message;
  }
}

bool ClipboardReader::Held() const {
  if (!shared_) return false;
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->givenUp && !shared_->idle;
}

bool ClipboardReader::Refusing() const {
  return Held() || (givenUpSequence_ != 0 && GetClipboardSequenceNumber() == givenUpSequence_);
}

bool ClipboardReader::StartThread() {
  auto shared = std::make_shared<Shared>();
  if (!shared->wake || !shared->done) return false;
  shared->notifyWindow = notifyWindow_;
  shared->notifyMessage = notifyMessage_;
  auto* own = new std::shared_ptr<Shared>(shared);
  HANDLE thread = CreateThread(nullptr, 0, &ClipboardReader::ThreadMain, own, 0, nullptr);
  if (!thread) {
    delete own;
    return false;
  }
  thread_ = thread;
  shared_ = std::move(shared);
  return true;
}

DWORD ClipboardReader::Deadline(DWORD start) const {
  const Shared& s = *shared_;
  if (s.opened) return s.openedAt + budget_.readMs;
  // An upper bound until the opening is known: the tries and their pauses, and what one
  // opening may take beyond them, then the reads.
  const DWORD tries = static_cast<DWORD>(s.attempts - 1) * s.stepMs;
  return start + tries + budget_.openSlackMs + budget_.readMs;
}

ClipboardReader::Outcome ClipboardReader::Run(const ClipboardWait& wait, Read read) {
  // Not the clipboard as a read given up found it either: its owner did not give what was asked for.
  if (busy_ || Refusing()) return Outcome::Busy;
  busy_ = true;
  struct NotBusy {
    bool& busy;
    ~NotBusy() { busy = false; }
  } notBusy{busy_};

  if (window_ && OwnedByThisThread() && OpenClipboard(window_)) {
    // The program's own copy (a row click's): its windows promise nothing, so the reads cannot
    // be held by an owner, and the reader's opening would wait for this thread's answer.
    if (OwnedByThisThread()) {
      static const std::atomic<bool> kGoOn{false};
      Outcome outcome = Outcome::Done;
      try {
        read(kGoOn);
      } catch (...) {
        outcome = Outcome::Failed;
      }
      CloseClipboard();
      return outcome;
    }
    CloseClipboard();  // another program copied in between
  }

  if (!shared_ && !StartThread()) return Outcome::Busy;
  Shared& s = *shared_;
  {
    // Busy until the thread has finished the last job (a read given up, still in its owner).
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.idle) return Outcome::Busy;
    s.attempts = std::max(1, wait.attempts);
    s.stepMs = wait.step_ms;
    s.readMs = budget_.readMs;
    s.read = std::move(read);
    s.stop = false;
    s.watching = false;
    s.opened = false;
    s.number = s.number + 1;
    s.letGo.Reset(s.number);
    s.idle = false;
    s.running = true;
    s.givenUp = false;
    ResetEvent(s.done);
  }
  job_ = s.number;
  s.processor = GetCurrentProcessorNumber();
  const DWORD start = GetTickCount();
  SetEvent(s.wake);
  if (!WaitForAnswer(start)) return GiveUp();
  return s.outcome;
}

bool ClipboardReader::Answered() const {
  // `done` is set only with the answer of the job in hand, which is the one this thread waits
  // for (Run hands over one at a time): the number says so all the same.
  const Shared& s = *shared_;
  const std::lock_guard<std::mutex> lock(s.mutex);
  return s.idle && s.answered == job_;
}

bool ClipboardReader::WaitForAnswer(DWORD start) {
  Shared& s = *shared_;
  const gui::Application::WaitScope wait;
  waiting_ = true;
  waitStart_ = start;
  struct NotWaiting {
    bool& waiting;
    ~NotWaiting() { waiting = false; }
  } notWaiting{waiting_};
  const DWORD quietUntil = start + budget_.quietMs;
  for (;;) {
    // Computed afresh after every round of messages: one may have held this thread in a loop
    // of its own (a box) past the deadline.
    const DWORD now = GetTickCount();
    DWORD left = TimeLeft(Deadline(start), now);
    if (left == 0) return WaitForSingleObject(s.done, 0) == WAIT_OBJECT_0 && Answered();
    if (!s.opened) left = std::min(left, kOpeningSliceMs);
    // In the quiet time nothing is handled, not even what is sent: answered, another program
    // asking the window again and again (the capture benchmark polls the list's rows) kept the
    // server from the reads, which then took several times as long. The program's own copy,
    // whose reading asks this window, is read on this thread instead (Run).
    const DWORD quiet = TimeLeft(quietUntil, now);
    if (quiet > 0 || !handleMessages_) {
      if (WaitForSingleObject(s.done, handleMessages_ ? std::min(left, quiet) : left) == WAIT_OBJECT_0 && Answered()) {
        return true;
      }
      continue;
    }
    // From now on this thread may be held elsewhere at the deadline: the timer lets go then.
    // Armed here when the opening is known already, else by the reader's thread at the opening.
    if (!s.watching.exchange(true) && s.opened) s.letGo.Arm(s.openedAt + budget_.readMs);
    if (!handleMessages_()) {
      handleMessages_ = nullptr;
      continue;
    }
    left = TimeLeft(Deadline(start), GetTickCount());
    if (left == 0) continue;
    if (!s.opened) left = std::min(left, kOpeningSliceMs);
    // Returns also for messages that were in the queue already, not only for those that come;
    // under a menu's or a box's own loop its input is left to it and does not wake the wait.
    const DWORD wakeFor = gui::ModalLoopRuns() ? QS_ALLINPUT & ~QS_INPUT : QS_ALLINPUT;
    if (MsgWaitForMultipleObjectsEx(1, &s.done, left, wakeFor, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 && Answered()) {
      return true;
    }
  }
}

ClipboardReader::Outcome ClipboardReader::GiveUp() {
  Shared& s = *shared_;
  for (bool waited = false;; waited = true) {
    bool over = false;
    {
      const std::lock_guard<std::mutex> lock(s.mutex);
      if (s.idle && s.answered == job_) return s.outcome;  // it came back just now
      if (s.givenUp) return s.opened ? Outcome::Late : Outcome::Busy;
      over = !s.running && !waited;
      if (!over) {
        s.givenUp = true;
        s.stop = true;  // in one step with ReadOver: the read is cut short, or was over already
        // Before the reader's thread can clear it, which it does only after taking the lock.
        gui::SetClipboardReadsHeld(true);
      }
    }
    if (!over) break;
    // The read came back in time and the thread only finishes its job (lets its timer go): its
    // answer comes in a moment (the thread's end gets as long). Given up, the clipboard would be
    // taken for one whose owner did not answer.
    if (WaitForSingleObject(s.done, kThreadEndMs) == WAIT_OBJECT_0 && Answered()) return s.outcome;
  }
  if (s.opened) givenUpSequence_ = s.sequence;
  // A thread held in a read lets the clipboard go at once (the message is handled inside the
  // read's wait); one that is still opening stops trying.
  if (HWND window = s.window) SendNotifyMessageW(window, kLetGoMessage, s.number, 0);
  return s.opened ? Outcome::Late : Outcome::Busy;
}

ClipboardReader::Outcome ClipboardReader::FinishRunning() {
  if (!waiting_ || !shared_) return Outcome::Busy;
  Shared& s = *shared_;
  const DWORD until = GetTickCount() + budget_.readMs;
  for (;;) {
    const DWORD now = GetTickCount();
    DWORD left = std::min(TimeLeft(Deadline(waitStart_), now), TimeLeft(until, now));
    if (left == 0) break;
    if (!s.opened) left = std::min(left, kOpeningSliceMs);
    if (gui::Application::WaitAnsweringSentMessages(s.done, left) && Answered()) return s.outcome;
  }
  return s.opened ? Outcome::Late : Outcome::Busy;
}

void ClipboardReader::Shutdown() {
  if (!shared_) return;
  Shared& s = *shared_;
  // A read in hand was given up (nothing waits for reads any more): it gets the reads' budget
  // to come back.
  if (Held()) gui::Application::WaitAnsweringSentMessages(s.done, budget_.readMs);
  bool left = false;
  {
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.exiting = true;
    left = s.running;
  }
  s.letGo.Disarm();
  if (!left) {
    s.quit = true;
    SetEvent(s.wake);
    gui::Application::WaitAnsweringSentMessages(thread_, kThreadEndMs);
  }
  CloseHandle(thread_);
  thread_ = nullptr;
  shared_.reset();
}

}  // namespace app
