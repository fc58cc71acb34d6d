// A RandomSource that hands out numbers a test wrote down, in order, and records what was asked.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "windows/random_source.h"

class ScriptedRandom : public windows::RandomSource {
 public:
  std::int64_t Random(std::int64_t n) override {
    asked.push_back(n);
    if (integers.empty()) {
      ADD_FAILURE() << "no scripted integer left for random(" << n << ")";
      return 0;
    }
    const std::int64_t v = integers.front();
    integers.pop_front();
    EXPECT_LT(v, n);
    return v;
  }
  double RandomReal() override {
    if (reals.empty()) {
      ADD_FAILURE() << "no scripted real left";
      return 0;
    }
    const double v = reals.front();
    reals.pop_front();
    return v;
  }
  void Reseed(std::uint32_t seed) override { seeds.push_back(seed); }

  std::deque<std::int64_t> integers;
  std::deque<double> reals;
  std::vector<std::int64_t> asked;
  std::vector<std::uint32_t> seeds;
};
