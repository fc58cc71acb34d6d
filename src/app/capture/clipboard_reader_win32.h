// The window's clipboard reads, run on a thread of their own.
//
// GetClipboardData of a format that its owner promised (SetClipboardData without data) sends
// the owner WM_RENDERFORMAT and waits for its answer without a bound: a late owner holds the
// asking thread for as long as it renders, a hung one for good, and a window thread held so
// takes no input and paints nothing. The window's thread therefore hands its reads to the
// reader's thread and waits for them, up to a deadline, handling its messages meanwhile.
//
// One opening of the clipboard is a Session: the reader's thread opens the clipboard in a
// window of its own with the session's first read, runs the further reads it is given one
// after the other, and closes it when the session ends, or by itself at the session's deadline
// when the window's thread is held elsewhere meanwhile (a dialog opened while it waited), so
// that the clipboard is never left open long. A read still running at the deadline is
// abandoned: its thread lets the clipboard go at once (from inside the read's wait for the
// owner), also while the window's thread is held in a loop of its own at that moment (a timer
// asks for it), reads no further and ends as soon as the owner answers or goes away; the next
// session gets a new thread. A read therefore shares with the window's thread only what it holds a
// reference of its own to.
//
// While it waits, the window's thread answers what is sent to it at once; from the quiet time's
// end it handles its messages as well, but the input of a menu or box running its own loop above
// it stays queued for that loop.
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
    Busy,    // the clipboard did not open (another program holds it), or the session is over
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
  // The window the clipboard is opened with when the program reads its own copy on its
  // window's thread (a session whose clipboard a window of that thread owns).
  void SetWindow(HWND window) { window_ = window; }
  // The window's thread waits for a read (and handles messages meanwhile).
  bool Waiting() const { return waiting_; }
  // From inside a message handled while the window waits for a read: waits for that read,
  // answering only what is sent, until its deadline but at most the reads' budget from now. Its
  // outcome; Late when it did not end by then (the wait below gives it up at its deadline).
  Outcome FinishRunning();

  class Session {
   public:
    Session(Session&& other) noexcept;
    Session& operator=(Session&&) = delete;
    ~Session() { Close(); }
    // Runs `read` there and waits for it. The first read opens the clipboard first, with the
    // tries and pauses of the session's wait (its work between tries is not done: the window
    // thread handles its messages while it waits); the session's deadline runs from the
    // opening. With `thenClose` the clipboard is closed right after the read, which ends the
    // session (one hand-over instead of two).
    Outcome Run(Read read, bool thenClose = false);
    // Closes the clipboard and waits until it is closed (others may open it at once).
    void Close();

   private:
    friend class ClipboardReader;
    Session(ClipboardReader* reader, const ClipboardWait& wait);
    ClipboardReader* reader_;
    int attempts_;
    unsigned stepMs_;
    bool opened_ = false;
    bool here_ = false;  // read on the calling thread: the program's own copy
  };

  // A session, not open yet. While another session of this reader runs (a read asked for
  // while the window waited for another) the new one runs nothing (Busy).
  Session Begin(const ClipboardWait& wait);

 private:
  struct Channel;
  static void Serve(std::shared_ptr<Channel> channel);
  static LRESULT CALLBACK ReaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Hands the command in the channel to the reader's thread and waits for its answer until
  // `deadline`, or, while the command opens the clipboard, until the reads' time from the
  // opening once it is made; false when none came in time, after which the thread is left to
  // itself.
  bool Ask(DWORD deadline, bool opening);
  bool WaitForAnswer(DWORD deadline, bool opening);
  DWORD Deadline(DWORD deadline, bool opening) const;
  // The reader's thread is left to itself (it ends after what it runs now).
  void Abandon();
  bool StartThread();

  std::function<bool()> handleMessages_;
  ClipboardBudget budget_;
  std::shared_ptr<Channel> channel_;  // the reader's thread, when one runs
  bool busy_ = false;                 // a session runs
  DWORD quietUntil_ = 0;              // the session's waits answer only what is sent before this tick
  bool waiting_ = false;
  HWND window_ = nullptr;
  DWORD waitDeadline_ = 0;  // of the read waited for
  bool waitOpening_ = false;
};

}  // namespace app
