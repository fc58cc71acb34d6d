// The LZHUF decoder.
#include <algorithm>
#include <memory>
#include <new>

#include "skin/lzh.h"
#include "skin/lzh_tree.h"

namespace skin {

namespace {

using namespace lzh;

// Bits most significant first from a 16-bit buffer refilled a byte at a time below 9 bits.
class BitReader {
 public:
  BitReader(const TLZH::GetProc& get, uint64_t missingLimit) : get_(get), missingLimit_(missingLimit) {}

  int Bit() {
    Refill();
    const int bit = (buffer_ >> 15) & 1;
    buffer_ = static_cast<uint16_t>(buffer_ << 1);
    --bits_;
    return bit;
  }

  int Byte() {
    Refill();
    const int byte = buffer_ >> 8;
    buffer_ = static_cast<uint16_t>(buffer_ << 8);
    bits_ -= 8;
    return byte;
  }

  bool TooMuchMissing() const { return missing_ > missingLimit_; }

 private:
  void Refill() {
    while (bits_ <= 8) {
      buffer_ = static_cast<uint16_t>(buffer_ | (NextByte() << (8 - bits_)));
      bits_ += 8;
    }
  }

  unsigned NextByte() {
    if (at_ == end_) {
      end_ = exhausted_ ? 0 : get_(chunk_, sizeof chunk_);
      at_ = 0;
      if (end_ == 0) {
        exhausted_ = true;
        ++missing_;
        return 0;
      }
    }
    return chunk_[at_++];
  }

  const TLZH::GetProc& get_;
  uint64_t missingLimit_;
  uint64_t missing_ = 0;
  bool exhausted_ = false;
  uint8_t chunk_[4096];
  size_t at_ = 0;
  size_t end_ = 0;
  uint16_t buffer_ = 0;
  int bits_ = 0;
};

// Decoded bytes go out in chunks; the caller sees the same byte sequence.
class Output {
 public:
  explicit Output(const TLZH::PutProc& put) : put_(put) {}
  ~Output() = default;
  void Push(uint8_t byte) {
    chunk_[used_++] = byte;
    if (used_ == sizeof chunk_) Flush();
  }
  void Flush() {
    if (used_ != 0) put_(chunk_, used_);
    used_ = 0;
  }

 private:
  const TLZH::PutProc& put_;
  uint8_t chunk_[4096];
  size_t used_ = 0;
};

struct Tables {
  AdaptiveTree tree;
  uint8_t ring[N + F - 1];
};

}  // namespace

bool TLZH::Unpack(uint64_t size, const PutProc& put, const GetProc& get) {
  std::unique_ptr<Tables> tables;
  try {
    tables = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemory);
  }
  AdaptiveTree& tree = tables->tree;
  uint8_t* ring = tables->ring;
  std::fill(ring, ring + N - F, ' ');
  std::fill(ring + N - F, ring + N + F - 1, 0);
  int r = N - F;

  const PositionTables& positions = Positions();
  BitReader in(get, missingInputLimit_);
  Output out(put);
  uint64_t count = 0;
  while (count < size) {
    if (in.TooMuchMissing()) {
      out.Flush();
      return false;
    }
    int node = tree.Son(R);
    while (node < T) node = tree.Son(node + in.Bit());
    const int c = node - T;
    tree.Update(c);

    if (c < 256) {
      out.Push(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++count;
      continue;
    }
    int i = in.Byte();
    const int upper = positions.decodeCode[i] << 6;
    for (int extra = positions.decodeLength[i] - 2; extra > 0; --extra) i = (i << 1) + in.Bit();
    const int position = upper | (i & 63);
    const int start = (r - position - 1) & (N - 1);
    const int length = MatchLength(c);
    for (int k = 0; k < length && count < size; ++k) {
      const uint8_t byte = ring[(start + k) & (N - 1)];
      out.Push(byte);
      ring[r] = byte;
      r = (r + 1) & (N - 1);
      ++count;
    }
  }
  out.Flush();
  return true;
}

bool LzhUnpack(const uint8_t* data, size_t length, uint64_t size, std::vector<uint8_t>& out,
               uint64_t missingInputLimit) {
  size_t at = 0;
  TLZH lzh;
  lzh.SetMissingInputLimit(missingInputLimit);
  return lzh.Unpack(
      size, [&out](const uint8_t* buffer, size_t count) { out.insert(out.end(), buffer, buffer + count); },
      [&](uint8_t* buffer, size_t wanted) {
        const size_t n = std::min(wanted, length - at);
        std::copy(data + at, data + at + n, buffer);
        at += n;
        return n;
      });
}

}  // namespace skin
