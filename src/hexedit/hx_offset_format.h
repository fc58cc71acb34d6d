// The gutter's offset texts: the parsed form of OffsetFormat and the text of one offset.
// A format reads [unit part][digit part]radix:prefix|suffix, all numbers hexadecimal:
//   unit:   "r%" (bytes per row), "c%" (bytes per column), "<hex>%" or "%" (follow the unit)
//   digits: "-!" (as many as the largest offset needs), "<hex>!" (that minimum), "!" (1)
//   radix:  "<hex>:" (2..10h)
// e.g. "-!10:0x|" gives radix 16 with the prefix "0x".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hexedit {

// The most digits an offset can need: a 64-bit offset in radix 2. A larger minimum is refused.
inline constexpr int kMaxOffsetDigits = 64;

enum class OffsetUnitSource { FollowUnit, Row, Column, Fixed };

struct OffsetFormat {
  bool empty = true;  // no format: no offset texts
  OffsetUnitSource unitSource = OffsetUnitSource::FollowUnit;
  int bytesPerUnit = 1;      // the unit in force (1, 2, 4 or 8)
  bool autoDigits = false;   // "-!"
  int minDigits = 1;
  int radix = 16;
  std::string prefix, suffix;
};

// Parses a format; the unit of "r%", "c%" and "%" is taken from the current layout.
// Raises EHexEditor with the messages of a bad format.
OffsetFormat ParseOffsetFormat(std::string_view text, int bytesPerRow, int bytesPerColumn, int bytesPerUnit);
// Brings the unit of a parsed format in line with a changed layout (same checks).
void UpdateOffsetUnit(OffsetFormat& format, int bytesPerRow, int bytesPerColumn, int bytesPerUnit);

// The text of one offset, digits padded to `digits` (the format's own minimum, or for "-!"
// the digit count of the largest offset, see OffsetDigitCount).
std::string FormatOffset(const OffsetFormat& format, std::uint64_t offset, int digits, bool lowerCase);
int OffsetDigitCount(const OffsetFormat& format, std::uint64_t largestOffset);

}  // namespace hexedit
