#include "skin/skin_raster.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {
TRect Clip(const TRect& r, const Bitmap24& b) { return IntersectRects(r, {0, 0, b.Width(), b.Height()}); }
}  // namespace

void StretchPart(const Bitmap24& src, const TRect& sIn, Bitmap24& dst, const TRect& dIn) {
  const TRect s = Clip(sIn, src);
  const TRect d = Clip(dIn, dst);
  if (s.Empty() || d.Empty()) return;
  const int sw = sIn.Width(), sh = sIn.Height(), dw = dIn.Width(), dh = dIn.Height();
  std::vector<int> columns(static_cast<size_t>(d.Width()));
  for (int x = d.Left; x < d.Right; ++x) {
    const int sx = std::clamp(sIn.Left + static_cast<int>(static_cast<int64_t>(x - dIn.Left) * sw / dw), s.Left, s.Right - 1);
    columns[static_cast<size_t>(x - d.Left)] = sx * 3;
  }
  for (int y = d.Top; y < d.Bottom; ++y) {
    const int sy = std::clamp(sIn.Top + static_cast<int>(static_cast<int64_t>(y - dIn.Top) * sh / dh), s.Top, s.Bottom - 1);
    const uint8_t* from = src.Row(sy);
    uint8_t* to = dst.Row(y) + d.Left * 3;
    if (dw == sw && d.Left - dIn.Left == 0 && s.Width() >= d.Width()) {
      std::memcpy(to, from + columns[0], static_cast<size_t>(d.Width()) * 3);
      continue;
    }
    for (int i = 0; i < d.Width(); ++i, to += 3) {
      const uint8_t* p = from + columns[static_cast<size_t>(i)];
      to[0] = p[0];
      to[1] = p[1];
      to[2] = p[2];
    }
  }
}

void TilePart(const Bitmap24& src, const TRect& sIn, Bitmap24& dst, const TRect& dIn) {
  const TRect s = Clip(sIn, src);
  const TRect d = Clip(dIn, dst);
  if (s.Empty() || d.Empty()) return;
  for (int y = d.Top; y < d.Bottom; ++y) {
    const uint8_t* from = src.Row(s.Top + (y - dIn.Top) % s.Height());
    uint8_t* to = dst.Row(y);
    for (int x = d.Left; x < d.Right;) {
      const int sx = s.Left + (x - dIn.Left) % s.Width();
      const int run = std::min(s.Right - sx, d.Right - x);
      std::memcpy(to + x * 3, from + sx * 3, static_cast<size_t>(run) * 3);
      x += run;
    }
  }
}

Bitmap24 DrawSkinImage(const Bitmap24& bitmap, const TMargins& margins, bool stacked, bool tile, int frameCount,
                       int frame, int width, int height) {
  Bitmap24 out(width, height);
  if (out.Empty() || bitmap.Empty()) return out;
  const TRect source = FrameRect(bitmap.Width(), bitmap.Height(), frameCount, frame, stacked);
  for (const PartCopy& part : NinePartCopies(source, margins, width, height, tile)) {
    if (part.Tiled) TilePart(bitmap, part.Source, out, part.Dest);
    else StretchPart(bitmap, part.Source, out, part.Dest);
  }
  return out;
}

Bitmap24 DrawSkinObject(const TDataSkinObject& object, bool stacked, int frame, int width, int height) {
  return DrawSkinImage(object.Bitmap, object.Margins, stacked, object.Stretch == 1, object.FrameCount, frame, width,
                       height);
}

Bitmap24 DrawBorderImage(const TDataSkinObject& piece, bool stacked, int frame, int width, int height) {
  return DrawSkinImage(piece.Bitmap, piece.Margins, stacked, piece.Stretch != 1, piece.FrameCount, frame, width, height);
}

void DrawOver(Bitmap24& dst, int x, int y, const Bitmap24& src, bool transparent) {
  const TRect d = Clip({x, y, x + src.Width(), y + src.Height()}, dst);
  for (int row = d.Top; row < d.Bottom; ++row) {
    const uint8_t* from = src.Row(row - y) + (d.Left - x) * 3;
    uint8_t* to = dst.Row(row) + d.Left * 3;
    if (!transparent) {
      std::memcpy(to, from, static_cast<size_t>(d.Width()) * 3);
      continue;
    }
    for (int i = 0; i < d.Width(); ++i, from += 3, to += 3) {
      if (from[0] == 255 && from[1] == 0 && from[2] == 255) continue;
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
}

std::vector<TRect> OpaqueRuns(const Bitmap24& bitmap, int dx, int dy, int tolR, int tolG, int tolB, TColor colour) {
  const int r0 = RedOf(colour), g0 = GreenOf(colour), b0 = BlueOf(colour);
  const int r1 = std::min(r0 + tolR, 255), g1 = std::min(g0 + tolG, 255), b1 = std::min(b0 + tolB, 255);
  std::vector<TRect> runs;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* p = bitmap.Row(y);
    int start = -1;
    for (int x = 0; x <= bitmap.Width(); ++x, p += 3) {
      bool opaque = false;
      if (x < bitmap.Width()) {
        const int b = p[0], g = p[1], r = p[2];
        opaque = r < r0 || r > r1 || g < g0 || g > g1 || b < b0 || b > b1;
      }
      if (opaque && start < 0) start = x;
      if (!opaque && start >= 0) {
        runs.push_back({start + dx, y + dy, x + dx, y + 1 + dy});
        start = -1;
      }
    }
  }
  return runs;
}

TRect BorderPieceRect(int piece, const FrameBorders& b, int w, int h) {
  switch (piece) {
    // The side pieces run below the caption strip, which covers the top corners.
    case 1: return {0, b.Top, b.Left, h};
    case 2: return {w - b.Right, b.Top, w, h};
    case 3: return {0, 0, w, b.Top};
    default: return {b.Left, h - b.Bottom, w - b.Right, h};
  }
}

const TDataSkinObject& BorderPiece(const TSkinModel& model, int piece) {
  switch (piece) {
    case 1: return model.Left;
    case 2: return model.Right;
    case 3: return model.Top;
    default: return model.Bottom;
  }
}

std::optional<std::vector<TRect>> WindowRegionRects(const TSkinModel& model, const FrameBorders& borders, int width,
                                                    int height) {
  bool shaped = false;
  for (int piece = 1; piece <= 4; ++piece) shaped = shaped || BorderPiece(model, piece).Trans != 0;
  if (!shaped) return std::nullopt;
  std::vector<TRect> rects{{borders.Left, borders.Top, width - borders.Right, height - borders.Bottom}};
  for (int piece = 1; piece <= 4; ++piece) {
    const TDataSkinObject& object = BorderPiece(model, piece);
    const TRect place = BorderPieceRect(piece, borders, width, height);
    if (place.Empty()) continue;
    const int thickness = (piece <= 2) ? place.Width() : place.Height();
    if (object.Trans == 0 || thickness < 2 || object.Bitmap.Empty()) {
      rects.push_back(place);
      continue;
    }
    const Bitmap24 drawn = DrawBorderImage(object, piece >= 3, 1, place.Width(), place.Height());
    for (const TRect& run : OpaqueRuns(drawn, place.Left, place.Top, 1, 1, 1, kTransparentColour)) rects.push_back(run);
  }
  return rects;
}

}  // namespace skin
