#include "widgets/caption_layout.h"

#include <algorithm>

namespace widgets {

unsigned AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taLeftJustify: return kDtLeft;
    case TAlignment::taRightJustify: return kDtRight;
    default: return kDtCenter;
  }
}

unsigned CaptionFlags(TAlignment alignment, bool wordWrap) {
  return kDtExpandTabs | kDtVCenter | (wordWrap ? kDtWordBreak : 0u) | AlignmentFlag(alignment);
}

Rect CaptionTextRect(Rect r, TAlignmentVertical vertical, int textHeight) {
  switch (vertical) {
    case TAlignmentVertical::avTop: r.bottom = std::min(r.bottom, r.top + textHeight); break;
    case TAlignmentVertical::avCenter:
      r.top = (r.top + r.bottom - textHeight) / 2;
      r.bottom = std::min(r.bottom, r.top + textHeight);
      break;
    case TAlignmentVertical::avBottom: r.top = std::max(r.top, r.bottom - textHeight - 1); break;
  }
  return r;
}

Rect ShrinkByMargins(Rect r, int margin, int marginVertical) {
  return {r.left + margin, r.top + marginVertical, r.right - margin, r.bottom - marginVertical};
}

}  // namespace widgets
