#include <gtest/gtest.h>

#include <cmath>

#include "scripted_random.h"
#include "windows/firework_particles.h"

using namespace windows;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

TEST(LcgRandom, StaysInRangeAndRepeatsAfterReseed) {
  LcgRandom r(42);
  std::vector<std::int64_t> first;
  for (int i = 0; i < 200; ++i) {
    const std::int64_t v = r.Random(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    first.push_back(v);
  }
  EXPECT_GE(r.Random(0x100000000LL), 0);
  const double d = r.RandomReal();
  EXPECT_GE(d, 0.0);
  EXPECT_LT(d, 1.0);
  r.Reseed(42);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(r.Random(7), first[i]);
  EXPECT_EQ(r.Random(0), 0);
}

TEST(FireWorkBurst, OneParticleWithMaxPackCountZero) {
  ScriptedRandom random;
  random.integers = {0x00FF8040, 7};
  random.reals = {0.5, 0.25};
  FireWorkParticles p(random);
  p.SetParticleCount(4);
  p.MaxPackCount = 0;
  EXPECT_EQ(p.Burst(10, 20, 100), 1);
  EXPECT_EQ(random.asked, (std::vector<std::int64_t>{0x100000000LL, 100}));
  EXPECT_EQ(p.state[0], TParticleState::psLifting);
  EXPECT_EQ(p.x[0], 10);
  EXPECT_EQ(p.y[0], 95);
  EXPECT_EQ(p.fx[0], 10.0);
  EXPECT_EQ(p.fy[0], 20.0);
  EXPECT_DOUBLE_EQ(p.vx[0], std::cos(3.14) * 0.25);
  EXPECT_DOUBLE_EQ(p.vy[0], std::sin(3.14) * 0.25);
  EXPECT_EQ(p.life[0], 7);
  EXPECT_EQ(p.colour[0], 0x00FF8040u);
  EXPECT_EQ(p.state[1], TParticleState::psDead);
}

TEST(FireWorkBurst, StartsAtMostMaxPackCountPlusOneAndNothingWhenAllLive) {
  ScriptedRandom random;
  FireWorkParticles p(random);
  p.SetParticleCount(5);
  p.MaxPackCount = 2;
  random.integers = {1, 0, 0, 0};
  random.reals = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(p.Burst(1, 1, 50), 3);
  random.integers = {2, 0, 0};
  random.reals = {0, 0, 0, 0};
  EXPECT_EQ(p.Burst(1, 1, 50), 2);  // the two dead ones left
  EXPECT_EQ(p.LiveCount(), 5);
  random.integers = {3};
  EXPECT_EQ(p.Burst(1, 1, 50), 0);
  EXPECT_TRUE(random.integers.empty());
  // Growing the arrays keeps the live particles and adds dead ones.
  p.SetParticleCount(7);
  EXPECT_EQ(p.LiveCount(), 5);
  EXPECT_EQ(p.state[6], TParticleState::psDead);
}

TEST(FireWorkMove, LiftingRocketSparksThenExplodes) {
  ScriptedRandom random;
  FireWorkParticles p(random);
  p.SetParticleCount(1);
  p.state[0] = TParticleState::psLifting;
  p.x[0] = 10;
  p.y[0] = 30;
  p.fy[0] = 20;
  TDrawScreen screen(40, 40);
  // y 25: spark at (10 + Round(0.5), 25 + Round(2.5)) = (10, 27): both ties go to even.
  random.integers = {1};
  random.reals = {0.25, 0.5};
  p.MoveParticles(screen);
  EXPECT_EQ(p.y[0], 25);
  EXPECT_EQ(screen.Pixel(10, 27), kSparkWhite);
  // y 20, still rising (not below the target): random(50) = 0, no spark.
  random.integers = {0};
  p.MoveParticles(screen);
  EXPECT_EQ(p.state[0], TParticleState::psLifting);
  // y 15: above the target, it explodes without drawing.
  p.MoveParticles(screen);
  EXPECT_EQ(p.state[0], TParticleState::psExploding);
  EXPECT_TRUE(random.integers.empty() && random.reals.empty());
  // A spark at (x + Round(1.5), y + Round(3.5)) = (12, 19) at y 15.
  p.state[0] = TParticleState::psLifting;
  p.y[0] = 20;
  p.fy[0] = 0;
  random.integers = {1};
  random.reals = {0.75, 0.7};
  p.MoveParticles(screen);
  EXPECT_EQ(screen.Pixel(12, 19), kSparkWhite);
}

TEST(FireWorkMove, ExplodingParticleFallsDrawsAndDiesOfAge) {
  ScriptedRandom random;
  FireWorkParticles p(random);
  p.SetParticleCount(1);
  p.state[0] = TParticleState::psExploding;
  p.life[0] = 3;
  p.colour[0] = 0x123456;
  p.fx[0] = 10.0;
  p.fy[0] = 20.0;
  p.vx[0] = 0.5;
  TDrawScreen screen(40, 40);
  random.reals = {0.0};
  random.integers = {3};
  p.MoveParticles(screen);  // (10.5, 20) -> (10, 20), a tie to even
  EXPECT_EQ(p.life[0], 2);
  EXPECT_EQ(screen.Pixel(10, 20), 0x123456u);
  random.reals = {0.2};
  random.integers = {1};
  p.MoveParticles(screen);  // vy 0.01: (11.0, 20.01) -> (11, 20), white
  EXPECT_DOUBLE_EQ(p.vy[0], 0.01);
  EXPECT_EQ(screen.Pixel(11, 20), kSparkWhite);
  random.reals = {0.0};
  p.MoveParticles(screen);  // life 0: dead, nothing drawn
  EXPECT_EQ(p.state[0], TParticleState::psDead);
  EXPECT_EQ(screen.Pixel(12, 20), 0u);
  EXPECT_TRUE(random.integers.empty());
}

TEST(FireWorkMove, LifeZeroParticleLivesUntilItLeavesTheInterior) {
  ScriptedRandom random;
  FireWorkParticles p(random);
  p.SetParticleCount(1);
  p.state[0] = TParticleState::psExploding;
  p.life[0] = 0;
  p.colour[0] = 0xABCDEF;
  p.fx[0] = 6.0;
  p.fy[0] = 5.0;
  p.vx[0] = -5.0;
  TDrawScreen screen(20, 20);
  random.reals = {0.0};
  random.integers = {0};
  p.MoveParticles(screen);  // life -1, (1, 5): inside
  EXPECT_EQ(p.life[0], -1);
  EXPECT_EQ(p.state[0], TParticleState::psExploding);
  EXPECT_EQ(screen.Pixel(1, 5), 0xABCDEFu);
  random.reals = {0.0};
  p.MoveParticles(screen);  // (-4, 5): out
  EXPECT_EQ(p.state[0], TParticleState::psDead);
  EXPECT_TRUE(random.integers.empty());
}

TEST(FireWorkBlur, InPlaceColumnByColumnWithBordersKept) {
  TDrawScreen screen(4, 4);
  screen.SetPixel(0, 0, 0x090909);
  screen.SetPixel(0, 3, 0x000051);  // blue 81
  screen.SetPixel(3, 1, 0x110000);  // red 17
  FireWorkParticles::Blur(screen);
  EXPECT_EQ(screen.Pixel(1, 1), 0x010101u);
  // (1,2) sees blue 1 + 81 -> 9; it is blurred before (2,1), whose block then holds it.
  EXPECT_EQ(screen.Pixel(1, 2), 0x000009u);
  // (2,1): red 1 (blurred (1,1)) + 17 = 18 -> 2, blue 1 + 9 -> 1; from the unblurred
  // picture both would be 1 and 0.
  EXPECT_EQ(screen.Pixel(2, 1) >> 16, 2u);
  EXPECT_EQ(screen.Pixel(2, 1) & 0xFF, 1u);
  EXPECT_EQ(screen.Pixel(0, 0), 0x090909u);
  EXPECT_EQ(screen.Pixel(3, 1), 0x110000u);
  EXPECT_EQ(screen.Pixel(0, 3), 0x000051u);

  TDrawScreen thin(2, 5);
  thin.SetPixel(1, 2, 0xFFFFFF);
  FireWorkParticles::Blur(thin);
  EXPECT_EQ(thin.Pixel(1, 2), 0xFFFFFFu);
}

TEST(DrawScreen, SizeChangesClearAndRebuildRows) {
  TDrawScreen screen(3, 2);
  screen.SetPixel(2, 1, 5);
  EXPECT_EQ(screen.Row(1)[2], 5u);
  screen.SetWidth(4);
  EXPECT_EQ(screen.Width(), 4);
  EXPECT_EQ(screen.Pixel(2, 1), 0u);
  screen.SetHeight(0);
  EXPECT_EQ(screen.Width(), 0);
  EXPECT_EQ(screen.Height(), 0);
  screen.SetSize(2, 2);
  EXPECT_EQ(screen.Pixel(1, 1), 0u);
}
