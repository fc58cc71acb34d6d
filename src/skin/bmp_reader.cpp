#include "skin/bmp_reader.h"

#include <cstdlib>

namespace skin {

namespace {

uint32_t U16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

constexpr size_t kFileHeader = 14;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

}  // namespace

Bitmap24 ReadBmp(const uint8_t* data, size_t size) {
  if (size < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M') return {};
  const uint32_t pixelsAt = U32(data + 10);
  const uint32_t infoSize = U32(data + kFileHeader);
  // The 40-byte header and its longer successors; the old 12-byte core header is not used by skins.
  if (infoSize < 40 || infoSize > size - kFileHeader) return {};
  const uint8_t* info = data + kFileHeader;
  const int32_t width = static_cast<int32_t>(U32(info + 4));
  const int32_t rawHeight = static_cast<int32_t>(U32(info + 8));
  const uint32_t planes = U16(info + 12);
  const uint32_t bits = U16(info + 14);
  const uint32_t compression = U32(info + 16);
  uint32_t colours = U32(info + 32);
  if (planes != 1 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return {};
  const bool topDown = rawHeight < 0;
  const int32_t height = std::abs(rawHeight);
  if (static_cast<int64_t>(width) * height > kMaxBmpPixels) return {};
  // 32 bits with the usual masks (blue, green, red in the low three bytes) read as plain.
  const bool plain32 = bits == 32 && (compression == kBiRgb || compression == kBiBitfields);
  if (!(compression == kBiRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 24)) && !plain32) return {};
  if (compression == kBiBitfields) {
    // The masks follow the 40-byte part of the header; only red, green, blue in that order is plain.
    if (static_cast<uint64_t>(kFileHeader) + 52 > size) return {};
    if (U32(info + 40) != 0xFF0000 || U32(info + 44) != 0xFF00 || U32(info + 48) != 0xFF) return {};
  }

  // Palette: after the header, 4 bytes an entry.
  const uint8_t* palette = info + infoSize;
  if (bits <= 8) {
    if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
    if (static_cast<uint64_t>(kFileHeader) + infoSize + 4ull * colours > size) return {};
  }
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (pixelsAt > size || stride * static_cast<uint64_t>(height) > size - pixelsAt) return {};

  Bitmap24 bitmap(width, height);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = data + pixelsAt + stride * static_cast<uint64_t>(topDown ? y : height - 1 - y);
    uint8_t* out = bitmap.Row(y);
    for (int32_t x = 0; x < width; ++x, out += 3) {
      const uint8_t* p;
      if (bits == 24) {
        p = row + 3 * x;
      } else if (bits == 32) {
        p = row + 4 * x;
      } else {
        const uint32_t perByte = 8 / bits;
        const uint32_t shift = 8 - bits * (1 + static_cast<uint32_t>(x) % perByte);
        uint32_t index = (row[static_cast<uint32_t>(x) / perByte] >> shift) & ((1u << bits) - 1);
        if (index >= colours) index = 0;
        p = palette + 4 * index;
      }
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
    }
  }
  return bitmap;
}

}  // namespace skin
