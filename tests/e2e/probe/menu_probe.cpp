// A message hook library for the end-to-end tests: hooked into the program's GUI thread,
// it reads a window's menu bar from inside the program (menus cannot be read from another
// process under Wine) and sends it back to the test as text, one row per line:
// "<level>\t<flags>\t<caption>", flags being C (checked) and G (greyed).
#include <windows.h>

#include <string>

namespace {

const UINT kProbeMessage = RegisterWindowMessageW(L"Quillora.E2E.MenuProbe");

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

}  // namespace

// wParam of the probe message: the window to answer (WM_COPYDATA); lParam: the window whose menu bar to read.
extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == kProbeMessage) {
      std::wstring text;
      HMENU bar = GetMenu(reinterpret_cast<HWND>(msg->lParam));
      if (bar) Describe(bar, 0, text);
      COPYDATASTRUCT data{0x4D454E55, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                          const_cast<wchar_t*>(text.c_str())};
      SendMessageW(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
