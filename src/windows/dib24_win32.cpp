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

bool MakeTopDownDib(int width, int height, int bitsPerPixel, HBITMAP& bitmap, HDC& dc, HGDIOBJ& old, void*& bits) {
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  bits = nullptr;
  bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
    return false;
  }
  dc = CreateCompatibleDC(nullptr);
  old = SelectObject(dc, bitmap);
  return true;
}

bool Dib24::Make(int width, int height) {
  Reset();
  void* bits = nullptr;
  if (!MakeTopDownDib(width, height, 24, bitmap_, dc_, old_, bits)) return false;
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
