// The label's text geometry: the 3-D copies drawn under its text, the centre point of rotated
// text, and the extent an auto-sized label takes.
#pragma once

#include <string_view>
#include <vector>

#include "widgets/canvas.h"
#include "widgets/frames.h"

namespace widgets {

enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum class TRotation { roNone, roFlat, roCurve };
enum class TCenterPoint {
  cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter,
  cpLowerRight
};
enum class TFxCondenseCaption { ccNone, ccAtEnd, ccWithinPath };

struct TextCopy {
  int dx = 0, dy = 0;
  TColor color = 0;
  bool operator==(const TextCopy&) const = default;
};

struct TextStyleColors {
  TTextStyle style = TTextStyle::tsNormal;
  bool lightTextStyle = false;
  TColor highlight = clBtnHighlight;
  TColor shadow = clBtnShadow;
  int shadowDepth = 2;
};

// The copies drawn before the text itself, in drawing order.
std::vector<TextCopy> TextCopies(const TextStyleColors& s);

// The label's text flags: expand tabs, alignment, ellipsis, word break and layout.
unsigned LabelTextFlags(unsigned alignmentFlag, TFxCondenseCaption condense, bool wordWrap, unsigned layoutFlag);

Point RotatedCenterPoint(TRotation rotation, TCenterPoint cp, int width, int height, int margin);

struct AutoSizeInput {
  int textWidth = 0, textHeight = 0;  // the text's extent unrotated
  TFrameStyleEx outer = TFrameStyleEx::fsNone, inner = TFrameStyleEx::fsNone;
  TSides sides = kAllSides;
  int bevelWidth = 1, textMargin = 0, shadowDepth = 2;
  TTextStyle style = TTextStyle::tsNormal;
  TRotation rotation = TRotation::roNone;
  int angle = 0;
};
struct Extent {
  int width = 0, height = 0;
  bool operator==(const Extent&) const = default;
};
Extent AutoSizeExtent(const AutoSizeInput& in);

// A rotated font needs an outline font: the name taken when the label's font is not one.
constexpr char16_t kRotationFontName[] = u"Verdana";

}  // namespace widgets

namespace widgets {

// What a label settles once its stored properties are read: an angle without a rotation means
// flat rotation, and rotated text needs a TrueType font.
struct LoadedRotation {
  TRotation rotation;
  bool useRotationFont;  // switch the font to kRotationFontName
};
LoadedRotation SettleLoadedRotation(TRotation rotation, int angle, bool fontIsTrueType);

// A font change on a rotated label: a font that cannot rotate sets the angle back to 0.
int AngleAfterFontChange(int angle, bool fontIsTrueType);

// Older stored labels name the frame sides "FrameSides"; today they are BorderSides.
bool IsBorderSidesPropertyName(std::u16string_view name);

}  // namespace widgets
