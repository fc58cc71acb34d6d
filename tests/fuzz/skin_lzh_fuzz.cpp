// LZHUF round trip: whatever bytes come in are packed and unpacked to the same bytes, and
// decoding the input itself as a stream stops at the size asked for.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/lzh.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> packed = skin::LzhPack(data, size);
  std::vector<uint8_t> out;
  Require(skin::LzhUnpack(packed.data(), packed.size(), size, out, 2));
  Require(out == std::vector<uint8_t>(data, data + size));

  out.clear();
  const uint64_t asked = size * 4 + 1;
  if (skin::LzhUnpack(data, size, asked, out, 64)) Require(out.size() == asked);
  return 0;
}
