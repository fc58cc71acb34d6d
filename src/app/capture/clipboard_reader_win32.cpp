#include "app/capture/clipboard_reader_win32.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "gui/application.h"
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

// Sent to the reader's window when the window's thread gives a read up, or at the read's
// deadline: it closes the clipboard there. A read held in a render (GetClipboardData waits for
// the owner's answer) still handles what is sent to its thread's windows, so other programs and
// the program's own writes can use the clipboard again although the owner has not answered.
constexpr UINT kLetGoMessage = WM_APP + 1;
constexpr wchar_t kReaderWindowClass[] = L"QuilloraClipboardReader";

// Armed by the window's thread once a read outlasts the quiet time (it may be held in a
// render): at the read's deadline it asks the reader's window to let the clipboard go. The
// window's thread gives the read up at that deadline itself, unless it is held in a loop of its
// own by then (a row click waiting for the clipboard, a box opened while it waited), which would
// keep the clipboard shut for everyone until that loop ends. Reads that end within the quiet
// time, nearly all, cost no timer.
class DeadlineWatch {
 public:
  DeadlineWatch() = default;
  DeadlineWatch(const DeadlineWatch&) = delete;
  DeadlineWatch& operator=(const DeadlineWatch&) = delete;
  ~DeadlineWatch() {
    // The callback uses nothing of this object: the timer may end on its own.
    if (timer_) DeleteTimerQueueTimer(nullptr, timer_, nullptr);
  }
  void Arm(HWND readerWindow, DWORD ms) {
    if (timer_ || !readerWindow) return;
    // A little after the deadline: the reader's window lets go only once it has passed.
    constexpr DWORD kAfterDeadlineMs = 20;
    if (!CreateTimerQueueTimer(&timer_, nullptr, Fire, readerWindow, ms + kAfterDeadlineMs, 0, WT_EXECUTEONLYONCE)) {
      timer_ = nullptr;
    }
  }

 private:
  static VOID CALLBACK Fire(PVOID readerWindow, BOOLEAN) {
    SendNotifyMessageW(static_cast<HWND>(readerWindow), kLetGoMessage, 0, 0);
  }
  HANDLE timer_ = nullptr;
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

// What the two threads share. A command is written by the window's thread before `wake` and
// read by the reader's thread after it; the answer is written before `done` and read after
// it. The window's thread writes no command while one runs, nor after it stopped waiting.
// `done` stays set until the next command, so that a wait nested in the window's wait (the end
// of the session finishing a capture) and the wait it is nested in both see the answer.
struct ClipboardReader::Channel {
  Channel() : wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Channel() {
    if (wake) CloseHandle(wake);
    if (done) CloseHandle(done);
  }
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  HANDLE wake;
  HANDLE done;
  std::atomic<bool> stop{false};
  // A read runs now (known to the reader's window, on the reader's thread).
  bool reading = false;
  std::atomic<HWND> window{nullptr};  // where the clipboard is opened, once the thread made it
  DWORD processor = 0;                 // where the window's thread ran when it handed the command over

  // The command: open the clipboard first (a session's first read), the read, close after it.
  bool openFirst = false;
  int attempts = 1;
  unsigned stepMs = 0;
  unsigned readMs = 0;
  Read read;
  bool close = false;

