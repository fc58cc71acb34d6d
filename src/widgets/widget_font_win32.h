// The font of a panel or label as a description (face, character height in pixels, colour,
// style) and the GDI font made from it.
#pragma once

#include <windows.h>

#include <string>

#include "gui/gdi.h"
#include "widgets/colors.h"

namespace widgets {

struct WidgetFont {
  std::u16string name = u"宋体";
  int height = 12;  // character height in pixels
  TColor color = clBtnText;
  bool bold = false, italic = false, underline = false;
  bool operator==(const WidgetFont&) const = default;
};

gui::UniqueFont MakeWidgetFont(const WidgetFont& font, int escapement = 0);
bool IsTrueTypeFont(const WidgetFont& font);

}  // namespace widgets
