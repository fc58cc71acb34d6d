#include "gui/menu_glyphs.h"

#include "gui/gdi.h"

namespace gui {

namespace {

// Fills a polygon given in glyph coordinates with an outline.
void Shape(HDC dc, int x, int y, const POINT* points, int count, COLORREF fill, COLORREF line) {
  POINT moved[16];
  for (int i = 0; i < count && i < 16; ++i) moved[i] = {x + points[i].x, y + points[i].y};
  UniqueBrush brush(CreateSolidBrush(fill));
  UniquePen pen(CreatePen(PS_SOLID, 1, line));
  SelectedObject b(dc, brush.get());
  SelectedObject p(dc, pen.get());
  Polygon(dc, moved, count);
}

void Line(HDC dc, int x, int y, int x1, int y1, int x2, int y2, COLORREF color) {
  UniquePen pen(CreatePen(PS_SOLID, 1, color));
  SelectedObject p(dc, pen.get());
  MoveToEx(dc, x + x1, y + y1, nullptr);
  LineTo(dc, x + x2, y + y2);
}

struct Colours {
  COLORREF fill, line, detail;
};

void Folder(HDC dc, int x, int y, const Colours& c) {
  const POINT back[] = {{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}};
  Shape(dc, x, y, back, 6, c.fill, c.line);
  const POINT front[] = {{1, 13}, {3, 7}, {15, 7}, {14, 13}};
  Shape(dc, x, y, front, 4, c.detail, c.line);
}

void Note(HDC dc, int x, int y, const Colours& c) {
  const POINT page[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
  Shape(dc, x, y, page, 5, c.fill, c.line);
  Line(dc, x, y, 10, 1, 10, 4, c.line);
  Line(dc, x, y, 10, 4, 13, 4, c.line);
  for (int row = 6; row <= 12; row += 2) Line(dc, x, y, 5, row, 11, row, c.detail);
}

void Star(HDC dc, int x, int y, const Colours& c) {
  const POINT star[] = {{8, 1}, {10, 6}, {15, 6}, {11, 9}, {13, 14}, {8, 11}, {3, 14}, {5, 9}, {1, 6}, {6, 6}};
  Shape(dc, x, y, star, 10, c.fill, c.line);
}

}  // namespace

bool HasMenuGlyph(int imageIndex) { return imageIndex == 0 || imageIndex == 1 || imageIndex == 5; }

void DrawMenuGlyph(HDC dc, int imageIndex, int x, int y, bool grayed) {
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  const COLORREF shade = GetSysColor(COLOR_BTNSHADOW);
  switch (imageIndex) {
    case 0:
      Folder(dc, x, y, grayed ? Colours{shade, grey, shade} : Colours{RGB(230, 180, 60), RGB(140, 100, 20), RGB(250, 215, 110)});
      break;
    case 1:
      Note(dc, x, y, grayed ? Colours{shade, grey, grey} : Colours{RGB(255, 255, 255), RGB(60, 90, 150), RGB(90, 140, 210)});
      break;
    case 5:
      Star(dc, x, y, grayed ? Colours{shade, grey, grey} : Colours{RGB(250, 200, 40), RGB(180, 110, 0), 0});
      break;
    default:
      break;
  }
}

}  // namespace gui
