#include "tray_driver.h"

#include <shellapi.h>

#include <chrono>
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
// When this program last clicked on the task bar.
std::chrono::steady_clock::time_point g_lastTrayClick{};
}  // namespace

void ClickTrayIcon(POINT at, bool rightButton) {
  // A margin beyond the double-click time: the task bar times presses by the Wine server's clock.
  const auto pause = std::chrono::milliseconds(GetDoubleClickTime() + 100);
  const auto since = std::chrono::steady_clock::now() - g_lastTrayClick;
  if (since < pause) {
    WaitUntil([] { return false; }, std::chrono::duration_cast<std::chrono::milliseconds>(pause - since));
  }
  ClickAt(at, rightButton);
  g_lastTrayClick = std::chrono::steady_clock::now();
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
