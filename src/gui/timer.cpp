#include "gui/timer.h"

namespace gui {

Timer::~Timer() {
  if (owner_ && enabled_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::Attach(HWND owner, UINT_PTR id, UINT interval, bool enabled) {
  owner_ = owner;
  id_ = id;
  interval_ = interval;
  enabled_ = false;
  SetEnabled(enabled);
}

void Timer::SetEnabled(bool enabled) {
  if (!owner_) {
    enabled_ = enabled;
    return;
  }
  if (enabled) SetTimer(owner_, id_, interval_, nullptr);
  else KillTimer(owner_, id_);
  enabled_ = enabled;
}

void Timer::SetInterval(UINT interval) {
  interval_ = interval;
  if (enabled_) SetEnabled(true);
}

void Timer::Fire() {
  if (enabled_ && OnTimer) OnTimer();
}

}  // namespace gui
