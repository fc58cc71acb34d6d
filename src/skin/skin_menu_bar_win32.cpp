// The skinned menu bar: its items, layout and painting, and the tracking of an open
// drop-down, during which a message-filter hook lets the user slide to the neighbouring
// items with the mouse or the arrow keys.
#include <algorithm>

#include "gui/wide.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

namespace {
// The one drop-down of a skinned bar that is open in the process.
struct Tracking {
  HHOOK hook = nullptr;
  TWinSkinForm* form = nullptr;
  int open = -1;
  int pending = -1;          // the item to open once the menu loop has ended
  HMENU selectedMenu = nullptr;
  bool selectedHasSubMenu = false;
  POINT lastPoint{-1, -1};
  bool firstKeySent = false;
};
Tracking g_tracking;

std::u16string StripAmpersands(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

wchar_t UpperKey(wchar_t key) {
  wchar_t text[2] = {key, 0};
  CharUpperW(text);
  return text[0];
}

wchar_t AccelOf(const std::u16string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (caption[i + 1] == u'&') {
        ++i;
        continue;
      }
      return UpperKey(static_cast<wchar_t>(caption[i + 1]));
    }
  }
  return 0;
}

void SwitchTo(int target) {
  if (target < 0 || target == g_tracking.open) return;
  g_tracking.pending = target;
  EndMenu();
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wp, LPARAM lp) {
  if (code == MSGF_MENU && g_tracking.form && g_tracking.form->MenuBar) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    TWinSkinForm& form = *g_tracking.form;
    TWinSkinMenu& bar = *form.MenuBar;
    if (!g_tracking.firstKeySent) {
      // The first row is highlighted, as when the menu is opened from the keyboard.
      g_tracking.firstKeySent = true;
      PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    switch (msg->message) {
      case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) form.MenuLoop = false;
        break;
      case WM_MOUSEMOVE: {
        if (msg->pt.x == g_tracking.lastPoint.x && msg->pt.y == g_tracking.lastPoint.y) break;
        g_tracking.lastPoint = msg->pt;
        RECT w{};
        GetWindowRect(form.Handle, &w);
        const int item = bar.ItemAt(POINT{msg->pt.x - w.left, msg->pt.y - w.top});
        if (item >= 0 && item != g_tracking.open) {
          SwitchTo(item);
          return TRUE;
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg->wParam == VK_RIGHT && !g_tracking.selectedHasSubMenu) {
          SwitchTo(bar.Next(g_tracking.open, true));
          return TRUE;
        }
        if (msg->wParam == VK_LEFT) {
          const HMENU own = bar.Items[static_cast<size_t>(g_tracking.open)].SubMenu;
          if (!g_tracking.selectedMenu || g_tracking.selectedMenu == own) {
            SwitchTo(bar.Next(g_tracking.open, false));
            return TRUE;
          }
        }
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

void TWinSkinMenu::Build(HMENU menu) {
  if (menu) menu_ = menu;
  else if (HMENU own = GetMenu(form_.Handle)) menu_ = own;
  Items.clear();
  if (!menu_) return;
  const int count = GetMenuItemCount(menu_);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &info)) continue;
    TMenuBtn item;
    item.Caption = gui::U(text);
    item.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item.SubMenu = info.hSubMenu;
    item.Command = info.wID;
    Items.push_back(item);
  }
  if (GetMenu(form_.Handle) == menu_) SetMenu(form_.Handle, nullptr);
}

void TWinSkinMenu::Layout() {
  RECT w{};
  GetWindowRect(form_.Handle, &w);
  const int barWidth = (w.right - w.left) - form_.Border.Left - form_.Border.Right;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, form_.MenuFont());
  std::vector<int> widths;
  std::vector<bool> visible;
  for (const TMenuBtn& item : Items) {
    RECT r{0, 0, 0, 0};
    const std::u16string text = StripAmpersands(item.Caption);
    if (!text.empty()) DrawTextWide(dc, item.Caption, r, DT_CALCRECT | DT_SINGLELINE);
    widths.push_back(text.empty() ? 0 : r.right - r.left);
    visible.push_back(item.Visible);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  const auto& model = form_.Model();
  const std::optional<TMargins> margins =
      model.MenuBar && !model.MenuBar->Bitmap.Empty() ? std::optional<TMargins>(model.MenuBar->Margins) : std::nullopt;
  const std::vector<TRect> rects = MenuBarLayout(widths, visible, barWidth, form_.MenuBarHeight, margins);
  for (size_t i = 0; i < Items.size(); ++i) {
    const TRect& r = rects[i];
    Items[i].Rect = r.Empty() ? TRect{} : TRect{r.Left + form_.Border.Left, r.Top + form_.Border.Top,
                                                r.Right + form_.Border.Left, r.Bottom + form_.Border.Top};
  }
}

