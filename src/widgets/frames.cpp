#include "widgets/frames.h"

namespace widgets {

namespace {
// One pixel off each drawn side.
void ShrinkSides(Rect& r, TSides sides) {
  if (sides & sdLeft) ++r.left;
  if (sides & sdTop) ++r.top;
  if (sides & sdRight) --r.right;
  if (sides & sdBottom) --r.bottom;
}
}  // namespace

void DrawRing(Canvas& canvas, Rect& r, TColor topLeft, TColor bottomRight, TSides sides) {
  if (r.Empty()) return;
  if (sides & sdTop) canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  if (sides & sdLeft) canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  if (sides & sdBottom) canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  if (sides & sdRight) canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  ShrinkSides(r, sides);
}

void DrawRings(Canvas& canvas, Rect& r, int width, TColor topLeft, TColor bottomRight, TSides sides) {
  for (int i = 0; i < width; ++i) DrawRing(canvas, r, topLeft, bottomRight, sides);
}

namespace {
// Lines along the drawn sides that stop 2 pixels short of each corner.
void DrawRoundedLines(Canvas& canvas, Rect& r, TColor color, TSides sides) {
  if (r.Empty()) return;
  if (sides & sdTop) canvas.FillRect({r.left + 2, r.top, r.right - 2, r.top + 1}, color);
  if (sides & sdBottom) canvas.FillRect({r.left + 2, r.bottom - 1, r.right - 2, r.bottom}, color);
  if (sides & sdLeft) canvas.FillRect({r.left, r.top + 2, r.left + 1, r.bottom - 2}, color);
  if (sides & sdRight) canvas.FillRect({r.right - 1, r.top + 2, r.right, r.bottom - 2}, color);
  ShrinkSides(r, sides);
}
}  // namespace

void DrawFrameStyle(Canvas& canvas, Rect& r, TFrameStyleEx style, TSides sides) {
  switch (style) {
    case TFrameStyleEx::fsNone: return;
    case TFrameStyleEx::fsFlat: DrawRing(canvas, r, cl3DDkShadow, cl3DDkShadow, sides); return;
    case TFrameStyleEx::fsStatus: DrawRing(canvas, r, clBtnShadow, clBtnHighlight, sides); return;
    case TFrameStyleEx::fsPopup: DrawRing(canvas, r, clBtnHighlight, clBtnShadow, sides); return;
    case TFrameStyleEx::fsFlatBold: DrawRings(canvas, r, 2, clBtnShadow, clBtnShadow, sides); return;
    case TFrameStyleEx::fsRaised:
      DrawRing(canvas, r, cl3DLight, cl3DDkShadow, sides);
      DrawRing(canvas, r, clBtnHighlight, clBtnShadow, sides);
      return;
    case TFrameStyleEx::fsLowered:
      DrawRing(canvas, r, clBtnShadow, clBtnHighlight, sides);
      DrawRing(canvas, r, cl3DDkShadow, cl3DLight, sides);
      return;
    case TFrameStyleEx::fsButtonUp:
      DrawRing(canvas, r, clBtnHighlight, cl3DDkShadow, sides);
      DrawRing(canvas, r, cl3DLight, clBtnShadow, sides);
      return;
    case TFrameStyleEx::fsButtonDown:
      DrawRing(canvas, r, clBtnText, clBtnText, sides);
      DrawRing(canvas, r, clBtnShadow, clBtnShadow, sides);
      return;
    case TFrameStyleEx::fsGroove:
      // Etched: the outer ring's dark top-left meets the inner ring's light one.
      DrawRing(canvas, r, clBtnShadow, clBtnHighlight, sides);
      DrawRing(canvas, r, clBtnHighlight, clBtnShadow, sides);
      return;
    case TFrameStyleEx::fsBump:
      DrawRing(canvas, r, clBtnHighlight, clBtnShadow, sides);
      DrawRing(canvas, r, clBtnShadow, clBtnHighlight, sides);
      return;
    case TFrameStyleEx::fsFlatRounded: DrawRoundedLines(canvas, r, clBtnShadow, sides); return;
  }
}

int FrameStyleWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case TFrameStyleEx::fsFlat: return 1;
    case TFrameStyleEx::fsStatus:
    case TFrameStyleEx::fsPopup: return bevelWidth;
    case TFrameStyleEx::fsGroove:
    case TFrameStyleEx::fsBump:
    case TFrameStyleEx::fsLowered:
    case TFrameStyleEx::fsButtonDown:
    case TFrameStyleEx::fsRaised:
    case TFrameStyleEx::fsButtonUp: return 2;
    default: return 0;
  }
}

namespace {
void DrawOneStyle(Canvas& canvas, Rect& r, TFrameStyleEx style, const FrameParams& p, TColor flat,
                  bool innerFollows) {
  switch (style) {
    case TFrameStyleEx::fsFlat: DrawRing(canvas, r, flat, flat, p.sides); return;
    case TFrameStyleEx::fsFlatBold: DrawRings(canvas, r, 2, flat, flat, p.sides); return;
    case TFrameStyleEx::fsFlatRounded: {
      // The corners the rounded lines leave open show the parent; the ring inside them shows
      // the border (or the client colour when nothing comes between frame and client).
      if (!p.transparent) {
        Rect corners = r;
        DrawRing(canvas, corners, p.parentColor, p.parentColor, p.sides);
      }
      DrawRoundedLines(canvas, r, flat, p.sides);
      const TColor ring = (p.borderWidth > 0 || innerFollows) ? p.borderColor : p.color;
      DrawRing(canvas, r, ring, ring, p.sides);
      return;
    }
    case TFrameStyleEx::fsPopup: DrawRings(canvas, r, p.bevelWidth, p.borderHighlight, p.borderShadow, p.sides); return;
    case TFrameStyleEx::fsStatus: DrawRings(canvas, r, p.bevelWidth, p.borderShadow, p.borderHighlight, p.sides); return;
    default: DrawFrameStyle(canvas, r, style, p.sides); return;
  }
}
}  // namespace

void DrawTwoStyleFrame(Canvas& canvas, Rect& r, const FrameParams& p, const SystemColorSource& system) {
  const TColor flat = p.flatColorAdjustment == 0
                          ? p.flatColor
                          : AdjustLightness(ResolveColor(p.flatColor, system), p.flatColorAdjustment);
  DrawOneStyle(canvas, r, p.outer, p, flat, p.inner != TFrameStyleEx::fsNone);
  if (p.borderWidth > 0) DrawRings(canvas, r, p.borderWidth, p.borderColor, p.borderColor, p.sides);
  DrawOneStyle(canvas, r, p.inner, p, flat, false);
}

}  // namespace widgets
