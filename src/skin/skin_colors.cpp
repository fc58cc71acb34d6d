#include "skin/skin_colors.h"

#include <array>

namespace skin {

namespace {

// The classic Windows scheme, by system colour index.
constexpr std::array<TColor, 31> kClassicScheme = {
    RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),   RGBColor(128, 128, 128),
    RGBColor(212, 208, 200), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
    RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
    RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255), RGBColor(212, 208, 200),
    RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(212, 208, 200),
    RGBColor(255, 255, 255), RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
    RGBColor(255, 255, 225), RGBColor(0, 0, 0),       RGBColor(0, 0, 128),     RGBColor(166, 202, 240),
    RGBColor(192, 192, 192), RGBColor(10, 36, 106),   RGBColor(212, 208, 200)};

SystemColorSource g_source = nullptr;

}  // namespace

void SetSystemColorSource(SystemColorSource source) { g_source = source; }

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color;
  const int index = color & 0xFF;
  if (g_source != nullptr) return static_cast<TColor>(g_source(index) & 0xFFFFFF);
  return index < static_cast<int>(kClassicScheme.size()) ? kClassicScheme[static_cast<size_t>(index)] : 0;
}

TColor ParseColourText(std::u16string_view text) {
  int numbers[3] = {0, 0, 0};
  int found = 0;
  int run = -1;  // the number being read, -1 outside a run
  for (const char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      run = run < 0 ? c - u'0' : run * 10 + (c - u'0');
      if (run > 255) run = 256;  // stays above 255 however long the run
      continue;
    }
    if (run >= 0 && found < 3) numbers[found++] = run > 255 ? 255 : run;
    run = -1;
  }
  if (run >= 0 && found == 2) numbers[found++] = run > 255 ? 255 : run;
  return RGBColor(numbers[0], numbers[1], numbers[2]);
}

}  // namespace skin
