#include "windows/water_effect.h"

#include <algorithm>
#include <utility>

namespace windows {

void TWaterEffect::SetSize(int width, int height) {
  if (width < 1 || height < 1) width = height = 0;
  width_ = width;
  height_ = height;
  const size_t cells = static_cast<size_t>(width) * height;
  bufferA_.assign(cells, 0);
  bufferB_.assign(cells, 0);
  rowsA_.resize(height);
  rowsB_.resize(height);
  for (int y = 0; y < height; ++y) {
    rowsA_[y] = bufferA_.data() + static_cast<size_t>(y) * width;
    rowsB_[y] = bufferB_.data() + static_cast<size_t>(y) * width;
  }
  current_ = rowsA_.data();
  previous_ = rowsB_.data();
  sourceRows_.assign(height, nullptr);
}

void TWaterEffect::Blob(int x, int y, int radius, int height) {
  if (x < 0 || x >= width_) {
    const int span = width_ - 2 * radius - 1;
    if (span <= 0) return;
    x = static_cast<int>(random_.Random(32767) % span) + radius + 1;
  }
  if (y < 0 || y >= height_) {
    const int span = height_ - 2 * radius - 1;
    if (span <= 0) return;
    y = static_cast<int>(random_.Random(32767) % span) + radius + 1;
  }
  const int r2 = radius * radius;
  for (int dy = -std::min(y, radius); dy <= std::min(height_ - 1 - y, radius); ++dy) {
    for (int dx = -std::min(x, radius); dx <= std::min(width_ - 1 - x, radius); ++dx) {
      if (dx * dx + dy * dy <= r2) current_[y + dy][x + dx] += height;
    }
  }
}

void TWaterEffect::Calc() {
  if (width_ == 0) return;
  const int f = (100 - Damping) * 256 / 100;
  const int lastX = width_ - 1, lastY = height_ - 1;
  for (int y = 0; y < height_; ++y) {
    const std::int32_t* up = current_[y > 0 ? y - 1 : 0];
    const std::int32_t* mid = current_[y];
    const std::int32_t* down = current_[y < lastY ? y + 1 : lastY];
    std::int32_t* out = previous_[y];
    auto cell = [&](int x, int l, int r) {
      const std::int32_t sum = up[l] + up[x] + up[r] + mid[l] + mid[r] + down[l] + down[x] + down[r];
      out[x] = (sum / 4 - out[x]) * f / 256;
    };
    // The edge columns clamp their neighbours; the interior needs no clamping.
    cell(0, 0, std::min(1, lastX));
    for (int x = 1; x < lastX; ++x) cell(x, x - 1, x + 1);
    if (lastX > 0) cell(lastX, lastX - 1, lastX);
  }
  std::swap(current_, previous_);
}

void TWaterEffect::Draw(const Bitmap24& source, const Bitmap24& target) {
  const int w = std::min({width_, source.width, target.width});
  const int h = std::min({height_, source.height, target.height});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) sourceRows_[y] = source.Row(y);
  const int lastX = width_ - 1, lastY = height_ - 1;
  for (int y = 0; y < h; ++y) {
    const std::int32_t* up = current_[y > 0 ? y - 1 : 0];
    const std::int32_t* mid = current_[y];
    const std::int32_t* down = current_[y < lastY ? y + 1 : lastY];
    std::uint8_t* out = target.Row(y);
    auto pixel = [&](int x, int l, int r) {
      const int dx = mid[l] - mid[r];
      const int dy = up[x] - down[x];
      const int sx = x + dx, sy = y + dy;
      std::uint8_t* t = out + 3 * x;
      if (sx < 0 || sy < 0 || sx >= w || sy >= h) {
        const std::uint8_t* s = sourceRows_[y] + 3 * x;
        t[0] = s[0];
        t[1] = s[1];
        t[2] = s[2];
        return;
      }
      const std::uint8_t* s = sourceRows_[sy] + 3 * sx;
      t[0] = static_cast<std::uint8_t>(std::clamp(s[0] - dx, 0, 255));
      t[1] = static_cast<std::uint8_t>(std::clamp(s[1] - dx, 0, 255));
      t[2] = static_cast<std::uint8_t>(std::clamp(s[2] - dx, 0, 255));
    };
    pixel(0, 0, std::min(1, lastX));
    const int interiorEnd = std::min(w, lastX);
    for (int x = 1; x < interiorEnd; ++x) pixel(x, x - 1, x + 1);
    for (int x = std::max(interiorEnd, 1); x < w; ++x) pixel(x, x - 1, std::min(x + 1, lastX));
  }
}

}  // namespace windows
