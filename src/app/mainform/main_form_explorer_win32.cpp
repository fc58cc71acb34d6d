// TForm1: the Explorer display options (file extensions, hidden files) with their tray twins,
// the refresh of Explorer windows and the desktop, and "显示桌面（系统）".
#include <windows.h>
#include <shlobj.h>

#include "app/explorer/explorer_options.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/wide.h"

namespace app {

namespace {
constexpr UINT kF5 = VK_F5;  // 116

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM lp) {
  auto* windows = reinterpret_cast<std::vector<TopWindow>*>(lp);
  char name[254] = {};
  const int length = GetClassNameA(hwnd, name, sizeof name);
  windows->push_back({reinterpret_cast<std::uintptr_t>(hwnd), std::u16string(name, name + length)});
  return TRUE;
}

// Brings a window to the front: up to 21 tries, 50 ms apart.
bool BringToForeground(HWND hwnd) {
  for (int attempt = 0; attempt < 21; ++attempt) {
    if (SetForegroundWindow(hwnd)) return true;
    gui::Application::Instance().Wait(50);
  }
  return false;
}

bool WriteOptionValues(ExplorerOption option, bool shown) {
  const std::u16string keyName(kExplorerAdvancedKey);
  HKEY key = nullptr;
  // The key is opened, never created: a system without it keeps its registry as it is.
  for (int attempt = 0; attempt < 2 && !key; ++attempt) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, gui::W(keyName), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) key = nullptr;
  }
  if (!key) return false;
  for (const RegistryDword& value : ExplorerOptionValues(option, shown)) {
    const std::u16string name(value.name);
    const DWORD data = value.value;
    RegSetValueExW(key, gui::W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  }
  RegCloseKey(key);
  return true;
}
}  // namespace

void TForm1::RefreshExplorerWindows() {
  const bool win7 = OSName == "win7";
  std::vector<TopWindow> windows;
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
  const std::vector<RefreshStep> steps = PlanExplorerRefresh(windows, win7);
  for (const RefreshStep& step : steps) {
    HWND hwnd = reinterpret_cast<HWND>(step.handle);
    if (step.action == RefreshAction::PostRefresh) {
      PostMessageA(hwnd, WM_COMMAND, kExplorerRefreshCommand, 0);
      continue;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    // F5 goes to whatever window is in front: only when that is this Explorer window.
    if (BringToForeground(hwnd) && GetForegroundWindow() == hwnd) {
      keybd_event(kF5, static_cast<BYTE>(MapVirtualKeyA(kF5, 0)), 0, 0);
      keybd_event(kF5, static_cast<BYTE>(MapVirtualKeyA(kF5, 0)), KEYEVENTF_KEYUP, 0);
    }
  }
  if (HWND desktop = FindWindowA("Progman", nullptr)) PostMessageA(desktop, WM_COMMAND, kExplorerRefreshCommand, 0);
  ExplorerWindowFound = !steps.empty();
}

void TForm1::ApplyExplorerOption(bool hiddenFiles) {
  const ExplorerOption option = hiddenFiles ? ExplorerOption::HiddenFiles : ExplorerOption::Extensions;
  const char16_t* row = hiddenFiles ? u"xiansiyincang" : u"xisikuozanmin";
  const char16_t* twin = hiddenFiles ? u"xiansiyincang2" : u"xisikuozanmin2";
  // 1. The window in front now comes back to the front afterwards.
  HWND active = GetForegroundWindow();
  const bool shown = Checked(row);
  SetChecked(twin, shown);
  // 2.-3.
  if (!WriteOptionValues(option, shown)) {
    gui::MessageBoxU(ExplorerKeyMissingMessage(option), u"出错", MB_OK);
    return;
  }
  // 4.-5. Explorer windows read their settings again.
  const bool win7 = OSName == "win7";
  RefreshExplorerWindows();
  auto backToFront = [&] {
    gui::Application::Instance().Wait(100);
    BringToForeground(active && IsWindow(active) ? active : Handle());
  };
  if (win7) {
    backToFront();
    if (!ExplorerWindowFound && GetFileAttributesW(gui::W(paths_.BaseDir)) != INVALID_FILE_ATTRIBUTES) {
      OpenFolderInExplorer(paths_.BaseDir, SW_SHOWMINIMIZED);
      gui::Application::Instance().Wait(500);
      RefreshExplorerWindows();
      backToFront();
    }
  }
  // 6. The desktop is told. The wallpaper is set to the one it has, so nothing changes there.
  wchar_t wallpaper[MAX_PATH + 1] = {};
  if (SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0)) {
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wallpaper, SPIF_SENDWININICHANGE);
  }
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  SHChangeNotify(0x7FFFFFFF, SHCNF_FLUSH, nullptr, nullptr);
  if (win7) {
    DWORD recipients = BSM_ALLCOMPONENTS;
    BroadcastSystemMessageA(BSF_NOHANG, &recipients, WM_SYSCOLORCHANGE, 0, 0);
  }
}

void TForm1::xiansizuomianClick() {
  // Every visible top-level window is minimised, this one included, but not the shell's task
  // bar and desktop. The whole window list is walked: a window of another program may lie
  // above this one (the menu choice need not bring it to the front), and the list is taken
  // first because minimising reorders it.
  std::vector<TopWindow> windows;
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
  for (const TopWindow& w : windows) {
    if (IsShellFrameWindow(w)) continue;
    HWND hwnd = reinterpret_cast<HWND>(w.handle);
    if (IsWindowVisible(hwnd)) PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  }
}

void TForm1::BindExplorerCommands() {
  Bind(u"xisikuozanminClick", [this] { ApplyExplorerOption(false); });
  Bind(u"xiansiyincangClick", [this] { ApplyExplorerOption(true); });
  // The tray twins hand their check to the main row first.
  Bind(u"xisikuozanmin2Click", [this] {
    SetChecked(u"xisikuozanmin", Checked(u"xisikuozanmin2"));
    ApplyExplorerOption(false);
  });
  Bind(u"xiansiyincang2Click", [this] {
    SetChecked(u"xiansiyincang", Checked(u"xiansiyincang2"));
    ApplyExplorerOption(true);
  });
  Bind(u"xiansizuomianClick", [this] { xiansizuomianClick(); });
}

}  // namespace app
