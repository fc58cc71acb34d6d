// Colour ramps, their cache, and gradient fills inside a clip box.
#include <gtest/gtest.h>

#include "skin/gradient.h"

using namespace skin;

TEST(Ramp, RoundedStepsAndTheOneColourMidpoint) {
  const std::vector<TColor> up = ComputeRamp(4, RGBColor(0, 0, 0), RGBColor(10, 255, 3));
  // channel k = start + (delta * k + 1) div 3
  EXPECT_EQ(up, (std::vector<TColor>{RGBColor(0, 0, 0), RGBColor(3, 85, 1), RGBColor(7, 170, 2), RGBColor(10, 255, 3)}));
  EXPECT_EQ(ComputeRamp(1, RGBColor(0, 100, 255), RGBColor(255, 100, 0)), std::vector<TColor>{RGBColor(127, 100, 127)});
  EXPECT_TRUE(ComputeRamp(0, 0, 0).empty());
  // A falling channel rounds the same way and ends on its end colour.
  const std::vector<TColor> down = ComputeRamp(3, RGBColor(200, 0, 0), RGBColor(100, 0, 0));
  EXPECT_EQ(down, (std::vector<TColor>{RGBColor(200, 0, 0), RGBColor(150, 0, 0), RGBColor(100, 0, 0)}));
  const std::vector<TColor> steps = ComputeRamp(4, RGBColor(10, 0, 0), RGBColor(0, 0, 0));
  EXPECT_EQ(steps, (std::vector<TColor>{RGBColor(10, 0, 0), RGBColor(7, 0, 0), RGBColor(3, 0, 0), RGBColor(0, 0, 0)}));
}

TEST(RampCache, SixteenRampsInARing) {
  RampCache cache;
  for (int n = 1; n <= 16; ++n) cache.Ramp(n, 0, clWhite);
  EXPECT_EQ(cache.Computed(), 16);
  for (int n = 1; n <= 16; ++n) cache.Ramp(n, 0, clWhite);
  EXPECT_EQ(cache.Computed(), 16);
  cache.Ramp(17, 0, clWhite);  // takes slot 0, where the ramp of 1 was
  EXPECT_EQ(cache.Computed(), 17);
  cache.Ramp(2, 0, clWhite);
  EXPECT_EQ(cache.Computed(), 17);
  cache.Ramp(1, 0, clWhite);
  EXPECT_EQ(cache.Computed(), 18);
  cache.Ramp(1, clWhite, 0);  // other end colours: another ramp
  EXPECT_EQ(cache.Computed(), 19);
}

TEST(GradientFill, RowsOrColumnsOnlyInsideTheClipBox) {
  RampCache cache;
  Bitmap24 b(4, 4, RGBColor(1, 1, 1));
  GradientFill(b, {0, 0, 4, 4}, RGBColor(0, 0, 0), true, RGBColor(30, 30, 30), {0, 2, 4, 4}, cache);
  EXPECT_EQ(b.Pixel(0, 0), RGBColor(1, 1, 1));  // above the clip box: untouched
  EXPECT_EQ(b.Pixel(3, 2), RGBColor(20, 20, 20));  // row 2 of a 4-step ramp 0..30
  EXPECT_EQ(b.Pixel(0, 3), RGBColor(30, 30, 30));

  GradientFill(b, {0, 0, 3, 1}, RGBColor(0, 0, 0), false, RGBColor(90, 0, 0), {0, 0, 4, 4}, cache);
  EXPECT_EQ(b.Pixel(1, 0), RGBColor(45, 0, 0));
  EXPECT_EQ(b.Pixel(3, 0), RGBColor(1, 1, 1));

  const Bitmap24 before = b;
  const int computed = cache.Computed();
  GradientFill(b, {10, 10, 20, 20}, RGBColor(0, 0, 0), true, clWhite, {0, 0, 4, 4}, cache);
  GradientFill(b, {0, 0, 4, 4}, RGBColor(0, 0, 0), true, clWhite, {0, 0, 0, 0}, cache);
  EXPECT_EQ(b, before);
  EXPECT_EQ(cache.Computed(), computed);
}
