#include "widgets/label_layout.h"

#include <cmath>
#include <numbers>

#include "widgets/caption_layout.h"

namespace widgets {

std::vector<TextCopy> TextCopies(const TextStyleColors& s) {
  std::vector<TextCopy> copies;
  if (s.style == TTextStyle::tsRaised || s.style == TTextStyle::tsRecessed) {
    const bool raised = s.style == TTextStyle::tsRaised;
    const TColor a = raised ? s.shadow : s.highlight;
    const TColor b = raised ? s.highlight : s.shadow;
    if (!raised || !s.lightTextStyle) copies.push_back({1, 1, a});
    if (raised || !s.lightTextStyle) copies.push_back({-1, -1, b});
  } else if (s.style == TTextStyle::tsShadow) {
    copies.push_back({s.shadowDepth, s.shadowDepth, s.shadow});
  }
  return copies;
}

unsigned LabelTextFlags(unsigned alignmentFlag, TFxCondenseCaption condense, bool wordWrap, unsigned layoutFlag) {
  unsigned flags = kDtExpandTabs | alignmentFlag | layoutFlag;
  if (condense == TFxCondenseCaption::ccAtEnd) flags |= kDtEndEllipsis;
  if (condense == TFxCondenseCaption::ccWithinPath) flags |= kDtPathEllipsis;
  if (wordWrap) flags |= kDtWordBreak;
  return flags;
}

Point RotatedCenterPoint(TRotation rotation, TCenterPoint cp, int w, int h, int m) {
  if (rotation == TRotation::roFlat) return {w / 2, h / 2};
  switch (cp) {
    case TCenterPoint::cpUpperLeft: return {m, m};
    case TCenterPoint::cpUpperCenter: return {w / 2, m};
    case TCenterPoint::cpUpperRight: return {w, m};
    case TCenterPoint::cpLeftCenter: return {m, h / 2};
    case TCenterPoint::cpCenter: return {w / 2, h / 2};
    case TCenterPoint::cpRightCenter: return {w - m, h / 2};
    case TCenterPoint::cpLowerLeft: return {m, h - m};
    case TCenterPoint::cpLowerCenter: return {w / 2, h - m};
    case TCenterPoint::cpLowerRight: return {w - m, h - m};
  }
  return {w / 2, h / 2};
}

Extent AutoSizeExtent(const AutoSizeInput& in) {
  Extent e{in.textWidth, in.textHeight};
  if (in.rotation == TRotation::roFlat && in.angle % 180 != 0) {
    const int a = ((in.angle % 360) + 360) % 360;
    if (a == 90 || a == 270) {
      e = {in.textHeight, in.textWidth};
    } else {
      const double rad = a * std::numbers::pi / 180.0;
      const double c = std::fabs(std::cos(rad)), s = std::fabs(std::sin(rad));
      e = {static_cast<int>(std::ceil(in.textWidth * c + in.textHeight * s)),
           static_cast<int>(std::ceil(in.textWidth * s + in.textHeight * c))};
    }
  }
  if (in.style == TTextStyle::tsShadow && in.rotation == TRotation::roNone) {
    e.width += in.shadowDepth;
    e.height += in.shadowDepth;
  }
  const int perSide = FrameStyleWidth(in.outer, in.bevelWidth) + FrameStyleWidth(in.inner, in.bevelWidth) + in.textMargin;
  if (in.sides & sdLeft) e.width += perSide;
  if (in.sides & sdRight) e.width += perSide;
  if (in.sides & sdTop) e.height += perSide;
  if (in.sides & sdBottom) e.height += perSide;
  return e;
}

}  // namespace widgets

namespace widgets {

LoadedRotation SettleLoadedRotation(TRotation rotation, int angle, bool fontIsTrueType) {
  if (rotation == TRotation::roNone && angle != 0) rotation = TRotation::roFlat;
  return {rotation, rotation != TRotation::roNone && !fontIsTrueType};
}

int AngleAfterFontChange(int angle, bool fontIsTrueType) { return (angle != 0 && !fontIsTrueType) ? 0 : angle; }

bool IsBorderSidesPropertyName(std::u16string_view name) { return name == u"BorderSides" || name == u"FrameSides"; }

}  // namespace widgets
