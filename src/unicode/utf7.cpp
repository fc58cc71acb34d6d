#include "unicode/utf7.h"

#include <array>
#include <cstdint>

#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

enum CharClass : uint8_t { kEncoded = 0, kDirect = 1, kOptional = 2 };

struct Tables {
  std::array<uint8_t, 128> klass{};
  std::array<int8_t, 128> base64Value{};
  Tables() {
    base64Value.fill(-1);
    for (int i = 0; i < 64; ++i) base64Value[static_cast<unsigned char>(kBase64[i])] = static_cast<int8_t>(i);
    for (char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n")) {
      klass[static_cast<unsigned char>(c)] = kDirect;
    }
    for (char c : std::string_view("!\"#$%&*;<=>@[]^_`{|}")) klass[static_cast<unsigned char>(c)] = kOptional;
  }
};

// Built on first use.
const Tables& CharTables() {
  static const Tables tables;
  return tables;
}

bool IsBase64(char16_t c) { return c < 128 && CharTables().base64Value[c] >= 0; }

[[noreturn]] void Invalid() { throw WideException(u"Invalid UTF7"); }

}  // namespace

std::string Utf16ToUtf7(std::u16string_view text, bool encodeOptional) {
  const Tables& t = CharTables();
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  bool inRun = false;
  uint32_t bits = 0;
  int bitCount = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool direct = c < 128 && (t.klass[c] == kDirect || (t.klass[c] == kOptional && !encodeOptional));
    if (direct || c == u'+') {
      if (inRun) {
        if (bitCount > 0) out += kBase64[(bits << (6 - bitCount)) & 0x3F];
        bits = 0;
        bitCount = 0;
        // A closing "-" is needed when the next byte would otherwise continue the run.
        if (IsBase64(c) || c == u'-') out += '-';
        inRun = false;
      }
      if (c == u'+') out += "+-";
      else out += static_cast<char>(c);
      continue;
    }
    if (!inRun) {
      out += '+';
      inRun = true;
    }
    bits = (bits << 16) | c;
    bitCount += 16;
    while (bitCount >= 6) {
      bitCount -= 6;
      out += kBase64[(bits >> bitCount) & 0x3F];
    }
    bits &= (1u << bitCount) - 1;
  }
  if (inRun && bitCount > 0) out += kBase64[(bits << (6 - bitCount)) & 0x3F];
  return out;
}

std::u16string Utf7ToUtf16(std::string_view bytes) {
  const Tables& t = CharTables();
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 128) Invalid();
    if (b != '+') {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    ++i;
    if (i < bytes.size() && bytes[i] == '-') {
      out += u'+';
      ++i;
      continue;
    }
    uint32_t bits = 0;
    int bitCount = 0;
    size_t digits = 0;
    while (i < bytes.size()) {
      const auto d = static_cast<unsigned char>(bytes[i]);
      if (d >= 128 || t.base64Value[d] < 0) break;
      bits = (bits << 6) | static_cast<uint32_t>(t.base64Value[d]);
      bitCount += 6;
      ++digits;
      ++i;
      if (bitCount >= 16) {
        bitCount -= 16;
        out += static_cast<char16_t>((bits >> bitCount) & 0xFFFF);
        bits &= (1u << bitCount) - 1;
      }
    }
    // A run must hold at least one character and end on a zero padding of under six bits.
    if (digits == 0 || bitCount >= 6 || bits != 0) Invalid();
    if (i < bytes.size() && bytes[i] == '-') ++i;
  }
  return out;
}

}  // namespace unicode
