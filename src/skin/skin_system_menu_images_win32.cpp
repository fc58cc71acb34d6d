// The skin's own pictures of the skinned system menu, 16 x 16 and drawn with GDI in the row's
// text colour: 0 restore (two windows), 1 maximise (a window), 2 minimise (a bar), 3 close (a cross).
#include "gui/gdi.h"
#include "skin/skin_engine_win32.h"

namespace skin {

namespace {

void Bar(HDC dc, int x, int y, int left, int top, int right, int bottom, HBRUSH ink) {
  const RECT r{x + left, y + top, x + right, y + bottom};
  FillRect(dc, &r, ink);
}

// A window outline with a title bar two pixels thick, corners (left, top) and (right, bottom) inclusive.
void Window(HDC dc, int x, int y, int left, int top, int right, int bottom, HBRUSH ink) {
  Bar(dc, x, y, left, top, right + 1, top + 2, ink);
  Bar(dc, x, y, left, top, left + 1, bottom + 1, ink);
  Bar(dc, x, y, right, top, right + 1, bottom + 1, ink);
  Bar(dc, x, y, left, bottom, right + 1, bottom + 1, ink);
}

}  // namespace

int SystemMenuImage(UINT command) {
  switch (command & 0xFFF0) {
    case SC_RESTORE: return 0;
    case SC_MAXIMIZE: return 1;
    case SC_MINIMIZE: return 2;
    case SC_CLOSE: return 3;
    default: return -1;
  }
}

void DrawSystemMenuImage(HDC dc, int image, int x, int y, COLORREF ink) {
  gui::UniqueBrush brush(CreateSolidBrush(ink));
  switch (image) {
    case 0:
      // The window behind shows only where the front one leaves it.
      Bar(dc, x, y, 6, 2, 14, 4, brush.get());
      Bar(dc, x, y, 13, 2, 14, 10, brush.get());
      Bar(dc, x, y, 11, 9, 14, 10, brush.get());
      Bar(dc, x, y, 6, 2, 7, 5, brush.get());
      Window(dc, x, y, 2, 5, 10, 13, brush.get());
      break;
    case 1:
      Window(dc, x, y, 2, 2, 13, 13, brush.get());
      break;
    case 2:
      Bar(dc, x, y, 3, 11, 11, 13, brush.get());
      break;
    case 3: {
      gui::UniquePen pen(CreatePen(PS_SOLID, 2, ink));
      gui::SelectedObject selected(dc, pen.get());
      MoveToEx(dc, x + 4, y + 4, nullptr);
      LineTo(dc, x + 12, y + 12);
      MoveToEx(dc, x + 11, y + 4, nullptr);
      LineTo(dc, x + 3, y + 12);
      break;
    }
    default:
      break;
  }
}

}  // namespace skin
