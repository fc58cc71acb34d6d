// The skin model: what one skin file says, as the painters of skinned windows and controls
// read it. Colours may be system colour references (skin_colors.h); images are Bitmap24.
// An object that the skin does not give is absent (std::nullopt); an object whose image
// could not be had has an empty bitmap. Painters draw the standard look for both.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "skin/bitmap24.h"
#include "skin/skin_colors.h"

namespace skin {

struct TMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TMargins&) const = default;
};

// One picture with the rules for drawing it. FrameCount equal frames (states) lie side by
// side, except in the top and bottom border pieces and "Progress", where they are stacked.
// The model never holds a FrameCount below 1.
struct TDataSkinObject {
  TMargins Margins;          // edges drawn unscaled
  Bitmap24 Bitmap;
  int Trans = 0;             // non-zero: magenta (255, 0, 255) pixels are transparent
  int Stretch = 0;           // 1: the middle is stretched, else tiled
  std::u16string Name;       // the section (or key) it came from
  int FrameCount = 1;
  int Style = 0;
  int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;  // text colours per state, -1 not given
  TColor NormalColour2 = clBtnText, MouseOverColour2 = clBtnText, PressedColour2 = clBtnText;
  // The second picture of the objects that have one: "Tabs" (key "Border"), "ComboButton"
  // (key "****"), "UpDown.Horz" and "UpDown.Vert" (key "GlyphImage"). Empty elsewhere.
  Bitmap24 Bitmap2;
};

// The push-button object "Buttons" with the check-box and radio-button glyphs.
struct TDataSkinButton : TDataSkinObject {
  Bitmap24 CheckBitmap, RadioBitmap;
  int CheckButtonFrame = 0, RadioButtonFrame = 0;  // frames of the glyph images, at least 4 once read
  bool NormalColour2Given = false, MouseOverColour2Given = false, PressedColour2Given = false;
};

// A caption button: "Action" says what a click does (0 close, 1 maximise, 2 minimise, 3 and 11
// system menu, 4 help, 7/8/9 the MDI child's minimise/restore/close, others custom); "Align"
// with Xcoord and Ycoord places it; Visibility and Visibility1 (combined by CombineOp) say when
// it shows.
struct TDataSkinSysButton : TDataSkinObject {
  int Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

// "GroupBox": a background with its own placement.
struct TDataSkinBoxLabel : TDataSkinObject {
  int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// The caption text: alignment 0 left, 1 centred, 2 right; Margins hold "TextShift" (left),
// "TextShiftVert" (top) and "TextRightClip" (right); Bitmap is the text-background image
// ("TextBack"), frame 1 active, 2 inactive, drawn with TXTBackleft and TXTBackRight as margins.
struct TDataSkinTitle : TDataSkinObject {
  int TextAlignment = 0, Textbackground = 0;
  int TXTBackleft = 0, TXTBackRight = 0;
  int FontHeight = 14;
  std::optional<TColor> ActiveText, InActiveText;
};

// The 19 colour slots of section "Colours" (9, 10 and 17 are not read).
enum TSkinColour {
  scWindowText = 0, scTitleTextActive = 1, scTitleTextNoActive = 2, scButtonFace = 3, scButtonText = 4,
  scButtonHilight = 5, scButtonlight = 6, scButtonShadow = 7, scButtonDkShadow = 8, scHilightText = 11,
  scHilight = 12, scMenubar = 13, scMenuBarText = 14, scMenuText = 15, scMenu = 16, scScrollbar = 18
};
inline constexpr int kSkinColourSlots = 19;

struct TSkinModel {
  std::u16string SkinName;

  std::array<TColor, kSkinColourSlots> Colors{};
  std::array<bool, kSkinColourSlots> ColorGiven{};  // the skin gives the slot's colour
  std::vector<TColor> ColourList;                   // one per section "COLOUR..." (not "COLOURS")
  std::array<TColor, 10> CustomColors{};

  // The frame pieces; frame 1 is the active look, frame 2 the inactive one.
  TDataSkinObject Left, Right, Top, Bottom;
  TDataSkinTitle Title;
  TDataSkinButton Buttons;
  // The caption buttons in section order, then the three MDI child buttons (Action 7, 8, 9).
  std::vector<TDataSkinSysButton> SysButtons;

  std::optional<TDataSkinObject> Progress, ProgressChunk, MenuBar, GroupBoxEdge;
  std::optional<TDataSkinBoxLabel> GroupBox;
  std::optional<TDataSkinObject> Tabs, StatusBarEdges, TabPane, ToolBars, ComboButton, SunkEdge, ExtraImages,
      Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::optional<TDataSkinObject> ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown;  // "Trackbar.Thumb..."
  std::optional<TDataSkinObject> UpDownHorz, UpDownVert;
  // The track-bar channels: the skin's, else built-in pictures.
  TDataSkinObject Track, TrackVert;

  // Derived when the skin is read.
  std::optional<TDataSkinObject> ComboxArrow;  // the combo button's glyph, magenta in the face colour
  std::vector<Bitmap24> ScrollbarParts;        // the "Scrollbar" frames, one picture each
  TDataSkinObject Toolbar;                     // the tool-bar background gradient
  TColor CaptionColor = clBtnFace;             // sampled from the top border
};

// Every object the model holds (absent ones left out), caption buttons included.
std::vector<const TDataSkinObject*> AllObjects(const TSkinModel& model);
std::vector<TDataSkinObject*> AllObjects(TSkinModel& model);

}  // namespace skin
