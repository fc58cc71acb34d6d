// LZHUF: LZSS over a 4096-byte ring with an adaptive Huffman coder, the compression of
// skin files. TLZH decodes a stream of known unpacked size; the encoder writes the same
// coding for our own skins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "unicode/wide_exceptions.h"

namespace skin {

class ElzhException : public unicode::WideException {
 public:
  using unicode::WideException::WideException;
};

inline constexpr char16_t kLzhNoMemory[] = u"LZH : Cannot get memory for dictionary tables";

class TLZH {
 public:
  // Reads at most wanted bytes into buffer and answers how many it read (0 at the end).
  using GetProc = std::function<size_t(uint8_t* buffer, size_t wanted)>;
  // Takes count decoded bytes.
  using PutProc = std::function<void(const uint8_t* buffer, size_t count)>;

  // Bytes that may be missing at the end of the input before decoding gives up; past the
  // end every byte reads as 0. Unlimited by default: a cut stream still yields Size bytes.
  void SetMissingInputLimit(uint64_t bytes) { missingInputLimit_ = bytes; }

  // Decodes until exactly size bytes were put (also when that falls inside a match).
  // Answers false when more input bytes were missing than the limit allows; what was
  // decoded up to then has been put. Raises ElzhException when the tables cannot be had.
  bool Unpack(uint64_t size, const PutProc& put, const GetProc& get);

 private:
  uint64_t missingInputLimit_ = UINT64_MAX;
};

// Decodes a whole buffer (no size field in front); false as for TLZH::Unpack.
bool LzhUnpack(const uint8_t* data, size_t length, uint64_t size, std::vector<uint8_t>& out,
               uint64_t missingInputLimit = UINT64_MAX);

// Encodes bytes: at each place the longest match of 3..60 bytes that starts 1..4096 bytes
// back (the ring's initial blanks and zeros included) and, among equally long ones, the
// nearest; a literal where no match of 3 exists.
std::vector<uint8_t> LzhPack(const uint8_t* data, size_t length);

}  // namespace skin
