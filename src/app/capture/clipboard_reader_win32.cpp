#include "app/capture/clipboard_reader_win32.h"

#include <algorithm>
#include <thread>

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

}  // namespace

// What the two threads share. A command is written by the window's thread before `wake` and
// read by the reader's thread after it; the answer is written before `done` and read after
// it. The window's thread writes no command while one runs, nor after it stopped waiting.
struct ClipboardReader::Channel {
  Channel() : wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~Channel() {
    if (wake) CloseHandle(wake);
    if (done) CloseHandle(done);
  }
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  HANDLE wake;
  HANDLE done;
  std::atomic<bool> stop{false};

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

void ClipboardReader::Serve(std::shared_ptr<Channel> channel) {
  Channel& c = *channel;
  // The clipboard is opened in a window of this thread: only that window could open it again
  // while this thread holds it (a reader opening it with no window would let any other such
  // reader take it over under Wine).
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  bool open = false;
  DWORD deadline = 0;
  for (;;) {
    const DWORD woke = WaitForSingleObject(c.wake, open ? TimeLeft(deadline, GetTickCount()) : INFINITE);
    if (c.stop) break;
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
      if (!open) {
        c.outcome = Outcome::Late;  // the session's deadline closed the clipboard already
      } else {
        try {
          c.read(c.stop);
        } catch (...) {
          c.outcome = Outcome::Failed;
        }
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
  channel_.reset();          // the thread holds a reference of its own
}

DWORD ClipboardReader::Deadline(DWORD deadline, bool opening) const {
  if (opening && channel_->opened) return channel_->openedAt + budget_.readMs;
  return deadline;
}

bool ClipboardReader::WaitForAnswer(DWORD deadline, bool opening) {
  Channel& c = *channel_;
  for (;;) {
    const DWORD now = GetTickCount();
    DWORD left = TimeLeft(Deadline(deadline, opening), now);
    if (left == 0) return WaitForSingleObject(c.done, 0) == WAIT_OBJECT_0;
    if (opening && !c.opened) left = std::min(left, kOpeningSliceMs);
    const DWORD quiet = TimeLeft(quietUntil_, now);
    if (quiet > 0 || !handleMessages_) {
      if (WaitForSingleObject(c.done, handleMessages_ ? std::min(left, quiet) : left) == WAIT_OBJECT_0) return true;
      continue;
    }
    if (!handleMessages_()) {
      handleMessages_ = nullptr;
      continue;
    }
    // Returns also for input that was in the queue already, not only for input that comes.
    if (MsgWaitForMultipleObjectsEx(1, &c.done, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) return true;
  }
}

bool ClipboardReader::Ask(DWORD deadline, bool opening) {
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
    : reader_(other.reader_), attempts_(other.attempts_), stepMs_(other.stepMs_), opened_(other.opened_) {
  other.reader_ = nullptr;
}

ClipboardReader::Outcome ClipboardReader::Session::Run(Read read, bool thenClose) {
  if (!reader_) return Outcome::Busy;
  ClipboardReader& reader = *reader_;
  const auto end = [&] {
    reader.busy_ = false;
    reader_ = nullptr;
  };
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
  if (!opened_ || !reader.channel_) return;
  Channel& c = *reader.channel_;
  c.openFirst = false;
  c.read = nullptr;
  c.close = true;
  // Closing takes a server call; the time is for a machine under load.
  reader.Ask(GetTickCount() + reader.budget_.readMs, false);
}

}  // namespace app
