#include <gtest/gtest.h>

#include "widgets/gradient.h"

using namespace widgets;

namespace {
const TColor kStart = Rgb(255, 0, 10), kStop = Rgb(0, 200, 90);

PixelCanvas Paint(TGradientDirection d, int w, int h, TColor start = kStart, TColor stop = kStop, int step = 1) {
  PixelCanvas c(w, h, Rgb(1, 1, 1));
  PaintGradient(c, {0, 0, w, h}, d, step, start, stop, {});
  return c;
}
}  // namespace

TEST(Gradient, RunsEndExactlyOnStartAndStop) {
  for (int n : {2, 3, 7, 100, 1000, 30000}) {
    EXPECT_EQ(RunColor(kStart, kStop, 0, n), kStart) << n;
    EXPECT_EQ(RunColor(kStart, kStop, n - 1, n), kStop) << n;
  }
  EXPECT_EQ(RunColor(Rgb(0, 0, 0), Rgb(255, 255, 255), 1, 3), Rgb(128, 128, 128));
  EXPECT_EQ(RunColor(kStart, kStop, 0, 1), kStart);
}

TEST(Gradient, EndDirectionsRunTopToBottomAndLeftToRight) {
  PixelCanvas h = Paint(TGradientDirection::gdHorizontalEnd, 37, 21);
  for (int x : {0, 7, 8, 20, 36}) {
    EXPECT_EQ(h.At(x, 0), kStart) << x;
    EXPECT_EQ(h.At(x, 20), kStop) << x;
    EXPECT_EQ(h.At(x, 10), RunColor(kStart, kStop, 10, 21)) << x;
  }
  // One 8-pixel column is computed, the rest copied by doubling: 8, 16, 32 -> 37.
  EXPECT_EQ(h.copies, 3);
  PixelCanvas v = Paint(TGradientDirection::gdVerticalEnd, 21, 13);
  for (int y : {0, 12}) {
    EXPECT_EQ(v.At(0, y), kStart);
    EXPECT_EQ(v.At(20, y), kStop);
  }
}

TEST(Gradient, CentreDirectionsPutTheStopColourInTheMiddle) {
  PixelCanvas h = Paint(TGradientDirection::gdHorizontalCenter, 10, 21);
  EXPECT_EQ(h.At(5, 0), kStart);
  EXPECT_EQ(h.At(5, 10), kStop);
  EXPECT_EQ(h.At(5, 20), kStart);
  EXPECT_EQ(h.At(5, 3), h.At(5, 17));
  PixelCanvas v = Paint(TGradientDirection::gdVerticalCenter, 21, 10);
  EXPECT_EQ(v.At(0, 5), kStart);
  EXPECT_EQ(v.At(10, 5), kStop);
  EXPECT_EQ(v.At(20, 5), kStart);
}

TEST(Gradient, BoxesRunFromTheEdgesToTheMiddleSymmetrically) {
  for (TGradientDirection d : {TGradientDirection::gdHorizontalBox, TGradientDirection::gdVerticalBox,
                               TGradientDirection::gdSquareBox, TGradientDirection::gdBigSquareBox}) {
    PixelCanvas c = Paint(d, 41, 31);
    EXPECT_EQ(c.At(0, 0), kStart) << static_cast<int>(d);
    EXPECT_EQ(c.At(20, 15), kStop) << static_cast<int>(d);
    EXPECT_EQ(c.At(3, 4), c.At(37, 26)) << static_cast<int>(d);
    EXPECT_EQ(c.At(3, 4), c.At(37, 4)) << static_cast<int>(d);
  }
  // Too small or one colour: only the start colour.
  PixelCanvas small = Paint(TGradientDirection::gdSquareBox, 4, 30);
  EXPECT_EQ(small.At(2, 15), kStart);
  PixelCanvas flat = Paint(TGradientDirection::gdSquareBox, 30, 4);
  EXPECT_EQ(flat.At(15, 2), kStart);
  PixelCanvas same = Paint(TGradientDirection::gdBigSquareBox, 30, 30, kStop, kStop);
  EXPECT_EQ(same.fills, 1);
}

TEST(Gradient, DiagonalsRunCornerToCornerAndMirror) {
  PixelCanvas up = Paint(TGradientDirection::gdDiagonalUp, 12, 9);
  EXPECT_EQ(up.At(0, 8), kStart);
  EXPECT_EQ(up.At(11, 0), kStop);
  PixelCanvas down = Paint(TGradientDirection::gdDiagonalDown, 12, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 12; ++x) ASSERT_EQ(down.At(x, y), up.At(11 - x, y)) << x << "," << y;
  }
  PixelCanvas same = Paint(TGradientDirection::gdDiagonalUp, 12, 9, kStart, kStart);
  EXPECT_EQ(same.fills, 1);
  EXPECT_EQ(same.At(11, 0), kStart);
}

TEST(Gradient, EmptyRectanglePaintsNothing) {
  PixelCanvas c(10, 10, Rgb(1, 1, 1));
  for (int d = 0; d <= static_cast<int>(TGradientDirection::gdBigSquareBox); ++d) {
    PaintGradient(c, {2, 2, 2, 8}, static_cast<TGradientDirection>(d), 1, kStart, kStop, {});
    PaintGradient(c, {2, 2, 8, 2}, static_cast<TGradientDirection>(d), 1, kStart, kStop, {});
  }
  EXPECT_EQ(c.fills + c.pixels + c.copies, 0);
}

TEST(Gradient, EqualColoursAreOneFillPerBandAndBigStepsMakeBands) {
  PixelCanvas c = Paint(TGradientDirection::gdHorizontalEnd, 8, 50, Rgb(0, 0, 0), Rgb(0, 0, 3));
  EXPECT_EQ(c.fills, 4);  // blue 0, 1, 2, 3
  PixelCanvas banded = Paint(TGradientDirection::gdHorizontalEnd, 8, 256, Rgb(0, 0, 0), Rgb(255, 255, 255), 16);
  EXPECT_LE(banded.fills, 18);
  EXPECT_GE(banded.fills, 15);
  EXPECT_EQ(banded.At(0, 0), Rgb(0, 0, 0));
}

TEST(Gradient, SystemColoursAreResolvedFirst) {
  PixelCanvas c(4, 4);
  PaintGradient(c, {0, 0, 4, 4}, TGradientDirection::gdHorizontalEnd, 1, clBtnHighlight, clBtnShadow,
                [](int index) { return index == kColorBtnHighlight ? Rgb(200, 0, 0) : Rgb(0, 0, 100); });
  EXPECT_EQ(c.At(0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(c.At(0, 3), Rgb(0, 0, 100));
}
