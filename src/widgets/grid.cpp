#include "widgets/grid.h"

namespace widgets {

namespace {
int Count(int extent, int size) { return size < 1 ? 0 : extent / size; }
}  // namespace

std::vector<Point> GridDots(const Rect& r, int xSize, int ySize) {
  std::vector<Point> dots;
  const int nx = Count(r.Width(), xSize), ny = Count(r.Height(), ySize);
  for (int i = 1; i <= nx; ++i) {
    for (int j = 1; j <= ny; ++j) dots.push_back({r.left - 1 + xSize * i, r.top - 1 + ySize * j});
  }
  return dots;
}

std::vector<GridLine> GridLines(const Rect& r, int xSize, int ySize) {
  std::vector<GridLine> lines;
  const int nx = Count(r.Width(), xSize), ny = Count(r.Height(), ySize);
  for (int i = 1; i <= nx; ++i) {
    const int x = r.left - 1 + xSize * i;
    lines.push_back({{x, r.top}, {x, r.bottom}});
  }
  for (int j = 1; j <= ny; ++j) {
    const int y = r.top - 1 + ySize * j;
    lines.push_back({{r.left, y}, {r.right, y}});
  }
  return lines;
}

std::vector<Point> DottedLinePixels(const GridLine& line) {
  std::vector<Point> pixels;
  if (line.from.x == line.to.x) {
    for (int y = line.from.y + 1; y < line.to.y; y += 2) pixels.push_back({line.from.x, y});
  } else {
    for (int x = line.from.x + 1; x < line.to.x; x += 2) pixels.push_back({x, line.from.y});
  }
  return pixels;
}

void DrawGrid(Canvas& canvas, const Rect& r, TFxGridStyle style, int xSize, int ySize, TColor color) {
  if (style == TFxGridStyle::gsDots) {
    for (const Point& p : GridDots(r, xSize, ySize)) canvas.SetPixel(p.x, p.y, color);
    return;
  }
  for (const GridLine& line : GridLines(r, xSize, ySize)) {
    if (style == TFxGridStyle::gsSolidLines) {
      canvas.FillRect({line.from.x, line.from.y, line.from.x == line.to.x ? line.to.x + 1 : line.to.x,
                       line.from.y == line.to.y ? line.to.y + 1 : line.to.y},
                      color);
    } else {
      for (const Point& p : DottedLinePixels(line)) canvas.SetPixel(p.x, p.y, color);
    }
  }
}

}  // namespace widgets
