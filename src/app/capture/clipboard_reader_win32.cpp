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

}  // namespace

// What the two threads share. A command is written by the window's thread before `wake` and
// read by the reader's thread after it; the answer is written before `done` and read after
// it. The window's thread writes no command while one runs, nor after it stopped waiting.
struct ClipboardReader::Channel {
  enum class Command { Open, Run, Close };

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

  Command command = Command::Close;
  int attempts = 1;
  unsigned stepMs = 0;
  unsigned readMs = 0;
  Read read;

  bool open = false;   // the answer to Open
  DWORD deadline = 0;  // ... and the session's deadline, from the moment the clipboard opened
  Outcome outcome = Outcome::Done;  // the answer to Run
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
    switch (c.command) {
      case Channel::Command::Open:
        for (int tried = 0; !open && window && !c.stop; ++tried) {
          open = OpenClipboard(window) != FALSE;
          if (open || tried + 1 >= c.attempts) break;
          Sleep(c.stepMs);
        }
        deadline = GetTickCount() + c.readMs;
        c.open = open;
        c.deadline = deadline;
        break;
      case Channel::Command::Run:
        c.outcome = Outcome::Late;  // the session's deadline closed the clipboard already
        if (open) {
          try {
            c.read(c.stop);
            c.outcome = Outcome::Done;
          } catch (...) {
            c.outcome = Outcome::Failed;
          }
        }
        c.read = nullptr;  // what it holds goes here, on the thread that used it
        break;
      case Channel::Command::Close:
        if (open) CloseClipboard();
        open = false;
        break;
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

void ClipboardReader::Abandon() {
  channel_->stop = true;
  SetEvent(channel_->wake);  // a thread that waits for a command ends at once
  channel_.reset();          // the thread holds a reference of its own
}

bool ClipboardReader::WaitForAnswer(DWORD deadline) {
  const HANDLE done = channel_->done;
  for (;;) {
    const DWORD now = GetTickCount();
    const DWORD left = TimeLeft(deadline, now);
    const DWORD quiet = TimeLeft(quietUntil_, now);
    if (left == 0) return WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
    if (quiet > 0 || !handleMessages_) {
      if (WaitForSingleObject(done, handleMessages_ ? std::min(left, quiet) : left) == WAIT_OBJECT_0) return true;
      continue;
    }
    if (!handleMessages_()) {
      handleMessages_ = nullptr;
      continue;
    }
    // Returns also for input that was in the queue already, not only for input that comes.
    if (MsgWaitForMultipleObjectsEx(1, &done, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) return true;
  }
}

bool ClipboardReader::Ask(DWORD deadline) {
  SetEvent(channel_->wake);
  if (WaitForAnswer(deadline)) return true;
  Abandon();
  return false;
}

ClipboardReader::Session ClipboardReader::Open(const ClipboardWait& wait) {
  if (busy_) return Session(nullptr);
  if (!channel_) {
    auto channel = std::make_shared<Channel>();
    if (!channel->wake || !channel->done) return Session(nullptr);
    try {
      std::thread(&ClipboardReader::Serve, channel).detach();
    } catch (...) {
      return Session(nullptr);
    }
    channel_ = std::move(channel);
  }
  busy_ = true;
  const DWORD now = GetTickCount();
  quietUntil_ = now + budget_.quietMs;
  Channel& c = *channel_;
  c.command = Channel::Command::Open;
  c.attempts = std::max(1, wait.attempts);
  c.stepMs = wait.step_ms;
  c.readMs = budget_.readMs;
  const DWORD tries = static_cast<DWORD>(c.attempts - 1) * wait.step_ms;
  if (!Ask(now + tries + budget_.openSlackMs) || !c.open) {
    busy_ = false;
    return Session(nullptr);
  }
  return Session(this);
}

void ClipboardReader::EndSession() { busy_ = false; }

ClipboardReader::Session::Session(Session&& other) noexcept : reader_(other.reader_) { other.reader_ = nullptr; }

ClipboardReader::Outcome ClipboardReader::Session::Run(Read read) {
  if (!reader_ || !reader_->channel_) return Outcome::Late;
  Channel& c = *reader_->channel_;
  c.command = Channel::Command::Run;
  c.read = std::move(read);
  if (reader_->Ask(c.deadline)) return c.outcome;
  // Abandoned: the clipboard closes when the read ends.
  reader_->EndSession();
  reader_ = nullptr;
  return Outcome::Late;
}

void ClipboardReader::Session::Close() {
  if (!reader_) return;
  ClipboardReader& reader = *reader_;
  reader_ = nullptr;
  reader.EndSession();
  if (!reader.channel_) return;
  reader.channel_->command = Channel::Command::Close;
  // Closing takes a server call; the slack is for a machine under load.
  reader.Ask(GetTickCount() + reader.budget_.readMs);
}

}  // namespace app
