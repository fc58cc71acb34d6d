// Geometry of skinned windows and controls, without Windows: frame thickness, the nine-part
// rule, caption-button placement and visibility, the caption text, the menu bar and menu
// rows, the bit-button layout and the frames (states) that controls show.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "skin/skin_model.h"

namespace skin {

// The frame of a skinned window on each side (Top is the caption's height).
struct FrameBorders {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const FrameBorders&) const = default;
};
// Left and right pieces: frame width; top and bottom pieces: frame height (frames stacked).
FrameBorders BordersOf(const TSkinModel& model);

// The outer size that keeps a client area of clientWidth x clientHeight inside the skin's frame.
struct SizeWH {
  int Width = 0, Height = 0;
  bool operator==(const SizeWH&) const = default;
};
SizeWH SkinnedWindowSize(int clientWidth, int clientHeight, const FrameBorders& borders, int menuBarHeight);

// Frame `frame` (1-based) of a picture holding frameCount frames side by side, or stacked.
// A frame past the count is taken as the last one.
TRect FrameRect(int width, int height, int frameCount, int frame, bool stacked);

// One step of the nine-part rule: the source part drawn into the destination part,
// stretched, or tiled (the centre of a tiled object).
struct PartCopy {
  TRect Source, Dest;
  bool Tiled = false;
  bool operator==(const PartCopy&) const = default;
};
// The parts in drawing order: corners top-left, bottom-left, top-right; left edge, top edge,
// centre, bottom-right corner, right edge, bottom edge. Margins wider (higher) than the
// destination drop to 0; empty parts are left out.
std::vector<PartCopy> NinePartCopies(const TRect& source, const TMargins& margins, int destWidth, int destHeight,
                                     bool tileCentre);

// ---- Caption buttons ----------------------------------------------------------------------------

// What a caption button's visibility codes look at.
struct CaptionFacts {
  bool Maximized = false;
  bool Active = true;
  bool MinimizeBox = false, MaximizeBox = false, HelpBox = false, SystemMenu = false;
  bool MdiFrameWithMaximizedChild = false;  // and a menu bar
  bool DialogBorderOwnClass = false;        // dialog border, neither "#32770" nor "TMessageForm"
  // The window's answer to 0x3515 for codes 1000..2000 (code, action).
  std::function<int(int code, int action)> AskCustom;
};
bool VisibilityAllows(int code, int action, const CaptionFacts& facts);
// Both codes must allow the button; CombineOp 1 lets either suffice.
bool CaptionButtonShown(const TDataSkinSysButton& button, const CaptionFacts& facts);
// The frame a caption button shows: state 1 normal, 2 pressed, 3 hot.
int CaptionButtonFrame(int frameCount, bool active, bool enabled, int state);

// Places a shown caption button of size (w, h) in a window of width windowWidth.
// textRect is the caption text's rectangle (Align 2/3/8/9 follow it).
TRect CaptionButtonRect(const TDataSkinSysButton& button, int w, int h, int windowWidth, const TRect& textRect,
                        const FrameBorders& borders, int menuBarHeight, int menuBarRightMargin);

// The caption text's rectangle in the caption strip (0, 0, windowWidth, borders.Top).
struct CaptionTextInput {
  int WindowWidth = 0;
  int TextWidth = 0, TextHeight = 0;
  bool Popup = false;                // WS_POPUP window
  bool DialogBorder = false;         // no icon: alignment 0 starts 16 pixels further left
  int LeftmostRightButton = -1;      // left edge of the leftmost right-anchored button, -1 none
};
TRect CaptionTextRect(const TDataSkinTitle& title, const FrameBorders& borders, const CaptionTextInput& in);

// ---- Menu bar and menu rows ------------------------------------------------------------------

// Items of a skinned menu bar of barWidth x barHeight (bar coordinates). textWidths[i] is the
// caption's width (0 for an empty caption); a hidden item gets an empty rectangle.
std::vector<TRect> MenuBarLayout(const std::vector<int>& textWidths, const std::vector<bool>& visible, int barWidth,
                                 int barHeight, const std::optional<TMargins>& menuBarMargins);
// The item after (forward) or before the open one, wrapping; -1 when none is usable.
int NextMenuBarItem(const std::vector<bool>& usable, int open, bool forward);

enum class MenuRowKind {
  BarDropDown,  // rows of a skinned bar's drop-down: own width, + left margin, + 10 with images else 35
  Popup,        // rows of a popup menu of a window: own width + left margin, + 12 with images else 35
  Rebuilt       // rows rebuilt from a native menu: text + 26 + left margin
};
int MenuRowWidth(MenuRowKind kind, int ownWidth, int menuItemLeftMargin, bool hasImages);
// Row height: text rows the proposed height + 4, separators 8 (rebuilt rows).
int RebuiltRowHeight(int proposedHeight, bool separator);

// ---- Control frames -------------------------------------------------------------------------

// Push buttons: 1 normal, 5 focused or default, 2 pressed, else 4 hot; 3 disabled wins.
int PushButtonFrame(bool focused, bool isDefault, bool pressed, bool hot, bool enabled);

enum class CheckState { Unchecked, Checked, Grayed };
// Check boxes and radio buttons: 1 unchecked, 2 checked, 4 grayed; disabled adds 2;
// indeterminate gives 4; a 12-frame picture maps 2 to 5, 3 to 4, 4 to 8, and an
// indeterminate box to 12 (disabled) or 9.
int CheckBoxFrame(CheckState state, bool indeterminate, bool disabled, int frameCount);

// Up-down halves: frames grouped four per arrow (0 up or left, 1 down or right); state 1
// normal, 2 pressed, 3 disabled, 4 hot.
inline int UpDownFrame(int arrow, int state) { return arrow * 4 + state; }

// ---- Bit buttons ----------------------------------------------------------------------------

enum class GlyphLayout { Left, Right, Top, Bottom };
struct BitButtonInput {
  int AreaWidth = 0, AreaHeight = 0;   // the control less 2 pixels on each side
  int GlyphWidth = 0, GlyphHeight = 0; // 0 x 0: no glyph
  int TextWidth = 0, TextHeight = 0;   // 0 x 0: no caption
  GlyphLayout Layout = GlyphLayout::Left;
  int Margin = -1, Spacing = 4;
  bool CentreAligned = true;           // "Alignment" is taCenter
};
struct BitButtonPlaces {
  TRect Glyph, Text;  // in area coordinates
  bool operator==(const BitButtonPlaces&) const = default;
};
BitButtonPlaces BitButtonLayout(const BitButtonInput& in);

}  // namespace skin
