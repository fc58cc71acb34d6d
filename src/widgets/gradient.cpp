#include "widgets/gradient.h"

#include <algorithm>
#include <cstdint>

namespace widgets {

namespace {
int Channel(int c0, int c1, int i, int n) {
  if (n <= 1) return c0;
  const std::int64_t delta = (static_cast<std::int64_t>(c1 - c0) * 65536) / (n - 1);
  const std::int64_t v = static_cast<std::int64_t>(c0) * 65536 + i * delta + 0x8000;
  return std::clamp(static_cast<int>(v / 65536), 0, 255);
}

// Fills a run of length n along one axis: fill(from, to, colour) for each band of one colour.
template <class Fill>
void Run(TColor start, TColor stop, int n, int step, int first, int count, bool reversed, Fill fill) {
  int bandStart = 0;
  TColor bandColor = 0;
  for (int k = 0; k < count; ++k) {
    const int i = reversed ? (count - 1 - k) : k;
    const TColor c = RunColor(start, stop, first + i, n, step);
    if (k == 0) {
      bandColor = c;
    } else if (c != bandColor) {
      fill(bandStart, k, bandColor);
      bandStart = k;
      bandColor = c;
    }
  }
  if (count > 0) fill(bandStart, count, bandColor);
}

// Copies the first `done` columns (or rows) across the rest by doubling.
void DoubleAcross(Canvas& canvas, const Rect& r, int done, bool columns) {
  const int total = columns ? r.Width() : r.Height();
  while (done < total) {
    const int n = std::min(done, total - done);
    if (columns) {
      canvas.CopyRect({r.left, r.top, r.left + n, r.bottom}, r.left + done, r.top);
    } else {
      canvas.CopyRect({r.left, r.top, r.right, r.top + n}, r.left, r.top + done);
    }
    done += n;
  }
}

void PaintBands(Canvas& canvas, const Rect& r, bool horizontalBands, bool centred, int step, TColor start,
                TColor stop) {
  const int length = horizontalBands ? r.Height() : r.Width();
  const int thickness = std::min(8, horizontalBands ? r.Width() : r.Height());
  auto fill = [&](int from, int to, TColor c, int offset) {
    if (horizontalBands) {
      canvas.FillRect({r.left, r.top + offset + from, r.left + thickness, r.top + offset + to}, c);
    } else {
      canvas.FillRect({r.left + offset + from, r.top, r.left + offset + to, r.top + thickness}, c);
    }
  };
  if (!centred) {
    Run(start, stop, length, step, 0, length, false, [&](int a, int b, TColor c) { fill(a, b, c, 0); });
  } else {
    // The stop colour in the middle, the start colour at both edges.
    const int mid = (length - 1) / 2;
    Run(start, stop, mid + 1, step, 0, mid + 1, false, [&](int a, int b, TColor c) { fill(a, b, c, 0); });
    const int rest = length - mid - 1;
    Run(start, stop, rest + 1, step, 0, rest, true, [&](int a, int b, TColor c) { fill(a, b, c, mid + 1); });
  }
  DoubleAcross(canvas, r, thickness, horizontalBands);
}

void PaintBoxes(Canvas& canvas, const Rect& r, TGradientDirection d, int step, TColor start, TColor stop) {
  const int w = r.Width(), h = r.Height();
  canvas.FillRect(r, start);
  if (start == stop || w < 5 || h <= 4) return;
  const int halfW = (w + 1) / 2, halfH = (h + 1) / 2;
  const bool quarterW = d == TGradientDirection::gdHorizontalBox || d == TGradientDirection::gdBigSquareBox;
  const bool quarterH = d == TGradientDirection::gdVerticalBox || d == TGradientDirection::gdBigSquareBox;
  const int insetX = quarterW ? w / 4 : halfW - 1;
  const int insetY = quarterH ? h / 4 : halfH - 1;
  const int rings = std::max({insetX, insetY, 1});
  TColor last = start;
  for (int k = 1; k <= rings; ++k) {
    const TColor c = RunColor(start, stop, k, rings + 1, step);
    if (c == last && k < rings) continue;
    last = c;
    const int ix = k * insetX / rings, iy = k * insetY / rings;
    canvas.FillRect({r.left + ix, r.top + iy, r.right - ix, r.bottom - iy}, c);
  }
}

void PaintDiagonal(Canvas& canvas, const Rect& r, bool down, int step, TColor start, TColor stop) {
  const int w = r.Width(), h = r.Height();
  if (start == stop) {
    canvas.FillRect(r, start);
    return;
  }
  const int n = w + h - 1;
  for (int y = 0; y < h; ++y) {
    // Along a row the position in the run changes by one per pixel: rising to the right
    // (up), or falling (down, the mirror image).
    Run(start, stop, n, step, h - 1 - y, w, down, [&](int a, int b, TColor c) {
      canvas.FillRect({r.left + a, r.top + y, r.left + b, r.top + y + 1}, c);
    });
  }
}
}  // namespace

TColor RunColor(TColor start, TColor stop, int i, int n, int step) {
  if (step > 8 && n > 1) {
    const int merged = 255 / step;  // colour changes per band
    const int bandLength = std::max(1, (n - 1) * merged / 255);
    i = std::min(n - 1, i / bandLength * bandLength);
  }
  return Rgb(Channel(RedOf(start), RedOf(stop), i, n), Channel(GreenOf(start), GreenOf(stop), i, n),
             Channel(BlueOf(start), BlueOf(stop), i, n));
}

void PaintGradient(Canvas& canvas, const Rect& r, TGradientDirection direction, int step, TColor start,
                   TColor stop, const SystemColorSource& system) {
  if (r.Empty()) return;
  start = ResolveColor(start, system);
  stop = ResolveColor(stop, system);
  switch (direction) {
    case TGradientDirection::gdHorizontalEnd: PaintBands(canvas, r, true, false, step, start, stop); return;
    case TGradientDirection::gdHorizontalCenter: PaintBands(canvas, r, true, true, step, start, stop); return;
    case TGradientDirection::gdVerticalEnd: PaintBands(canvas, r, false, false, step, start, stop); return;
    case TGradientDirection::gdVerticalCenter: PaintBands(canvas, r, false, true, step, start, stop); return;
    case TGradientDirection::gdDiagonalUp: PaintDiagonal(canvas, r, false, step, start, stop); return;
    case TGradientDirection::gdDiagonalDown: PaintDiagonal(canvas, r, true, step, start, stop); return;
    default: PaintBoxes(canvas, r, direction, step, start, stop); return;
  }
}

}  // namespace widgets
