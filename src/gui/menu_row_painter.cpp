#include "gui/menu_row_painter.h"

#include <algorithm>

#include "gui/gdi.h"
#include "gui/menu_glyphs.h"

namespace gui {

namespace {

// Left of the text: 1 pixel, the 16-pixel glyph or check area, 2 pixels.
constexpr int kTextOffset = 1 + kMenuGlyphSize + 2;
constexpr int kShortcutGap = 10;   // the shortcut ends this far before the right edge
constexpr int kArrowSpace = 16;    // the system's sub-menu arrow

struct MenuFonts {
  UniqueFont normal, bold;
};

// The system's menu font, and its bold form for the default row.
const MenuFonts& Fonts() {
  static MenuFonts fonts = [] {
    MenuFonts f;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      font = metrics.lfMenuFont;
    } else {
      GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    f.normal.reset(CreateFontIndirectW(&font));
    font.lfWeight = FW_BOLD;
    f.bold.reset(CreateFontIndirectW(&font));
    return f;
  }();
  return fonts;
}

bool FlatMenus() {
  BOOL flat = FALSE;
  SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
  return flat != FALSE;
}

UINT TextFlags(const MenuRowLook& row) {
  UINT flags = DT_EXPANDTABS | DT_SINGLELINE | (row.rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
  if (row.hidePrefix) flags |= DT_HIDEPREFIX;
  return flags;
}

SIZE TextSize(HDC dc, std::u16string_view text, UINT flags) {
  RECT r{0, 0, 0, 0};
  if (text.empty()) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return {0, metrics.tmHeight};
  }
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &r,
            flags | DT_CALCRECT | DT_NOCLIP);
  return {r.right - r.left, r.bottom - r.top};
}

void DrawCheck(HDC dc, int x, int y, bool radio, COLORREF color) {
  UniquePen pen(CreatePen(PS_SOLID, 1, color));
  UniqueBrush brush(CreateSolidBrush(color));
  SelectedObject p(dc, pen.get());
  SelectedObject b(dc, brush.get());
  if (radio) {
    Ellipse(dc, x + 5, y + 5, x + 11, y + 11);
    return;
  }
  // A tick, three pixels thick.
  for (int d = 0; d < 3; ++d) {
    MoveToEx(dc, x + 4, y + 7 + d, nullptr);
    LineTo(dc, x + 6, y + 9 + d);
    LineTo(dc, x + 12, y + 3 + d);
  }
}

void DrawText(HDC dc, std::u16string_view text, RECT r, UINT flags) {
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &r, flags | DT_NOCLIP);
}

class Classic : public MenuRowPainter {
 public:
  SIZE Measure(HDC dc, const MenuRowLook& row) override {
    if (row.separator) return {0, GetSystemMetrics(SM_CYMENUSIZE) / 2};
    SelectedObject font(dc, row.isDefault ? Fonts().bold.get() : Fonts().normal.get());
    const UINT flags = TextFlags(row);
    const SIZE caption = TextSize(dc, row.caption, flags);
    int width = kTextOffset + caption.cx + 8;
    if (!row.shortcutText.empty()) width += kShortcutGap + TextSize(dc, row.shortcutText, flags).cx + kShortcutGap;
    if (row.opensSubMenu) width += kArrowSpace;
    const int height = std::max({static_cast<int>(caption.cy) + 6, kMenuGlyphSize + 4, GetSystemMetrics(SM_CYMENUSIZE)});
    return {width, height};
  }

  void Draw(HDC dc, const RECT& item, const MenuRowLook& row) override {
    if (row.separator) {
      FillRect(dc, &item, GetSysColorBrush(COLOR_MENU));
      RECT line{item.left, (item.top + item.bottom) / 2, item.right, item.bottom};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      return;
    }
    const bool flat = FlatMenus();
    const int background = row.selected ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : COLOR_MENU;
    FillRect(dc, &item, GetSysColorBrush(background));
    const int height = item.bottom - item.top;
    const COLORREF textColor = row.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_MENUTEXT);

    // The glyph or check area.
    const int areaLeft = row.rightToLeft ? item.right - 1 - kMenuGlyphSize : item.left + 1;
    const int areaTop = item.top + (height - kMenuGlyphSize) / 2;
    if (HasMenuGlyph(row.imageIndex)) {
      if (row.checked) {
        RECT frame{areaLeft - 1, areaTop - 1, areaLeft + kMenuGlyphSize + 1, areaTop + kMenuGlyphSize + 1};
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
      }
      DrawMenuGlyph(dc, row.imageIndex, areaLeft, areaTop, row.grayed);
    } else if (row.checked) {
      DrawCheck(dc, areaLeft, areaTop, row.radio, row.grayed ? GetSysColor(COLOR_GRAYTEXT) : textColor);
    }

    SelectedObject font(dc, row.isDefault ? Fonts().bold.get() : Fonts().normal.get());
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = TextFlags(row);
    const SIZE caption = TextSize(dc, row.caption, flags);
    RECT text = item;
    if (row.rightToLeft) {
      text.right -= kTextOffset;
    } else {
      text.left += kTextOffset;
    }
    if (flat && row.selected) OffsetRect(&text, 1, 0);
    text.top = item.top + (height - caption.cy) / 2;
    text.bottom = text.top + caption.cy;
    RECT shortcut = text;
    if (row.rightToLeft) {
      shortcut.left = item.left + kShortcutGap;
    } else {
      shortcut.right = item.right - kShortcutGap;
    }
    const UINT shortcutFlags = (flags & ~(DT_LEFT | DT_RIGHT)) | (row.rightToLeft ? DT_LEFT : DT_RIGHT);

    auto paint = [&](const RECT& captionRect, const RECT& shortcutRect) {
      DrawText(dc, row.caption, captionRect, flags);
      if (!row.shortcutText.empty()) DrawText(dc, row.shortcutText, shortcutRect, shortcutFlags);
    };
    if (row.grayed && !row.selected) {
      // Disabled rows are embossed: a light copy one pixel down and right, the shadow on top.
      RECT lightText = text, lightShortcut = shortcut;
      OffsetRect(&lightText, 1, 1);
      OffsetRect(&lightShortcut, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      paint(lightText, lightShortcut);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
      SetTextColor(dc, row.grayed ? GetSysColor(COLOR_GRAYTEXT) : textColor);
    }
    paint(text, shortcut);
  }
};

MenuRowPainter* g_painter = nullptr;

}  // namespace

MenuRowPainter& ClassicMenuRowPainter() {
  static Classic painter;
  return painter;
}

void SetMenuRowPainter(MenuRowPainter* painter) { g_painter = painter; }

MenuRowPainter& CurrentMenuRowPainter() { return g_painter ? *g_painter : ClassicMenuRowPainter(); }

}  // namespace gui
