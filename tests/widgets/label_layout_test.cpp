#include <gtest/gtest.h>

#include "widgets/blink_clock.h"
#include "widgets/label_layout.h"

using namespace widgets;

TEST(LabelText, CopiesOfEachStyle) {
  TextStyleColors s;
  s.highlight = Rgb(1, 1, 1);
  s.shadow = Rgb(2, 2, 2);
  s.style = TTextStyle::tsRaised;
  EXPECT_EQ(TextCopies(s), (std::vector<TextCopy>{{1, 1, Rgb(2, 2, 2)}, {-1, -1, Rgb(1, 1, 1)}}));
  s.lightTextStyle = true;  // only the highlight copy
  EXPECT_EQ(TextCopies(s), (std::vector<TextCopy>{{-1, -1, Rgb(1, 1, 1)}}));
  s.style = TTextStyle::tsRecessed;
  EXPECT_EQ(TextCopies(s), (std::vector<TextCopy>{{1, 1, Rgb(1, 1, 1)}}));
  s.lightTextStyle = false;
  EXPECT_EQ(TextCopies(s), (std::vector<TextCopy>{{1, 1, Rgb(1, 1, 1)}, {-1, -1, Rgb(2, 2, 2)}}));
  s.style = TTextStyle::tsShadow;
  s.shadowDepth = 0;  // under the text, invisible, but drawn
  EXPECT_EQ(TextCopies(s), (std::vector<TextCopy>{{0, 0, Rgb(2, 2, 2)}}));
  s.style = TTextStyle::tsNormal;
  EXPECT_TRUE(TextCopies(s).empty());
}

TEST(LabelText, Flags) {
  EXPECT_EQ(LabelTextFlags(0x1, TFxCondenseCaption::ccAtEnd, true, 0), 0x40u | 0x1u | 0x8000u | 0x10u);
  EXPECT_EQ(LabelTextFlags(0x2, TFxCondenseCaption::ccWithinPath, false, 0x4), 0x40u | 0x2u | 0x4000u | 0x4u);
}

TEST(LabelText, CentrePoints) {
  const int w = 101, h = 51, m = 3;
  EXPECT_EQ(RotatedCenterPoint(TRotation::roFlat, TCenterPoint::cpUpperLeft, w, h, m), (Point{50, 25}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpUpperLeft, w, h, m), (Point{3, 3}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpUpperCenter, w, h, m), (Point{50, 3}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpUpperRight, w, h, m), (Point{101, 3}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpLeftCenter, w, h, m), (Point{3, 25}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpCenter, w, h, m), (Point{50, 25}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpRightCenter, w, h, m), (Point{98, 25}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpLowerLeft, w, h, m), (Point{3, 48}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpLowerCenter, w, h, m), (Point{50, 48}));
  EXPECT_EQ(RotatedCenterPoint(TRotation::roCurve, TCenterPoint::cpLowerRight, w, h, m), (Point{98, 48}));
}

TEST(LabelText, AutoSizeExtents) {
  AutoSizeInput in;
  in.textWidth = 40;
  in.textHeight = 12;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{40, 12}));
  in.outer = TFrameStyleEx::fsRaised;
  in.inner = TFrameStyleEx::fsStatus;
  in.bevelWidth = 3;
  in.textMargin = 1;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{40 + 2 * 6, 12 + 2 * 6}));
  in.sides = sdLeft | sdTop;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{46, 18}));
  in = {};
  in.textWidth = 40;
  in.textHeight = 12;
  in.style = TTextStyle::tsShadow;
  in.shadowDepth = 2;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{42, 14}));
  in.rotation = TRotation::roFlat;  // no shadow allowance when rotated
  in.angle = 90;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{12, 40}));
  in.angle = 180;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{40, 12}));
  in.angle = 30;
  EXPECT_EQ(AutoSizeExtent(in), (Extent{41, 31}));  // 40cos30+12sin30, 40sin30+12cos30
}

TEST(LabelText, LoadingSettlesRotationAndFont) {
  EXPECT_EQ(SettleLoadedRotation(TRotation::roNone, 30, true).rotation, TRotation::roFlat);
  EXPECT_FALSE(SettleLoadedRotation(TRotation::roNone, 30, true).useRotationFont);
  EXPECT_TRUE(SettleLoadedRotation(TRotation::roNone, 30, false).useRotationFont);
  EXPECT_EQ(SettleLoadedRotation(TRotation::roNone, 0, false).rotation, TRotation::roNone);
  EXPECT_FALSE(SettleLoadedRotation(TRotation::roNone, 0, false).useRotationFont);
  EXPECT_TRUE(SettleLoadedRotation(TRotation::roCurve, 0, false).useRotationFont);
  EXPECT_EQ(AngleAfterFontChange(45, false), 0);
  EXPECT_EQ(AngleAfterFontChange(45, true), 45);
  EXPECT_TRUE(IsBorderSidesPropertyName(u"FrameSides"));
  EXPECT_FALSE(IsBorderSidesPropertyName(u"FrameStyle"));
}

TEST(BlinkClock, PhasesAlternateWithTheirIntervals) {
  BlinkClock clock;
  clock.intervalOn = 300;
  clock.intervalOff = 700;
  EXPECT_FALSE(clock.On());
  EXPECT_EQ(clock.Tick(), 300u);
  EXPECT_TRUE(clock.On());
  EXPECT_EQ(clock.Tick(), 700u);
  EXPECT_FALSE(clock.On());
  EXPECT_EQ(clock.CurrentInterval(), 700u);
}
