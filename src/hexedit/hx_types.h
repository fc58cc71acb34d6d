// Small types of the hex editor shared by the model, the settings text and the window.
#pragma once

#include <cstdint>
#include <string>

#include "hexedit/hx_units.h"

namespace hexedit {

// Colour constants as the window framework names them.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
// System colours: $80000000 | the system colour index.
inline constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);

struct THxColors {
  TColor Background = clWindow;
  TColor ChangedBackground = 0x00A8FFFF;
  TColor ChangedText = clMaroon;
  TColor CursorFrame = clNavy;
  TColor NonFocusCursorFrame = clAqua;
  TColor Offset = clBlack;
  TColor OddColumn = clBlue;
  TColor EvenColumn = clNavy;
  TColor CurrentOffsetBackground = clBtnShadow;
  TColor OffsetBackGround = clBtnFace;
  TColor CurrentOffset = clBtnHighlight;
  TColor Grid = clBtnFace;
  bool operator==(const THxColors&) const = default;
};

enum class TCaretKind { ckFull, ckLeft, ckBottom, ckAuto };

// Font styles as a set of bits.
enum FontStyleBits : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

inline constexpr int DEFAULT_CHARSET_VALUE = 1;

struct THxFont {
  int Charset = DEFAULT_CHARSET_VALUE;
  TColor Color = clWindowText;
  std::u16string Name = u"Courier New";
  int Size = 11;  // points
  unsigned Style = 0;
  bool operator==(const THxFont&) const = default;
};

enum THxPrintFlag : unsigned {
  pfSelectionOnly = 1,
  pfSelectionBold = 2,
  pfMonochrome = 4,
  pfUseBackgroundColor = 8,
  pfCurrentViewOnly = 16,
};

// Print settings only: the program never prints.
struct THxPrintOptions {
  int MarginLeft = 20, MarginTop = 15, MarginRight = 25, MarginBottom = 25;
  std::u16string PageHeader, PageFooter;
  unsigned Flags = pfSelectionBold | pfMonochrome;
  bool operator==(const THxPrintOptions&) const = default;
};

// Keys as the window system numbers them (virtual-key codes).
namespace keys {
inline constexpr int Back = 0x08, Tab = 0x09, Shift = 0x10, Control = 0x11, PageUp = 0x21, PageDown = 0x22,
                     End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                     Delete = 0x2E;
}

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

}  // namespace hexedit
