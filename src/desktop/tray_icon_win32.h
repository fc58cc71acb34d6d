// TTrayIcon on Windows: Shell_NotifyIconW, a hidden top-level window for the callbacks (a
// message-only window would never hear the "TaskbarCreated" broadcast), the main window
// watched through a subclass, and a gui::Menu as the popup menu.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop/tray_icon.h"
#include "gui/gdi.h"
#include "gui/menu.h"

namespace desktop {

// The platform of the icons of one main window (nullptr: no main window to hide or watch).
std::unique_ptr<TrayPlatform> MakeWin32TrayPlatform(HWND mainWindow);

// A gui::Menu as the icon's popup menu. Its rows take the look of the window whose menus hold
// it (lookWindow, when given): they are measured and drawn there, so that a skin on that window
// paints them as it paints the window's own popup menus.
class MenuTrayPopup : public TrayPopupMenu {
 public:
  explicit MenuTrayPopup(gui::Menu& menu, HWND lookWindow = nullptr) : menu_(menu), lookWindow_(lookWindow) {}
  bool AutoPopup() const override { return menu_.AutoPopup(); }
  void Popup(int x, int y, uintptr_t window) override { menu_.Popup(reinterpret_cast<HWND>(window), x, y); }
  bool ClickDefaultItem() override { return menu_.ClickDefaultRow(); }
  bool HandleOwnerMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 private:
  gui::Menu& menu_;
  HWND lookWindow_;
};

}  // namespace desktop
