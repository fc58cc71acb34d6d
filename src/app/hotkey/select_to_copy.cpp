#include "app/hotkey/select_to_copy.h"

namespace app {

namespace {
constexpr int kMovesBeforeCopy = 5;
constexpr int kCountLimit = 2100000000;
constexpr int kCountAfterLimit = 1000;
}  // namespace

bool MouseDragCounter::Click(desktop::TMouseButton button, desktop::TSysMouseButtonMovement movement) {
  using desktop::TMouseButton;
  using desktop::TSysMouseButtonMovement;
  if (button == TMouseButton::mbLeft && movement == TSysMouseButtonMovement::mbmDown) count_ = 1;
  // Any button's release ends a drag that moved far enough.
  bool copy = false;
  if (count_ > kMovesBeforeCopy && movement == TSysMouseButtonMovement::mbmUp) {
    count_ = 0;
    copy = true;
  }
  if (button == TMouseButton::mbLeft && movement == TSysMouseButtonMovement::mbmUp) count_ = 0;
  return copy;
}

void MouseDragCounter::Move() {
  if (count_ <= 0) return;
  ++count_;
  if (count_ > kCountLimit) count_ = kCountAfterLimit;
}

}  // namespace app
