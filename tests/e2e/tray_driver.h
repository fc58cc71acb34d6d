// The program's notification-area icon as the end-to-end tests reach it: its hidden window,
// whether the shell holds the icon, where the virtual desktop's task bar draws it, and the
// shell restart that other programs see ("TaskbarCreated").
#pragma once

#include <windows.h>

#include <optional>

namespace e2e {

// The hidden window of the program's tray icon (class "QuilloraTrayIconWindow").
HWND FindTrayIconWindow(DWORD processId);
// Whether the shell holds the icon of that window (uID 0): a modification that changes
// nothing succeeds only for an icon that is there.
bool TrayIconPresent(HWND trayWindow);
// Removes the icon from the shell, as a shell that ends takes its icons with it.
void RemoveTrayIcon(HWND trayWindow);
// Tells every top-level window that the task bar was made anew, as a restarted shell does.
void BroadcastTaskbarCreated();
// The centre of the n-th icon from the right of the virtual desktop's task bar (Wine draws
// the icons there, each SM_CXSMICON + 4 pixels wide, vertically centred); nullopt without one.
std::optional<POINT> TrayIconPoint(int fromRight = 0);
// A real click on a tray icon. The task bar is one window that outlives the programs whose
// icons it shows: a press of the same button at the same place within the double-click time
// of its last press comes to the icon's owner as a double click (which is no click), even when
// the last press went to another program's icon there, in an earlier test. The click therefore
// waits until the double-click time has passed since the last one made here.
void ClickTrayIcon(POINT at, bool rightButton = false);
// The popup menu (a visible "#32768" window) the process shows now; nullptr for none.
HWND OpenPopupMenu(DWORD processId);
inline bool PopupMenuOpen(DWORD processId) { return OpenPopupMenu(processId) != nullptr; }

}  // namespace e2e
