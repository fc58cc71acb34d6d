#include <windows.h>

#include "htmledit/module_routines.h"

namespace htmledit {

int AnsiCodePageOf() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, buf, 8) <= 0) return 1252;
  int cp = _wtoi(buf);
  return cp > 0 ? cp : 1252;
}

}  // namespace htmledit
