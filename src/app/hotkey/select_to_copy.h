// Select-to-copy: a left-button drag anywhere on the desktop (a press, more than four moves,
// a release) copies what it selected. The mouse hook's events are counted here; the main
// window sends Ctrl+C when told to.
#pragma once

#include "desktop/hook_protocol.h"

namespace app {

class MouseDragCounter {
 public:
  // A click event of the mouse hook; true when Ctrl+C is to be sent now.
  bool Click(desktop::TMouseButton button, desktop::TSysMouseButtonMovement movement);
  // A move event of the mouse hook.
  void Move();
  int MouseDragCount() const { return count_; }

 private:
  // 0: no drag counted; 1 after a left press; one more per move, kept at most 2100000000.
  int count_ = 0;
};

}  // namespace app
