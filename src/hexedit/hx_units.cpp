#include "hexedit/hx_units.h"

#include <cstdio>

#include "hexedit/hx_errors.h"
#include "unicode/codepage.h"

namespace hexedit {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(unsigned ch) {
  if (ch >= '0' && ch <= '9') return static_cast<int>(ch - '0');
  if (ch >= 'A' && ch <= 'F') return static_cast<int>(ch - 'A' + 10);
  if (ch >= 'a' && ch <= 'f') return static_cast<int>(ch - 'a' + 10);
  return -1;
}

template <typename Char>
Bytes HexToBin(std::basic_string_view<Char> text, bool swapNibbles) {
  Bytes out;
  out.reserve(text.size() / 2);
  int pending = -1;
  for (Char c : text) {
    const int v = HexValue(static_cast<unsigned>(c));
    if (v < 0) continue;
    if (pending < 0) {
      pending = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(swapNibbles ? (v << 4) | pending : (pending << 4) | v));
      pending = -1;
    }
  }
  return out;
}

Bytes MapThrough(const std::array<std::uint8_t, 256>& table, std::string_view bytes) {
  Bytes out(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = table[static_cast<std::uint8_t>(bytes[i])];
  return out;
}

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
}  // namespace

std::string_view TranslationName(THxTranslationKind kind) {
  switch (kind) {
    case THxTranslationKind::tkAsIs: return "Windows (ANSI)";
    case THxTranslationKind::tkDos8: return "DOS 8 Bit (OEM)";
    case THxTranslationKind::tkASCII: return "ASCII 7 Bit";
    case THxTranslationKind::tkMac: return "Macintosh";
    case THxTranslationKind::tkBCD: return "EBCDIC Codepage 38";
    case THxTranslationKind::tkCustom: return "Custom Translation";
  }
  return {};
}

std::string_view TranslationShortName(THxTranslationKind kind) {
  switch (kind) {
    case THxTranslationKind::tkAsIs: return "WIN";
    case THxTranslationKind::tkDos8: return "DOS";
    case THxTranslationKind::tkASCII: return "ASC";
    case THxTranslationKind::tkMac: return "MAC";
    case THxTranslationKind::tkBCD: return "BCD";
    case THxTranslationKind::tkCustom: return "Cust";
  }
  return {};
}

CustomTranslation::CustomTranslation() {
  for (int i = 0; i < 256; ++i) fromAnsi[i] = toAnsi[i] = static_cast<std::uint8_t>(i);
}

CustomTranslation& CustomTables() {
  static CustomTranslation tables;
  return tables;
}

Bytes TranslateFromAnsi(THxTranslationKind kind, std::string_view ansi) {
  switch (kind) {
    case THxTranslationKind::tkAsIs: return Bytes(ansi.begin(), ansi.end());
    case THxTranslationKind::tkDos8:
    case THxTranslationKind::tkASCII: return ToBytes(unicode::AnsiBytesToOem(ansi));
    case THxTranslationKind::tkMac: return MapThrough(kAnsiToMac, ansi);
    case THxTranslationKind::tkBCD: return MapThrough(kAnsiToEbcdic, ansi);
    case THxTranslationKind::tkCustom: return MapThrough(CustomTables().fromAnsi, ansi);
  }
  return {};
}

Bytes TranslateToAnsi(THxTranslationKind kind, std::string_view bytes) {
  switch (kind) {
    case THxTranslationKind::tkAsIs: return Bytes(bytes.begin(), bytes.end());
    case THxTranslationKind::tkDos8:
    case THxTranslationKind::tkASCII: return ToBytes(unicode::OemBytesToAnsi(bytes));
    case THxTranslationKind::tkMac: return MapThrough(kMacToAnsi, bytes);
    case THxTranslationKind::tkBCD: return MapThrough(kEbcdicToAnsi, bytes);
    case THxTranslationKind::tkCustom: return MapThrough(CustomTables().toAnsi, bytes);
  }
  return {};
}

std::uint8_t CharToOem(std::uint8_t ansi) {
  const char c = static_cast<char>(ansi);
  return static_cast<std::uint8_t>(unicode::AnsiBytesToOem(std::string_view(&c, 1))[0]);
}

std::uint8_t OemToChar(std::uint8_t oem) {
  const char c = static_cast<char>(oem);
  return static_cast<std::uint8_t>(unicode::OemBytesToAnsi(std::string_view(&c, 1))[0]);
}

std::string ConvertBinToHex(const std::uint8_t* bytes, std::size_t count, bool swapNibbles) {
  std::string out(count * 2, '0');
  for (std::size_t i = 0; i < count; ++i) {
    const char high = kHexDigits[bytes[i] >> 4];
    const char low = kHexDigits[bytes[i] & 15];
    out[2 * i] = swapNibbles ? low : high;
    out[2 * i + 1] = swapNibbles ? high : low;
  }
  return out;
}

Bytes ConvertHexToBin(std::string_view text, bool swapNibbles) { return HexToBin(text, swapNibbles); }
Bytes ConvertHexToBin(std::u16string_view text, bool swapNibbles) { return HexToBin(text, swapNibbles); }

std::string IntToRadix(std::uint64_t value, int radix, int minDigits) {
  if (radix < 2 || radix > 16) throw EHexEditor("Invalid radix in offset format (" + IntToRadix(radix, 16) + "h), allowed: 02h..10h");
  std::string digits;
  do {
    digits.insert(digits.begin(), kHexDigits[value % static_cast<unsigned>(radix)]);
    value /= static_cast<unsigned>(radix);
  } while (value != 0);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return digits;
}

std::uint64_t RadixToInt(std::string_view text, int radix) {
  std::uint64_t value = 0;
  for (char c : text) {
    const int v = HexValue(static_cast<unsigned char>(c));
    if (v < 0 || v >= radix) {
      char message[96];
      std::snprintf(message, sizeof message, "Invalid character %c, cannot convert using radix %xh", c, radix);
      throw EHexEditor(message);
    }
    value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(v);
  }
  return value;
}

TColor InverseColor(TColor color, const ColorResolver& resolve) {
  const TColor rgb = color < 0 && resolve ? resolve(color) : color;
  return (rgb ^ 0xFFFFFF) & 0xFFFFFF;
}

TColor GrayColor(TColor color, const ColorResolver& resolve) {
  const TColor rgb = color < 0 && resolve ? resolve(color) : color;
  const int red = rgb & 0xFF, green = (rgb >> 8) & 0xFF, blue = (rgb >> 16) & 0xFF;
  const int g = (red * 74 + green * 146 + blue * 36) / 256;
  return g | (g << 8) | (g << 16);
}

std::u16string TemporaryFileName(std::u16string_view folder, const std::function<std::uint32_t()>& tickCount,
                                 const std::function<bool(const std::u16string&)>& exists) {
  std::u16string base(folder);
  if (!base.empty() && base.back() != u'\\' && base.back() != u'/') base += u'\\';
  std::uint32_t tick = tickCount();
  for (int tries = 0; tries < 65536; ++tries) {
    std::u16string name = base;
    for (char c : IntToRadix(tick, 16, 8)) name += static_cast<char16_t>(c);
    name += u".HXT";
    if (!exists(name)) return name;
    ++tick;  // the clock may not have moved yet: the next value is as good a name
  }
  throw EHexEditor("Cannot create a temporary file name");
}

}  // namespace hexedit
