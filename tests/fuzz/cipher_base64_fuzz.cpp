// Base64 text as hostile input: the lenient decoder takes anything, gives at most three bytes
// per whole group of four and at least one, and encoding then decoding gives the bytes back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cipher/base64.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string decoded = cipher::Base64DecodeStr(bytes);
  Require(decoded.size() <= size / 4 * 3);
  Require(decoded.size() >= size / 4);
  const std::string encoded = cipher::Base64EncodeStr(bytes);
  Require(encoded.size() == (size + 2) / 3 * 4);
  Require(cipher::Base64DecodeStr(encoded) == bytes);
  return 0;
}
