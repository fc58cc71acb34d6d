// Colours as the widgets keep them: 0x00BBGGRR values, or a system colour (0xFF000000 plus
// the system colour index) that is resolved to RGB only when drawn. Conversion to hue,
// lightness and saturation on a 0..240 scale, lighter and darker shades, and the colour
// scheme that the "ColorName" setting names.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace widgets {

using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0xFF000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) == kSystemColorFlag; }

// System colour indexes (the values GetSysColor takes).
enum SystemColorIndex : int {
  kColorWindow = 5,
  kColorHighlight = 13,
  kColorBtnFace = 15,
  kColorBtnShadow = 16,
  kColorGrayText = 17,
  kColorBtnText = 18,
  kColorBtnHighlight = 20,
  kColor3DDkShadow = 21,
  kColor3DLight = 22,
  kColorInfoBk = 24,
};

constexpr TColor clBtnFace = SystemColor(kColorBtnFace);
constexpr TColor clBtnShadow = SystemColor(kColorBtnShadow);
constexpr TColor clBtnHighlight = SystemColor(kColorBtnHighlight);
constexpr TColor clBtnText = SystemColor(kColorBtnText);
constexpr TColor clGrayText = SystemColor(kColorGrayText);
constexpr TColor cl3DDkShadow = SystemColor(kColor3DDkShadow);
constexpr TColor cl3DLight = SystemColor(kColor3DLight);
constexpr TColor clHighlight = SystemColor(kColorHighlight);
constexpr TColor clWindow = SystemColor(kColorWindow);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clAqua = 0xFFFF00;

constexpr TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | static_cast<TColor>(g & 0xFF) << 8 | static_cast<TColor>(b & 0xFF) << 16;
}
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// Turns a system colour into RGB; the Windows side answers with GetSysColor.
using SystemColorSource = std::function<TColor(int index)>;
// The classic Windows palette, for drawing without a display (tests, benchmarks).
TColor ClassicSystemColor(int index);
TColor ResolveColor(TColor c, const SystemColorSource& system);

constexpr int kHlsMax = 240;
struct Hls {
  int hue = 0, lightness = 0, saturation = 0;  // each 0..240
  bool operator==(const Hls&) const = default;
};
Hls RgbToHls(TColor rgb);
TColor HlsToRgb(const Hls& hls);
// Lightness raised or lowered by amount, kept inside 0..240, so that the channels stay in range.
TColor Lighter(TColor rgb, int amount);
TColor Darker(TColor rgb, int amount);
// Positive adjustments lighten, negative ones darken, 0 keeps the colour.
TColor AdjustLightness(TColor rgb, int adjustment);

// Colour schemes of the desktop theme: 0 the standard blue, 1 "HOMESTEAD", 2 "METALLIC".
enum class ColorScheme { Blue = 0, Homestead = 1, Metallic = 2 };
ColorScheme SchemeFromColorName(std::u16string_view colorName);

enum class GradientColorStyle { System, MSOffice, Custom };
struct ColorPair {
  TColor first, second;
};
// The gradient colours (start, stop) and frame colour of a non-custom gradient style.
ColorPair SchemeGradientColors(GradientColorStyle style, ColorScheme scheme);
TColor SchemeFrameColor(GradientColorStyle style, ColorScheme scheme);

}  // namespace widgets
