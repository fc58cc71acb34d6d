#include <gtest/gtest.h>

#include "widgets/colors.h"

using namespace widgets;

TEST(Colors, HlsRoundTripsOfPrimariesAndGreys) {
  EXPECT_EQ(RgbToHls(Rgb(255, 0, 0)), (Hls{0, 120, 240}));
  EXPECT_EQ(RgbToHls(Rgb(0, 255, 0)), (Hls{80, 120, 240}));
  EXPECT_EQ(RgbToHls(Rgb(0, 0, 255)), (Hls{160, 120, 240}));
  EXPECT_EQ(RgbToHls(clWhite), (Hls{160, 240, 0}));
  EXPECT_EQ(RgbToHls(clBlack), (Hls{160, 0, 0}));
  for (TColor c : {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), clWhite, clBlack, Rgb(128, 128, 128), clMaroon}) {
    EXPECT_EQ(HlsToRgb(RgbToHls(c)), c) << std::hex << c;
  }
}

TEST(Colors, LighterAndDarkerStayInRange) {
  EXPECT_EQ(Lighter(clWhite, 30), clWhite);
  EXPECT_EQ(Lighter(Rgb(250, 250, 250), 30), clWhite);  // near-white does not turn dark
  EXPECT_EQ(Darker(clBlack, 30), clBlack);
  EXPECT_EQ(Darker(clWhite, 240), clBlack);
  // Grey 128 has lightness 120; 30 more is 150 of 240, i.e. 159 of 255.
  EXPECT_EQ(Lighter(Rgb(128, 128, 128), 30), Rgb(159, 159, 159));
  EXPECT_EQ(Darker(Rgb(128, 128, 128), 30), Rgb(96, 96, 96));
  EXPECT_EQ(AdjustLightness(Rgb(1, 2, 3), 0), Rgb(1, 2, 3));
  EXPECT_EQ(AdjustLightness(Rgb(128, 128, 128), -30), Rgb(96, 96, 96));
  // The hue survives: maroon made lighter is a lighter red.
  const TColor light = Lighter(clMaroon, 30);
  EXPECT_GT(RedOf(light), RedOf(clMaroon));
  EXPECT_EQ(GreenOf(light), BlueOf(light));
}

TEST(Colors, SystemColoursResolveThroughTheSource) {
  EXPECT_EQ(ResolveColor(clBtnFace, {}), Rgb(212, 208, 200));
  EXPECT_EQ(ResolveColor(clBtnShadow, [](int index) { return static_cast<TColor>(index); }), 16u);
  EXPECT_EQ(ResolveColor(clMaroon, {}), clMaroon);
}

TEST(Colors, SchemeFromColorNameIgnoresCase) {
  EXPECT_EQ(SchemeFromColorName(u"HomeStead"), ColorScheme::Homestead);
  EXPECT_EQ(SchemeFromColorName(u"metallic"), ColorScheme::Metallic);
  EXPECT_EQ(SchemeFromColorName(u"NormalColor"), ColorScheme::Blue);
  EXPECT_EQ(SchemeFromColorName(u""), ColorScheme::Blue);
  EXPECT_NE(SchemeGradientColors(GradientColorStyle::MSOffice, ColorScheme::Homestead).first,
            SchemeGradientColors(GradientColorStyle::MSOffice, ColorScheme::Metallic).first);
  EXPECT_EQ(SchemeFrameColor(GradientColorStyle::System, ColorScheme::Metallic), clBtnShadow);
}
