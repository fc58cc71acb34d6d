#include "htmledit/module_routines.h"

#include <cmath>
#include <cstdio>

#include "unicode/codepage.h"

namespace htmledit {

double GetIEVersion(std::u16string_view userAgent) {
  constexpr std::u16string_view kMarker = u"MSIE ";
  size_t at = userAgent.find(kMarker);
  if (at == std::u16string_view::npos) return 0;
  size_t start = at + kMarker.size();
  size_t end = userAgent.find(u';', start);
  if (end == std::u16string_view::npos) return 0;
  std::u16string_view number = userAgent.substr(start, end - start);
  // Digits with at most one point; anything else is no version.
  double value = 0, scale = 0;
  bool digits = false;
  for (char16_t c : number) {
    if (c >= u'0' && c <= u'9') {
      digits = true;
      if (scale == 0) value = value * 10 + (c - u'0');
      else { value += (c - u'0') * scale; scale /= 10; }
    } else if (c == u'.' && scale == 0) {
      scale = 0.1;
    } else {
      return 0;
    }
  }
  return digits ? value : 0;
}

std::u16string ColorToHTML(TColor color, const SysColorResolver& sysColor) {
  uint32_t rgb = static_cast<uint32_t>(color);
  if ((rgb & 0xFF000000u) == 0x80000000u) rgb = sysColor ? sysColor(static_cast<int>(rgb & 0xFF)) : 0;
  rgb &= 0xFFFFFF;
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  return std::u16string(buf, buf + 7);
}

char16_t HtmlLowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;  // full-width Latin
  return c;
}

char16_t HtmlUpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? c - 32 : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  return c;
}

std::u16string HtmlLowerCase(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = HtmlLowerChar(c);
  return r;
}

std::u16string HtmlUpperCase(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = HtmlUpperChar(c);
  return r;
}

int HtmlCompareText(std::u16string_view a, std::u16string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t x = HtmlLowerChar(a[i]), y = HtmlLowerChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool HtmlSameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && HtmlCompareText(a, b) == 0;
}

namespace {
size_t Find(std::u16string_view sub, std::u16string_view s, size_t from, bool ignoreCase) {
  if (sub.empty() || sub.size() > s.size()) return std::u16string_view::npos;
  for (size_t i = from; i + sub.size() <= s.size(); ++i) {
    size_t k = 0;
    if (ignoreCase) {
      while (k < sub.size() && HtmlLowerChar(s[i + k]) == HtmlLowerChar(sub[k])) ++k;
    } else {
      while (k < sub.size() && s[i + k] == sub[k]) ++k;
    }
    if (k == sub.size()) return i;
  }
  return std::u16string_view::npos;
}

int PosFrom(std::u16string_view sub, std::u16string_view s, int from, bool ignoreCase) {
  size_t start = from <= 1 ? 0 : static_cast<size_t>(from - 1);
  if (start > s.size()) return 0;
  size_t at = Find(sub, s, start, ignoreCase);
  return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}
}  // namespace

int HtmlPosText(std::u16string_view sub, std::u16string_view s) { return PosFrom(sub, s, 1, true); }
int HtmlPosFrom(std::u16string_view sub, std::u16string_view s, int from) { return PosFrom(sub, s, from, false); }
int HtmlPosTextFrom(std::u16string_view sub, std::u16string_view s, int from) { return PosFrom(sub, s, from, true); }

std::u16string HtmlReplaceText(std::u16string_view s, std::u16string_view oldText, std::u16string_view newText,
                               bool replaceAll, bool ignoreCase) {
  std::u16string out;
  if (oldText.empty()) return std::u16string(s);
  size_t pos = 0;
  while (pos <= s.size()) {
    size_t at = Find(oldText, s, pos, ignoreCase);
    if (at == std::u16string_view::npos) break;
    out.append(s.substr(pos, at - pos));
    out.append(newText);
    pos = at + oldText.size();
    if (!replaceAll) break;
  }
  out.append(s.substr(pos < s.size() ? pos : s.size()));
  return out;
}

bool RoundTripsAnsi(char16_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  char16_t one[1] = {c};
  std::u16string back = unicode::AnsiToUtf16(unicode::Utf16ToAnsi(std::u16string_view(one, 1)));
  return back.size() == 1 && back[0] == c;
}

}  // namespace htmledit
