#include "htmledit/cf_html.h"

#include <cstdio>

#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr std::string_view kStartMarker = "<!--StartFragment-->";
constexpr std::string_view kEndMarker = "<!--EndFragment-->";

std::string Digits10(size_t n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%010zu", n);
  return buf;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
    if (s.size() - i <= static_cast<size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

std::u16string Decode(std::string_view bytes) {
  return IsValidUtf8(bytes) ? unicode::Utf8ToUtf16(bytes) : unicode::AnsiToUtf16(bytes);
}

// A header value "Name:digits" as an offset; -1 when absent or no number.
long long HeaderNumber(std::string_view header, std::string_view name) {
  size_t at = header.find(name);
  if (at == std::string_view::npos) return -1;
  size_t i = at + name.size();
  bool negative = i < header.size() && header[i] == '-';
  if (negative) ++i;
  long long n = 0;
  bool any = false;
  while (i < header.size() && header[i] >= '0' && header[i] <= '9') {
    any = true;
    if (n < (1LL << 40)) n = n * 10 + (header[i] - '0');
    ++i;
  }
  if (!any) return -1;
  return negative ? -1 : n;
}

}  // namespace

std::string WriteCfHtml(std::u16string_view fragmentHtml, std::u16string_view sourceUrl) {
  const std::string fragment = unicode::Utf16ToUtf8(fragmentHtml);
  const std::string url = unicode::Utf16ToUtf8(sourceUrl);
  const std::string before = "<html><body>\r\n" + std::string(kStartMarker);
  const std::string after = std::string(kEndMarker) + "\r\n</body>\r\n</html>";
  // The header's length does not depend on the numbers: ten digits each.
  auto header = [&](size_t sh, size_t eh, size_t sf, size_t ef) {
    std::string h = "Version:0.9\r\nStartHTML:" + Digits10(sh) + "\r\nEndHTML:" + Digits10(eh) +
                    "\r\nStartFragment:" + Digits10(sf) + "\r\nEndFragment:" + Digits10(ef) + "\r\n";
    if (!url.empty()) h += "SourceURL:" + url + "\r\n";
    return h;
  };
  size_t headerSize = header(0, 0, 0, 0).size();
  size_t startHtml = headerSize;
  size_t startFragment = startHtml + before.size();
  size_t endFragment = startFragment + fragment.size();
  size_t endHtml = endFragment + after.size();
  return header(startHtml, endHtml, startFragment, endFragment) + before + fragment + after;
}

std::optional<CfHtml> ReadCfHtml(std::string_view bytes) {
  while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);  // clipboard blocks end in zeros
  if (bytes.empty()) return std::nullopt;
  CfHtml result;
  size_t headerEnd = 0;
  long long sh = -1, eh = -1, sf = -1, ef = -1;
  if (bytes.substr(0, 8) == "Version:") {
    // The header runs up to the first '<' (the HTML part), at most a few hundred bytes.
    size_t lt = bytes.find('<');
    headerEnd = lt == std::string_view::npos ? bytes.size() : lt;
    std::string_view header = bytes.substr(0, headerEnd < 4096 ? headerEnd : 4096);
    sh = HeaderNumber(header, "StartHTML:");
    eh = HeaderNumber(header, "EndHTML:");
    sf = HeaderNumber(header, "StartFragment:");
    ef = HeaderNumber(header, "EndFragment:");
    size_t su = header.find("SourceURL:");
    if (su != std::string_view::npos) {
      size_t end = header.find_first_of("\r\n", su);
      result.sourceUrl = Decode(header.substr(su + 10, end == std::string_view::npos ? std::string_view::npos : end - su - 10));
    }
  }
  const long long size = static_cast<long long>(bytes.size());
  auto valid = [&](long long a, long long b) { return a >= static_cast<long long>(headerEnd) && b >= a && b <= size; };
  // The HTML part.
  long long htmlStart = static_cast<long long>(headerEnd), htmlEnd = size;
  if (valid(sh, eh)) {
    htmlStart = sh;
    htmlEnd = eh;
  } else if (sh >= static_cast<long long>(headerEnd) && sh <= size) {
    htmlStart = sh;
  }
  std::string_view html = bytes.substr(static_cast<size_t>(htmlStart), static_cast<size_t>(htmlEnd - htmlStart));
  // The fragment: markers first, then offsets, then the whole part.
  size_t m1 = bytes.find(kStartMarker);
  size_t m2 = m1 == std::string_view::npos ? std::string_view::npos : bytes.find(kEndMarker, m1);
  std::string_view fragment;
  if (m1 != std::string_view::npos && m2 != std::string_view::npos) {
    fragment = bytes.substr(m1 + kStartMarker.size(), m2 - m1 - kStartMarker.size());
    if (static_cast<long long>(m1) < htmlStart || static_cast<long long>(m2 + kEndMarker.size()) > htmlEnd)
      html = bytes.substr(headerEnd);
  } else if (valid(sf, ef)) {
    fragment = bytes.substr(static_cast<size_t>(sf), static_cast<size_t>(ef - sf));
  } else {
    fragment = html;
  }
  result.html = Decode(html);
  result.fragment = Decode(fragment);
  return result;
}

PasteSource ChoosePasteSource(bool hasHtmlFormat, bool hasUnicodeText, bool hasAnsiText) {
  if (hasHtmlFormat) return PasteSource::Html;
  if (hasUnicodeText) return PasteSource::UnicodeText;
  if (hasAnsiText) return PasteSource::AnsiText;
  return PasteSource::None;
}

std::u16string TextToHtml(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'\r':
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        out += u"<BR>";
        break;
      case u'\n': out += u"<BR>"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace htmledit
