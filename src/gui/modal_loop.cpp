#include "gui/modal_loop.h"

#include <windows.h>

namespace gui {

namespace {
// Per thread: a box on the reader's or the sound's thread says nothing of the window's thread.
thread_local int tModalLoops = 0;
}  // namespace

bool ModalLoopRuns() {
  if (tModalLoops > 0) return true;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) return false;
  return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE)) != 0;
}

ModalLoopScope::ModalLoopScope() { ++tModalLoops; }
ModalLoopScope::~ModalLoopScope() { --tModalLoops; }

}  // namespace gui
