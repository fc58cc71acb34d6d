// What the widgets' drawing routines draw on: rectangle fills, single pixels and copies of a
// part of the drawing. The Windows side draws on a device context; PixelCanvas draws into
// memory (tests, benchmarks), resolving system colours through a palette.
#pragma once

#include <vector>

#include "widgets/colors.h"

namespace widgets {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& r, TColor color) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;
  // Copies the pixels of source to the same size at (x, y).
  virtual void CopyRect(const Rect& source, int x, int y) = 0;
};

// A canvas over a W x H array of RGB values (0x00BBGGRR); drawing outside is clipped.
class PixelCanvas : public Canvas {
 public:
  PixelCanvas(int width, int height, TColor fill = clBlack, SystemColorSource system = {});
  void FillRect(const Rect& r, TColor color) override;
  void SetPixel(int x, int y, TColor color) override;
  void CopyRect(const Rect& source, int x, int y) override;

  TColor At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // How many fills, pixels and copies were drawn (drawing is counted, not only its result).
  int fills = 0, pixels = 0, copies = 0;

 private:
  int width_, height_;
  std::vector<TColor> pixels_;
  SystemColorSource system_;
};

}  // namespace widgets
