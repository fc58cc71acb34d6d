#include "skin/gradient.h"

namespace skin {

std::vector<TColor> ComputeRamp(int n, TColor from, TColor to) {
  if (n <= 0) return {};
  if (n == 1) {
    return {RGBColor((RedOf(from) + RedOf(to)) / 2, (GreenOf(from) + GreenOf(to)) / 2, (BlueOf(from) + BlueOf(to)) / 2)};
  }
  std::vector<TColor> ramp(static_cast<size_t>(n));
  // Rounded to the nearest with a floor division: a truncating one would stop a falling
  // channel one short of its end colour.
  auto channel = [n](int start, int end, int k) {
    const int numerator = (end - start) * k + (n - 1) / 2;
    const int quotient = numerator / (n - 1);
    return start + (numerator % (n - 1) < 0 ? quotient - 1 : quotient);
  };
  for (int k = 0; k < n; ++k) {
    ramp[static_cast<size_t>(k)] = RGBColor(channel(RedOf(from), RedOf(to), k), channel(GreenOf(from), GreenOf(to), k),
                                            channel(BlueOf(from), BlueOf(to), k));
  }
  return ramp;
}

const std::vector<TColor>& RampCache::Ramp(int n, TColor from, TColor to) {
  for (int i = 0; i < used_; ++i) {
    const Slot& slot = slots_[static_cast<size_t>((next_ - 1 - i + 16) % 16)];
    if (slot.n == n && slot.from == from && slot.to == to) return slot.colours;
  }
  Slot& slot = slots_[static_cast<size_t>(next_)];
  slot = {n, from, to, ComputeRamp(n, from, to)};
  next_ = (next_ + 1) % 16;
  if (used_ < 16) ++used_;
  ++computed_;
  return slot.colours;
}

void GradientFill(Bitmap24& target, const TRect& rect, TColor color1, bool vertical, TColor color2,
                  const TRect& clip, RampCache& cache) {
  const TRect visible = IntersectRects(IntersectRects(rect, clip), {0, 0, target.Width(), target.Height()});
  if (visible.Empty()) return;
  const std::vector<TColor>& ramp =
      cache.Ramp(vertical ? rect.Height() : rect.Width(), ColorToRGB(color1), ColorToRGB(color2));
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    for (int x = visible.Left; x < visible.Right; ++x) {
      target.SetPixel(x, y, ramp[static_cast<size_t>(vertical ? y - rect.Top : x - rect.Left)]);
    }
  }
}

void GradientFill(Bitmap24& target, const TRect& rect, TColor color1, bool vertical, TColor color2) {
  static RampCache cache;
  GradientFill(target, rect, color1, vertical, color2, {0, 0, target.Width(), target.Height()}, cache);
}

}  // namespace skin
