#include "gui/modal_loop.h"

#include <windows.h>

#include <vector>

#include "gui/guard.h"

namespace gui {

namespace {
// Per thread: a box on the reader's or the sound's thread says nothing of the window's thread.
thread_local int tModalLoops = 0;
thread_local std::vector<std::function<void()>> tAfterBoxLoops;
}  // namespace

bool BoxLoopRuns() { return tModalLoops > 0; }

void AfterBoxLoops(std::function<void()> work) {
  if (tModalLoops == 0) {
    Guarded("after a box", [&] { work(); });
    return;
  }
  tAfterBoxLoops.push_back(std::move(work));
}

bool ModalLoopRuns() {
  if (tModalLoops > 0) return true;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) return false;
  return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE)) != 0;
}

ModalLoopScope::ModalLoopScope() { ++tModalLoops; }
ModalLoopScope::~ModalLoopScope() {
  if (--tModalLoops > 0) return;
  std::vector<std::function<void()>> work;
  work.swap(tAfterBoxLoops);
  for (auto& step : work) Guarded("after a box", [&] { step(); });
}

}  // namespace gui
