// UTF-8 <-> UTF-16, written by hand so that both builds decode malformed input alike.
// Both directions size the result once for the worst case and write through a pointer:
// whole history lists (tens of megabytes) pass through here.
#include <cstdint>
#include <cstring>

#include "unicode/codepage.h"

namespace unicode {

namespace {
constexpr char16_t kReplacement = 0xFFFD;

// Decodes into `out`, which has room for one unit per byte (four bytes give two), and returns
// the number of units written.
size_t DecodeUtf8(std::string_view bytes, char16_t* out) {
  char16_t* dst = out;
  const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    // Runs of ASCII go eight bytes at a time.
    while (i + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, src + i, 8);
      if (word & 0x8080808080808080ull) break;
      for (int k = 0; k < 8; ++k) dst[k] = src[i + k];
      dst += 8;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char b0 = src[i];
    if (b0 < 0x80) {
      *dst++ = b0;
      ++i;
      continue;
    }
    // The common well-formed three-byte sequence (all of CJK) without the general checks.
    if ((b0 & 0xF0) == 0xE0 && i + 2 < n && (src[i + 1] & 0xC0) == 0x80 && (src[i + 2] & 0xC0) == 0x80) {
      const char32_t cp3 = ((b0 & 0x0F) << 12) | ((src[i + 1] & 0x3F) << 6) | (src[i + 2] & 0x3F);
      if (cp3 >= 0x800 && (cp3 < 0xD800 || cp3 > 0xDFFF)) {
        *dst++ = static_cast<char16_t>(cp3);
        i += 3;
        continue;
      }
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) { length = 2; cp = b0 & 0x1F; minimum = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; cp = b0 & 0x0F; minimum = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; cp = b0 & 0x07; minimum = 0x10000; }
    bool ok = length != 0 && i + length <= n;
    for (int k = 1; ok && k < length; ++k) {
      const unsigned char b = src[i + k];
      if ((b & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (b & 0x3F);
    }
    if (ok && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      *dst++ = kReplacement;
      ++i;
      continue;
    }
    if (cp < 0x10000) {
      *dst++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i += length;
  }
  return static_cast<size_t>(dst - out);
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes) {
  // Texts are kept for a long time (100000 entries of a list), so they get no spare room:
  // Chinese text needs a third of the worst case. A short text is decoded on the stack and
  // allocated once at its size (under Wine an allocation costs more than the decoding).
  constexpr size_t kOnStack = 1024;
  if (bytes.size() <= kOnStack) {
    char16_t buffer[kOnStack];
    return std::u16string(buffer, DecodeUtf8(bytes, buffer));
  }
  std::u16string out(bytes.size(), u'\0');
  out.resize(DecodeUtf8(bytes, out.data()));
  if (out.capacity() - out.size() > out.size() / 4 + 16) out.shrink_to_fit();
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  // Every UTF-16 unit gives at most three bytes (a surrogate pair gives four for two).
  std::string out(text.size() * 3, '\0');
  auto* dst = reinterpret_cast<unsigned char*>(out.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char32_t cp = text[i];
    if (cp < 0x80) {
      *dst++ = static_cast<unsigned char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x800) {
      *dst++ = static_cast<unsigned char>(0xC0 | (cp >> 6));
      *dst++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *dst++ = static_cast<unsigned char>(0xE0 | (cp >> 12));
      *dst++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      *dst++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      *dst++ = static_cast<unsigned char>(0xF0 | (cp >> 18));
      *dst++ = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
      *dst++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      *dst++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<size_t>(dst - reinterpret_cast<unsigned char*>(out.data())));
  return out;
}

}  // namespace unicode
