// How long clipboard routines wait for another program to let go of the clipboard.
// Bounded: a program that never closes the clipboard costs a failed operation, not a hang.
#pragma once

#include <functional>

namespace app {

struct ClipboardWait {
  int attempts = 100;                   // tries to open the clipboard (at least one is made)
  unsigned step_ms = 50;                // pause before each further try
  std::function<void()> between_tries;  // run in each pause, e.g. one round of message handling
};

}  // namespace app
