#include "htmledit/url_paths.h"

#include <vector>

#include "htmledit/module_routines.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

bool StartsWithText(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && HtmlSameText(s.substr(0, prefix.size()), prefix);
}

}  // namespace

std::u16string DecodePercentEscapes(std::u16string_view s) {
  // Escapes stand for UTF-8 bytes.
  std::string bytes;
  std::u16string out;
  auto flush = [&] {
    if (!bytes.empty()) out += unicode::Utf8ToUtf16(bytes);
    bytes.clear();
  };
  auto hex = [](char16_t c) -> int {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%' && i + 2 < s.size() + 0 && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      bytes += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
      continue;
    }
    flush();
    out += s[i];
  }
  flush();
  return out;
}

namespace {

std::vector<std::u16string_view> SplitPath(std::u16string_view p) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == u'\\') {
      if (i > start) parts.push_back(p.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace

std::optional<std::u16string> PathFromFileUrl(std::u16string_view url) {
  if (!StartsWithText(url, u"file:")) return std::nullopt;
  std::u16string_view rest = url.substr(5);
  std::u16string path;
  if (rest.substr(0, 3) == u"///") {
    path = DecodePercentEscapes(rest.substr(3));
  } else if (rest.substr(0, 2) == u"//") {
    std::u16string_view hostAndPath = rest.substr(2);
    // "file://C:/x" names a drive, "file://host/share" a network path.
    if (hostAndPath.size() >= 2 && hostAndPath[1] == u':') path = DecodePercentEscapes(hostAndPath);
    else path = u"\\\\" + DecodePercentEscapes(hostAndPath);
  } else {
    path = DecodePercentEscapes(rest);
  }
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  if (path.size() >= 2 && path[1] == u'|') path[1] = u':';
  return path;
}

std::u16string LocalPathOf(std::u16string_view url, bool backslash) {
  std::u16string path;
  if (auto p = PathFromFileUrl(url)) {
    path = *p;
  } else if (StartsWithText(url, u"about:blank")) {
    path = url.substr(11);
  } else if (StartsWithText(url, u"about:")) {
    path = url.substr(6);
  } else {
    path = url;
  }
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
    if (!backslash && c == u'\\') c = u'/';
  }
  return path;
}

std::u16string CanonicalUrl(std::u16string_view s) {
  if (StartsWithText(s, u"file:")) {
    if (s.substr(5, 2) == u"//") return std::u16string(s);
    return u"file://" + std::u16string(s.substr(5));
  }
  bool drive = s.size() >= 2 && s[1] == u':' &&
               ((s[0] >= u'a' && s[0] <= u'z') || (s[0] >= u'A' && s[0] <= u'Z'));
  bool unc = s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\';
  if (!drive && !unc) return std::u16string(s);
  std::u16string out = unc ? u"file:" : u"file:///";
  std::string utf8 = unicode::Utf16ToUtf8(s);
  static const char kHex[] = "0123456789ABCDEF";
  for (unsigned char b : utf8) {
    if (b == '\\') {
      out += u'/';
    } else if (b <= 0x20 || b >= 0x7F || b == '%' || b == '#' || b == '"') {
      out += u'%';
      out += static_cast<char16_t>(kHex[b >> 4]);
      out += static_cast<char16_t>(kHex[b & 15]);
    } else {
      out += static_cast<char16_t>(b);
    }
  }
  return out;
}

std::u16string RelativePath(std::u16string_view base, std::u16string_view target) {
  std::vector<std::u16string_view> b = SplitPath(base), t = SplitPath(target);
  // The base's own file name; a base that ends with a separator names a folder.
  if (!b.empty() && !base.empty() && base.back() != u'\\' && base.back() != u'/') b.pop_back();
  if (b.empty() || t.empty() || !HtmlSameText(b[0], t[0])) return std::u16string(target);
  size_t common = 0;
  while (common < b.size() && common + 1 < t.size() && HtmlSameText(b[common], t[common])) ++common;
  std::u16string out;
  for (size_t i = common; i < b.size(); ++i) out += u"..\\";
  for (size_t i = common; i < t.size(); ++i) {
    out += t[i];
    if (i + 1 < t.size()) out += u'\\';
  }
  return out;
}

bool UsesNetwork(std::u16string_view url) {
  for (std::u16string_view scheme : {u"http:", u"https:", u"ftp:", u"gopher:", u"news:", u"nntp:", u"telnet:",
                                     u"wais:", u"mms:"})
    if (StartsWithText(url, scheme)) return true;
  // "//host/..." is fetched with the page's own scheme.
  return url.substr(0, 2) == u"//" && url.substr(0, 3) != u"///";
}

}  // namespace htmledit
