#include "desktop/tray_icon.h"

namespace desktop {

std::u16string TrayTipOf(std::u16string_view hint) {
  std::u16string_view tip = hint.substr(0, hint.find(u'|'));
  if (tip.size() > kTrayTipLength) {
    std::size_t length = kTrayTipLength;
    // A high surrogate as the last unit kept would lose its other half.
    if (tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF) --length;
    tip = tip.substr(0, length);
  }
  return std::u16string(tip);
}

TTrayIcon::TTrayIcon(TrayPlatform& platform) : platform_(platform) {
  window_ = platform_.AllocateWindow(*this);
  platform_.InstallMainWindowHook(*this);
  hookInstalled_ = true;
}

TTrayIcon::~TTrayIcon() {
  if (hookInstalled_) platform_.RemoveMainWindowHook(*this);
  hookInstalled_ = false;
  enabled_ = false;
  Delete();
  if (window_) platform_.FreeWindow(window_);
  window_ = 0;
}

void TTrayIcon::Loaded() {
  loaded_ = true;
  if (active_) Add();
}

TrayIconData TTrayIcon::FillIconData() const {
  TrayIconData data;
  data.window = window_;
  data.callbackMessage = platform_.CallbackMessage();
  data.icon = icon_;
  data.tip = TrayTipOf(hint_);
  return data;
}

void TTrayIcon::Add() {
  Delete();
  if (!icon_) return;
  const TrayIconData data = FillIconData();
  added_ = platform_.ShellNotify(TrayShellAction::Add, data);
  if (added_ && !data.tip.empty()) platform_.ShellNotify(TrayShellAction::Modify, data);
}

void TTrayIcon::Update() {
  if (!loaded_) return;
  if (added_) {
    if (!icon_) {
      Delete();
    } else {
      platform_.ShellNotify(TrayShellAction::Modify, FillIconData());
    }
  } else if (active_) {
    Add();
  }
}

void TTrayIcon::Delete() {
  if (window_) platform_.ShellNotify(TrayShellAction::Delete, FillIconData());
  added_ = false;
  pressed_ = 0;
}

void TTrayIcon::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (!loaded_) return;
  if (value) {
    Add();
  } else {
    Delete();
    // Without the icon nothing could bring back an application hidden through it.
    if (applicationHidden_) ShowApplication();
  }
}

void TTrayIcon::SetHint(std::u16string_view value) {
  if (value == hint_) return;
  hint_ = std::u16string(value);
  Update();
}

void TTrayIcon::SetIcon(uintptr_t icon) {
  icon_ = icon;
  Update();
}

void TTrayIcon::SetUseAppIcon(bool value) {
  useAppIcon_ = value;
  if (value) SetIcon(platform_.ApplicationIcon());
}

void TTrayIcon::HideApplication() {
  if (platform_.HasMainForm() && !platform_.MainFormMinimized()) {
    platform_.MinimizeApplication();
    platform_.HideMainForm();
  }
  platform_.HideApplicationWindow();
  applicationHidden_ = true;
}

void TTrayIcon::ShowApplication() {
  applicationHidden_ = false;
  platform_.ShowApplicationWindow();
  platform_.RestoreApplication();
  platform_.ShowMainForm();
}

// ---- The hidden window --------------------------------------------------------------------------

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, uint8_t bit, TShiftState shift, int x, int y) {
  if (pressed_ & bit) {
    pressed_ = static_cast<uint8_t>(pressed_ & ~bit);
    Click(button, shift, x, y);
  }
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

intptr_t TTrayIcon::WndProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  using namespace traymsg;
  if (msg == platform_.CallbackMessage()) {
    const auto mouse = static_cast<uint32_t>(lParam);
    if (!enabled_ || mouse < kMouseMove || mouse > kMButtonDblClk) return 0;
    const TShiftState shift = platform_.ShiftState();
    int x = 0, y = 0;
    platform_.CursorPos(x, y);
    switch (mouse) {
      case kMouseMove:
        if (OnMouseMove) OnMouseMove(*this, shift, x, y);
        break;
      case kLButtonDown:
        pressed_ |= 1;
        MouseDown(TMouseButton::mbLeft, shift, x, y);
        break;
      case kRButtonDown:
        pressed_ |= 2;
        MouseDown(TMouseButton::mbRight, shift, x, y);
        break;
      case kMButtonDown:
        pressed_ |= 4;
        MouseDown(TMouseButton::mbMiddle, shift, x, y);
        break;
      case kLButtonUp: MouseUp(TMouseButton::mbLeft, 1, shift, x, y); break;
      case kRButtonUp: MouseUp(TMouseButton::mbRight, 2, shift, x, y); break;
      case kMButtonUp: MouseUp(TMouseButton::mbMiddle, 4, shift, x, y); break;
      case kLButtonDblClk:
        DblClick();
        MouseDown(TMouseButton::mbLeft, shift, x, y);
        break;
      case kRButtonDblClk:
        DblClick();
        MouseDown(TMouseButton::mbRight, shift, x, y);
        break;
      case kMButtonDblClk:
        DblClick();
        MouseDown(TMouseButton::mbMiddle, shift, x, y);
        break;
      default:
        break;
    }
    return 0;
  }
  if (msg == platform_.TaskbarCreatedMessage()) {
    // The shell started anew without our icon.
    if (active_ && loaded_) {
      Add();
      if (!added_ && applicationHidden_) ShowApplication();
    }
    return 0;
  }
  if (popupMenu_) {
    intptr_t result = 0;
    if (popupMenu_->HandleOwnerMessage(msg, wParam, lParam, result)) return result;
  }
  return platform_.DefaultWindowProc(window_, msg, wParam, lParam);
}

void TTrayIcon::Click(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbRight && active_ && popupMenu_ && popupMenu_->AutoPopup()) {
    platform_.CancelMainFormModes();
    platform_.SetForeground(window_);
    platform_.ProcessMessages();
    popupMenu_->Popup(x, y, window_);
    platform_.SetForeground(window_);
    return;
  }
  if (OnClick) OnClick(*this, button, shift, x, y);
}

void TTrayIcon::DblClick() {
  if (active_ && popupMenu_ && popupMenu_->ClickDefaultItem()) return;
  if (OnDblClick) OnDblClick(*this);
}

bool TTrayIcon::MainWindowMessage(uint32_t msg, uintptr_t wParam) {
  if (msg != traymsg::kSysCommand || (wParam & 0xFFF0) != traymsg::kScMinimize) return false;
  if (!autoHide_ || !active_) return false;
  // Hidden only with the icon in the tray: without it the window could not be found again.
  // The shell may have lost the icon without a word (it ends before it restarts); a
  // modification that changes nothing tells. An icon without a picture takes the program's.
  if (added_) added_ = platform_.ShellNotify(TrayShellAction::Modify, FillIconData());
  if (!added_) {
    if (!icon_) icon_ = platform_.ApplicationIcon();
    Add();
  }
  if (!added_) return false;
  HideApplication();
  // The application is minimised and hidden: a minimise of the window itself would show it again.
  return true;
}

}  // namespace desktop
