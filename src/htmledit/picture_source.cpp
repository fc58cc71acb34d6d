#include "htmledit/picture_source.h"

#include <algorithm>
#include <cmath>

#include "cipher/base64.h"
#include "htmledit/module_routines.h"
#include "htmledit/url_paths.h"

namespace htmledit {

namespace {

bool HasPrefix(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && HtmlSameText(s.substr(0, prefix.size()), prefix);
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// "C:\..." or "C:/...".
bool IsDrivePath(std::u16string_view p) { return p.size() >= 3 && IsAsciiLetter(p[0]) && p[1] == u':' && IsSeparator(p[2]); }

// An address that names a scheme of its own ("http:", "mailto:"; a drive letter is none).
bool HasScheme(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && (IsAsciiLetter(s[i]) || (i > 0 && ((s[i] >= u'0' && s[i] <= u'9') || s[i] == u'+' ||
                                                             s[i] == u'-' || s[i] == u'.'))))
    ++i;
  return i > 1 && i < s.size() && s[i] == u':';
}

std::u16string WithBackslashes(std::u16string p) {
  for (char16_t& c : p)
    if (c == u'/') c = u'\\';
  return p;
}

// The local path of an absolute address (file URL or drive path), nullopt otherwise.
std::optional<std::u16string> AbsolutePath(std::u16string_view address) {
  if (HasPrefix(address, u"file:")) return PathFromFileUrl(address);
  if (IsDrivePath(address)) return WithBackslashes(std::u16string(address));
  return std::nullopt;
}

// A relative address without its query and fragment, escapes decoded.
std::u16string RelativePart(std::u16string_view src) {
  const size_t cut = src.find_first_of(u"?#");
  return DecodePercentEscapes(src.substr(0, cut));
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The payload's bytes with percent escapes decoded and, for Base64, blanks left out; nullopt
// for a character that is no byte, or beyond maxBytes.
std::optional<std::string> PayloadBytes(std::u16string_view payload, bool base64, size_t maxBytes) {
  std::string out;
  for (size_t i = 0; i < payload.size(); ++i) {
    char16_t c = payload[i];
    if (c == u'%' && i + 2 < payload.size() && HexValue(payload[i + 1]) >= 0 && HexValue(payload[i + 2]) >= 0) {
      c = static_cast<char16_t>(HexValue(payload[i + 1]) * 16 + HexValue(payload[i + 2]));
      i += 2;
    }
    if (base64 && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f')) continue;
    if (c > 0xFF) return std::nullopt;
    if (out.size() >= maxBytes) return std::nullopt;
    out += static_cast<char>(c);
  }
  return out;
}

bool IsBase64Text(std::string_view text) {
  size_t padding = 0;
  for (char c : text) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
    if (c == '=') ++padding;
    else if (!letter || padding > 0) return false;  // nothing after the padding
  }
  return padding <= 2;
}

uint32_t Be32(std::string_view b, size_t at) {
  return (uint32_t{static_cast<uint8_t>(b[at])} << 24) | (uint32_t{static_cast<uint8_t>(b[at + 1])} << 16) |
         (uint32_t{static_cast<uint8_t>(b[at + 2])} << 8) | static_cast<uint8_t>(b[at + 3]);
}
uint32_t Be16(std::string_view b, size_t at) {
  return (uint32_t{static_cast<uint8_t>(b[at])} << 8) | static_cast<uint8_t>(b[at + 1]);
}
uint32_t Le16(std::string_view b, size_t at) {
  return (uint32_t{static_cast<uint8_t>(b[at + 1])} << 8) | static_cast<uint8_t>(b[at]);
}
uint32_t Le32(std::string_view b, size_t at) { return (Le16(b, at + 2) << 16) | Le16(b, at); }

std::optional<PictureHeader> Checked(PictureFormat format, int64_t w, int64_t h, uint64_t decoded) {
  if (w < 1 || h < 1 || w > 65535 || h > 65535) return std::nullopt;
  return PictureHeader{format, static_cast<int>(w), static_cast<int>(h), std::max<uint64_t>(decoded, w * h)};
}

std::optional<PictureHeader> PngHeader(std::string_view b) {
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
  return Checked(PictureFormat::Png, Be32(b, 16), Be32(b, 20), 0);
}

std::optional<PictureHeader> JpegHeader(std::string_view b) {
  size_t pos = 2;
  while (pos < b.size()) {
    if (static_cast<uint8_t>(b[pos]) != 0xFF) return std::nullopt;
    while (pos < b.size() && static_cast<uint8_t>(b[pos]) == 0xFF) ++pos;  // fill bytes
    if (pos >= b.size()) return std::nullopt;
    const uint8_t marker = static_cast<uint8_t>(b[pos++]);
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // markers without a length
    if (marker == 0xD9 || marker == 0xDA || pos + 2 > b.size()) return std::nullopt;  // no frame before the scan
    const uint32_t length = Be16(b, pos);
    if (length < 2) return std::nullopt;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (pos + 7 > b.size()) return std::nullopt;
      return Checked(PictureFormat::Jpeg, Be16(b, pos + 5), Be16(b, pos + 3), 0);
    }
    pos += length;
  }
  return std::nullopt;
}

// Skips the data sub-blocks at pos (each a length byte and that many bytes, ended by 0).
size_t SkipSubBlocks(std::string_view b, size_t pos) {
  while (pos < b.size()) {
    const uint8_t n = static_cast<uint8_t>(b[pos++]);
    if (n == 0) break;
    pos += n;
  }
  return pos;
}

std::optional<PictureHeader> GifHeader(std::string_view b) {
  if (b.size() < 13) return std::nullopt;
  const uint32_t w = Le16(b, 6), h = Le16(b, 8);
  const uint8_t flags = static_cast<uint8_t>(b[10]);
  size_t pos = 13;
  if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
  // The decoder reads every frame: their areas count with the screen's.
  uint64_t decoded = uint64_t{w} * h;
  bool framed = false;
  while (pos < b.size()) {
    const uint8_t block = static_cast<uint8_t>(b[pos++]);
    if (block == 0x21) {  // an extension: its label, then sub-blocks
      pos = SkipSubBlocks(b, pos + 1);
    } else if (block == 0x2C) {  // an image: its descriptor, colour table, code size, sub-blocks
      if (pos + 9 > b.size()) break;
      decoded += uint64_t{Le16(b, pos + 4)} * Le16(b, pos + 6);
      const uint8_t local = static_cast<uint8_t>(b[pos + 8]);
      pos += 9;
      if (local & 0x80) pos += 3u << ((local & 7) + 1);
      pos = SkipSubBlocks(b, pos + 1);
      framed = true;
    } else {
      break;  // the trailer, or what a decoder stops at
    }
  }
  if (!framed) return std::nullopt;
  return Checked(PictureFormat::Gif, w, h, decoded);
}

std::optional<PictureHeader> BmpHeader(std::string_view b) {
  if (b.size() < 26) return std::nullopt;
  const uint32_t headerSize = Le32(b, 14);
  if (headerSize == 12) return Checked(PictureFormat::Bmp, Le16(b, 18), Le16(b, 20), 0);
  if (headerSize < 40) return std::nullopt;
  const int64_t w = static_cast<int32_t>(Le32(b, 18));
  const int64_t h = static_cast<int32_t>(Le32(b, 22));
  return Checked(PictureFormat::Bmp, w, h < 0 ? -h : h, 0);  // a negative height: rows top-down
}

// A dimension attribute in pixels ("120", " 120px"); 0 for a percentage or no number.
int64_t PixelAttribute(std::u16string_view v) {
  size_t i = 0;
  while (i < v.size() && (v[i] == u' ' || v[i] == u'\t' || v[i] == u'\n' || v[i] == u'\r' || v[i] == u'\f')) ++i;
  int64_t n = 0;
  size_t digits = 0;
  for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i, ++digits) n = std::min<int64_t>(n * 10 + (v[i] - u'0'), 1'000'000);
  if (digits == 0) return 0;
  while (i < v.size() && (v[i] == u'.' || (v[i] >= u'0' && v[i] <= u'9'))) ++i;  // a fraction counts for nothing
  if (i < v.size() && v[i] == u'%') return 0;
  return std::max<int64_t>(n, 1);
}

}  // namespace

