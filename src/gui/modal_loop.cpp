#include "gui/modal_loop.h"

#include <windows.h>

#include "gui/outermost_work.h"

namespace gui {

namespace {
// Per thread: a box on the reader's or the sound's thread says nothing of the window's thread.
thread_local OutermostWork tBoxLoops{"after a box"};
}  // namespace

bool BoxLoopRuns() { return tBoxLoops.Inside(); }

void AfterBoxLoops(std::function<void()> work) { tBoxLoops.After(std::move(work)); }

bool ModalLoopRuns() {
  if (BoxLoopRuns()) return true;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) return false;
  return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE)) != 0;
}

ModalLoopScope::ModalLoopScope() { tBoxLoops.Enter(); }
ModalLoopScope::~ModalLoopScope() { tBoxLoops.Leave(); }

}  // namespace gui
