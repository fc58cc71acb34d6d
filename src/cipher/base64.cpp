#include "cipher/base64.h"

#include <array>
#include <cstdint>

namespace cipher {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kPadding = 0x40;  // not a 6-bit value

// The 6-bit value of each character; "=" gives kPadding, anything else outside the alphabet 0.
constexpr std::array<std::uint8_t, 256> MakeValues() {
  std::array<std::uint8_t, 256> values{};
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  values['='] = kPadding;
  return values;
}
constexpr std::array<std::uint8_t, 256> kValues = MakeValues();

}  // namespace

std::string Base64EncodeStr(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  for (; n >= 3; n -= 3, p += 3) {
    const std::uint32_t v = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  if (n == 1) {
    out += kAlphabet[p[0] >> 2];
    out += kAlphabet[(p[0] & 3) << 4];
    out += "==";
  } else if (n == 2) {
    out += kAlphabet[p[0] >> 2];
    out += kAlphabet[((p[0] & 3) << 4) | (p[1] >> 4)];
    out += kAlphabet[(p[1] & 15) << 2];
    out += '=';
  }
  return out;
}

std::string Base64DecodeStr(std::string_view text) {
  const std::size_t groups = text.size() / 4;
  std::string out;
  out.reserve(groups * 3);
  for (std::size_t g = 0; g < groups; ++g) {
    std::uint8_t v[4];
    for (int k = 0; k < 4; ++k) v[k] = kValues[static_cast<unsigned char>(text[g * 4 + k])];
    // Padding in the first two places reads as 0: those places always give a byte.
    const std::uint8_t a = v[0] & 63, b = v[1] & 63;
    const bool cPad = v[2] == kPadding, dPad = v[3] == kPadding;
    out += static_cast<char>((a << 2) | (b >> 4));
    if (cPad) continue;
    out += static_cast<char>((b << 4) | (v[2] >> 2));
    if (!dPad) out += static_cast<char>((v[2] << 6) | v[3]);
  }
  return out;
}

}  // namespace cipher
