// The adaptive Huffman tree and the position tables of the LZHUF coding, shared by the
// decoder and the encoder so that both walk the very same tree.
#pragma once

#include <array>
#include <cstdint>

namespace skin::lzh {

inline constexpr int N = 4096;        // ring buffer size: positions are 12 bits
inline constexpr int F = 60;          // longest match
inline constexpr int THRESHOLD = 2;   // a match is longer than this
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 256 literals + 58 match lengths
inline constexpr int T = 2 * N_CHAR - 1;            // nodes of the tree
inline constexpr int R = T - 1;                     // the root's position
inline constexpr unsigned MAX_FREQ = 0x8000;        // the root's frequency that forces a rebuild

// The code of a match length (3..60) and back.
inline constexpr int MatchCode(int length) { return length + 255 - THRESHOLD; }
inline constexpr int MatchLength(int code) { return code - 255 + THRESHOLD; }

// Node positions 0..T-1 hold frequencies in non-decreasing order; siblings sit at an even
// position and the one after it, so the bit that leads to a node is its position's low bit.
// son[] of an internal node is its left child's position; a leaf's son[] is T + its code.
class AdaptiveTree {
 public:
  AdaptiveTree();

  // Counts one more occurrence of code c (0..N_CHAR-1), first rebuilding the tree when the
  // root's frequency has reached MAX_FREQ.
  void Update(int c);

  uint16_t Son(int node) const { return son_[node]; }
  uint16_t Parent(int node) const { return parent_[node]; }
  uint16_t Frequency(int node) const { return freq_[node]; }
  // The node position of code c's leaf.
  int LeafOf(int c) const { return parent_[c + T]; }
  // How many times the tree was rebuilt (halved) so far.
  int Rebuilds() const { return rebuilds_; }

 private:
  void Rebuild();

  std::array<uint16_t, T + 1> freq_;            // the last entry is a 0xFFFF sentinel
  std::array<uint16_t, T + N_CHAR> parent_;     // parents of nodes, then leaf positions of codes
  std::array<uint16_t, T> son_;
  int rebuilds_ = 0;
};

// The position's upper 6 bits are coded by one byte's leading bits: the first 32 byte values
// take 3 bits, the next 48 take 4, then 64 take 5, 48 take 6, 48 take 7 and the last 16 take 8.
struct PositionTables {
  std::array<uint8_t, 256> decodeCode;   // upper 6 bits given the next byte
  std::array<uint8_t, 256> decodeLength; // bits that code uses
  std::array<uint8_t, 64> encodeCode;    // left-aligned code of each upper value
  std::array<uint8_t, 64> encodeLength;
};
const PositionTables& Positions();

}  // namespace skin::lzh
