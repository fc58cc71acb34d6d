// Windows bitmap files (.bmp) as the skins carry them: uncompressed, 1, 4, 8, 24 or 32 bits
// a pixel, rows bottom-up or top-down. Anything else, or anything that does not fit its
// own data, reads as an empty image.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/bitmap24.h"

namespace skin {

// Pictures larger than this many pixels are refused (an empty image).
inline constexpr int64_t kMaxBmpPixels = 16 << 20;

Bitmap24 ReadBmp(const uint8_t* data, size_t size);

}  // namespace skin
