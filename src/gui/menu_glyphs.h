// The 16 x 16 pictures that menu rows show in front of their caption, drawn with GDI (no image
// files): 0 a folder (folder sub-menus), 1 a note (tray entry rows), 5 a pin (fixed entries).
#pragma once

#include <windows.h>

namespace gui {

inline constexpr int kMenuGlyphSize = 16;

// Whether the image index has a picture.
bool HasMenuGlyph(int imageIndex);
// Draws the glyph with its top left corner at (x, y); a greyed glyph is drawn in one grey.
void DrawMenuGlyph(HDC dc, int imageIndex, int x, int y, bool grayed);

}  // namespace gui
