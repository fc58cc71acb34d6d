#include "widgets/canvas.h"

#include <algorithm>

namespace widgets {

PixelCanvas::PixelCanvas(int width, int height, TColor fill, SystemColorSource system)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, ResolveColor(fill, system)),
      system_(std::move(system)) {}

void PixelCanvas::FillRect(const Rect& r, TColor color) {
  ++fills;
  const TColor rgb = ResolveColor(color, system_);
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
    for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) pixels_[static_cast<size_t>(y) * width_ + x] = rgb;
  }
}

void PixelCanvas::SetPixel(int x, int y, TColor color) {
  ++pixels;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = ResolveColor(color, system_);
}

void PixelCanvas::CopyRect(const Rect& source, int x, int y) {
  ++copies;
  const std::vector<TColor> before = pixels_;
  for (int sy = source.top; sy < source.bottom; ++sy) {
    for (int sx = source.left; sx < source.right; ++sx) {
      const int tx = x + sx - source.left, ty = y + sy - source.top;
      if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_ || tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      pixels_[static_cast<size_t>(ty) * width_ + tx] = before[static_cast<size_t>(sy) * width_ + sx];
    }
  }
}

}  // namespace widgets
