// A 24-bit top-down DIB section in a memory DC, seen by the effects as a Bitmap24.
#pragma once

#include <windows.h>

#include "windows/water_effect.h"

namespace windows {

// A top-down DIB section of 24 or 32 bits per pixel, selected into a new memory DC;
// false (and nothing made) when either cannot be made.
bool MakeTopDownDib(int width, int height, int bitsPerPixel, HBITMAP& bitmap, HDC& dc, HGDIOBJ& old, void*& bits);

class Dib24 {
 public:
  Dib24() = default;
  ~Dib24() { Reset(); }
  Dib24(const Dib24&) = delete;
  Dib24& operator=(const Dib24&) = delete;

  // A new picture of the size, black; false when it cannot be made.
  bool Make(int width, int height);
  // A copy of a bitmap (any format, selected into no DC) at its own size.
  bool CopyFrom(HBITMAP source);
  // A copy of another picture (its bitmap stays selected in its DC).
  bool CopyFrom(const Dib24& source);
  void Reset();

  HDC dc() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }
  int Width() const { return view_.width; }
  int Height() const { return view_.height; }
  const Bitmap24& View() const { return view_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  Bitmap24 view_;
};

}  // namespace windows
