#include "windows/draw_screen.h"

#include <algorithm>

namespace windows {

std::uint32_t* MemoryPixelStore::Allocate(int width, int height) {
  pixels_.assign(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0), 0);
  return pixels_.empty() ? nullptr : pixels_.data();
}

TDrawScreen::TDrawScreen(int width, int height, PixelStore* store) : store_(store) {
  if (!store_) {
    own_ = std::make_unique<MemoryPixelStore>();
    store_ = own_.get();
  }
  Rebuild(width, height);
}

void TDrawScreen::Rebuild(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  std::uint32_t* bits = store_->Allocate(width_, height_);
  if (!bits) width_ = height_ = 0;
  rows_.resize(height_);
  for (int y = 0; y < height_; ++y) rows_[y] = bits + static_cast<size_t>(y) * width_;
}

}  // namespace windows