  // The session's opening, known to the waiting window thread as soon as it is made.
  std::atomic<bool> opened{false};
  std::atomic<DWORD> openedAt{0};
  Outcome outcome = Outcome::Done;
};

LRESULT CALLBACK ClipboardReader::ReaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLetGoMessage) {
    // A read given up, or one past its deadline, lets go; the watch's message may come after
    // the read ended in time, and then the session stays open.
    auto* c = reinterpret_cast<Channel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (c && !c->stop && !(c->reading && TimeLeft(c->openedAt + c->readMs, GetTickCount()) == 0)) return 0;
    if (c) c->stop = true;  // the read reads no further and is not reported as done
    CloseClipboard();       // fails harmlessly when this thread does not hold it
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ClipboardReader::Serve(std::shared_ptr<Channel> channel) {
  Channel& c = *channel;
  // The clipboard is opened in a window of this thread: only that window could open it again
  // while this thread holds it (a reader opening it with no window would let any other such
  // reader take it over under Wine).
  HWND window = CreateReaderWindow(ReaderWindowProc);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
  c.window = window;
  bool open = false;
  DWORD deadline = 0;
  DWORD processor = MAXDWORD;
  for (;;) {
    const DWORD woke = WaitForSingleObject(c.wake, open ? TimeLeft(deadline, GetTickCount()) : INFINITE);
    if (c.stop) break;
    // The reads run where the window's thread, which now waits, ran: under Wine every read is
    // a round trip to the server, and from another processor each took several times as long
    // (one run in two for a whole process, by the scheduler's choice).
    if (woke == WAIT_OBJECT_0 && c.processor != processor && c.processor < 8 * sizeof(DWORD_PTR)) {
      processor = c.processor;
      SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR(1) << processor);
    }
    if (woke != WAIT_OBJECT_0) {
      // The session's time is up and the window's thread has not ended it: it is held
      // elsewhere. The clipboard is not kept from other programs meanwhile.
      CloseClipboard();
      open = false;
      continue;
    }
    c.outcome = Outcome::Done;
    if (c.openFirst && !open) {
      for (int tried = 0; window && !c.stop; ++tried) {
        open = OpenClipboard(window) != FALSE;
        if (open || tried + 1 >= c.attempts) break;
        Sleep(c.stepMs);
      }
      if (open) {
        deadline = GetTickCount() + c.readMs;
        c.openedAt = deadline - c.readMs;
        c.opened = true;
      } else {
        c.outcome = Outcome::Busy;
      }
    }
    if (c.read && c.outcome == Outcome::Done) {
      if (c.stop) {
        c.outcome = Outcome::Late;  // given up while the opening waited
      } else if (!open) {
        c.outcome = Outcome::Late;  // the session's deadline closed the clipboard already
      } else {
        c.reading = true;
        try {
          c.read(c.stop);
        } catch (...) {
          c.outcome = Outcome::Failed;
        }
        c.reading = false;
      }
    }
    c.read = nullptr;  // what it holds goes here, on the thread that used it
    if (c.close && open) {
      CloseClipboard();
      open = false;
    }
    if (c.stop) break;
    SetEvent(c.done);
  }
  c.read = nullptr;
  if (open) CloseClipboard();
  if (window) DestroyWindow(window);
}

ClipboardReader::ClipboardReader(std::function<bool()> handleMessages, ClipboardBudget budget)
    : handleMessages_(std::move(handleMessages)), budget_(budget) {}

ClipboardReader::~ClipboardReader() {
  if (channel_) Abandon();
}

bool ClipboardReader::StartThread() {
  auto channel = std::make_shared<Channel>();
  if (!channel->wake || !channel->done) return false;
  try {
    std::thread(&ClipboardReader::Serve, channel).detach();
  } catch (...) {
    return false;
  }
  channel_ = std::move(channel);
  return true;
}

void ClipboardReader::Abandon() {
  channel_->stop = true;
  SetEvent(channel_->wake);  // a thread that waits for a command ends at once
  // A thread held in a read lets the clipboard go at once (the message is handled inside the
  // read's wait); one that is not closes it as it ends.
  if (HWND window = channel_->window) SendNotifyMessageW(window, kLetGoMessage, 0, 0);
  channel_.reset();          // the thread holds a reference of its own
}

DWORD ClipboardReader::Deadline(DWORD deadline, bool opening) const {
  if (opening && channel_->opened) return channel_->openedAt + budget_.readMs;
  return deadline;
}

