// Builds DIBs byte by byte for the picture tests.
#pragma once

// Designated initialisers name only the fields a test cares about.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdint>
#include <vector>

namespace windows::test {

struct DibSpec {
  std::uint32_t headerSize = 40;
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> masks;   // written after a 40-byte header, or inside a longer one
  std::vector<std::uint32_t> colors;  // 0x00RRGGBB, stored as blue, green, red, 0
  std::vector<std::uint8_t> pixels;   // the rows as stored
};

inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline std::vector<std::uint8_t> MakeDib(const DibSpec& s) {
  std::vector<std::uint8_t> b;
  Put32(b, s.headerSize);
  Put32(b, static_cast<std::uint32_t>(s.width));
  Put32(b, static_cast<std::uint32_t>(s.height));
  Put16(b, s.planes);
  Put16(b, s.bitCount);
  Put32(b, s.compression);
  Put32(b, static_cast<std::uint32_t>(s.pixels.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, s.colorsUsed);
  Put32(b, 0);
  if (s.headerSize > 40) {
    for (std::uint32_t m : s.masks) Put32(b, m);
    b.resize(s.headerSize, 0);
  } else {
    for (std::uint32_t m : s.masks) Put32(b, m);
  }
  for (std::uint32_t c : s.colors) Put32(b, c & 0x00FFFFFF);
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  return b;
}

}  // namespace windows::test
