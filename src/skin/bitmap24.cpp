#include "skin/bitmap24.h"

#include <algorithm>
#include <cstring>

namespace skin {

TRect IntersectRects(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  return r.Empty() ? TRect{} : r;
}

Bitmap24::Bitmap24(int width, int height, TColor fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  bgr_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0; i < bgr_.size(); i += 3) {
    bgr_[i] = static_cast<uint8_t>(BlueOf(fill));
    bgr_[i + 1] = static_cast<uint8_t>(GreenOf(fill));
    bgr_[i + 2] = static_cast<uint8_t>(RedOf(fill));
  }
}

Bitmap24 Bitmap24::Copy(int x, int y, int width, int height) const {
  const TRect part = IntersectRects({x, y, x + width, y + height}, {0, 0, width_, height_});
  Bitmap24 out(part.Width(), part.Height());
  for (int row = 0; row < out.Height(); ++row) {
    std::memcpy(out.Row(row), &bgr_[Offset(part.Left, part.Top + row)], static_cast<size_t>(out.Width()) * 3);
  }
  return out;
}

}  // namespace skin
