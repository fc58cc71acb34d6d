// The one blink phase every label shares: each tick flips it, and the next tick comes after
// the interval of the phase just begun.
#pragma once

#include <cstdint>

namespace widgets {

class BlinkClock {
 public:
  // Flips the phase; returns the interval until the next tick.
  unsigned Tick() {
    on_ = !on_;
    return on_ ? intervalOn : intervalOff;
  }
  bool On() const { return on_; }
  unsigned CurrentInterval() const { return on_ ? intervalOn : intervalOff; }

  std::uint16_t intervalOn = 500;
  std::uint16_t intervalOff = 500;

 private:
  bool on_ = false;
};

}  // namespace widgets
