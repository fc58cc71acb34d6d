// TWinSkinForm's window procedure in its three stages: what every skinned window answers,
// what a frame-skinned window changes, and the non-client work (geometry, painting, the
// caption buttons, the menu bar and the system menu).
#include <windowsx.h>

#include "gui/application.h"
#include "gui/menu.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace skin {

namespace {
constexpr UINT_PTR kHintTimer = 0x5348;
constexpr UINT kMsgThemedCaption = 0xAE;  // the themed caption's own drawing: swallowed
}  // namespace

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Stage1(msg, wp, lp, result)) return result;
  if (!FrameSkinned) return CallOld(msg, wp, lp);
  bool passOn = true;
  if (Stage2(msg, wp, lp, result, passOn)) return result;
  if ((State != 0) && Stage3(msg, wp, lp, result)) return result;
  if (FrameworkMessage(msg, wp, lp, result)) return result;
  return CallOld(msg, wp, lp);
}

bool TWinSkinForm::Stage1(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NCPAINT:
      if (State == 0) {
        result = 0;
        return true;
      }
      return false;
    case WM_NCACTIVATE:
      if (State == 0) {
        result = CallOld(msg, wp, -1);  // activates without painting the native frame
        return true;
      }
      return false;
    case kMsgThemedCaption:
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      manager_.MenuKind = HIWORD(lp) ? 2 : 1;
      RememberMenuRows(reinterpret_cast<HMENU>(wp), false);
      result = CallOld(msg, wp, lp);
      return true;
    case WM_ERASEBKGND:
      if (!FormObject) {
        RECT r{};
        GetClientRect(Handle, &r);
        HBRUSH brush = CreateSolidBrush(ToColorRef(Model().Colors[scButtonFace]));
        FillRect(reinterpret_cast<HDC>(wp), &r, brush);
        DeleteObject(brush);
        result = 1;
        return true;
      }
      return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (!FormObject) {
        // Texts of a foreign dialog on the skin's face colour.
        static HBRUSH brush = nullptr;
        static COLORREF brushColour = CLR_INVALID;
        const COLORREF face = ToColorRef(Model().Colors[scButtonFace]);
        if (face != brushColour) {
          if (brush) DeleteObject(brush);
          brush = CreateSolidBrush(face);
          brushColour = face;
        }
        CallOld(msg, wp, lp);
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        SetBkColor(reinterpret_cast<HDC>(wp), face);
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
      return false;
    case WM_NCDESTROY:
      State = 4;
      result = CallOld(msg, wp, lp);
      Detach();
      State = 6;
      return true;
    case kMsgStartSkin:
      if (State == 0) StartSkin();
      result = 0;
      return true;
    case kMsgIsSkinned:
      result = 1;
      return true;
    case WM_TIMER:
      if (wp == kHintTimer) {
        TimerTick();
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool TWinSkinForm::Stage2(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, bool& passOn) {
  if (isChild_) {
    result = CallOld(msg, wp, lp);
    return true;
  }
  switch (msg) {
    case WM_ACTIVATE:
      Active = LOWORD(wp) != WA_INACTIVE;
      return false;
    case WM_SETICON:
      result = CallOldWithoutCaption(msg, wp, lp);
      if (State == 1) PaintNC(nullptr);
      return true;
    case WM_SETTEXT:
      result = CallOldWithoutCaption(msg, wp, lp);
      if (State == 1 && IsWindowVisible(Handle)) PaintNC(nullptr);
      return true;
    case WM_SYSCOMMAND:
      return SysCommand(wp, lp, result);
    case kMsgOpenAt: {
      const POINT p = ToWindow(lp);
      if (MenuBar) {
        const int item = MenuBar->ItemAt(p);
        if (item >= 0) OpenMenuItem(item);
      }
      result = 0;
      return true;
    }
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      return MenuMessage(msg, wp, lp, result);
    default:
      if (msg == gui::MenuChangedMessage() && MenuBar) {
        // The bar's items changed: taken again from the menu (never put back on the window).
        MenuBar->Build(reinterpret_cast<HMENU>(lp));
        if (State == 1) PaintMenuBar();
        result = 0;
        return true;
      }
      passOn = true;
      return false;
  }
}

bool TWinSkinForm::FrameworkMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case kMsgSkinChanged:
      ReloadSkin();
      result = 0;
      return true;
    case kMsgPaintNCInto:
      if (lp == kSkinMagic) {
        if (wp) PaintNC(reinterpret_cast<HDC>(wp));
        result = kSkinMagic;
        return true;
      }
      return false;
    case kMsgAskSkinned:
      result = lp == kSkinMagic ? kSkinMagic : 1;
      return true;
    default:
      return false;
  }
}

bool TWinSkinForm::SysCommand(WPARAM wp, LPARAM lp, LRESULT& result) {
  const UINT command = static_cast<UINT>(wp & 0xFFF0);
  if (command == SC_KEYMENU && !MenuLoop) {
    const wchar_t key = static_cast<wchar_t>(lp);
    if (key == L' ') {
      POINT origin{0, 0};
      ClientToScreen(Handle, &origin);
      ShowSystemMenu(origin);
      result = 0;
      return true;
    }
    if (key != L'-' && MenuBar && !GetCapture()) {
      const int item = key == 0 ? MenuBar->Next(-1, true) : MenuBar->FindByAccel(key);
      if (item >= 0) {
        OpenMenuItem(item);
        result = 1;
        return true;
      }
    }
  }
  if (command == SC_MINIMIZE) ShowState = 2;
  else if (command == SC_MAXIMIZE) ShowState = 1;
  else if (command == SC_RESTORE) ShowState = 0;
  result = CallOld(WM_SYSCOMMAND, wp, lp);
  return true;
}

bool TWinSkinForm::Stage3(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NCACTIVATE:
      Active = wp != FALSE;
      if (!Active) {
        LeaveHover();
        CaptionHint().Hide();
      }
      CallOld(msg, wp, -1);  // the activation without the native frame's paint
      if (HasFrame()) PaintNC(nullptr);
      result = TRUE;
      return true;
    case WM_NCHITTEST: {
      result = CallOld(msg, wp, lp);
      // The native caption's buttons do not exist under the skin.
      if (result == HTSYSMENU || result == HTMINBUTTON || result == HTMAXBUTTON || result == HTCLOSE ||
          result == HTHELP) {
        result = HTCAPTION;
      }
      if (HasFrame() && (result == HTNOWHERE || result == HTCAPTION)) {
        const POINT p = ToWindow(lp);
        if (p.y > 3) result = HTCAPTION;
        if (MenuBarHeight > 0 && p.y > Border.Top && p.y < Border.Top + MenuBarHeight) result = HTMENU;
      }
      return true;
    }
    case WM_NCCALCSIZE: {
      auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
      const RECT proposed = params->rgrc[0];
      CallOld(msg, wp, lp);
      if (HasFrame() && !IsIconic(Handle)) {
        params->rgrc[0] = RECT{proposed.left + Border.Left, proposed.top + Border.Top + MenuBarHeight,
                               proposed.right - Border.Right, proposed.bottom - Border.Bottom};
        if (params->rgrc[0].right < params->rgrc[0].left) params->rgrc[0].right = params->rgrc[0].left;
        if (params->rgrc[0].bottom < params->rgrc[0].top) params->rgrc[0].bottom = params->rgrc[0].top;
      }
      result = 0;
      return true;
    }
    case WM_NCPAINT:
      if (!HasFrame()) return false;
      PaintNC(nullptr);
      result = 0;
      return true;
    case kMsgPaintNC:
      PaintNC(nullptr);
      result = 0;
      return true;
    case WM_NCMOUSEMOVE: {
      if (!Active) return false;
      const POINT p = ToWindow(lp);
      if (TWinSysButton* button = ButtonAt(p)) {
        if (hoverButton_ != button) SetHover(button, -1, 3);
        result = 0;
        return true;
      }
      const int item = MenuBar ? MenuBar->ItemAt(p) : -1;
      if (item >= 0) {
        if (hoverMenuItem_ != item) SetHover(nullptr, item, 3);
        result = 0;
        return true;
      }
      LeaveHover();
      return false;
    }
    case WM_NCLBUTTONDOWN: {
      CaptionHint().Hide();
      const POINT p = ToWindow(lp);
      if (TWinSysButton* button = ButtonAt(p)) {
        if (GetForegroundWindow() != Handle) SetForegroundWindow(Handle);
        SetHover(button, -1, 2);
        result = 0;
        return true;
      }
      const int item = MenuBar ? MenuBar->ItemAt(p) : -1;
      if (item >= 0) {
        if (GetForegroundWindow() != Handle) SetForegroundWindow(Handle);
        OpenMenuItem(item);
        result = 0;
        return true;
      }
      if (wp == HTCAPTION && IsZoomed(Handle) && Active) {
        result = CallOld(msg, HTMENU, lp);  // a maximised window is not dragged
        return true;
      }
      return false;
    }
    case WM_NCLBUTTONUP: {
      CaptionHint().Hide();
      const POINT p = ToWindow(lp);
      TWinSysButton* button = ButtonAt(p);
      if (button && button == hoverButton_ && button->State == 2) {
        SetHover(button, -1, 3);
        POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RunButtonAction(*button, screen);
        result = 0;
        return true;
      }
      if (button) {
        result = 0;
        return true;
      }
      return false;
    }
    case WM_NCLBUTTONDBLCLK: {
      const POINT p = ToWindow(lp);
      if (TWinSysButton* button = ButtonAt(p)) {
        const int action = Model().SysButtons[button->DataIndex].Action;
        if (action == 3 || action == 11) PostMessageW(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        result = 0;
        return true;
      }
      if (wp == HTCAPTION) {
        if (IsZoomed(Handle) || IsIconic(Handle)) {
          PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
          result = 0;
          return true;
        }
        if (maxBox_) {
          PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
          result = 0;
          return true;
        }
      }
      return false;
    }
    case WM_NCRBUTTONDOWN:
      CaptionHint().Hide();
      if (wp == HTCAPTION) {
        ShowSystemMenu(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        result = 0;
        return true;
      }
      return false;
    case WM_NCRBUTTONUP:
      if (wp == HTCAPTION) {
        result = 0;
        return true;
      }
      return false;
    case WM_SIZE:
      result = CallOld(msg, wp, lp);
      if (wp == SIZE_RESTORED) ShowState = 0;
      else if (wp == SIZE_MINIMIZED) ShowState = 2;
      else if (wp == SIZE_MAXIMIZED) ShowState = 1;
      if (wp != SIZE_MINIMIZED && (State == 1 || State == 3)) BuildRegion();
      return true;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType != ODT_MENU || !PaintsMenuRow(mis->itemData)) return false;
      MeasureMenuRow(*SkinData, RowKind(mis->itemData), FormObject, *mis);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU || !PaintsMenuRow(dis->itemData)) return false;
      DrawMenuRow(*SkinData, RowKind(dis->itemData), FormObject, *dis);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

// The skinned system menu's rows are always the skin's; the others as SkinMenus decided, the
// rest left to the gui layer's painter.
bool TWinSkinForm::PaintsMenuRow(ULONG_PTR itemData) const {
  if (itemData == static_cast<ULONG_PTR>(kSystemMenuTag)) return true;
  return BarMenuOpen ? SkinBarRows : SkinPopupRows;
}

MenuRowKind TWinSkinForm::RowKind(ULONG_PTR itemData) const {
  if (itemData == static_cast<ULONG_PTR>(kSystemMenuTag)) return MenuRowKind::Rebuilt;
  return BarMenuOpen ? MenuRowKind::BarDropDown : MenuRowKind::Popup;
}

POINT TWinSkinForm::ToWindow(LPARAM screenPoint) const {
  RECT r{};
  GetWindowRect(Handle, &r);
  return POINT{GET_X_LPARAM(screenPoint) - r.left, GET_Y_LPARAM(screenPoint) - r.top};
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT p) {
  for (TWinSysButton& button : buttons_) {
    const TRect& r = button.Rect;
    if (button.Visible && p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom) return &button;
  }
  return nullptr;
}

void TWinSkinForm::SetHover(TWinSysButton* button, int menuItem, int state) {
  if ((hoverButton_ && hoverButton_ != button) || (hoverMenuItem_ >= 0 && hoverMenuItem_ != menuItem)) LeaveHover();
  hoverButton_ = button;
  hoverMenuItem_ = menuItem;
  if (button) {
    button->State = state;
    RepaintButton(*button);
  }
  if (MenuBar && menuItem >= 0 && menuItem < static_cast<int>(MenuBar->Items.size())) {
    MenuBar->Items[static_cast<size_t>(menuItem)].State = state;
    PaintMenuBar();
  }
}

void TWinSkinForm::LeaveHover() {
  if (hoverButton_) {
    hoverButton_->State = 1;
    if (State == 1) RepaintButton(*hoverButton_);
  }
  if (MenuBar && hoverMenuItem_ >= 0 && hoverMenuItem_ < static_cast<int>(MenuBar->Items.size())) {
    MenuBar->Items[static_cast<size_t>(hoverMenuItem_)].State = 1;
    if (State == 1) PaintMenuBar();
  }
  hoverButton_ = nullptr;
  hoverMenuItem_ = -1;
  hintCounter_ = 0;
}

void TWinSkinForm::ToggleShowState(bool shownSo, int state, UINT command) {
  LeaveHover();
  ShowState = shownSo ? 0 : state;
  PostMessageW(Handle, WM_SYSCOMMAND, shownSo ? SC_RESTORE : command, 0);
}

void TWinSkinForm::RunButtonAction(TWinSysButton& button, POINT screen) {
  const int action = Model().SysButtons[button.DataIndex].Action;
  switch (action) {
    case 0:
      if (GetMenuState(sysMenu_, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        PostMessageW(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case 1:
    case 22:
      ToggleShowState(IsZoomed(Handle) != FALSE, 1, SC_MAXIMIZE);
      break;
    case 2:
    case 23:
      ToggleShowState(IsIconic(Handle) != FALSE, 2, SC_MINIMIZE);
      break;
    case 3:
    case 11:
    case 12:
      ShowSystemMenu(POINT{screen.x + 1, screen.y + 1});
      break;
    case 4:
      PostMessageW(Handle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      break;
    default:
      PostMessageW(Handle, kMsgCustomAction, static_cast<WPARAM>(action), 0);
      break;
  }
}

void TWinSkinForm::ShowSystemMenu(POINT screen) {
  // A second request within the double-click time while a caption object is hovered closes.
  const DWORD now = GetTickCount();
  if (hoverButton_ && now - lastSysMenuTick_ < GetDoubleClickTime()) {
    PostMessageW(Handle, WM_CLOSE, 0, 0);
    return;
  }
  lastSysMenuTick_ = now;
  LeaveHover();
  // The system menu mirrored row by row into an owner-drawn popup of the skin's own.
  HMENU popup = CreatePopupMenu();
  const bool maximized = IsZoomed(Handle) != FALSE, minimized = IsIconic(Handle) != FALSE;
  const int count = GetMenuItemCount(sysMenu_);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(sysMenu_, static_cast<UINT>(i), TRUE, &info)) continue;
    const bool separator = (info.fType & MFT_SEPARATOR) || text[0] == 0;
    bool enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    switch (info.wID & 0xFFF0) {
      case SC_MAXIMIZE: enabled = !maximized && maxBox_; break;
      case SC_MINIMIZE: enabled = !minimized && minBox_; break;
      case SC_SIZE:
      case SC_MOVE: enabled = !maximized; break;
      case SC_RESTORE: enabled = maximized || minimized; break;
      default: break;
    }
    MENUITEMINFOW row{sizeof row};
    row.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_DATA;
    row.fType = (separator ? MFT_SEPARATOR : MFT_STRING) | MFT_OWNERDRAW;
    row.wID = info.wID;
    row.fState = (enabled ? MFS_ENABLED : MFS_GRAYED) | (info.fState & MFS_CHECKED);
    row.dwItemData = static_cast<ULONG_PTR>(kSystemMenuTag);
    row.dwTypeData = separator ? const_cast<wchar_t*>(L"-") : text;
    InsertMenuItemW(popup, static_cast<UINT>(i), TRUE, &row);
  }
  RememberMenuRows(popup, false);
  manager_.MenuKind = 2;
  SetForegroundWindow(Handle);
  MenuLoop = true;
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(
      popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, Handle,
      nullptr));
  MenuLoop = false;
  DestroyMenu(popup);
  if (command) PostMessageW(Handle, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::TimerTick() {
  if (MenuLoop) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT w{};
  GetWindowRect(Handle, &w);
  const int x = cursor.x - w.left, y = cursor.y - w.top;
  auto off = [&](const TRect& r) { return x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom; };
  // A lit menu-bar item goes dark when the pointer has left it: no non-client message says so
  // when the pointer moves on into the client area.
  if (MenuBar && hoverMenuItem_ >= 0 && hoverMenuItem_ < static_cast<int>(MenuBar->Items.size()) &&
      off(MenuBar->Items[static_cast<size_t>(hoverMenuItem_)].Rect)) {
    LeaveHover();
    return;
  }
  if (!hoverButton_) return;
  if (off(hoverButton_->Rect)) {
    LeaveHover();
    CaptionHint().Hide();
    return;
  }
  if (!SkinData->Options.Has(xoCaptionButtonHint)) return;
  hintCounter_ += 250;
  const int pause = 500, hide = 2500;
  static const char16_t* const kHints[] = {u"Close", u"Maximize", u"Minimize", u"Restore"};
  const int action = Model().SysButtons[hoverButton_->DataIndex].Action;
  const char16_t* text = nullptr;
  if (action == 0 || action == 9 || action == 62) text = kHints[0];
  else if (action == 1 || action == 22) text = kHints[1];
  else if (action == 2 || action == 23 || action == 7 || action == 60) text = kHints[2];
  else if (action == 8 || action == 61) text = kHints[3];
  if (!text) return;
  if (hintCounter_ >= 2 * pause && hintCounter_ < 2 * pause + hide) {
    if (!CaptionHint().Visible()) {
      RECT size = CaptionHint().CalcHintRect(300, text);
      RECT at{cursor.x, cursor.y + 24, cursor.x + size.right, cursor.y + 24 + size.bottom};
      CaptionHint().ActivateHint(at, text, Handle);
    }
  } else if (hintCounter_ >= 2 * pause + hide) {
    CaptionHint().Hide();
  }
}

}  // namespace skin
