// The skin's pictures in memory: 24 bits a pixel (blue, green, red), rows from the top,
// no padding. The Windows side turns one into a device bitmap when it paints.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/skin_colors.h"

namespace skin {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

TRect IntersectRects(const TRect& a, const TRect& b);

class Bitmap24 {
 public:
  Bitmap24() = default;
  // A bitmap of that size filled with colour (a plain colour, resolved by the caller).
  Bitmap24(int width, int height, TColor fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  void Clear() { *this = Bitmap24(); }

  TColor Pixel(int x, int y) const {
    const uint8_t* p = &bgr_[Offset(x, y)];
    return RGBColor(p[2], p[1], p[0]);
  }
  void SetPixel(int x, int y, TColor color) {
    uint8_t* p = &bgr_[Offset(x, y)];
    p[0] = static_cast<uint8_t>(BlueOf(color));
    p[1] = static_cast<uint8_t>(GreenOf(color));
    p[2] = static_cast<uint8_t>(RedOf(color));
  }
  uint8_t* Row(int y) { return &bgr_[Offset(0, y)]; }
  const uint8_t* Row(int y) const { return &bgr_[Offset(0, y)]; }
  const std::vector<uint8_t>& Bytes() const { return bgr_; }

  // The part (x, y, width, height), clipped to the bitmap.
  Bitmap24 Copy(int x, int y, int width, int height) const;
  bool operator==(const Bitmap24&) const = default;

 private:
  size_t Offset(int x, int y) const {
    return (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
  }
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> bgr_;
};

}  // namespace skin
