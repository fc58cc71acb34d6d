#include "tray_driver.h"

#include <shellapi.h>

#include <string>

#include "program_driver.h"

namespace e2e {

HWND FindTrayIconWindow(DWORD processId) { return FindProcessWindow(processId, L"QuilloraTrayIconWindow"); }

bool TrayIconPresent(HWND trayWindow) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = trayWindow;
  data.uID = 0;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void RemoveTrayIcon(HWND trayWindow) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = trayWindow;
  data.uID = 0;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void BroadcastTaskbarCreated() {
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

std::optional<POINT> TrayIconPoint(int fromRight) {
  HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT r{};
  if (!bar || !GetWindowRect(bar, &r)) return std::nullopt;
  const int width = GetSystemMetrics(SM_CXSMICON) + 4;
  return POINT{r.right - width * fromRight - width / 2, (r.top + r.bottom) / 2};
}

namespace {
struct PopupSearch {
  DWORD pid;
  HWND found = nullptr;
};
BOOL CALLBACK FindPopup(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<PopupSearch*>(lp);
  if (IsWindowVisible(hwnd) && WindowClass(hwnd) == L"#32768" && ProcessOfWindow(hwnd) == search->pid) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND OpenPopupMenu(DWORD processId) {
  PopupSearch search{processId};
  EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace e2e
