// How an owner-drawn popup menu row looks: one painter measures and draws every such row of
// every gui::Menu. The classic painter draws the system's menu look; the skin engine replaces
// it (SetMenuRowPainter) to paint the rows of a skin, without touching gui::Menu.
#pragma once

#include <windows.h>

#include <string_view>

namespace gui {

struct MenuRowLook {
  std::u16string_view caption;       // "&" marks the mnemonic, "&&" is a plain ampersand
  std::u16string_view shortcutText;  // drawn right-aligned; empty for none
  int imageIndex = -1;               // a glyph of gui/menu_glyphs.h, -1 for none
  bool checked = false;
  bool radio = false;          // a checked radio row shows a bullet, not a tick
  bool isDefault = false;      // drawn bold
  bool grayed = false;
  bool selected = false;
  bool hidePrefix = false;     // the system hides keyboard cues for this row now
  bool opensSubMenu = false;   // the system draws the arrow at the right edge
  bool rightToLeft = false;
  bool menuHasImages = false;  // the row's menu keeps pictures (skinned rows are measured by it)
  bool separator = false;      // a separator made owner-drawn (a skin makes its drop-downs' so)
};

class MenuRowPainter {
 public:
  virtual ~MenuRowPainter() = default;
  // The row's size in pixels, measured on `dc` (a screen DC).
  virtual SIZE Measure(HDC dc, const MenuRowLook& row) = 0;
  virtual void Draw(HDC dc, const RECT& item, const MenuRowLook& row) = 0;
};

// The system's look: background, selection, check mark or glyph, the caption 1 + 16 + 2 pixels
// from the left edge, centred vertically, the shortcut ending 10 pixels before the right edge;
// a separator is an etched line across the row, half a menu row high.
MenuRowPainter& ClassicMenuRowPainter();
// The painter every menu uses from now on; nullptr restores the classic one.
void SetMenuRowPainter(MenuRowPainter* painter);
MenuRowPainter& CurrentMenuRowPainter();

}  // namespace gui
