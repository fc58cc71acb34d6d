// Hex and byte helpers for the cipher tests.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace ciphertest {

inline std::string Hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

inline std::string Hex(const std::uint8_t* bytes, std::size_t size) {
  return Hex(std::string_view(reinterpret_cast<const char*>(bytes), size));
}

inline std::string Bytes(std::string_view hex) {
  auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1]));
  return out;
}

inline const std::uint8_t* U8(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

inline std::string RandomBytes(std::mt19937& rng, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xFF);
  return out;
}

}  // namespace ciphertest
