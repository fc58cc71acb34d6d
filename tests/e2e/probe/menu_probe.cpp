// A message hook library for the end-to-end tests: hooked into the program's GUI thread,
// it reads a window's menu bar from inside the program (menus cannot be read from another
// process under Wine) and sends it back to the test as text, one row per line:
// "<level>\t<flags>\t<caption>", flags being C (checked) and G (greyed).
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

const UINT kProbeMessage = RegisterWindowMessageW(L"Quillora.E2E.MenuProbe");
const UINT kChooseMessage = RegisterWindowMessageW(L"Quillora.E2E.MenuChoose");
const UINT kPopupRowMessage = RegisterWindowMessageW(L"Quillora.E2E.PopupRow");
const UINT kOpenMenuMessage = RegisterWindowMessageW(L"Quillora.E2E.OpenMenu");
const UINT kRowPointMessage = RegisterWindowMessageW(L"Quillora.E2E.RowPoint");

// The drop-downs open now ("#32768" windows of this thread) and their menus, the first
// opened first. A skinned menu bar is no native menu: its rows are read from these.
struct OpenMenus {
  std::vector<std::pair<HWND, HMENU>> popups;
};
BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM lp) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(hwnd)) {
    auto* menu = reinterpret_cast<HMENU>(SendMessageW(hwnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
    if (menu) reinterpret_cast<OpenMenus*>(lp)->popups.emplace_back(hwnd, menu);
  }
  return TRUE;
}
OpenMenus FindOpenMenus() {
  OpenMenus open;
  EnumThreadWindows(GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&open));
  // Enumeration runs from the top of the z-order: the drop-down opened first comes last.
  std::reverse(open.popups.begin(), open.popups.end());
  return open;
}

std::wstring CaptionAt(HMENU menu, int i, HMENU* subMenu) {
  wchar_t text[512] = {};
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 511;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) return L"";
  if (subMenu) *subMenu = info.hSubMenu;
  return text;
}

// Where a row with this caption of an open drop-down is on the screen: "R x y" for the
// row itself (also one that opens a sub-menu without such a row), "P x y" for the row of an open drop-down whose closed sub-menu holds it,
// "" when no open drop-down has it.
bool HoldsCaption(HMENU menu, const std::wstring& caption) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    HMENU sub = nullptr;
    if (CaptionAt(menu, i, &sub) == caption && !sub) return true;
    if (sub && HoldsCaption(sub, caption)) return true;
  }
  return false;
}
std::wstring RowPoint(const std::wstring& caption) {
  const OpenMenus open = FindOpenMenus();
  for (auto it = open.popups.rbegin(); it != open.popups.rend(); ++it) {
    const auto [window, menu] = *it;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      HMENU sub = nullptr;
      const std::wstring text = CaptionAt(menu, i, &sub);
      const bool holds = sub && HoldsCaption(sub, caption);
      const bool row = text == caption && !holds;
      if (!row && !holds) continue;
      RECT r{};
      if (!GetMenuItemRect(window, menu, static_cast<UINT>(i), &r)) continue;
      return std::wstring(row ? L"R " : L"P ") + std::to_wstring((r.left + r.right) / 2) + L" " +
             std::to_wstring((r.top + r.bottom) / 2);
    }
  }
  return L"";
}

// Chooses the first row with this caption, as a click on it would: WM_MENUCOMMAND for menus
// that notify by position, WM_COMMAND with the row's id otherwise. "sub-menu\nrow" chooses the
// row inside the first sub-menu of that caption (rows of the same name in several menus).
bool Choose(HWND window, HMENU menu, const std::wstring& caption) {
  const size_t newline = caption.find(L'\n');
  const std::wstring head = newline == std::wstring::npos ? L"" : caption.substr(0, newline);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_ID;
    info.dwTypeData = text;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!info.hSubMenu && caption == text) {
      MENUINFO menuInfo{sizeof menuInfo};
      menuInfo.fMask = MIM_STYLE;
      GetMenuInfo(menu, &menuInfo);
      if (menuInfo.dwStyle & MNS_NOTIFYBYPOS) {
        PostMessageW(window, WM_MENUCOMMAND, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(menu));
      } else {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(info.wID, 0), 0);
      }
      return true;
    }
    if (info.hSubMenu && !head.empty() && head == text) return Choose(window, info.hSubMenu, caption.substr(newline + 1));
    if (info.hSubMenu && Choose(window, info.hSubMenu, caption)) return true;
  }
  return false;
}

