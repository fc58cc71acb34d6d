// Owner-drawn menu rows of skinned windows, painted from the skin's "MenuItem" object on the
// popup's "MenuBackground", or in the skin's menu colours without them. Rows of the program's
// own menus are described by gui::Menu (caption, shortcut, picture, check) to the skin's row
// painter; separators and rows rebuilt from a native menu (the skinned system menu) by their
// text, read from the native menu when it opens.
#include <map>

#include "gui/menu.h"
#include "gui/menu_glyphs.h"
#include "gui/menu_row_painter.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

namespace {
// Rows by (item data, id): rows of this program's menus carry distinct item data.
std::map<std::pair<ULONG_PTR, UINT>, MenuRowText>& Rows() {
  static std::map<std::pair<ULONG_PTR, UINT>, MenuRowText> rows;
  return rows;
}

// The check-mark picture of the system, loaded once.
HBITMAP CheckMark() {
  static HBITMAP mark = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32760));  // OBM_CHECK
  return mark;
}

int TextHeightOf(HDC dc) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm.tmHeight;
}

bool HasItemObject(const TSkinModel& model) { return model.MenuItem && !model.MenuItem->Bitmap.Empty(); }
int ItemLeftMargin(const TSkinModel& model) { return HasItemObject(model) ? model.MenuItem->Margins.Left : 0; }

// What one row shows, whichever side describes it.
struct RowContent {
  std::u16string_view caption;   // "&" marks the mnemonic
  std::u16string_view shortcut;  // drawn at the right
  int glyph = -1;                // a picture of the program's menus (gui/menu_glyphs.h)
  int systemImage = -1;          // a picture of the skinned system menu
  bool separator = false, checked = false, grayed = false, selected = false, hidePrefix = false;
};

void PaintSeparator(const TSkinModel& model, Offscreen& row, int w, int h) {
  if (HasItemObject(model)) {
    // From frame 2, the bottom of it when the picture is taller than the row.
    const TDataSkinObject& item = *model.MenuItem;
    const TRect frame = FrameRect(item.Bitmap.Width(), item.Bitmap.Height(), 5, 2, false);
    const int top = std::max(frame.Top, frame.Bottom - h);
    Bitmap24 part = item.Bitmap.Copy(frame.Left, top, frame.Width(), frame.Bottom - top);
    row.Put(DrawSkinImage(part, {item.Margins.Left, 0, item.Margins.Right, 0}, false, false, 1, 1, w, part.Height()), 0,
            (h - part.Height()) / 2, true);
  } else {
    RECT line{4, h / 2 - 1, w - 4, h / 2 + 1};
    DrawEdge(row.dc(), &line, EDGE_ETCHED, BF_TOP);
  }
}

// The picture column: the row's picture, or the system's check mark for a checked row without one.
void PaintPicture(const RowContent& content, HDC dc, int column, int h, COLORREF ink) {
  const int x = (column - gui::kMenuGlyphSize) / 2, y = (h - gui::kMenuGlyphSize) / 2;
  if (gui::HasMenuGlyph(content.glyph)) {
    gui::DrawMenuGlyph(dc, content.glyph, x, y, content.grayed);
    return;
  }
  if (content.systemImage >= 0) {
    DrawSystemMenuImage(dc, content.systemImage, x, y, ink);
    return;
  }
  if (!content.checked) return;
  HDC mark = CreateCompatibleDC(dc);
  BITMAP info{};
  GetObjectW(CheckMark(), sizeof info, &info);
  HGDIOBJ old = SelectObject(mark, CheckMark());
  SetTextColor(dc, ink);
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, (column - info.bmWidth) / 2, (h - info.bmHeight) / 2, info.bmWidth, info.bmHeight, mark, 0, 0, SRCAND);
  SelectObject(mark, old);
  DeleteDC(mark);
}

