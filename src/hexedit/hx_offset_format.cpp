#include "hexedit/hx_offset_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "hexedit/hx_errors.h"
#include "hexedit/hx_units.h"

namespace hexedit {

namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

[[noreturn]] void Missing(const char* what) {
  throw EHexEditor(std::string("Missing char in offset format: ") + what);
}

int CheckedUnit(int unit) {
  if (unit != 1 && unit != 2 && unit != 4 && unit != 8) {
    char message[80];
    std::snprintf(message, sizeof message, "Invalid bytes per unit value %d, allowed: 1,2,4,8", unit);
    throw EHexEditor(message);
  }
  return unit;
}

// Reads hex digits from pos; returns -1 when there are none. A value too large to be
// meant (more than 8 digits) is refused as a bad number.
long long ReadHex(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsHexDigit(text[pos])) ++pos;
  if (pos == start) return -1;
  if (pos - start > 8) Missing("number radix");
  return static_cast<long long>(RadixToInt(text.substr(start, pos - start), 16));
}

}  // namespace

void UpdateOffsetUnit(OffsetFormat& f, int bytesPerRow, int bytesPerColumn, int bytesPerUnit) {
  switch (f.unitSource) {
    case OffsetUnitSource::Row: f.bytesPerUnit = CheckedUnit(bytesPerRow); break;
    case OffsetUnitSource::Column: f.bytesPerUnit = CheckedUnit(bytesPerColumn); break;
    case OffsetUnitSource::FollowUnit: f.bytesPerUnit = CheckedUnit(bytesPerUnit); break;
    case OffsetUnitSource::Fixed: break;
  }
}

OffsetFormat ParseOffsetFormat(std::string_view text, int bytesPerRow, int bytesPerColumn, int bytesPerUnit) {
  OffsetFormat f;
  if (text.empty()) return f;
  f.empty = false;
  std::size_t pos = 0;

  // Unit part.
  if (text.size() >= 2 && (text[0] == 'r' || text[0] == 'R') && text[1] == '%') {
    f.unitSource = OffsetUnitSource::Row;
    pos = 2;
  } else if (text.size() >= 2 && (text[0] == 'c' || text[0] == 'C') && text[1] == '%') {
    f.unitSource = OffsetUnitSource::Column;
    pos = 2;
  } else {
    std::size_t p = 0;
    const long long n = ReadHex(text, p);
    if (n >= 0 && p < text.size() && text[p] == '%') {
      f.unitSource = OffsetUnitSource::Fixed;
      f.bytesPerUnit = CheckedUnit(static_cast<int>(n));
      pos = p + 1;
    } else if (!text.empty() && text[0] == '%') {
      pos = 1;
    }
  }
  UpdateOffsetUnit(f, bytesPerRow, bytesPerColumn, bytesPerUnit);

  // Digit part.
  if (text.substr(pos, 2) == "-!") {
    f.autoDigits = true;
    pos += 2;
  } else {
    std::size_t p = pos;
    const long long n = ReadHex(text, p);
    if (n >= 0 && p < text.size() && text[p] == '!') {
      if (n > kMaxOffsetDigits) {
        char message[96];
        std::snprintf(message, sizeof message, "Invalid digit count in offset format (%llxh), allowed: 00h..%02xh", n,
                      kMaxOffsetDigits);
        throw EHexEditor(message);
      }
      f.minDigits = static_cast<int>(n);
      pos = p + 1;
    } else if (pos < text.size() && text[pos] == '!') {
      pos += 1;
    }
  }

  // Radix.
  const long long radix = ReadHex(text, pos);
  if (radix < 0) Missing("number radix");
  if (pos >= text.size() || text[pos] != ':') Missing(":");
  ++pos;
  if (radix < 2 || radix > 16) {
    char message[80];
    std::snprintf(message, sizeof message, "Invalid radix in offset format (%llxh), allowed: 02h..10h", radix);
    throw EHexEditor(message);
  }
  f.radix = static_cast<int>(radix);

  // Prefix | suffix.
  const std::size_t bar = text.find('|', pos);
  if (bar == std::string_view::npos) Missing("|");
  f.prefix = std::string(text.substr(pos, bar - pos));
  f.suffix = std::string(text.substr(bar + 1));
  return f;
}

int OffsetDigitCount(const OffsetFormat& f, std::uint64_t largestOffset) {
  if (!f.autoDigits) return f.minDigits;
  return static_cast<int>(IntToRadix(largestOffset / static_cast<unsigned>(f.bytesPerUnit), f.radix).size());
}

std::string FormatOffset(const OffsetFormat& f, std::uint64_t offset, int digits, bool lowerCase) {
  if (f.empty) return {};
  std::string number;
  if (!(offset == 0 && digits == 0)) {
    number = IntToRadix(offset / static_cast<unsigned>(f.bytesPerUnit), f.radix, digits);
    if (lowerCase) std::transform(number.begin(), number.end(), number.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
  }
  return f.prefix + number + f.suffix;
}

}  // namespace hexedit
