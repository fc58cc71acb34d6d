// Pictures of what the screen shows in a window's rectangle, read pixel by pixel and kept as
// BMP files below the test scratch folder ("screenshots").
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

class ScreenShot {
 public:
  // The screen inside the window's rectangle (frame included).
  static ScreenShot OfWindow(HWND window);
  // The screen inside the window's client area; pixels at client coordinates.
  static ScreenShot OfClient(HWND window);
  // Pixel at window (or, for OfClient, client) coordinates, as COLORREF.
  COLORREF At(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Pixels inside r (window coordinates) for which pick is true.
  template <class Pick>
  int Count(const RECT& r, Pick pick) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += pick(At(x, y)) ? 1 : 0;
    }
    return n;
  }
  // Pixels inside r that differ from the other picture.
  int Differences(const ScreenShot& other, const RECT& r) const;
  // Writes the picture as <scratch>/screenshots/<name>.bmp; returns the path.
  std::filesystem::path Save(const std::string& name) const;

 private:
  static ScreenShot OfScreenRect(const RECT& r);

  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top-down
};

// A child window's rectangle in the coordinates of a window that contains it (frame included).
RECT RectInWindow(HWND child, HWND window);

}  // namespace e2e
