// The drag move's mouse work on a list control: it watches the list's messages (through the
// control's message filter, before the control's own handling), lets clicks, double clicks and check boxes through
// untouched, and turns a press on a row's text that moves the system's drag distance into a
// drag: the list no longer follows the mouse, the cursor shows whether a drop is possible,
// the button-up drops and Esc or a lost capture cancels.
#pragma once

#include <windows.h>

#include <functional>

#include "app/reorder/drag_move.h"
#include "unicode/uni_win_control_win32.h"

namespace app {

class ListDragTracker {
 public:
  struct Handlers {
    // The row under a client point and whether the point is on its text (not its check box).
    std::function<int(int x, int y, bool& onText)> rowAt;
    std::function<void(int row)> startDrag;          // the drag of the pressed row begins (past the distance)
    std::function<bool(int x, int y)> dragOver;      // true when a drop there would be accepted
    std::function<void(int x, int y)> dragDrop;      // the button went up during a drag
  };

  ListDragTracker(unicode::TUniWinControl& list, Handlers handlers);
  ~ListDragTracker();
  ListDragTracker(const ListDragTracker&) = delete;
  ListDragTracker& operator=(const ListDragTracker&) = delete;

  bool Dragging() const { return gesture_.Dragging(); }

 private:
  // True when the message is answered here (result); false lets the control handle it.
  bool Handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void ShowCursorFor(int x, int y);
  void EndDrag();

  unicode::TUniWinControl& list_;
  Handlers handlers_;
  DragGesture gesture_;
  bool swallowEscapeChar_ = false;  // the Esc that cancelled a drag does not also minimise
  bool ignoreUntilButtonUp_ = false;  // after Esc the list must not follow the held button
};

}  // namespace app
