#include "app/reorder/drag_move.h"

#include <cstdlib>

namespace app {

int DragMoveNewIndex(int from, int to) {
  if (from < 0 || to < 0 || from == to) return -1;
  const int newIndex = from < to ? to - 1 : to;
  return newIndex == from ? -1 : newIndex;
}

void DragGesture::Press(int row, bool onRowText, int x, int y) {
  dragging_ = false;
  armed_ = row >= 0 && onRowText;
  row_ = armed_ ? row : -1;
  x_ = x;
  y_ = y;
}

bool DragGesture::Move(int x, int y, bool leftDown, int dragWidth, int dragHeight) {
  if (!leftDown) {
    armed_ = false;
    return false;
  }
  if (!armed_ || dragging_) return false;
  if (std::abs(x - x_) < dragWidth && std::abs(y - y_) < dragHeight) return false;
  armed_ = false;
  dragging_ = true;
  return true;
}

int DragGesture::Release() {
  const int row = dragging_ ? row_ : -1;
  armed_ = dragging_ = false;
  return row;
}

void DragGesture::Cancel() { armed_ = dragging_ = false; }

}  // namespace app
