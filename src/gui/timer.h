// A window timer that runs OnTimer every Interval milliseconds while Enabled.
#pragma once

#include <windows.h>

#include <functional>

namespace gui {

class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // The window that receives WM_TIMER; the form dispatches it to Fire().
  void Attach(HWND owner, UINT_PTR id, UINT interval, bool enabled);
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetInterval(UINT interval);
  UINT Interval() const { return interval_; }
  UINT_PTR Id() const { return id_; }
  void Fire();

  std::function<void()> OnTimer;

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  UINT interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace gui
