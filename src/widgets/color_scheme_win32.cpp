#include "widgets/color_scheme_win32.h"

#include <windows.h>

#include <string>

namespace widgets {

namespace {
ColorScheme ReadScheme() {
  wchar_t value[64] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", L"ColorName",
                   RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return ColorScheme::Blue;
  }
  return SchemeFromColorName(reinterpret_cast<const char16_t*>(value));
}

struct DisplayState {
  ColorScheme scheme = ReadScheme();
  bool manyColors = [] {
    HDC screen = GetDC(nullptr);
    const bool many = GetDeviceCaps(screen, NUMCOLORS) == -1;
    ReleaseDC(nullptr, screen);
    return many;
  }();
};

DisplayState& State() {
  static DisplayState state;
  return state;
}
}  // namespace

ColorScheme CurrentColorScheme() { return State().scheme; }
void RereadColorScheme() { State().scheme = ReadScheme(); }
bool DisplayHasManyColors() { return State().manyColors; }

}  // namespace widgets
