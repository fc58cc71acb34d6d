// Owner-drawn menu rows of skinned windows: their texts (read from the native menu when it
// opens), their measurement and their painting from the skin's "MenuItem" object on the
// popup's "MenuBackground", or in the skin's menu colours without them.
#include <map>

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

void MeasureMenuRow(TSkinData& data, MenuRowKind kind, MEASUREITEMSTRUCT& mis) {
  const MenuRowText* row = FindMenuRow(mis.itemData, mis.itemID);
  const std::u16string caption = row ? row->caption : std::u16string();
  const bool separator = row ? row->separator : false;
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
  const TSkinModel& model = data.Model();
  const int leftMargin = model.MenuItem && !model.MenuItem->Bitmap.Empty() ? model.MenuItem->Margins.Left : 0;
  mis.itemWidth = static_cast<UINT>(MenuRowWidth(kind, own, leftMargin, false));
  const int proposed = std::max(textHeight + 4, GetSystemMetrics(SM_CYMENU) - 1);
  mis.itemHeight = static_cast<UINT>(separator ? 8 : kind == MenuRowKind::Rebuilt ? RebuiltRowHeight(proposed, false)
                                                                                   : proposed);
}

void DrawMenuRow(TSkinData& data, const DRAWITEMSTRUCT& dis) {
  const TSkinModel& model = data.Model();
  const MenuRowText* row = FindMenuRow(dis.itemData, dis.itemID);
  const std::u16string caption = row ? row->caption : std::u16string();
  const bool separator = row ? row->separator : false;
  const RECT& rc = dis.rcItem;
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = (dis.itemState & ODS_CHECKED) != 0;
  const bool itemObject = model.MenuItem && !model.MenuItem->Bitmap.Empty();

  Offscreen row_(w, h);
  if (!row_.Valid()) return;
  // Background: the popup's own background picture where there is one, else the menu colour.
  bool background = false;
  if (itemObject) {
    if (TSkinManage* manager = TSkinManage::Existing()) {
      if (TWinSkinPopMenu* popup = manager->FindPopup(WindowFromDC(dis.hDC))) {
        if (!popup->BackBuffer.Empty()) {
          row_.Put(popup->BackBuffer.Copy(rc.left, rc.top, w, h), 0, 0);
          background = true;
        }
      }
    }
  }
  if (!background) row_.Fill(RECT{0, 0, w, h}, ToColorRef(selected && !itemObject ? model.Colors[scHilight] : model.Colors[scMenu]));

  if (separator) {
    if (itemObject) {
      // From frame 2, the bottom of it when the picture is taller than the row.
      const TDataSkinObject& item = *model.MenuItem;
      const TRect frame = FrameRect(item.Bitmap.Width(), item.Bitmap.Height(), 5, 2, false);
      const int top = std::max(frame.Top, frame.Bottom - h);
      Bitmap24 part = item.Bitmap.Copy(frame.Left, top, frame.Width(), frame.Bottom - top);
      row_.Put(DrawSkinImage(part, {item.Margins.Left, 0, item.Margins.Right, 0}, false, false, 1, 1, w, part.Height()),
               0, (h - part.Height()) / 2, true);
    } else {
      RECT line{4, h / 2 - 1, w - 4, h / 2 + 1};
      DrawEdge(row_.dc(), &line, EDGE_ETCHED, BF_TOP);
    }
    row_.BlitTo(dis.hDC, rc.left, rc.top);
    return;
  }
  if (itemObject) {
    const TDataSkinObject& item = *model.MenuItem;
    row_.Put(DrawSkinObject(item, false, selected ? 4 : 1, w, h), 0, 0, item.Trans != 0);
  }
  // The check mark in the glyph column, the caption, the short cut at the right.
  const int column = itemObject ? std::max(model.MenuItem->Margins.Left, 20) : 24;
  if (checked) {
    HDC mark = CreateCompatibleDC(row_.dc());
    BITMAP info{};
    GetObjectW(CheckMark(), sizeof info, &info);
    HGDIOBJ old = SelectObject(mark, CheckMark());
    SetTextColor(row_.dc(), ToColorRef(model.Colors[scMenuText]));
    SetBkColor(row_.dc(), RGB(255, 255, 255));
    BitBlt(row_.dc(), (column - info.bmWidth) / 2, (h - info.bmHeight) / 2, info.bmWidth, info.bmHeight, mark, 0, 0,
           SRCAND);
    SelectObject(mark, old);
    DeleteDC(mark);
  }
  HGDIOBJ oldFont = SelectObject(row_.dc(), SystemMenuFont());
  SetBkMode(row_.dc(), TRANSPARENT);
  TColor ink = selected ? model.Colors[scHilightText] : model.Colors[scMenuText];
  if (itemObject && selected) ink = model.Colors[scMenuText];
  SetTextColor(row_.dc(), disabled ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(ink));
  const size_t tab = caption.find(u'\t');
  RECT text{column + 6, 0, w - 8, h};
  DrawTextWide(row_.dc(), caption.substr(0, tab), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (tab != std::u16string::npos) DrawTextWide(row_.dc(), caption.substr(tab + 1), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  SelectObject(row_.dc(), oldFont);
  row_.BlitTo(dis.hDC, rc.left, rc.top);
}

}  // namespace skin
