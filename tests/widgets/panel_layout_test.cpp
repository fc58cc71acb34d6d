#include <gtest/gtest.h>

#include "widgets/caption_layout.h"
#include "widgets/grid.h"

using namespace widgets;

TEST(CaptionLayout, FlagsFollowAlignmentAndWrap) {
  EXPECT_EQ(CaptionFlags(TAlignment::taCenter, true), 0x40u | 0x4u | 0x10u | 0x1u);
  EXPECT_EQ(CaptionFlags(TAlignment::taLeftJustify, false), 0x40u | 0x4u);
  EXPECT_EQ(CaptionFlags(TAlignment::taRightJustify, false), 0x40u | 0x4u | 0x2u);
}

TEST(CaptionLayout, VerticalPlacement) {
  const Rect r{0, 10, 100, 50};
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avTop, 16), (Rect{0, 10, 100, 26}));
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avCenter, 16), (Rect{0, 22, 100, 38}));
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avCenter, 15), (Rect{0, 22, 100, 37}));  // 45/2 -> 22
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avBottom, 16), (Rect{0, 33, 100, 50}));
  // Taller than the panel: the top stays at the panel's top, the bottom does not grow.
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avBottom, 60), (Rect{0, 10, 100, 50}));
  EXPECT_EQ(CaptionTextRect(r, TAlignmentVertical::avTop, 60), (Rect{0, 10, 100, 50}));
  // Centring a text taller than the panel rounds toward zero above it.
  EXPECT_EQ(CaptionTextRect({0, 0, 10, 5}, TAlignmentVertical::avCenter, 8).top, -1);
  EXPECT_EQ(ShrinkByMargins({0, 0, 100, 50}, 4, 2), (Rect{4, 2, 96, 48}));
}

TEST(Grid, DotsAndLinesAtTheirPoints) {
  const Rect r{2, 3, 20, 12};  // 18 x 9
  EXPECT_EQ(GridDots(r, 8, 4), (std::vector<Point>{{9, 6}, {9, 10}, {17, 6}, {17, 10}}));
  EXPECT_EQ(GridLines(r, 8, 4), (std::vector<GridLine>{{{9, 3}, {9, 12}}, {{17, 3}, {17, 12}},
                                                         {{2, 6}, {20, 6}}, {{2, 10}, {20, 10}}}));
  EXPECT_EQ(DottedLinePixels({{9, 3}, {9, 9}}), (std::vector<Point>{{9, 4}, {9, 6}, {9, 8}}));
  EXPECT_EQ(DottedLinePixels({{2, 6}, {7, 6}}), (std::vector<Point>{{3, 6}, {5, 6}}));
}

TEST(Grid, ZeroSizeDrawsNothingThatWay) {
  const Rect r{0, 0, 16, 16};
  EXPECT_TRUE(GridDots(r, 0, 8).empty());
  const std::vector<GridLine> lines = GridLines(r, 0, 8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].from.y, lines[0].to.y);  // only horizontal lines
  PixelCanvas canvas(16, 16, clBlack);
  DrawGrid(canvas, r, TFxGridStyle::gsSolidLines, 8, 0, clWhite);
  EXPECT_EQ(canvas.At(7, 0), clWhite);
  EXPECT_EQ(canvas.At(7, 15), clWhite);
  EXPECT_EQ(canvas.At(6, 5), clBlack);
  PixelCanvas dotted(16, 16, clBlack);
  DrawGrid(dotted, r, TFxGridStyle::gsDottedLines, 8, 8, clWhite);
  EXPECT_EQ(dotted.At(7, 0), clBlack);
  EXPECT_EQ(dotted.At(7, 1), clWhite);
  EXPECT_EQ(dotted.At(7, 2), clBlack);
}
