#include <windows.h>

#include <algorithm>
#include <climits>

#include "unicode/compare_strings.h"

namespace unicode {

int CompareStringsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  const int la = static_cast<int>(std::min<size_t>(a.size(), INT_MAX));
  const int lb = static_cast<int>(std::min<size_t>(b.size(), INT_MAX));
  const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<const wchar_t*>(a.data()), la,
                                    reinterpret_cast<const wchar_t*>(b.data()), lb);
  return result == CSTR_LESS_THAN ? -1 : result == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace unicode