std::optional<std::string> DecodeDataUrl(std::u16string_view url, size_t maxBytes) {
  if (!HasPrefix(url, u"data:")) return std::nullopt;
  const size_t comma = url.find(u',');
  if (comma == std::u16string_view::npos) return std::nullopt;
  std::u16string_view meta = url.substr(5, comma - 5);
  const bool base64 = meta.size() >= 7 && HtmlSameText(meta.substr(meta.size() - 7), u";base64");
  // Base64 gives three bytes for four characters: the text may be a third longer.
  const size_t maxPayload = base64 ? maxBytes / 3 * 4 + 4 : maxBytes;
  std::optional<std::string> bytes = PayloadBytes(url.substr(comma + 1), base64, maxPayload);
  if (!bytes || !base64) return bytes;
  std::string& text = *bytes;
  if (text.size() % 4 == 1 || !IsBase64Text(text)) return std::nullopt;
  while (text.size() % 4 != 0) text += '=';
  std::string decoded = cipher::Base64DecodeStr(text);
  if (decoded.size() > maxBytes) return std::nullopt;
  return decoded;
}

PictureSource ResolvePictureSource(std::u16string_view src, std::u16string_view base) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; };
  while (!src.empty() && blank(src.front())) src.remove_prefix(1);
  while (!src.empty() && blank(src.back())) src.remove_suffix(1);
  PictureSource out;
  if (src.empty()) return out;
  if (HasPrefix(src, u"data:")) {
    if (std::optional<std::string> bytes = DecodeDataUrl(src)) {
      out.kind = PictureSource::Kind::Bytes;
      out.bytes = std::move(*bytes);
    }
    return out;
  }
  std::optional<std::u16string> path = AbsolutePath(src);
  if (!path) {
    // A relative address, against the folder of the base (a network base takes none).
    if (HasScheme(src) || UsesNetwork(src) || (src.size() >= 2 && IsSeparator(src[0]) && IsSeparator(src[1])))
      return out;
    std::optional<std::u16string> basePath = AbsolutePath(base);
    if (!basePath || !IsDrivePath(*basePath)) return out;
    const std::u16string relative = WithBackslashes(RelativePart(src));
    if (!relative.empty() && relative[0] == u'\\') {
      path = basePath->substr(0, 2) + relative;  // from the root of the base's drive
    } else {
      const size_t folderEnd = basePath->rfind(u'\\');
      path = basePath->substr(0, folderEnd + 1) + relative;
    }
  }
  // Only a path on a drive of this machine: a network path would be fetched from a server.
  if (!IsDrivePath(*path)) return out;
  out.kind = PictureSource::Kind::File;
  out.path = std::move(*path);
  return out;
}

