// The drag move of a history row: when a press on a row's text becomes a drag, and where
// the dragged entry lands.
#pragma once

namespace app {

// The drop of row `from` (the row the drag started on, DragRow) on row `to` (-1 when the
// drop is not on a row): the entry's new index, or -1 when nothing moves. The entry is
// inserted before the drop row, so a move down lands one above it: 2 onto 5 gives 4.
int DragMoveNewIndex(int from, int to);

// The mouse gesture on the list: a left press on a row's text arms it; it becomes a drag
// only once the mouse, with the button still down, has moved the system's drag distance
// away. Clicks, double clicks, presses on the check box and presses below the rows never
// become drags. Esc ends a drag without a drop.
class DragGesture {
 public:
  void Press(int row, bool onRowText, int x, int y);
  // A mouse move; true when this move starts the drag.
  bool Move(int x, int y, bool leftDown, int dragWidth, int dragHeight);
  // The button went up: the row the drag started from when a drag was running (it is
  // dropped now), else -1.
  int Release();
  // Esc: a running drag ends and nothing moves.
  void Cancel();

  bool Dragging() const { return dragging_; }
  int DragRow() const { return dragging_ ? row_ : -1; }

 private:
  int row_ = -1;
  int x_ = 0, y_ = 0;
  bool armed_ = false;
  bool dragging_ = false;
};

}  // namespace app
