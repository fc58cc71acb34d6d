// Colours as the skin model keeps them: 0x00BBGGRR for a plain colour, or 0x80000000 plus
// a system colour index, kept as a reference and resolved only where pixels are made.
#pragma once

#include <cstdint>
#include <string_view>

namespace skin {

using TColor = int32_t;

constexpr TColor RGBColor(int r, int g, int b) { return r | g << 8 | b << 16; }
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u; }

inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor clWhite = RGBColor(255, 255, 255);
inline constexpr TColor clGray = RGBColor(128, 128, 128);
inline constexpr TColor clMagenta = RGBColor(255, 0, 255);

// The source of system colours (index to 0x00BBGGRR). The Windows side installs
// GetSysColor; until then, and natively, the classic Windows scheme answers.
using SystemColorSource = uint32_t (*)(int index);
void SetSystemColorSource(SystemColorSource source);

// A plain colour as it is; a system colour through the source (GetSysColor's rule).
TColor ColorToRGB(TColor color);

// Colour text "r, g, b": runs of decimal digits; a run ended by another character is the
// next number, a run that ends the text counts only as the third; numbers not found are 0
// and numbers above 255 read 255.
TColor ParseColourText(std::u16string_view text);

}  // namespace skin
