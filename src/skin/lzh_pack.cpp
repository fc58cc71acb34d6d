// The LZHUF encoder: the decoder's tree and tables run forwards.
#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/lzh.h"
#include "skin/lzh_tree.h"

namespace skin {

namespace {

using namespace lzh;

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  // The low `length` bits of code, most significant first (length at most 24).
  void Put(uint32_t code, int length) {
    buffer_ = (buffer_ << length) | (code & ((1u << length) - 1));
    bits_ += length;
    while (bits_ >= 8) {
      bits_ -= 8;
      out_.push_back(static_cast<uint8_t>(buffer_ >> bits_));
    }
  }

  // The last bits, zero-padded to a whole byte.
  void Finish() {
    if (bits_ > 0) out_.push_back(static_cast<uint8_t>(buffer_ << (8 - bits_)));
    bits_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t buffer_ = 0;
  int bits_ = 0;
};

class Encoder {
 public:
  explicit Encoder(std::vector<uint8_t>& out) : bits_(out) {}

  void Symbol(int c) {
    // The path from the leaf up to the root, sent root first.
    int path[T];
    int depth = 0;
    for (int node = tree_.LeafOf(c); node != R; node = tree_.Parent(node)) path[depth++] = node & 1;
    while (depth > 0) bits_.Put(static_cast<uint32_t>(path[--depth]), 1);
    tree_.Update(c);
  }

  // position = distance - 1 (0..4095): its upper 6 bits by the table, its lower 6 as they are.
  void Position(int position) {
    const PositionTables& t = Positions();
    const int upper = position >> 6;
    const int length = t.encodeLength[upper];
    bits_.Put(static_cast<uint32_t>(t.encodeCode[upper] >> (8 - length)), length);
    bits_.Put(static_cast<uint32_t>(position & 63), 6);
  }

  void Finish() { bits_.Finish(); }

 private:
  AdaptiveTree tree_;
  BitWriter bits_;
};

// Matches are searched in the text as the decoder's ring sees it: the ring's initial
// contents from the write position on (60 zeros, then 4036 blanks) followed by the input.
class MatchFinder {
 public:
  MatchFinder(const uint8_t* data, size_t length) : text_(N + length) {
    std::fill(text_.begin(), text_.begin() + F, 0);
    std::fill(text_.begin() + F, text_.begin() + N, ' ');
    if (length != 0) std::memcpy(text_.data() + N, data, length);
    head_.assign(kHashSize, -1);
    previous_.assign(text_.size(), -1);
    for (size_t p = 0; p < N; ++p) Insert(p);
  }

  size_t End() const { return text_.size(); }

  // The longest match for position p (at least N), nearest first among equals.
  void Find(size_t p, int& length, int& distance) const {
    length = 0;
    distance = 0;
    const int longest = static_cast<int>(std::min<size_t>(F, text_.size() - p));
    if (longest <= THRESHOLD) return;
    const uint8_t* here = text_.data() + p;
    for (int64_t q = head_[Hash(p)]; q >= 0 && p - static_cast<size_t>(q) <= static_cast<size_t>(N);
         q = previous_[static_cast<size_t>(q)]) {
      const uint8_t* there = text_.data() + q;
      int k = 0;
      while (k < longest && here[k] == there[k]) ++k;
      if (k > length && k > THRESHOLD) {
        length = k;
        distance = static_cast<int>(p - static_cast<size_t>(q));
        if (k == longest) return;
      }
    }
  }

  void Insert(size_t p) {
    if (p + 2 >= text_.size()) return;
    const size_t h = Hash(p);
    previous_[p] = head_[h];
    head_[h] = static_cast<int32_t>(p);
  }

 private:
  static constexpr size_t kHashSize = 1 << 16;
  size_t Hash(size_t p) const {
    return ((text_[p] << 8) ^ (text_[p + 1] << 4) ^ text_[p + 2] ^ (text_[p + 2] << 11)) & (kHashSize - 1);
  }

  std::vector<uint8_t> text_;
  std::vector<int32_t> head_;
  std::vector<int32_t> previous_;
};

}  // namespace

std::vector<uint8_t> LzhPack(const uint8_t* data, size_t length) {
  std::vector<uint8_t> out;
  out.reserve(length / 2 + 16);
  Encoder encoder(out);
  MatchFinder finder(data, length);
  size_t p = N;
  while (p < finder.End()) {
    int matchLength = 0;
    int distance = 0;
    finder.Find(p, matchLength, distance);
    if (matchLength > THRESHOLD) {
      encoder.Symbol(MatchCode(matchLength));
      encoder.Position(distance - 1);
    } else {
      matchLength = 1;
      encoder.Symbol(data[p - N]);
    }
    for (int k = 0; k < matchLength; ++k) finder.Insert(p + k);
    p += static_cast<size_t>(matchLength);
  }
  encoder.Finish();
  return out;
}

}  // namespace skin
