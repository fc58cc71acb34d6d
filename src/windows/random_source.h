// The one pseudo-random generator the effects draw from, behind an interface so that tests
// can script every number.
#pragma once

#include <cstdint>

namespace windows {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // An integer in 0..n-1 (0 when n is not positive); n may reach 2^32.
  virtual std::int64_t Random(std::int64_t n) = 0;
  // A real in [0, 1).
  virtual double RandomReal() = 0;
  virtual void Reseed(std::uint32_t seed) = 0;
};

// A 32-bit linear congruential generator (multiplier 134775813, increment 1).
class LcgRandom : public RandomSource {
 public:
  explicit LcgRandom(std::uint32_t seed = 0) : seed_(seed) {}
  std::int64_t Random(std::int64_t n) override;
  double RandomReal() override;
  void Reseed(std::uint32_t seed) override { seed_ = seed; }

 private:
  std::uint32_t Next() { return seed_ = seed_ * 134775813u + 1u; }
  std::uint32_t seed_;
};

// The process's generator.
RandomSource& ProcessRandom();

// Round to the nearest integer, ties to the even one.
int RoundHalfEven(double v);

}  // namespace windows
