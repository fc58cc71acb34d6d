#include "skin/skin_raster.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using skin::Bitmap24;
using skin::RGBColor;
using skin::TRect;

constexpr skin::TColor kRed = RGBColor(255, 0, 0), kBlue = RGBColor(0, 0, 255), kGreen = RGBColor(0, 255, 0);

// A 2-frame picture, frames side by side (each 6 x 6): the frame's outer ring red, its
// inside blue in frame 1 and green in frame 2.
Bitmap24 TwoFrames() {
  Bitmap24 b(12, 6, kRed);
  for (int f = 0; f < 2; ++f) {
    for (int y = 1; y < 5; ++y) {
      for (int x = 1; x < 5; ++x) b.SetPixel(f * 6 + x, y, f == 0 ? kBlue : kGreen);
    }
  }
  return b;
}

TEST(SkinRaster, NinePartKeepsTheEdgesAndStretchesTheCentre) {
  const Bitmap24 out = skin::DrawSkinImage(TwoFrames(), {1, 1, 1, 1}, false, false, 2, 2, 40, 20);
  ASSERT_EQ(out.Width(), 40);
  EXPECT_EQ(out.Pixel(0, 0), kRed);
  EXPECT_EQ(out.Pixel(39, 19), kRed);
  EXPECT_EQ(out.Pixel(20, 0), kRed);   // top edge
  EXPECT_EQ(out.Pixel(0, 10), kRed);   // left edge
  EXPECT_EQ(out.Pixel(1, 1), kGreen);  // frame 2's inside fills everything within the ring
  EXPECT_EQ(out.Pixel(38, 18), kGreen);
  EXPECT_EQ(out.Pixel(20, 10), kGreen);
}

TEST(SkinRaster, TiledCentreRepeatsThePattern) {
  Bitmap24 stripes(4, 1);
  stripes.SetPixel(0, 0, kRed);
  stripes.SetPixel(1, 0, kBlue);
  stripes.SetPixel(2, 0, kRed);
  stripes.SetPixel(3, 0, kBlue);
  const Bitmap24 out = skin::DrawSkinImage(stripes, {1, 0, 1, 0}, false, true, 1, 1, 9, 1);
  // Edges red and blue; the centre (source columns 1..2: blue, red) repeated from x = 1.
  const skin::TColor expected[] = {kRed, kBlue, kRed, kBlue, kRed, kBlue, kRed, kBlue, kBlue};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(out.Pixel(x, 0), expected[x]) << x;
}

TEST(SkinRaster, ObjectsTileByTheirTileKeyBordersStretchByTheirStretchKey) {
  skin::TDataSkinObject object;
  object.Bitmap = Bitmap24(2, 1);
  object.Bitmap.SetPixel(0, 0, kRed);
  object.Bitmap.SetPixel(1, 0, kBlue);
  object.Stretch = 1;  // an object's "Tile=1", a border's "...Stretch=1"
  const Bitmap24 tiled = skin::DrawSkinObject(object, false, 1, 4, 1);
  const Bitmap24 stretched = skin::DrawBorderImage(object, false, 1, 4, 1);
  EXPECT_EQ(tiled.Pixel(2, 0), kRed);  // red, blue, red, blue
  EXPECT_EQ(stretched.Pixel(1, 0), kRed);  // red, red, blue, blue
  EXPECT_EQ(stretched.Pixel(2, 0), kBlue);
}

TEST(SkinRaster, DrawOverLeavesMagentaOutAndClips) {
  Bitmap24 dst(4, 4, kBlue);
  Bitmap24 src(3, 3, skin::clMagenta);
  src.SetPixel(1, 1, kRed);
  src.SetPixel(2, 2, RGBColor(255, 1, 255));  // not quite magenta: drawn
  skin::DrawOver(dst, 2, 2, src, true);
  EXPECT_EQ(dst.Pixel(2, 2), kBlue);
  EXPECT_EQ(dst.Pixel(3, 3), kRed);
  skin::DrawOver(dst, -1, -1, src, false);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
}

TEST(SkinRaster, OpaqueRunsSkipTheTransparentColourWithinTolerance) {
  Bitmap24 b(6, 2, kBlue);
  b.SetPixel(0, 0, skin::clMagenta);
  b.SetPixel(1, 0, RGBColor(255, 1, 255));  // within tolerance 1
  b.SetPixel(4, 0, skin::clMagenta);
  const auto runs = skin::OpaqueRuns(b, 10, 20, 1, 1, 1, skin::clMagenta);
  const std::vector<TRect> expected{{12, 20, 14, 21}, {15, 20, 16, 21}, {10, 21, 16, 22}};
  EXPECT_EQ(runs, expected);
  // With tolerance 0 the near-magenta pixel is opaque.
  EXPECT_EQ(skin::OpaqueRuns(b, 0, 0, 0, 0, 0, skin::clMagenta)[0], (TRect{1, 0, 4, 1}));
}

skin::TSkinModel FourPieces(int transLeft, int transTop, int transBottom) {
  skin::TSkinModel m;
  auto piece = [](skin::TDataSkinObject& o, int w, int h, int trans) {
    o.Bitmap = Bitmap24(w, h, kBlue);
    o.FrameCount = 1;
    o.Trans = trans;
    o.Stretch = 1;
  };
  piece(m.Left, 4, 10, transLeft);
  piece(m.Right, 4, 10, 0);
  piece(m.Top, 10, 20, transTop);
  piece(m.Bottom, 10, 4, transBottom);
  return m;
}

TEST(WindowRegion, UnshapedPiecesGiveTheWholeWindow) {
  const skin::TSkinModel m = FourPieces(0, 0, 0);
  EXPECT_FALSE(skin::WindowRegionRects(m, skin::BordersOf(m), 100, 80).has_value());
}

TEST(WindowRegion, OnlyTheBottomPieceShapedStillCutsTheBottomEdge) {
  skin::TSkinModel m = FourPieces(0, 0, 1);
  // The bottom piece's lower-left pixel is magenta: after stretching to 92 wide it cuts
  // a notch at the left end of the bottom row.
  m.Bottom.Bitmap.SetPixel(0, 3, skin::clMagenta);
  const auto rects = skin::WindowRegionRects(m, skin::BordersOf(m), 100, 80);
  ASSERT_TRUE(rects.has_value());
  EXPECT_EQ((*rects)[0], (TRect{4, 20, 96, 76}));  // the inner rectangle
  bool leftOpen = false, notchCovered = false;
  for (const TRect& r : *rects) {
    if (r == TRect{0, 20, 4, 80}) leftOpen = true;  // unshaped left piece: its rectangle
    if (r.Top == 79 && r.Left <= 4 && r.Right > 4) notchCovered = true;
  }
  EXPECT_TRUE(leftOpen);
  EXPECT_FALSE(notchCovered);
  bool bottomRow = false;
  for (const TRect& r : *rects) bottomRow = bottomRow || (r.Top == 79 && r.Right == 96);
  EXPECT_TRUE(bottomRow);
}

TEST(WindowRegion, PiecesThinnerThanTwoPixelsAreNotShaped) {
  skin::TSkinModel m = FourPieces(1, 0, 0);
  m.Left.Bitmap = Bitmap24(1, 10, skin::clMagenta);
  const auto rects = skin::WindowRegionRects(m, skin::BordersOf(m), 100, 80);
  ASSERT_TRUE(rects.has_value());
  EXPECT_NE(std::find(rects->begin(), rects->end(), TRect{0, 20, 1, 80}), rects->end());
}

}  // namespace
