#include "windows/pictures/dib_check.h"

#include <bit>

namespace windows {

namespace {
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
         std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool KnownHeaderSize(std::uint32_t size) {
  // BITMAPINFOHEADER, the two Adobe variants with masks, BITMAPV4HEADER, BITMAPV5HEADER.
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A colour mask's channel as 8 bits: the mask's bits scaled to 0..255.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint32_t top = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>((value * 255u + top / 2) / top);
}
}  // namespace

std::u16string DibErrorText(DibError error) {
  switch (error) {
    case DibError::None: return u"";
    case DibError::TooShort:
    case DibError::BadHeader: return u"图片数据的文件头无法识别";
    case DibError::BadSize: return u"图片的宽度或高度无效";
    case DibError::BadPlanes:
    case DibError::BadBitCount: return u"图片的颜色位数无法识别";
    case DibError::BadCompression: return u"不支持压缩格式的图片数据";
    case DibError::BadColors: return u"图片的调色板无效";
    case DibError::Truncated: return u"图片数据不完整";
    case DibError::TooLarge: return u"图片太大（超过256MB），无法处理";
  }
  return u"图片数据无效";
}

DibCheck CheckDib(std::span<const std::uint8_t> bytes) {
  DibCheck check;
  DibInfo& info = check.info;
  auto fail = [&](DibError e) {
    check.error = e;
    return check;
  };
  if (bytes.size() < 40) return fail(DibError::TooShort);
  const std::uint32_t headerSize = U32(bytes, 0);
  if (!KnownHeaderSize(headerSize)) return fail(DibError::BadHeader);
  if (bytes.size() < headerSize) return fail(DibError::TooShort);
  const std::int32_t width = static_cast<std::int32_t>(U32(bytes, 4));
  const std::int32_t height = static_cast<std::int32_t>(U32(bytes, 8));
  if (width <= 0 || height == 0 || height == INT32_MIN) return fail(DibError::BadSize);
  if (U16(bytes, 12) != 1) return fail(DibError::BadPlanes);
  const int bitCount = U16(bytes, 14);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return fail(DibError::BadBitCount);
  }
  const std::uint32_t compression = U32(bytes, 16);
  if (compression != kBiRgb && !(compression == kBiBitfields && (bitCount == 16 || bitCount == 32))) {
    return fail(DibError::BadCompression);
  }
  info.width = width;
  info.height = height < 0 ? -height : height;
  info.topDown = height < 0;
  info.bitCount = bitCount;
  info.compression = compression;
  info.headerSize = headerSize;

  // The pixels as 32 bits each, and the rows as stored, must both stay under the limit.
  const std::uint64_t stride = (std::uint64_t(width) * std::uint64_t(bitCount) + 31) / 32 * 4;
  const std::uint64_t rowBytes = stride * std::uint64_t(info.height);
  if (std::uint64_t(width) * std::uint64_t(info.height) * 4 > kMaxPictureBytes || rowBytes > kMaxPictureBytes) {
    return fail(DibError::TooLarge);
  }
  info.stride = static_cast<std::size_t>(stride);

  std::size_t at = headerSize;
  if (compression == kBiBitfields) {
    if (headerSize == 40) {
      info.maskBytes = 12;
      if (bytes.size() < at + 12) return fail(DibError::Truncated);
    }
    // In the longer headers the masks are part of the header, at the same place.
    info.masks = {U32(bytes, 40), U32(bytes, 44), U32(bytes, 48)};
    at += info.maskBytes;
  } else if (bitCount == 16) {
    info.masks = {0x7C00, 0x03E0, 0x001F};
  } else if (bitCount == 32) {
    info.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  }

  const std::uint32_t used = U32(bytes, 32);
  if (bitCount <= 8) {
    const std::uint32_t most = 1u << bitCount;
    if (used > most) return fail(DibError::BadColors);
    info.colorCount = used == 0 ? most : used;
  } else {
    // Deeper pictures may carry a table for palette devices; it is skipped, never read.
    if (used > 256) return fail(DibError::BadColors);
    info.colorCount = used;
  }
  info.colorOffset = at;
  at += info.colorCount * 4;
  info.pixelOffset = at;
  if (bytes.size() < at || bytes.size() - at < rowBytes) return fail(DibError::Truncated);
  info.totalBytes = at + static_cast<std::size_t>(rowBytes);
  return check;
}

void DibRowToRgb(std::span<const std::uint8_t> dib, const DibInfo& info, int y, std::uint8_t* rgb) {
  const int stored = info.topDown ? y : info.height - 1 - y;
  const std::uint8_t* row = dib.data() + info.pixelOffset + std::size_t(stored) * info.stride;
  const std::uint8_t* colors = dib.data() + info.colorOffset;
  auto fromTable = [&](unsigned index, std::uint8_t* out) {
    if (index >= info.colorCount) {
      out[0] = out[1] = out[2] = 0;  // an index past the table shows black
      return;
    }
    const std::uint8_t* quad = colors + index * 4;  // blue, green, red, reserved
    out[0] = quad[2];
    out[1] = quad[1];
    out[2] = quad[0];
  };
  if (info.bitCount == 32 && info.masks == std::array<std::uint32_t, 3>{0x00FF0000, 0x0000FF00, 0x000000FF}) {
    // The common clipboard picture: blue, green, red, unused bytes; no mask arithmetic needed.
    for (int x = 0; x < info.width; ++x, rgb += 3, row += 4) {
      rgb[0] = row[2];
      rgb[1] = row[1];
      rgb[2] = row[0];
    }
    return;
  }
  for (int x = 0; x < info.width; ++x, rgb += 3) {
    switch (info.bitCount) {
      case 1: fromTable((row[x >> 3] >> (7 - (x & 7))) & 1, rgb); break;
      case 4: fromTable((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F, rgb); break;
      case 8: fromTable(row[x], rgb); break;
      case 16:
      case 32: {
        const std::uint8_t* p = row + std::size_t(x) * (info.bitCount / 8);
        const std::uint32_t pixel = info.bitCount == 16
                                        ? std::uint32_t(p[0] | p[1] << 8)
                                        : std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                              std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
        rgb[0] = Channel(pixel, info.masks[0]);
        rgb[1] = Channel(pixel, info.masks[1]);
        rgb[2] = Channel(pixel, info.masks[2]);
        break;
      }
      default: {  // 24
        const std::uint8_t* p = row + std::size_t(x) * 3;
        rgb[0] = p[2];
        rgb[1] = p[1];
        rgb[2] = p[0];
      }
    }
  }
}

}  // namespace windows
