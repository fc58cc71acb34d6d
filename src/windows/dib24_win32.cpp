#include "windows/dib24_win32.h"

namespace windows {

void Dib24::Reset() {
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  view_ = {};
}

bool Dib24::Make(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_ || !bits) {
    Reset();
    return false;
  }
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  // Rows of a DIB are padded to 4 bytes.
  view_ = {static_cast<std::uint8_t*>(bits), static_cast<std::ptrdiff_t>((width * 3 + 3) & ~3), width, height};
  return true;
}

bool Dib24::CopyFrom(HBITMAP source) {
  BITMAP bm{};
  if (!source || !GetObjectW(source, sizeof bm, &bm) || !Make(bm.bmWidth, bm.bmHeight)) return false;
  HDC from = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(from, source);
  BitBlt(dc_, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
  SelectObject(from, old);
  DeleteDC(from);
  GdiFlush();
  return true;
}

bool Dib24::CopyFrom(const Dib24& source) {
  if (!source.dc_ || !Make(source.Width(), source.Height())) return false;
  BitBlt(dc_, 0, 0, source.Width(), source.Height(), source.dc_, 0, 0, SRCCOPY);
  GdiFlush();
  return true;
}

}  // namespace windows
