// Pasted and dropped blocks as hostile input: decoding never reads beyond the block, an own
// block gives at most what it holds, and the own block of any bytes decodes to them.
#include <cstdint>
#include <cstdlib>

#include "hexedit/hx_clipboard_data.h"

using namespace hexedit;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
const RegisteredFormats kRegistered{0xC101, 0xC102, 0xC103, 0xC104, 0xC105};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (unsigned format : {kRegistered.own, cf::TEXT, cf::OEMTEXT, cf::UNICODETEXT, kRegistered.richText, cf::DIB}) {
    for (bool hex : {false, true}) {
      const auto bytes = DecodePastedBlock(format, data, size, hex, data && size && data[0] & 1, kRegistered);
      if (bytes) Require(bytes->size() <= size);
    }
  }
  if (const auto own = DecodeOwnBlock(data, size)) Require(own->size() + 12 <= size);
  const Bytes input(data, data + size);
  const Bytes block = BuildOwnBlock(input);
  Require(DecodeOwnBlock(block.data(), block.size()) == input);
  return 0;
}
