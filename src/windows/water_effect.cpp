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

namespace {
void InteriorRow(const std::int32_t* __restrict up, const std::int32_t* __restrict mid,
                 const std::int32_t* __restrict down, std::int32_t* __restrict out, int lastX, int f) {
  for (int x = 1; x < lastX; ++x) {
    const std::int32_t sum = up[x - 1] + up[x] + up[x + 1] + mid[x - 1] + mid[x + 1] + down[x - 1] + down[x] + down[x + 1];
    out[x] = (sum / 4 - out[x]) * f / 256;
  }
}
}  // namespace

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
    // The edge columns clamp their neighbours; the interior needs no clamping. The two buffers
    // never overlap, which lets the compiler work on several cells at once.
    cell(0, 0, std::min(1, lastX));
    InteriorRow(up, mid, down, out, lastX, f);
    if (lastX > 0) cell(lastX, lastX - 1, lastX);
  }
  std::swap(current_, previous_);
}

namespace {
inline std::uint8_t Shifted(std::uint8_t channel, int dx) {
  const int v = channel - dx;
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One row of the refraction from x = first to x < end; l and r are the neighbour columns of
// x (clamped only at the buffer's edges, which the caller handles apart).
struct RefractionRow {
  const std::int32_t* up;
  const std::int32_t* mid;
  const std::int32_t* down;
  const std::uint8_t* const* rows;  // source rows
  std::uint8_t* out;
  int y, w, h;

  void At(int x, int l, int r) const {
    const int dx = mid[l] - mid[r];
    const int dy = up[x] - down[x];
    const int sx = x + dx, sy = y + dy;
    std::uint8_t* __restrict t = out + 3 * x;
    if (static_cast<unsigned>(sx) >= static_cast<unsigned>(w) || static_cast<unsigned>(sy) >= static_cast<unsigned>(h)) {
      const std::uint8_t* s = rows[y] + 3 * x;
      t[0] = s[0];
      t[1] = s[1];
      t[2] = s[2];
      return;
    }
    const std::uint8_t* __restrict s = rows[sy] + 3 * sx;
    t[0] = Shifted(s[0], dx);
    t[1] = Shifted(s[1], dx);
    t[2] = Shifted(s[2], dx);
  }
};
}  // namespace

void TWaterEffect::Draw(const Bitmap24& source, const Bitmap24& target) {
  const int w = std::min({width_, source.width, target.width});
  const int h = std::min({height_, source.height, target.height});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) sourceRows_[y] = source.Row(y);
  const int lastX = width_ - 1, lastY = height_ - 1;
  const int interiorEnd = std::min(w, lastX);
  for (int y = 0; y < h; ++y) {
    const RefractionRow row{current_[y > 0 ? y - 1 : 0], current_[y], current_[y < lastY ? y + 1 : lastY],
                            sourceRows_.data(), target.Row(y), y, w, h};
    row.At(0, 0, std::min(1, lastX));
    for (int x = 1; x < interiorEnd; ++x) row.At(x, x - 1, x + 1);
    for (int x = std::max(interiorEnd, 1); x < w; ++x) row.At(x, x - 1, std::min(x + 1, lastX));
  }
}

}  // namespace windows
