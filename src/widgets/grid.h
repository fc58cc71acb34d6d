// The panel's grid: dots or lines every GridXSize and GridYSize pixels inside a rectangle.
#pragma once

#include <vector>

#include "widgets/canvas.h"

namespace widgets {

enum class TFxGridStyle { gsDots, gsDottedLines, gsSolidLines };

struct GridLine {
  Point from, to;  // to is not drawn, as with LineTo
  bool operator==(const GridLine&) const = default;
};

std::vector<Point> GridDots(const Rect& r, int xSize, int ySize);
// Vertical lines first, then horizontal ones.
std::vector<GridLine> GridLines(const Rect& r, int xSize, int ySize);
// Every second pixel of a line, from one after its start to before its end.
std::vector<Point> DottedLinePixels(const GridLine& line);
void DrawGrid(Canvas& canvas, const Rect& r, TFxGridStyle style, int xSize, int ySize, TColor color);

}  // namespace widgets
