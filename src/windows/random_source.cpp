#include "windows/random_source.h"

#include <cmath>

namespace windows {

std::int64_t LcgRandom::Random(std::int64_t n) {
  if (n <= 0) return 0;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(Next()) * static_cast<std::uint64_t>(n)) >> 32);
}

double LcgRandom::RandomReal() { return Next() / 4294967296.0; }

RandomSource& ProcessRandom() {
  static LcgRandom random;
  return random;
}

int RoundHalfEven(double v) {
  const double floor = std::floor(v);
  const double fraction = v - floor;
  double r = floor;
  if (fraction > 0.5) {
    r = floor + 1;
  } else if (fraction == 0.5) {
    r = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
  }
  return static_cast<int>(r);
}

}  // namespace windows