void Describe(HMENU menu, int level, std::wstring& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t caption[512] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    std::wstring flags;
    if (info.fState & MFS_CHECKED) flags += L'C';
    if (info.fState & MFS_GRAYED) flags += L'G';
    out += std::to_wstring(level) + L"\t" + flags + L"\t" + ((info.fType & MFT_SEPARATOR) ? L"-" : caption) + L"\n";
    if (info.hSubMenu) Describe(info.hSubMenu, level + 1, out);
  }
}

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"#32768" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

// The context menu the thread shows now (a visible "#32768" window of this thread).
HMENU OpenPopupMenu() {
  HWND window = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&window));
  if (!window) return nullptr;
  return reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
}

// The screen rectangle of the open context menu's row with this caption, as
// "left top right bottom"; empty when no such menu or row is open.
std::wstring PopupRowRectangle(const std::wstring& caption) {
  HMENU menu = OpenPopupMenu();
  if (!menu) return L"";
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    if (GetMenuStringW(menu, static_cast<UINT>(i), text, 511, MF_BYPOSITION) <= 0 || caption != text) continue;
    RECT r{};
    if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) return L"";
    return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) + L" " +
           std::to_wstring(r.bottom);
  }
  return L"";
}

void Reply(HWND to, const std::wstring& text) {
  COPYDATASTRUCT data{0x4D454E55, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(text.c_str())};
  SendMessageW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace

void Answer(HWND to, const std::wstring& text) {
  COPYDATASTRUCT data{0x4D454E55, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), const_cast<wchar_t*>(text.c_str())};
  SendMessageW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

// wParam of the probe message: the window to answer (WM_COPYDATA); lParam: the window whose menu bar to read.
extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wp, LPARAM lp) {
  // Only when the message leaves the queue: a menu's loop also peeks without removing.
  if (code == HC_ACTION && wp == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == kProbeMessage) {
      std::wstring text;
      HMENU bar = GetMenu(reinterpret_cast<HWND>(msg->lParam));
      if (bar) Describe(bar, 0, text);
      COPYDATASTRUCT data{0x4D454E55, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                          const_cast<wchar_t*>(text.c_str())};
      SendMessageW(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      msg->message = WM_NULL;
    } else if (msg->message == kOpenMenuMessage) {
      // The first open drop-down: "<menu handle> <drop-downs open>\n" and its rows at level 1
      // and deeper.
      const OpenMenus open = FindOpenMenus();
      std::wstring text;
      if (!open.popups.empty()) {
        HMENU first = open.popups.front().second;
        text = std::to_wstring(reinterpret_cast<UINT_PTR>(first)) + L" " + std::to_wstring(open.popups.size()) + L"\n";
        Describe(first, 1, text);
      }
      Answer(reinterpret_cast<HWND>(msg->wParam), text);
      msg->message = WM_NULL;
    } else if (msg->message == kRowPointMessage) {
      wchar_t caption[256] = {};
      GlobalGetAtomNameW(static_cast<ATOM>(msg->lParam), caption, 256);
      Answer(reinterpret_cast<HWND>(msg->wParam), RowPoint(caption));
      msg->message = WM_NULL;
    } else if (msg->message == kChooseMessage) {
      // lParam: a global atom holding the caption; the answer (1 found, 0 not) goes back as
      // WM_COPYDATA like the menu text.
      wchar_t caption[256] = {};
      GlobalGetAtomNameW(static_cast<ATOM>(msg->lParam), caption, 256);
      HWND window = msg->hwnd;
      const bool found = Choose(window, GetMenu(window), caption);
      const wchar_t* answer = found ? L"1" : L"0";
      COPYDATASTRUCT data{0x4D454E55, 2 * sizeof(wchar_t), const_cast<wchar_t*>(answer)};
      SendMessageW(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      msg->message = WM_NULL;
    } else if (msg->message == kPopupRowMessage && wp == PM_REMOVE) {
      // While a context menu is open its own loop takes the messages: answered once, when
      // the message is taken off the queue.
      wchar_t caption[256] = {};
      GlobalGetAtomNameW(static_cast<ATOM>(msg->lParam), caption, 256);
      Reply(reinterpret_cast<HWND>(msg->wParam), PopupRowRectangle(caption));
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
