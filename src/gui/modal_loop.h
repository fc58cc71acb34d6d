// Whether a loop of the system's own runs on this thread above the code that asks: a menu's
// (context menu, menu bar, system menu), a window move or size, a message box's, a dialog
// box's or a common dialog's. Such a loop takes its keys and clicks from the thread's queue
// itself; a wait further down that took them instead would move the list under an open menu
// or swallow the Enter meant for a box. Waits ask ModalLoopRuns() and then leave input alone.
#pragma once

#include <functional>

namespace gui {

// True while a menu or move/size loop tracks on this thread (the system says so), or a
// ModalLoopScope lives (message boxes and dialogs, which the system does not report).
bool ModalLoopRuns();

// True while a ModalLoopScope lives on this thread: a box or dialog of the program is open.
bool BoxLoopRuns();
// Runs `work` once the outermost ModalLoopScope of this thread has ended (at once when none
// lives): what must not run under an open box, such as a close that would destroy its owner.
void AfterBoxLoops(std::function<void()> work);

// Marks a message box, dialog box or common dialog running its loop for as long as it lives:
// every call that runs one is wrapped in it.
class ModalLoopScope {
 public:
  ModalLoopScope();
  ~ModalLoopScope();
  ModalLoopScope(const ModalLoopScope&) = delete;
  ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};

}  // namespace gui
