#include "widgets/colors.h"

#include <algorithm>
#include <string>

namespace widgets {

namespace {
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

int HueToChannel(int n1, int n2, int hue) {
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  if (hue < kHlsMax / 6) return n1 + ((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6);
  if (hue < kHlsMax / 2) return n2;
  if (hue < kHlsMax * 2 / 3) return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
  return n1;
}

int ToChannel(int v) { return std::clamp((v * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax); }
}  // namespace

TColor ClassicSystemColor(int index) {
  switch (index) {
    case kColorWindow: return Rgb(255, 255, 255);
    case kColorHighlight: return Rgb(10, 36, 106);
    case kColorBtnFace: return Rgb(212, 208, 200);
    case kColorBtnShadow: return Rgb(128, 128, 128);
    case kColorGrayText: return Rgb(128, 128, 128);
    case kColorBtnText: return Rgb(0, 0, 0);
    case kColorBtnHighlight: return Rgb(255, 255, 255);
    case kColor3DDkShadow: return Rgb(64, 64, 64);
    case kColor3DLight: return Rgb(212, 208, 200);
    case kColorInfoBk: return Rgb(255, 255, 225);
    default: return Rgb(0, 0, 0);
  }
}

TColor ResolveColor(TColor c, const SystemColorSource& system) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  const int index = static_cast<int>(c & 0xFF);
  return (system ? system(index) : ClassicSystemColor(index)) & 0xFFFFFF;
}

Hls RgbToHls(TColor rgb) {
  const int r = RedOf(rgb), g = GreenOf(rgb), b = BlueOf(rgb);
  const int cMax = std::max({r, g, b}), cMin = std::min({r, g, b});
  Hls out;
  out.lightness = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
  if (cMax == cMin) {
    out.hue = kUndefinedHue;
    return out;
  }
  const int range = cMax - cMin, sum = cMax + cMin;
  if (out.lightness <= kHlsMax / 2) {
    out.saturation = (range * kHlsMax + sum / 2) / sum;
  } else {
    out.saturation = (range * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
  }
  const int rd = ((cMax - r) * (kHlsMax / 6) + range / 2) / range;
  const int gd = ((cMax - g) * (kHlsMax / 6) + range / 2) / range;
  const int bd = ((cMax - b) * (kHlsMax / 6) + range / 2) / range;
  int hue;
  if (r == cMax) {
    hue = bd - gd;
  } else if (g == cMax) {
    hue = kHlsMax / 3 + rd - bd;
  } else {
    hue = 2 * kHlsMax / 3 + gd - rd;
  }
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  out.hue = hue;
  out.saturation = std::min(out.saturation, kHlsMax);
  return out;
}

TColor HlsToRgb(const Hls& hls) {
  const int l = std::clamp(hls.lightness, 0, kHlsMax);
  const int s = std::clamp(hls.saturation, 0, kHlsMax);
  const int h = std::clamp(hls.hue, 0, kHlsMax);
  if (s == 0) {
    const int v = ToChannel(l);
    return Rgb(v, v, v);
  }
  const int m2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                  : l + s - (l * s + kHlsMax / 2) / kHlsMax;
  const int m1 = 2 * l - m2;
  return Rgb(ToChannel(HueToChannel(m1, m2, h + kHlsMax / 3)), ToChannel(HueToChannel(m1, m2, h)),
             ToChannel(HueToChannel(m1, m2, h - kHlsMax / 3)));
}

TColor Lighter(TColor rgb, int amount) {
  Hls hls = RgbToHls(rgb);
  hls.lightness = std::min(hls.lightness + amount, kHlsMax);
  return HlsToRgb(hls);
}

TColor Darker(TColor rgb, int amount) {
  Hls hls = RgbToHls(rgb);
  hls.lightness = std::max(hls.lightness - amount, 0);
  return HlsToRgb(hls);
}

TColor AdjustLightness(TColor rgb, int adjustment) {
  if (adjustment > 0) return Lighter(rgb, adjustment);
  if (adjustment < 0) return Darker(rgb, -adjustment);
  return rgb;
}

ColorScheme SchemeFromColorName(std::u16string_view colorName) {
  std::u16string upper(colorName);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  if (upper == u"HOMESTEAD") return ColorScheme::Homestead;
  if (upper == u"METALLIC") return ColorScheme::Metallic;
  return ColorScheme::Blue;
}

ColorPair SchemeGradientColors(GradientColorStyle style, ColorScheme scheme) {
  if (style != GradientColorStyle::MSOffice) return {clBtnHighlight, clBtnFace};
  switch (scheme) {
    case ColorScheme::Homestead: return {Rgb(255, 255, 237), Rgb(181, 196, 143)};
    case ColorScheme::Metallic: return {Rgb(249, 249, 255), Rgb(159, 157, 185)};
    default: return {Rgb(227, 239, 255), Rgb(135, 173, 228)};
  }
}

TColor SchemeFrameColor(GradientColorStyle style, ColorScheme scheme) {
  if (style != GradientColorStyle::MSOffice) return clBtnShadow;
  switch (scheme) {
    case ColorScheme::Homestead: return Rgb(117, 141, 94);
    case ColorScheme::Metallic: return Rgb(124, 124, 148);
    default: return Rgb(0, 45, 150);
  }
}

}  // namespace widgets