void PaintRow(const TSkinModel& model, HDC target, const RECT& rc, const RowContent& content) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  const bool itemObject = HasItemObject(model);
  Offscreen row(w, h);
  if (!row.Valid()) return;
  // Background: the popup's own background picture where there is one, else the menu colour.
  bool background = false;
  if (itemObject) {
    if (TSkinManage* manager = TSkinManage::Existing()) {
      if (TWinSkinPopMenu* popup = manager->FindPopup(WindowFromDC(target))) {
        if (!popup->BackBuffer.Empty()) {
          row.Put(popup->BackBuffer.Copy(rc.left, rc.top, w, h), 0, 0);
          background = true;
        }
      }
    }
  }
  if (!background) {
    row.Fill(RECT{0, 0, w, h}, ToColorRef(content.selected && !itemObject ? model.Colors[scHilight] : model.Colors[scMenu]));
  }
  if (content.separator) {
    PaintSeparator(model, row, w, h);
    row.BlitTo(target, rc.left, rc.top);
    return;
  }
  if (itemObject) {
    const TDataSkinObject& item = *model.MenuItem;
    row.Put(DrawSkinObject(item, false, content.selected ? 4 : 1, w, h), 0, 0, item.Trans != 0);
  }
  TColor ink = content.selected ? model.Colors[scHilightText] : model.Colors[scMenuText];
  if (itemObject && content.selected) ink = model.Colors[scMenuText];
  const COLORREF textColour = content.grayed ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(ink);
  // The picture column, the caption, the short cut at the right.
  const int column = itemObject ? std::max(model.MenuItem->Margins.Left, 20) : 24;
  PaintPicture(content, row.dc(), column, h, textColour);
  HGDIOBJ oldFont = SelectObject(row.dc(), SystemMenuFont());
  SetBkMode(row.dc(), TRANSPARENT);
  SetTextColor(row.dc(), textColour);
  const UINT flags = DT_SINGLELINE | DT_VCENTER | (content.hidePrefix ? DT_HIDEPREFIX : 0);
  RECT text{column + 6, 0, w - 8, h};
  DrawTextWide(row.dc(), std::u16string(content.caption), text, flags | DT_LEFT);
  if (!content.shortcut.empty()) DrawTextWide(row.dc(), std::u16string(content.shortcut), text, flags | DT_RIGHT);
  SelectObject(row.dc(), oldFont);
  row.BlitTo(target, rc.left, rc.top);
  // The system copies a sub-menu's arrow, a monochrome picture, onto the row afterwards in the
  // DC's colours: the row's own, not the classic white.
  SetBkColor(target, GetPixel(row.dc(), w - 4, h / 2));
  SetTextColor(target, textColour);
}

// The rows of the program's menus in the skin's look.
class SkinRowPainter final : public gui::MenuRowPainter {
 public:
  SkinRowPainter(const TSkinModel& model, MenuRowKind kind) : model_(model), kind_(kind) {}
  SIZE Measure(HDC dc, const gui::MenuRowLook& row) override {
    // The row's own measurement, widened for the skin's row picture.
    const SIZE own = gui::ClassicMenuRowPainter().Measure(dc, row);
    return {MenuRowWidth(kind_, own.cx, ItemLeftMargin(model_), row.menuHasImages), own.cy};
  }
  void Draw(HDC dc, const RECT& item, const gui::MenuRowLook& row) override {
    RowContent content;
    content.caption = row.caption;
    content.shortcut = row.shortcutText;
    content.glyph = row.imageIndex;
    content.checked = row.checked;
    content.grayed = row.grayed;
    content.selected = row.selected;
    content.hidePrefix = row.hidePrefix;
    content.separator = row.separator;
    PaintRow(model_, dc, item, content);
  }

 private:
  const TSkinModel& model_;
  MenuRowKind kind_;
};

// Hands a row's WM_MEASUREITEM or WM_DRAWITEM to the form's menus with the skin's painter in
// use; false when no menu of the form has the row.
bool ThroughFormMenus(const gui::Form* form, const TSkinModel& model, MenuRowKind kind, UINT msg, LPARAM lp) {
  if (!form) return false;
  SkinRowPainter painter(model, kind);
  struct Use {
    gui::MenuRowPainter& previous = gui::CurrentMenuRowPainter();
    explicit Use(gui::MenuRowPainter& painter) { gui::SetMenuRowPainter(&painter); }
    ~Use() { gui::SetMenuRowPainter(&previous); }
  } use(painter);
  LRESULT result = 0;
  for (gui::Menu* menu : form->Menus()) {
    if (menu->HandleOwnerMessage(msg, 0, lp, result)) return true;
  }
  return false;
}

