// GDI for the skin engine: skin colours as COLORREF, off-screen pictures that take the
// portable Bitmap24 and GDI text alike, and regions made of many rectangles.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/bitmap24.h"
#include "skin/skin_colors.h"

namespace skin {

// A skin colour (a plain colour or a system colour reference) as GDI takes it.
COLORREF ToColorRef(TColor color);
// System colours resolve through GetSysColor from now on.
void UseSystemColours();

// A 32-bit top-down device-independent picture with its memory DC: the skin's pictures are
// copied in, GDI draws on it, and one BitBlt shows the result.
class Offscreen {
 public:
  Offscreen(int width, int height);
  ~Offscreen();
  Offscreen(const Offscreen&) = delete;
  Offscreen& operator=(const Offscreen&) = delete;

  HDC dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Valid() const { return dc_ != nullptr; }
  // Copies a picture to (x, y), leaving magenta out when transparent; clipped.
  void Put(const Bitmap24& picture, int x, int y, bool transparent = false);
  void Fill(const RECT& r, COLORREF colour);
  void BlitTo(HDC target, int x, int y) const;
  // The pixels back as a portable picture (tests and the menu rows' backgrounds).
  Bitmap24 Read() const;

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// A region that is the union of the rectangles, made in batches of 2000 (ExtCreateRegion).
HRGN RegionFromRects(const std::vector<TRect>& rects);

}  // namespace skin
