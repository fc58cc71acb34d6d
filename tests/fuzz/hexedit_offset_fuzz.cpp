// Offset formats and radix text as hostile input: a format either parses or raises
// EHexEditor, and a parsed one gives texts whose digits read back as the offset's units;
// radix text reads back what it wrote.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hexedit/hx_errors.h"
#include "hexedit/hx_offset_format.h"
#include "hexedit/hx_units.h"

using namespace hexedit;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int radix = 2 + data[0] % 15;
  const int bytesPerRow = 1 + data[1] % 16;
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  try {
    const OffsetFormat f = ParseOffsetFormat(text, bytesPerRow, 2, 1);
    if (!f.empty) {
      Require(f.radix >= 2 && f.radix <= 16);
      Require(f.bytesPerUnit == 1 || f.bytesPerUnit == 2 || f.bytesPerUnit == 4 || f.bytesPerUnit == 8);
      for (std::uint64_t offset : {0ull, 17ull, 0xFFFFull, 0x7FFFFFFFull}) {
        const int digits = OffsetDigitCount(f, 0x7FFFFFFF);
        const std::string s = FormatOffset(f, offset, digits, false);
        Require(s.size() >= f.prefix.size() + f.suffix.size());
        const std::string number = s.substr(f.prefix.size(), s.size() - f.prefix.size() - f.suffix.size());
        if (!number.empty()) Require(RadixToInt(number, f.radix) == offset / static_cast<unsigned>(f.bytesPerUnit));
      }
    }
  } catch (const EHexEditor&) {
  }
  try {
    const std::uint64_t value = RadixToInt(text, radix);
    if (text.size() <= 12) {
      const std::string back = IntToRadix(value, radix);
      Require(RadixToInt(back, radix) == value);
    }
  } catch (const EHexEditor&) {
  }
  return 0;
}