bool ClipboardReader::WaitForAnswer(DWORD deadline, bool opening) {
  Channel& c = *channel_;
  const gui::Application::WaitScope wait;
  waiting_ = true;
  waitDeadline_ = deadline;
  waitOpening_ = opening;
  struct NotWaiting {
    bool& waiting;
    ~NotWaiting() { waiting = false; }
  } notWaiting{waiting_};
  DeadlineWatch watch;
  for (;;) {
    const DWORD now = GetTickCount();
    const DWORD toDeadline = TimeLeft(Deadline(deadline, opening), now);
    if (toDeadline == 0) return WaitForSingleObject(c.done, 0) == WAIT_OBJECT_0;
    DWORD left = toDeadline;
    if (opening && !c.opened) left = std::min(left, kOpeningSliceMs);
    // In the quiet time nothing is handled, not even what is sent: answered, another program
    // asking the window again and again (the capture benchmark polls the list's rows) kept the
    // server from the reads, which then took several times as long. The program's own copy,
    // whose reading asks this window, is read on this thread instead (Session::Run).
    const DWORD quiet = TimeLeft(quietUntil_, now);
    if (quiet > 0 || !handleMessages_) {
      if (WaitForSingleObject(c.done, handleMessages_ ? std::min(left, quiet) : left) == WAIT_OBJECT_0) return true;
      continue;
    }
    watch.Arm(c.window, toDeadline);
    if (!handleMessages_()) {
      handleMessages_ = nullptr;
      continue;
    }
    // Returns also for messages that were in the queue already, not only for those that come;
    // under a menu's or a box's own loop its input is left to it and does not wake the wait.
    const DWORD wakeFor = gui::ModalLoopRuns() ? QS_ALLINPUT & ~QS_INPUT : QS_ALLINPUT;
    if (MsgWaitForMultipleObjectsEx(1, &c.done, left, wakeFor, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) return true;
  }
}

ClipboardReader::Outcome ClipboardReader::FinishRunning() {
  if (!waiting_ || !channel_) return Outcome::Busy;
  const std::shared_ptr<Channel> channel = channel_;
  const DWORD until = GetTickCount() + budget_.readMs;
  for (;;) {
    const DWORD now = GetTickCount();
    DWORD left = std::min(TimeLeft(Deadline(waitDeadline_, waitOpening_), now), TimeLeft(until, now));
    if (left == 0) break;
    if (waitOpening_ && !channel->opened) left = std::min(left, kOpeningSliceMs);
    if (gui::Application::WaitAnsweringSentMessages(channel->done, left)) return channel->outcome;
  }
  return channel->opened ? Outcome::Late : Outcome::Busy;
}

bool ClipboardReader::Ask(DWORD deadline, bool opening) {
  ResetEvent(channel_->done);
  channel_->processor = GetCurrentProcessorNumber();
  SetEvent(channel_->wake);
  if (WaitForAnswer(deadline, opening)) return true;
  Abandon();
  return false;
}

ClipboardReader::Session ClipboardReader::Begin(const ClipboardWait& wait) {
  if (busy_) return Session(nullptr, wait);
  busy_ = true;
  quietUntil_ = GetTickCount() + budget_.quietMs;
  return Session(this, wait);
}

ClipboardReader::Session::Session(ClipboardReader* reader, const ClipboardWait& wait)
    : reader_(reader), attempts_(std::max(1, wait.attempts)), stepMs_(wait.step_ms) {}

ClipboardReader::Session::Session(Session&& other) noexcept
    : reader_(other.reader_), attempts_(other.attempts_), stepMs_(other.stepMs_), opened_(other.opened_),
      here_(other.here_) {
  other.reader_ = nullptr;
}

ClipboardReader::Outcome ClipboardReader::Session::Run(Read read, bool thenClose) {
  if (!reader_) return Outcome::Busy;
  ClipboardReader& reader = *reader_;
  const auto end = [&] {
    reader.busy_ = false;
    reader_ = nullptr;
  };
  if (!opened_ && reader.window_ && OwnedByThisThread() && OpenClipboard(reader.window_)) {
    // The program's own copy (a row click's): its windows promise nothing, so the reads cannot
    // be held by an owner, and the reader's opening would wait for this thread's answer.
    if (OwnedByThisThread()) {
      opened_ = here_ = true;
    } else {
      CloseClipboard();  // another program copied in between
    }
  }
  if (here_) {
    static const std::atomic<bool> kGoOn{false};
    Outcome outcome = Outcome::Done;
    try {
      read(kGoOn);
    } catch (...) {
      outcome = Outcome::Failed;
    }
    if (thenClose) Close();
    return outcome;
  }
  if (!reader.channel_ && !reader.StartThread()) {
    end();
    return Outcome::Busy;
  }
  const std::shared_ptr<Channel> channel = reader.channel_;
  Channel& c = *channel;
  c.openFirst = !opened_;
  c.attempts = attempts_;
  c.stepMs = stepMs_;
  c.readMs = reader.budget_.readMs;
  c.read = std::move(read);
  c.close = thenClose;
  DWORD deadline = c.openedAt + reader.budget_.readMs;
  if (!opened_) {
    c.opened = false;
    // An upper bound until the opening is known: the tries and their pauses, and what one
    // opening may take beyond them, then the reads.
    const DWORD tries = static_cast<DWORD>(attempts_ - 1) * stepMs_;
    deadline = GetTickCount() + tries + reader.budget_.openSlackMs + reader.budget_.readMs;
  }
  const bool answered = reader.Ask(deadline, !opened_);
  opened_ = opened_ || c.opened;
  if (!answered) {
    // Abandoned: the clipboard closes when the read ends.
    end();
    return opened_ ? Outcome::Late : Outcome::Busy;
  }
  const Outcome outcome = c.outcome;
  if (outcome == Outcome::Busy || thenClose) end();
  return outcome;
}

void ClipboardReader::Session::Close() {
  if (!reader_) return;
  ClipboardReader& reader = *reader_;
  reader_ = nullptr;
  reader.busy_ = false;
  if (here_) {
    here_ = false;
    CloseClipboard();
    return;
  }
  if (!opened_ || !reader.channel_) return;
  Channel& c = *reader.channel_;
  c.openFirst = false;
  c.read = nullptr;
  c.close = true;
  // Closing takes a server call; the time is for a machine under load.
  reader.Ask(GetTickCount() + reader.budget_.readMs, false);
}

}  // namespace app
