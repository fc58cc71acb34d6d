#include "skin/skin_gdi_win32.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {
uint32_t SystemColour(int index) { return GetSysColor(index); }
}  // namespace

COLORREF ToColorRef(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF; }

void UseSystemColours() { SetSystemColorSource(&SystemColour); }

Offscreen::Offscreen(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  bits_ = static_cast<uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
}

Offscreen::~Offscreen() {
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

void Offscreen::Put(const Bitmap24& picture, int x, int y, bool transparent) {
  if (!bits_) return;
  GdiFlush();
  const TRect d = IntersectRects({x, y, x + picture.Width(), y + picture.Height()}, {0, 0, width_, height_});
  for (int row = d.Top; row < d.Bottom; ++row) {
    const uint8_t* from = picture.Row(row - y) + (d.Left - x) * 3;
    uint32_t* to = bits_ + static_cast<size_t>(row) * static_cast<size_t>(width_) + d.Left;
    for (int i = 0; i < d.Width(); ++i, from += 3, ++to) {
      if (transparent && from[0] == 255 && from[1] == 0 && from[2] == 255) continue;
      *to = static_cast<uint32_t>(from[0]) | static_cast<uint32_t>(from[1]) << 8 | static_cast<uint32_t>(from[2]) << 16;
    }
  }
}

void Offscreen::Fill(const RECT& r, COLORREF colour) {
  if (!dc_) return;
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void Offscreen::BlitTo(HDC target, int x, int y) const {
  if (dc_) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

Bitmap24 Offscreen::Read() const {
  Bitmap24 out(width_, height_);
  if (!bits_) return out;
  GdiFlush();
  for (int y = 0; y < height_; ++y) {
    const uint32_t* from = bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
    uint8_t* to = out.Row(y);
    for (int x = 0; x < width_; ++x, to += 3) {
      to[0] = static_cast<uint8_t>(from[x]);
      to[1] = static_cast<uint8_t>(from[x] >> 8);
      to[2] = static_cast<uint8_t>(from[x] >> 16);
    }
  }
  return out;
}

HRGN RegionFromRects(const std::vector<TRect>& rects) {
  constexpr size_t kBatch = 2000;
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  std::vector<uint8_t> buffer;
  for (size_t first = 0; first < rects.size(); first += kBatch) {
    const size_t count = std::min(kBatch, rects.size() - first);
    buffer.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < count; ++i) {
      const TRect& r = rects[first + i];
      out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
      bounds.left = std::min(bounds.left, static_cast<LONG>(r.Left));
      bounds.top = std::min(bounds.top, static_cast<LONG>(r.Top));
      bounds.right = std::max(bounds.right, static_cast<LONG>(r.Right));
      bounds.bottom = std::max(bounds.bottom, static_cast<LONG>(r.Bottom));
    }
    data->rdh.rcBound = bounds;
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
    if (part) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result;
}

}  // namespace skin
