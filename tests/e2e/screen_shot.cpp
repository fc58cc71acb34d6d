#include "screen_shot.h"

#include <fstream>

namespace e2e {

ScreenShot ScreenShot::OfScreenRect(const RECT& r) {
  ScreenShot shot;
  shot.width_ = r.right - r.left;
  shot.height_ = r.bottom - r.top;
  if (shot.width_ <= 0 || shot.height_ <= 0) return shot;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width_;
  info.bmiHeader.biHeight = -shot.height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.width_, shot.height_, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  shot.pixels_.assign(p, p + static_cast<size_t>(shot.width_) * shot.height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

ScreenShot ScreenShot::OfWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return OfScreenRect(r);
}

ScreenShot ScreenShot::OfClient(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return OfScreenRect(r);
}

COLORREF ScreenShot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const std::uint32_t v = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int ScreenShot::Differences(const ScreenShot& other, const RECT& r) const {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += At(x, y) != other.At(x, y);
  }
  return n;
}

std::filesystem::path ScreenShot::Save(const std::string& name) const {
  const std::filesystem::path folder = std::filesystem::path(QUILL_SCRATCH_DIR) / "screenshots";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / (name + ".bmp");
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width_;
  ih.biHeight = -height_;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  const DWORD bytes = static_cast<DWORD>(pixels_.size() * 4);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + bytes;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
  out.write(reinterpret_cast<const char*>(pixels_.data()), bytes);
  return file;
}

RECT RectInWindow(HWND child, HWND window) {
  RECT c{}, w{};
  GetWindowRect(child, &c);
  GetWindowRect(window, &w);
  return {c.left - w.left, c.top - w.top, c.right - w.left, c.bottom - w.top};
}

}  // namespace e2e
