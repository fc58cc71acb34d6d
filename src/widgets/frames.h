// Frames of panels and labels: each frame style drawn as rings of colours on chosen sides,
// and the two-style frame (outer style, border ring, inner style) both widgets draw.
// Every routine shrinks the rectangle by what it drew.
#pragma once

#include "widgets/canvas.h"

namespace widgets {

enum class TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup,
  fsFlatBold, fsFlatRounded
};

enum TSide : unsigned { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = unsigned;
constexpr TSides kAllSides = sdLeft | sdTop | sdRight | sdBottom;

// One ring on the sides: top and left in topLeft, then bottom and right in bottomRight (which
// owns the top-right and bottom-left corners); the rectangle shrinks by 1 on each drawn side.
void DrawRing(Canvas& canvas, Rect& r, TColor topLeft, TColor bottomRight, TSides sides);
// A ring width pixels wide in one colour pair.
void DrawRings(Canvas& canvas, Rect& r, int width, TColor topLeft, TColor bottomRight, TSides sides);

// A style in its standard colours.
void DrawFrameStyle(Canvas& canvas, Rect& r, TFrameStyleEx style, TSides sides);

// What a style adds on each drawn side when a label sizes itself.
int FrameStyleWidth(TFrameStyleEx style, int bevelWidth);

struct FrameParams {
  TFrameStyleEx outer = TFrameStyleEx::fsNone;
  TFrameStyleEx inner = TFrameStyleEx::fsNone;
  TSides sides = kAllSides;
  int borderWidth = 0;
  int bevelWidth = 1;
  TColor borderColor = clBtnFace;
  TColor borderHighlight = clBtnHighlight;
  TColor borderShadow = clBtnShadow;
  TColor flatColor = clBtnShadow;
  int flatColorAdjustment = 30;
  TColor color = clBtnFace;
  TColor parentColor = clBtnFace;
  bool transparent = false;
};

void DrawTwoStyleFrame(Canvas& canvas, Rect& r, const FrameParams& p, const SystemColorSource& system);

}  // namespace widgets
