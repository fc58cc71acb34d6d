#include "skin/image_routines.h"

#include <algorithm>

namespace skin {

void ReplaceMagenta(Bitmap24& bitmap, TColor color) {
  const TColor rgb = ColorToRGB(color);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = static_cast<uint8_t>(BlueOf(rgb));
        p[1] = static_cast<uint8_t>(GreenOf(rgb));
        p[2] = static_cast<uint8_t>(RedOf(rgb));
      }
    }
  }
}

void MirrorBitmap(Bitmap24& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int l = 0, r = bitmap.Width() - 1; l < r; ++l, --r) std::swap_ranges(row + 3 * l, row + 3 * l + 3, row + 3 * r);
  }
}

void FlipBitmap(Bitmap24& bitmap) {
  const size_t rowBytes = static_cast<size_t>(bitmap.Width()) * 3;
  for (int t = 0, b = bitmap.Height() - 1; t < b; ++t, --b) std::swap_ranges(bitmap.Row(t), bitmap.Row(t) + rowBytes, bitmap.Row(b));
}

TColor BlendColors(TColor color1, TColor color2, int amount) {
  const TColor a = ColorToRGB(color1);
  const TColor b = ColorToRGB(color2);
  const int scale = amount < 100 ? 100 : 1000;
  auto mix = [&](int x, int y) { return (x * amount + y * (scale - amount) + scale / 2) / scale; };
  return RGBColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

int ColorSaturation(TColor color) {
  const TColor c = ColorToRGB(color);
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  return ((high - low) * 255 + high / 2) / high;
}

Dib32 ToDib32(const Bitmap24& bitmap) {
  Dib32 dib{bitmap.Width(), bitmap.Height(), {}};
  dib.pixels.resize(static_cast<size_t>(dib.width) * static_cast<size_t>(dib.height));
  for (int y = 0; y < dib.height; ++y) {
    const uint8_t* p = bitmap.Row(y);
    uint32_t* out = &dib.pixels[static_cast<size_t>(dib.height - 1 - y) * static_cast<size_t>(dib.width)];
    for (int x = 0; x < dib.width; ++x, p += 3) out[x] = p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16;
  }
  return dib;
}

Bitmap24 FromDib32(const Dib32& dib) {
  Bitmap24 bitmap(dib.width, dib.height);
  for (int y = 0; y < dib.height; ++y) {
    uint8_t* p = bitmap.Row(y);
    const uint32_t* in = &dib.pixels[static_cast<size_t>(dib.height - 1 - y) * static_cast<size_t>(dib.width)];
    for (int x = 0; x < dib.width; ++x, p += 3) {
      p[0] = static_cast<uint8_t>(in[x]);
      p[1] = static_cast<uint8_t>(in[x] >> 8);
      p[2] = static_cast<uint8_t>(in[x] >> 16);
    }
  }
  return bitmap;
}

namespace {

// Rows of a Dib32 count from the bottom: (x, y) from the top is pixels[(h - 1 - y) * w + x].
void Turn(Bitmap24& bitmap, bool clockwise) {
  const Dib32 source = ToDib32(bitmap);
  const int w = source.width, h = source.height;
  Dib32 turned{h, w, std::vector<uint32_t>(source.pixels.size())};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t pixel = source.pixels[static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
      // Clockwise, (x, y) goes to (h - 1 - y, x); anticlockwise to (y, w - 1 - x).
      const int nx = clockwise ? h - 1 - y : y;
      const int ny = clockwise ? x : w - 1 - x;
      turned.pixels[static_cast<size_t>(w - 1 - ny) * static_cast<size_t>(h) + static_cast<size_t>(nx)] = pixel;
    }
  }
  bitmap = FromDib32(turned);
}

}  // namespace

void TurnBitmapRight(Bitmap24& bitmap) { Turn(bitmap, true); }
void TurnBitmapLeft(Bitmap24& bitmap) { Turn(bitmap, false); }

}  // namespace skin
