// The window's clipboard reads, run on a thread of their own.
//
// GetClipboardData of a format that its owner promised (SetClipboardData without data) sends
// the owner WM_RENDERFORMAT and waits for its answer without a bound: a late owner holds the
// asking thread for as long as it renders, a hung one for good, and a window thread held so
// takes no input and paints nothing. The window's thread therefore hands its reads to the
// reader's thread and waits for them, up to a deadline, handling its messages meanwhile.
//
// One opening of the clipboard is a Session: the reader's thread opens the clipboard in a
// window of its own, runs the reads it is given one after the other, and closes it when the
// session ends, or by itself at the session's deadline when the window's thread is held
// elsewhere meanwhile (a dialog opened while it waited), so that the clipboard is never left
// open long. A read still running at the deadline is abandoned: it goes on on its thread,
// which closes the clipboard and ends as soon as the owner answers or goes away; the next
// session gets a new thread. A read therefore shares with the window's thread only what it
// holds a reference of its own to.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "app/capture/clipboard_budget.h"
#include "app/capture/clipboard_wait.h"

namespace app {

class ClipboardReader {
 public:
  // Runs on the reader's thread with the clipboard open there. `stop` turns true when the
  // window's thread no longer waits for it: it should end as soon as it can.
  using Read = std::function<void(const std::atomic<bool>& stop)>;
  enum class Outcome {
    Done,
    Late,    // not done by the session's deadline (it goes on without anyone waiting)
    Failed,  // the read threw
  };

  // handleMessages: one round of the window thread's message handling; false once messages can
  // be handled no more (the application ends), after which waits only wait.
  explicit ClipboardReader(std::function<bool()> handleMessages, ClipboardBudget budget = kClipboardBudget);
  ~ClipboardReader();
  ClipboardReader(const ClipboardReader&) = delete;
  ClipboardReader& operator=(const ClipboardReader&) = delete;

  const ClipboardBudget& budget() const { return budget_; }

  class Session {
   public:
    Session(Session&& other) noexcept;
    Session& operator=(Session&&) = delete;
    ~Session() { Close(); }
    // Whether the reader's thread holds the clipboard open for this session.
    explicit operator bool() const { return reader_ != nullptr; }
    // Runs `read` there and waits for it; a session that is not open runs nothing (Late).
    Outcome Run(Read read);
    // Closes the clipboard and waits until it is closed (others may open it at once).
    void Close();

   private:
    friend class ClipboardReader;
    explicit Session(ClipboardReader* reader) : reader_(reader) {}
    ClipboardReader* reader_;
  };

  // Opens the clipboard on the reader's thread, with as many tries and pauses as `wait` says
  // (its work between tries is not done: the window thread handles its messages while it
  // waits). A session that is not open when the clipboard stayed busy, or while another
  // session of this reader is open (a read asked for while the window waited for another).
  Session Open(const ClipboardWait& wait);

 private:
  struct Channel;
  static void Serve(std::shared_ptr<Channel> channel);
  // Hands a command to the reader's thread and waits for its answer until `deadline`; false
  // when none came by then.
  bool Ask(DWORD deadline);
  bool WaitForAnswer(DWORD deadline);
  // The reader's thread is left to itself (it ends after what it runs now).
  void Abandon();
  void EndSession();

  std::function<bool()> handleMessages_;
  ClipboardBudget budget_;
  std::shared_ptr<Channel> channel_;  // the reader's thread, when one runs
  bool busy_ = false;  // a session opens or is open
  DWORD quietUntil_ = 0;  // the session's wait handles no messages before this tick
};

}  // namespace app
