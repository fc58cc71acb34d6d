// Colour text, blending, saturation, and the bitmap routines.
#include <gtest/gtest.h>

#include "skin/image_routines.h"
#include "skin/skin_colors.h"

using namespace skin;

namespace {
// A 3 x 2 picture whose pixels are all different.
Bitmap24 Numbered() {
  Bitmap24 b(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) b.SetPixel(x, y, RGBColor(10 * x, 100 + y, 7));
  return b;
}
}  // namespace

TEST(ColourText, RunsOfDigitsMakeRedGreenBlue) {
  EXPECT_EQ(ParseColourText(u"255, 128, 0"), RGBColor(255, 128, 0));
  EXPECT_EQ(ParseColourText(u"12,34"), RGBColor(12, 0, 0));    // a last run counts only as the third
  EXPECT_EQ(ParseColourText(u"1 2 3,"), RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColourText(u"1,2,3,4"), RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColourText(u"-5;6:7"), RGBColor(5, 6, 7));
  EXPECT_EQ(ParseColourText(u"red"), RGBColor(0, 0, 0));
  // Numbers above 255 stop at 255 instead of spilling into the next channel.
  EXPECT_EQ(ParseColourText(u"300,256,99999999999999"), RGBColor(255, 255, 255));
}

TEST(Colours, SystemColoursResolveThroughTheInstalledSource) {
  EXPECT_EQ(ColorToRGB(RGBColor(1, 2, 3)), RGBColor(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));  // classic scheme until a source is set
  SetSystemColorSource([](int index) -> uint32_t { return index == 15 ? 0x00123456u : 0u; });
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
  EXPECT_EQ(BlendColors(clBtnFace, RGBColor(0, 0, 0), 50), RGBColor(0x2B, 0x1A, 0x09));
  SetSystemColorSource(nullptr);
}

TEST(BlendColors, PercentBelowAHundredPerMilleFromAHundred) {
  const TColor a = RGBColor(200, 100, 0), b = RGBColor(0, 100, 255);
  EXPECT_EQ(BlendColors(a, b, 50), RGBColor(100, 100, 128));  // (0 * 50 + 255 * 50 + 50) div 100
  EXPECT_EQ(BlendColors(a, b, 100), RGBColor(20, 100, 230));  // 10 % a, 90 % b
  EXPECT_EQ(BlendColors(a, b, 150), RGBColor(30, 100, 217));
  EXPECT_EQ(BlendColors(a, b, 0), b);
  EXPECT_EQ(BlendColors(a, b, 1000), a);
}

TEST(ColorSaturation, ScaledAndDarkColoursGive200) {
  EXPECT_EQ(ColorSaturation(RGBColor(159, 0, 100)), 200);
  EXPECT_EQ(ColorSaturation(RGBColor(0, 0, 0)), 200);
  EXPECT_EQ(ColorSaturation(RGBColor(255, 255, 255)), 0);
  EXPECT_EQ(ColorSaturation(RGBColor(255, 0, 0)), 255);
  EXPECT_EQ(ColorSaturation(RGBColor(200, 100, 150)), 128);  // 100 * 255 / 200 = 127.5
}

TEST(ReplaceMagenta, OnlyExactMagentaChanges) {
  Bitmap24 b(3, 1);
  b.SetPixel(0, 0, clMagenta);
  b.SetPixel(1, 0, RGBColor(255, 1, 255));
  b.SetPixel(2, 0, RGBColor(254, 0, 255));
  ReplaceMagenta(b, RGBColor(1, 2, 3));
  EXPECT_EQ(b.Pixel(0, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(b.Pixel(1, 0), RGBColor(255, 1, 255));
  EXPECT_EQ(b.Pixel(2, 0), RGBColor(254, 0, 255));
}

TEST(BitmapRoutines, MirrorFlipAndQuarterTurns) {
  const Bitmap24 original = Numbered();
  Bitmap24 b = original;
  MirrorBitmap(b);
  EXPECT_EQ(b.Pixel(0, 1), original.Pixel(2, 1));
  EXPECT_EQ(b.Pixel(1, 0), original.Pixel(1, 0));
  MirrorBitmap(b);
  EXPECT_EQ(b, original);
  FlipBitmap(b);
  EXPECT_EQ(b.Pixel(2, 0), original.Pixel(2, 1));
  FlipBitmap(b);
  EXPECT_EQ(b, original);

  TurnBitmapRight(b);  // the left column becomes the top row, read upward
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Pixel(0, 0), original.Pixel(0, 1));
  EXPECT_EQ(b.Pixel(1, 0), original.Pixel(0, 0));
  EXPECT_EQ(b.Pixel(1, 2), original.Pixel(2, 0));
  TurnBitmapLeft(b);
  EXPECT_EQ(b, original);
  TurnBitmapLeft(b);  // the top row becomes the left column, read upward
  EXPECT_EQ(b.Pixel(0, 2), original.Pixel(0, 0));
  EXPECT_EQ(b.Pixel(0, 0), original.Pixel(2, 0));
}

TEST(BitmapRoutines, Dib32IsBottomUpBlueGreenRed) {
  const Bitmap24 original = Numbered();
  const Dib32 dib = ToDib32(original);
  ASSERT_EQ(dib.pixels.size(), 6u);
  EXPECT_EQ(dib.pixels[0], 0x00006507u);  // bottom-left: red 0, green 101, blue 7
  EXPECT_EQ(FromDib32(dib), original);
  Bitmap24 empty;
  TurnBitmapRight(empty);
  EXPECT_TRUE(empty.Empty());
}
