#include <gtest/gtest.h>

#include "widgets/frames.h"

using namespace widgets;

namespace {
const TColor kFace = Rgb(212, 208, 200), kShadow = Rgb(128, 128, 128), kHighlight = Rgb(255, 255, 255),
             kDark = Rgb(64, 64, 64), kLight = kFace, kText = Rgb(0, 0, 0);
constexpr TColor kBack = Rgb(1, 2, 3);

// Ring k's top-left, top-right, bottom-left colours and a point on each side (k pixels in).
struct RingColours {
  TColor top, left, bottom, right, topRightCorner;
  bool operator==(const RingColours&) const = default;
};
RingColours Ring(const PixelCanvas& c, int k) {
  const int w = c.Width(), h = c.Height();
  return {c.At(w / 2, k), c.At(k, h / 2), c.At(w / 2, h - 1 - k), c.At(w - 1 - k, h / 2), c.At(w - 1 - k, k)};
}
}  // namespace

TEST(Frames, EachStyleDrawsItsRingsAndShrinks) {
  struct Case {
    TFrameStyleEx style;
    std::vector<RingColours> rings;  // top, left, bottom, right, top-right corner
  };
  const std::vector<Case> cases = {
      {TFrameStyleEx::fsFlat, {{kDark, kDark, kDark, kDark, kDark}}},
      {TFrameStyleEx::fsStatus, {{kShadow, kShadow, kHighlight, kHighlight, kHighlight}}},
      {TFrameStyleEx::fsPopup, {{kHighlight, kHighlight, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsFlatBold, {{kShadow, kShadow, kShadow, kShadow, kShadow}, {kShadow, kShadow, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsRaised, {{kLight, kLight, kDark, kDark, kDark}, {kHighlight, kHighlight, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsLowered, {{kShadow, kShadow, kHighlight, kHighlight, kHighlight}, {kDark, kDark, kLight, kLight, kLight}}},
      {TFrameStyleEx::fsButtonUp, {{kHighlight, kHighlight, kDark, kDark, kDark}, {kLight, kLight, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsButtonDown, {{kText, kText, kText, kText, kText}, {kShadow, kShadow, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsGroove, {{kShadow, kShadow, kHighlight, kHighlight, kHighlight}, {kHighlight, kHighlight, kShadow, kShadow, kShadow}}},
      {TFrameStyleEx::fsBump, {{kHighlight, kHighlight, kShadow, kShadow, kShadow}, {kShadow, kShadow, kHighlight, kHighlight, kHighlight}}},
  };
  for (const Case& c : cases) {
    PixelCanvas canvas(20, 12, kBack);
    Rect r{0, 0, 20, 12};
    DrawFrameStyle(canvas, r, c.style, kAllSides);
    const int n = static_cast<int>(c.rings.size());
    EXPECT_EQ(r, (Rect{n, n, 20 - n, 12 - n})) << static_cast<int>(c.style);
    for (int k = 0; k < n; ++k) EXPECT_EQ(Ring(canvas, k), c.rings[k]) << static_cast<int>(c.style) << " ring " << k;
    EXPECT_EQ(canvas.At(10, 6), kBack);
    // The top-left corner belongs to the top-left colour, the bottom-left one to the other.
    EXPECT_EQ(canvas.At(0, 0), c.rings[0].top);
    EXPECT_EQ(canvas.At(0, 11), c.rings[0].bottom);
  }
}

TEST(Frames, NoneAndUndrawnSidesLeaveEverything) {
  PixelCanvas canvas(10, 10, kBack);
  Rect r{0, 0, 10, 10};
  DrawFrameStyle(canvas, r, TFrameStyleEx::fsNone, kAllSides);
  EXPECT_EQ(r, (Rect{0, 0, 10, 10}));
  EXPECT_EQ(canvas.fills, 0);
  DrawFrameStyle(canvas, r, TFrameStyleEx::fsRaised, sdLeft | sdBottom);
  EXPECT_EQ(r, (Rect{2, 0, 10, 8}));
  EXPECT_EQ(canvas.At(5, 0), kBack);  // no top line
  EXPECT_EQ(canvas.At(9, 5), kBack);  // no right line
  EXPECT_EQ(canvas.At(0, 5), kLight);
  EXPECT_EQ(canvas.At(5, 9), kDark);
}

TEST(Frames, FlatRoundedStopsShortOfTheCorners) {
  PixelCanvas canvas(10, 10, kBack);
  Rect r{0, 0, 10, 10};
  DrawFrameStyle(canvas, r, TFrameStyleEx::fsFlatRounded, kAllSides);
  EXPECT_EQ(canvas.At(0, 0), kBack);
  EXPECT_EQ(canvas.At(1, 0), kBack);
  EXPECT_EQ(canvas.At(2, 0), kShadow);
  EXPECT_EQ(canvas.At(7, 0), kShadow);
  EXPECT_EQ(canvas.At(8, 0), kBack);
  EXPECT_EQ(canvas.At(9, 7), kShadow);
  EXPECT_EQ(canvas.At(9, 8), kBack);
}

TEST(Frames, CelebrationPanelFrameIsBevelThenMaroonRing) {
  FrameParams p;
  p.outer = TFrameStyleEx::fsRaised;
  p.inner = TFrameStyleEx::fsNone;
  p.borderWidth = 1;
  p.borderColor = clMaroon;
  p.borderShadow = clMaroon;
  p.flatColor = clMaroon;
  PixelCanvas canvas(30, 20, kBack);
  Rect r{0, 0, 30, 20};
  DrawTwoStyleFrame(canvas, r, p, {});
  EXPECT_EQ(r, (Rect{3, 3, 27, 17}));
  EXPECT_EQ(Ring(canvas, 0), (RingColours{kLight, kLight, kDark, kDark, kDark}));
  EXPECT_EQ(Ring(canvas, 1), (RingColours{kHighlight, kHighlight, kShadow, kShadow, kShadow}));
  EXPECT_EQ(Ring(canvas, 2), (RingColours{clMaroon, clMaroon, clMaroon, clMaroon, clMaroon}));
  EXPECT_EQ(canvas.At(15, 10), kBack);
}

TEST(Frames, TwoStyleFlatKindsUseTheAdjustedFlatColour) {
  FrameParams p;
  p.outer = TFrameStyleEx::fsFlat;
  p.inner = TFrameStyleEx::fsFlatBold;
  p.flatColor = Rgb(128, 128, 128);
  p.flatColorAdjustment = 30;
  PixelCanvas canvas(20, 20, kBack);
  Rect r{0, 0, 20, 20};
  DrawTwoStyleFrame(canvas, r, p, {});
  EXPECT_EQ(r, (Rect{3, 3, 17, 17}));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(canvas.At(10, k), Rgb(159, 159, 159)) << k;

  // Popup and status use the border colours, BevelWidth wide.
  p.outer = TFrameStyleEx::fsPopup;
  p.inner = TFrameStyleEx::fsStatus;
  p.bevelWidth = 2;
  p.borderHighlight = Rgb(9, 9, 9);
  p.borderShadow = Rgb(7, 7, 7);
  PixelCanvas second(20, 20, kBack);
  r = {0, 0, 20, 20};
  DrawTwoStyleFrame(second, r, p, {});
  EXPECT_EQ(r, (Rect{4, 4, 16, 16}));
  EXPECT_EQ(second.At(10, 1), Rgb(9, 9, 9));
  EXPECT_EQ(second.At(10, 18), Rgb(7, 7, 7));
  EXPECT_EQ(second.At(10, 2), Rgb(7, 7, 7));  // status: shadow on top
  EXPECT_EQ(second.At(10, 17), Rgb(9, 9, 9));
}

TEST(Frames, StyleWidthsForAutoSize) {
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsFlat, 5), 1);
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsPopup, 5), 5);
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsStatus, 3), 3);
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsBump, 5), 2);
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsFlatBold, 5), 0);
  EXPECT_EQ(FrameStyleWidth(TFrameStyleEx::fsNone, 5), 0);
}
