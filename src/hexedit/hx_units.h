// The hex editor's unit routines: character translations, hex and radix text, word swap,
// colour arithmetic and the name of a temporary file. All are pure functions.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hexedit {

using Bytes = std::vector<std::uint8_t>;

// How the character field shows bytes.
enum class THxTranslationKind { tkAsIs, tkDos8, tkASCII, tkMac, tkBCD, tkCustom };
inline constexpr int kTranslationKinds = 6;

// "ANSI (Windows)", "ASCII 7 Bit", ... and the short names "WIN", "DOS", ...
std::string_view TranslationName(THxTranslationKind kind);
std::string_view TranslationShortName(THxTranslationKind kind);

// The fixed tables (hx_tables.cpp) and the program's own pair, identity until filled.
extern const std::array<std::uint8_t, 256> kAnsiToMac, kMacToAnsi, kAnsiToEbcdic, kEbcdicToAnsi;
struct CustomTranslation {
  std::array<std::uint8_t, 256> fromAnsi{};
  std::array<std::uint8_t, 256> toAnsi{};
  CustomTranslation();
};
CustomTranslation& CustomTables();

// ANSI bytes to the bytes of a translation kind, and back, byte count kept. tkDos8 and
// tkASCII go through the OEM code page; the table kinds map every byte.
Bytes TranslateFromAnsi(THxTranslationKind kind, std::string_view ansi);
Bytes TranslateToAnsi(THxTranslationKind kind, std::string_view bytes);
// One character through the OEM conversions.
std::uint8_t CharToOem(std::uint8_t ansi);
std::uint8_t OemToChar(std::uint8_t oem);

// Two digits per byte from "0123456789ABCDEF", high nibble first unless swapped.
std::string ConvertBinToHex(const std::uint8_t* bytes, std::size_t count, bool swapNibbles);
// Hex digits (either case) to bytes; other characters are skipped and an odd last digit dropped.
Bytes ConvertHexToBin(std::string_view text, bool swapNibbles);
Bytes ConvertHexToBin(std::u16string_view text, bool swapNibbles);

// An integer as digits of radix 2..16, left-padded with "0" to minDigits.
std::string IntToRadix(std::uint64_t value, int radix, int minDigits = 1);
// Case-blind; a character that is no digit of the radix raises EHexEditor.
std::uint64_t RadixToInt(std::string_view text, int radix);

inline std::uint16_t Swap16(std::uint16_t w) { return static_cast<std::uint16_t>((w >> 8) | (w << 8)); }

// Colours as the window framework keeps them: $00BBGGRR, or a system colour
// ($80000000 | index) that a resolver turns into RGB.
using TColor = std::int32_t;
using ColorResolver = std::function<TColor(TColor)>;
TColor InverseColor(TColor color, const ColorResolver& resolve);
TColor GrayColor(TColor color, const ColorResolver& resolve);

// folder + 8 hex digits of the tick count + ".HXT", trying later ticks until a free name.
std::u16string TemporaryFileName(std::u16string_view folder, const std::function<std::uint32_t()>& tickCount,
                                 const std::function<bool(const std::u16string&)>& exists);

}  // namespace hexedit
