// Bitmap and colour routines with which the skin model derives images it does not find in
// a skin, and which the painters use for tabs, progress bars and tool bars.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/bitmap24.h"
#include "skin/skin_colors.h"

namespace skin {

// Every pixel that is exactly magenta (255, 0, 255) becomes color (resolved to RGB).
void ReplaceMagenta(Bitmap24& bitmap, TColor color);
// Left becomes right.
void MirrorBitmap(Bitmap24& bitmap);
// Top becomes bottom.
void FlipBitmap(Bitmap24& bitmap);

// Amount below 100 is a percentage of color1, from 100 on a per mille; system colours are
// resolved first. Each channel is rounded to the nearest.
TColor BlendColors(TColor color1, TColor color2, int amount);
// (max - min) / max of the channels on 0..255, rounded; 200 when every channel is below 160.
int ColorSaturation(TColor color);

// A 32-bit device-independent picture as GetDIBits fills one for a 40-byte header with a
// positive height: 4 bytes a pixel (blue, green, red, unused), the bottom row first.
struct Dib32 {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
};
Dib32 ToDib32(const Bitmap24& bitmap);
Bitmap24 FromDib32(const Dib32& dib);

// The two routines that rebuild a bitmap through a 32-bit picture: a quarter turn clockwise
// (a horizontal image drawn upward, as a vertical progress bar or a right-hand tab needs)
// and a quarter turn anticlockwise (a left-hand tab). Width and height swap.
void TurnBitmapRight(Bitmap24& bitmap);
void TurnBitmapLeft(Bitmap24& bitmap);

}  // namespace skin
