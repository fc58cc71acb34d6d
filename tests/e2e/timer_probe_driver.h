// Counts the timer messages of the program's GUI thread through a hook library of the tests
// (probe/timer_probe.cpp) that stays in the program while a TimerProbe lives.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

namespace e2e {

class TimerProbe {
 public:
  // Hooks the thread of the window; Counting() is false when the hook could not be set.
  explicit TimerProbe(HWND anyWindowOfTheThread);
  ~TimerProbe();
  TimerProbe(const TimerProbe&) = delete;
  TimerProbe& operator=(const TimerProbe&) = delete;
  bool Counting() const { return hook_ != nullptr; }

  using Counts = std::map<std::pair<HWND, UINT_PTR>, long>;
  // The counts since the last reset; reset: start again from zero.
  Counts Read(bool reset = false);
  // Timer messages to the window and its descendants.
  static long ToWindowAndChildren(const Counts& counts, HWND window);
  static long ToWindow(const Counts& counts, HWND window, UINT_PTR id);

 private:
  HWND window_;
  HMODULE library_ = nullptr;
  HHOOK hook_ = nullptr;
};

}  // namespace e2e
