// Timing helpers the Windows benchmarks share: milliseconds of a steady clock and medians.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double Since(Clock::time_point start) { return Ms(Clock::now() - start); }

// The middle of the values (the upper one of an even count); 0 when there are none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
