// A water-ripple simulation over two height buffers that refracts a 24-bit picture.
// Buffers and row tables are made by SetSize only; a frame allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "windows/random_source.h"

namespace windows {

// A 24-bit picture reached row by row: each row holds width pixels of blue, green, red.
// rowDistance is the byte distance from one row to the next (negative for bottom-up bitmaps).
struct Bitmap24 {
  std::uint8_t* bits = nullptr;  // row 0
  std::ptrdiff_t rowDistance = 0;
  int width = 0, height = 0;
  std::uint8_t* Row(int y) const { return bits + y * rowDistance; }
};

class TWaterEffect {
 public:
  explicit TWaterEffect(RandomSource& random = ProcessRandom()) : random_(random) {}

  // W or H below 1 gives 0 x 0. Both buffers are zeroed.
  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Adds height inside a disc of radius around (x, y), clipped to the buffer. A position
  // outside the buffer lands at random at least radius + 1 from the left and top edges; when
  // the buffer is too small for that in either direction, nothing happens.
  void Blob(int x, int y, int radius, int height);
  void Calc();
  // Refracts source into target over the area all three share; each bitmap keeps its own
  // row distance.
  void Draw(const Bitmap24& source, const Bitmap24& target);
  void Render(const Bitmap24& source, const Bitmap24& target) {
    Calc();
    Draw(source, target);
  }

  // The current and the other (previous) height buffer, for inspection and set-up.
  std::int32_t& Current(int x, int y) { return current_[y][x]; }
  std::int32_t& Previous(int x, int y) { return previous_[y][x]; }

  int Damping = 20;  // percent

 private:
  RandomSource& random_;
  int width_ = 0, height_ = 0;
  std::vector<std::int32_t> bufferA_, bufferB_;
  std::vector<std::int32_t*> rowsA_, rowsB_;
  std::int32_t** current_ = nullptr;
  std::int32_t** previous_ = nullptr;
  std::vector<const std::uint8_t*> sourceRows_;
};

}  // namespace windows