bool IsSeparator(const MenuRowText* row) { return row && row->separator; }
}  // namespace

void RememberMenuRows(HMENU menu, bool recursive) {
  if (!menu) return;
  const int count = GetMenuItemCount(menu);
  std::vector<wchar_t> text(512);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size() - 1);
    text[0] = 0;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    MenuRowText row;
    row.caption = gui::U(text.data());
    row.separator = (info.fType & MFT_SEPARATOR) || row.caption == u"-";
    Rows()[{info.dwItemData, info.wID}] = std::move(row);
    if (recursive && info.hSubMenu) RememberMenuRows(info.hSubMenu, true);
  }
}

void ForgetMenuRows() { Rows().clear(); }

const MenuRowText* FindMenuRow(ULONG_PTR itemData, UINT itemId) {
  const auto it = Rows().find({itemData, itemId});
  return it == Rows().end() ? nullptr : &it->second;
}

void MakeRowsOwnerDrawn(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOW type{sizeof type};
      type.fMask = MIIM_FTYPE;
      type.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &type);
    }
    if (info.hSubMenu) MakeRowsOwnerDrawn(info.hSubMenu);
  }
}

void MeasureMenuRow(TSkinData& data, MenuRowKind kind, const gui::Form* form, MEASUREITEMSTRUCT& mis) {
  const MenuRowText* row = FindMenuRow(mis.itemData, mis.itemID);
  if (!IsSeparator(row) && ThroughFormMenus(form, data.Model(), kind, WM_MEASUREITEM, reinterpret_cast<LPARAM>(&mis))) {
    return;
  }
  const std::u16string caption = row ? row->caption : std::u16string();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, SystemMenuFont());
  // The caption and its short cut (after a tab) with a gap between them.
  const size_t tab = caption.find(u'\t');
  RECT text{0, 0, 0, 0}, shortcut{0, 0, 0, 0};
  DrawTextWide(dc, caption.substr(0, tab), text, DT_CALCRECT | DT_SINGLELINE);
  if (tab != std::u16string::npos) DrawTextWide(dc, caption.substr(tab + 1), shortcut, DT_CALCRECT | DT_SINGLELINE);
  const int own = text.right + (shortcut.right > 0 ? shortcut.right + 16 : 0);
  const int textHeight = TextHeightOf(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  mis.itemWidth = static_cast<UINT>(MenuRowWidth(kind, own, ItemLeftMargin(data.Model()), false));
  // Text rows leave room for a picture.
  const int proposed = std::max({textHeight + 4, GetSystemMetrics(SM_CYMENU) - 1, gui::kMenuGlyphSize + 2});
  mis.itemHeight = static_cast<UINT>(IsSeparator(row) ? 8
                                     : kind == MenuRowKind::Rebuilt ? RebuiltRowHeight(proposed, false)
                                                                    : proposed);
}

void DrawMenuRow(TSkinData& data, MenuRowKind kind, const gui::Form* form, const DRAWITEMSTRUCT& dis) {
  const MenuRowText* row = FindMenuRow(dis.itemData, dis.itemID);
  if (!IsSeparator(row) && ThroughFormMenus(form, data.Model(), kind, WM_DRAWITEM, reinterpret_cast<LPARAM>(&dis))) {
    return;
  }
  const std::u16string caption = row ? row->caption : std::u16string();
  const size_t tab = caption.find(u'\t');
  RowContent content;
  content.caption = std::u16string_view(caption).substr(0, tab);
  if (tab != std::u16string::npos) content.shortcut = std::u16string_view(caption).substr(tab + 1);
  content.separator = IsSeparator(row);
  if (dis.itemData == static_cast<ULONG_PTR>(kSystemMenuTag)) content.systemImage = SystemMenuImage(dis.itemID);
  content.checked = (dis.itemState & ODS_CHECKED) != 0;
  content.grayed = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  content.selected = (dis.itemState & ODS_SELECTED) != 0;
  content.hidePrefix = (dis.itemState & ODS_NOACCEL) != 0;
  PaintRow(data.Model(), dis.hDC, dis.rcItem, content);
}

}  // namespace skin
