// The window's clipboard reads, run on a thread of their own.
//
// GetClipboardData of a format that its owner promised (SetClipboardData without data) sends
// the owner WM_RENDERFORMAT and waits for its answer without a bound: a late owner holds the
// asking thread for as long as it renders, a hung one for good, and a window thread held so
// takes no input and paints nothing. The window's thread therefore hands each read to the
// reader's thread and waits for it, up to a deadline, handling its messages meanwhile.
//
// A read is one job of the reader's thread: it opens the clipboard in a window of its own,
// reads, closes it and answers. Its deadline runs from the real opening. A read still running at
// its deadline is given up: the reader's thread lets the clipboard go at once (from inside the
// owner's render, whose wait still handles what is sent to the thread's windows), also while the
// window's thread is held in a loop of its own then (a timer of the system's pool asks for it).
// A render cannot be called off, and while one thread of the process waits in it every other
// GetClipboardData of the process waits too (user32 holds a lock across it): so while a read given
// up is still inside its owner, no read runs (Busy), the edit boxes do not paste
// (gui::ClipboardReadsHeld), and the clipboard as that read found it is never read again. When
// it comes back, the window is told (NotifyWhenFreed) and may look at the clipboard again.
//
// The thread is the reader's for its whole life, and Shutdown waits for it; a read held by a hung
// owner gets the reads' budget, and is then left where ending it is harmless: it does nothing
// more once it comes back.
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
  // read is given up: it should end as soon as it can.
  using Read = std::function<void(const std::atomic<bool>& stop)>;
  enum class Outcome {
    Done,
    Busy,    // not read: the clipboard did not open in time (another program holds it), another
             // read runs or is held in its owner, or the clipboard is as a read given up found it
    Late,    // not done by its deadline, or cut short there (the read goes on, given up)
    Failed,  // the read threw
  };

  // handleMessages: one round of the window thread's message handling; false once messages can
  // be handled no more (the application ends), after which waits only wait.
  explicit ClipboardReader(std::function<bool()> handleMessages, ClipboardBudget budget = kClipboardBudget);
  ~ClipboardReader() { Shutdown(); }
  ClipboardReader(const ClipboardReader&) = delete;
  ClipboardReader& operator=(const ClipboardReader&) = delete;

  const ClipboardBudget& budget() const { return budget_; }
  // The window the clipboard is opened with when the program reads its own copy on its
  // window's thread (a clipboard that a window of that thread owns).
  void SetWindow(HWND window) { window_ = window; }
  // `message` is posted to `window` when a read given up comes back from its owner.
  void NotifyWhenFreed(HWND window, UINT message);
  // The window's thread waits for a read (and handles messages meanwhile).
  bool Waiting() const { return waiting_; }
  // A read given up is still inside its owner.
  bool Held() const;
  // No read would run now: Held, or the clipboard is as the last read given up found it.
  bool Refusing() const;

  // Opens the clipboard with the tries and pauses of `wait` (its work between tries is not done:
  // the window's thread handles its messages while it waits), runs `read` there, closes it, and
  // waits for all of it until the reads' budget from the opening.
  Outcome Run(const ClipboardWait& wait, Read read);
  // From inside a message handled while the window waits for a read: waits for that read,
  // answering only what is sent, until its deadline but at most the reads' budget from now. Its
  // outcome; Late (Busy before the opening) when it did not end by then: the wait below gives
  // it up at its deadline.
  Outcome FinishRunning();
  // The program ends: waits for the reader's thread to end (a held read for the reads' budget).
  void Shutdown();

 private:
  struct Shared;
  static DWORD WINAPI ThreadMain(void* shared);
  static void Serve(Shared& s);
  // The read in hand, on the reader's thread; true when the program ends meanwhile.
  static bool RunJob(Shared& s, HWND window);
  static bool ReadOver(Shared& s);
  static LRESULT CALLBACK ReaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool StartThread();
  bool WaitForAnswer(DWORD start);
  // The job this thread handed over last has its answer.
  bool Answered() const;
  DWORD Deadline(DWORD start) const;
  // The window's thread stops waiting for the read in hand: the clipboard goes at once.
  Outcome GiveUp();

  std::function<bool()> handleMessages_;
  ClipboardBudget budget_;
  std::shared_ptr<Shared> shared_;  // the reader's thread, once one was made
  HANDLE thread_ = nullptr;
  bool busy_ = false;  // a read runs, waited for by this thread
  bool waiting_ = false;
  HWND window_ = nullptr;
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
  DWORD givenUpSequence_ = 0;  // the clipboard as the last read given up found it
  DWORD waitStart_ = 0;        // of the read waited for
  WPARAM job_ = 0;             // the number of the read handed over last
};

}  // namespace app