void TWinSkinMenu::Paint(HDC target) {
  RECT w{};
  GetWindowRect(form_.Handle, &w);
  const int width = (w.right - w.left) - form_.Border.Left - form_.Border.Right;
  const int height = form_.MenuBarHeight;
  if (width <= 0 || height <= 0) return;
  const TSkinModel& model = form_.Model();
  Offscreen bar(width, height);
  if (!bar.Valid()) return;
  if (model.MenuBar && !model.MenuBar->Bitmap.Empty()) {
    bar.Put(DrawSkinObject(*model.MenuBar, false, 1, width, height), 0, 0);
  } else {
    bar.Fill(RECT{0, 0, width, height}, ToColorRef(model.Colors[scMenubar]));
  }
  HGDIOBJ old = SelectObject(bar.dc(), form_.MenuFont());
  SetBkMode(bar.dc(), TRANSPARENT);
  for (const TMenuBtn& item : Items) {
    if (item.Rect.Empty()) continue;
    RECT r{item.Rect.Left - form_.Border.Left, item.Rect.Top - form_.Border.Top, item.Rect.Right - form_.Border.Left,
           item.Rect.Bottom - form_.Border.Top};
    if (item.State == 2 || item.State == 3) bar.Fill(r, ToColorRef(model.Colors[scButtonHilight]));
    SetTextColor(bar.dc(), ToColorRef(item.Enabled ? model.Colors[scMenuBarText] : model.Colors[scButtonShadow]));
    DrawTextWide(bar.dc(), item.Caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(bar.dc(), old);
  bar.BlitTo(target, form_.Border.Left, form_.Border.Top);
}

int TWinSkinMenu::ItemAt(POINT p) const {
  for (size_t i = 0; i < Items.size(); ++i) {
    const TRect& r = Items[i].Rect;
    if (!Items[i].Caption.empty() && p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int TWinSkinMenu::FindByAccel(wchar_t key) const {
  const wchar_t upper = UpperKey(key);
  for (size_t i = 0; i < Items.size(); ++i) {
    if (Items[i].Visible && Items[i].Enabled && AccelOf(Items[i].Caption) == upper) return static_cast<int>(i);
  }
  return -1;
}

int TWinSkinMenu::Next(int from, bool forward) const {
  std::vector<bool> usable;
  for (const TMenuBtn& item : Items) usable.push_back(item.Visible && !item.Caption.empty() && !item.Rect.Empty());
  return NextMenuBarItem(usable, from, forward);
}

bool TWinSkinForm::MenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_MENUSELECT && g_tracking.form == this) {
    if (HIWORD(wp) == 0xFFFF && lp == 0) {
      g_tracking.selectedMenu = nullptr;
    } else {
      g_tracking.selectedMenu = reinterpret_cast<HMENU>(lp);
      g_tracking.selectedHasSubMenu = (HIWORD(wp) & MF_POPUP) != 0;
    }
  } else if (msg == WM_EXITMENULOOP && g_tracking.form != this) {
    ForgetMenuRows();
  }
  result = CallOld(msg, wp, lp);
  return true;
}

void TWinSkinForm::OpenMenuItem(int index) {
  if (!MenuBar || g_tracking.form) return;
  MenuBar->Layout();
  while (index >= 0 && index < static_cast<int>(MenuBar->Items.size())) {
    TMenuBtn& item = MenuBar->Items[static_cast<size_t>(index)];
    if (!item.SubMenu) {
      // An item without a drop-down acts at once; one with a drop-down only opens it.
      if (item.Enabled) PostMessageW(Handle, WM_COMMAND, MAKEWPARAM(item.Command, 0), 0);
      return;
    }
    if (!item.Enabled) return;
    MakeRowsOwnerDrawn(item.SubMenu);
    RememberMenuRows(item.SubMenu, true);
    g_tracking = Tracking{};
    g_tracking.form = this;
    g_tracking.open = index;
    MenuLoop = true;
    BarMenuOpen = true;
    manager_.MenuKind = 1;
    manager_.MenuFlag = true;
    LeaveHover();
    item.State = 2;
    PaintMenuBar();
    RECT w{};
    GetWindowRect(Handle, &w);
    const POINT at{w.left + item.Rect.Left, w.top + item.Rect.Bottom + 1};
    g_tracking.hook = SetWindowsHookExW(WH_MSGFILTER, &MenuFilterProc, nullptr, GetCurrentThreadId());
    SetForegroundWindow(Handle);
    TrackPopupMenuEx(item.SubMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, Handle, nullptr);
    if (g_tracking.hook) UnhookWindowsHookEx(g_tracking.hook);
    const int next = g_tracking.pending;
    g_tracking = Tracking{};
    MenuLoop = false;
    BarMenuOpen = false;
    ForgetMenuRows();
    if (State == 6 || !MenuBar || index >= static_cast<int>(MenuBar->Items.size())) return;
    MenuBar->Items[static_cast<size_t>(index)].State = 1;
    PaintMenuBar();
    index = next;
  }
}

}  // namespace skin