std::optional<PictureHeader> ReadPictureHeader(std::string_view b) {
  if (b.size() >= 8 && b.substr(0, 8) == "\x89PNG\r\n\x1A\n") return PngHeader(b);
  if (b.size() >= 3 && static_cast<uint8_t>(b[0]) == 0xFF && static_cast<uint8_t>(b[1]) == 0xD8) return JpegHeader(b);
  if (b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) return GifHeader(b);
  if (b.size() >= 2 && b.substr(0, 2) == "BM") return BmpHeader(b);
  return std::nullopt;
}

PictureSize ShownPictureSize(std::u16string_view widthAttr, std::u16string_view heightAttr, int w, int h) {
  const int64_t naturalW = std::max(w, 1), naturalH = std::max(h, 1);
  const int64_t askedW = PixelAttribute(widthAttr), askedH = PixelAttribute(heightAttr);
  double width = static_cast<double>(naturalW), height = static_cast<double>(naturalH);
  if (askedW > 0 && askedH > 0) {
    width = static_cast<double>(askedW);
    height = static_cast<double>(askedH);
  } else if (askedW > 0) {
    width = static_cast<double>(askedW);
    height = std::round(width * naturalH / naturalW);
  } else if (askedH > 0) {
    height = static_cast<double>(askedH);
    width = std::round(height * naturalW / naturalH);
  }
  width = std::max(width, 1.0);
  height = std::max(height, 1.0);
  const double scale = std::min({1.0, kMaxShownSide / width, kMaxShownSide / height,
                                 std::sqrt(static_cast<double>(kMaxShownPixels) / (width * height))});
  return {static_cast<int>(std::max(1.0, std::floor(width * scale))),
          static_cast<int>(std::max(1.0, std::floor(height * scale)))};
}

}  // namespace htmledit
