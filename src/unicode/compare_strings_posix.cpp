#include <locale.h>
#include <wctype.h>

#include "unicode/compare_strings.h"

namespace unicode {

namespace {
locale_t FoldingLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  }();
  return locale;
}

char32_t Next(std::u16string_view s, size_t& i) {
  char32_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
    c = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
  }
  return c;
}
}  // namespace

int CompareStringsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  const locale_t locale = FoldingLocale();
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const wint_t x = towlower_l(static_cast<wint_t>(Next(a, i)), locale);
    const wint_t y = towlower_l(static_cast<wint_t>(Next(b, j)), locale);
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace unicode
