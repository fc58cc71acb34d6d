// Where a panel's caption goes: the DrawText flags of its alignment and word wrap, and the
// rectangle left for the measured text by the vertical alignment.
#pragma once

#include "widgets/canvas.h"

namespace widgets {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TAlignmentVertical { avTop, avCenter, avBottom };

// DrawText's flag values.
enum TextFlags : unsigned {
  kDtLeft = 0x0, kDtCenter = 0x1, kDtRight = 0x2, kDtVCenter = 0x4, kDtBottom = 0x8, kDtWordBreak = 0x10,
  kDtSingleLine = 0x20, kDtExpandTabs = 0x40, kDtCalcRect = 0x400, kDtPathEllipsis = 0x4000,
  kDtEndEllipsis = 0x8000
};

unsigned AlignmentFlag(TAlignment alignment);
unsigned CaptionFlags(TAlignment alignment, bool wordWrap);
// r is the rectangle after the margins; textHeight what DT_CALCRECT measured.
Rect CaptionTextRect(Rect r, TAlignmentVertical vertical, int textHeight);
// The margins taken off the panel's client rectangle before the caption is measured.
Rect ShrinkByMargins(Rect r, int margin, int marginVertical);

}  // namespace widgets
