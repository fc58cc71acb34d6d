// An off-screen picture of 32-bit pixels (bits 16-23 red, 8-15 green, 0-7 blue) reached
// through a table of row addresses. Where the pixels live is up to a PixelStore: plain memory
// by default, a DIB section on Windows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace windows {

class PixelStore {
 public:
  virtual ~PixelStore() = default;
  // Storage for width x height pixels, rows top-down, width pixels apart, all zero;
  // earlier storage may be released. nullptr when width or height is 0.
  virtual std::uint32_t* Allocate(int width, int height) = 0;
};

class MemoryPixelStore : public PixelStore {
 public:
  std::uint32_t* Allocate(int width, int height) override;

 private:
  std::vector<std::uint32_t> pixels_;
};

class TDrawScreen {
 public:
  // store: where the pixels live (nullptr: plain memory owned by the screen).
  TDrawScreen(int width, int height, PixelStore* store = nullptr);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Each rebuilds the row table and clears every pixel.
  void SetWidth(int width) { Rebuild(width, height_); }
  void SetHeight(int height) { Rebuild(width_, height); }
  void SetSize(int width, int height) { Rebuild(width, height); }

  // No bounds checks: callers check.
  std::uint32_t Pixel(int x, int y) const { return rows_[y][x]; }
  void SetPixel(int x, int y, std::uint32_t value) { rows_[y][x] = value; }
  std::uint32_t* Row(int y) const { return rows_[y]; }

 private:
  void Rebuild(int width, int height);

  std::unique_ptr<MemoryPixelStore> own_;
  PixelStore* store_;
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t*> rows_;
};

}  // namespace windows
