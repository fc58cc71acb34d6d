// The one blink timer of all labels: created with the first label and gone with the last.
// Each tick flips the shared phase, asks every label whether it blinks (0xB3E8) and tells
// those that do the new phase (0xB3E9). The timer runs only while some label blinks.
#pragma once

#include <windows.h>

#include "widgets/blink_clock.h"

namespace widgets {

constexpr UINT kBlinkQueryMessage = 0xB3E8;  // answer 1 when blinking
constexpr UINT kBlinkPhaseMessage = 0xB3E9;  // wParam 1: blink colour, 0: the font colour

class BlinkList {
 public:
  static void Add(HWND label);
  static void Remove(HWND label);
  // After a label's Blinking changed: starts or stops the shared timer.
  static void Update();
  static BlinkClock& Clock();
  // Whether the list exists (some label is alive) and whether its timer runs.
  static bool Exists();
  static bool TimerRunning();
};

}  // namespace widgets
