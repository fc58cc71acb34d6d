// Gradient fills from a cache of colour ramps.
#pragma once

#include <array>
#include <vector>

#include "skin/bitmap24.h"
#include "skin/skin_colors.h"

namespace skin {

// A ramp of n colours from one end to the other: channel k is
// start + floor((delta * k + (n - 1) div 2) / (n - 1)), so it ends on the end colour also
// when it falls; a ramp of one colour is the midpoint.
std::vector<TColor> ComputeRamp(int n, TColor from, TColor to);

// The last 16 ramps made, looked up newest first by length and end colours; a new one takes
// the next slot of the ring (after slot 15 comes slot 0).
class RampCache {
 public:
  const std::vector<TColor>& Ramp(int n, TColor from, TColor to);
  int Computed() const { return computed_; }  // ramps made so far (not found in the cache)

 private:
  struct Slot {
    int n = 0;
    TColor from = 0, to = 0;
    std::vector<TColor> colours;
  };
  std::array<Slot, 16> slots_;
  int next_ = 0;
  int used_ = 0;
  int computed_ = 0;
};

// Fills rect of target line by line with a ramp from color1 to color2 as long as the
// rectangle is high (vertical: one colour a row) or wide (one colour a column). Only the part
// inside clip (and the bitmap) is drawn; a rectangle outside it draws nothing.
void GradientFill(Bitmap24& target, const TRect& rect, TColor color1, bool vertical, TColor color2,
                  const TRect& clip, RampCache& cache);
void GradientFill(Bitmap24& target, const TRect& rect, TColor color1, bool vertical, TColor color2);

}  // namespace skin
