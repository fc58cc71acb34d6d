#include "cipher/des_core.h"

#include <cstddef>

namespace cipher::des {

namespace {

// ---- The standard's tables. Bit numbers count from 1 at the most significant end. ----------

constexpr std::uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,  //
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,  //
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,  //
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t kPermutationP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kSBoxes[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

constexpr std::uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kPermutedChoice2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                               26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                               51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr int kRotations[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// ---- Tables derived from them at compile time. ------------------------------------------------

// Between the permutations each half is kept rotated left by one bit, so that a round needs
// one rotation instead of two (see F). These map an integer bit position (0 = least
// significant) of a block to its position in that rotated form.
constexpr int Rotated(int pos) { return pos / 32 * 32 + (pos % 32 + 1) % 32; }
constexpr int Plain(int pos) { return pos; }

// A 64-bit permutation as eight tables, one per input byte: the output is the OR of each
// byte's entry. Output bit `out` (1-based from the top) is input bit table[out - 1]; the two
// position maps place the bits in plain or rotated form.
using BytePermutation = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr BytePermutation MakeBytePermutation(const std::array<std::uint8_t, 64>& table, int (*inForm)(int),
                                              int (*outForm)(int)) {
  BytePermutation result{};
  for (int out = 1; out <= 64; ++out) {
    const int inPos = inForm(64 - table[out - 1]);
    const int outPos = outForm(64 - out);
    const int byte = 7 - inPos / 8;
    const int bitInByte = inPos % 8;
    for (int v = 0; v < 256; ++v) {
      if (v & (1 << bitInByte)) result[byte][v] |= std::uint64_t{1} << outPos;
    }
  }
  return result;
}

constexpr std::array<std::uint8_t, 64> AsArray(const std::uint8_t (&table)[64]) {
  std::array<std::uint8_t, 64> a{};
  for (int i = 0; i < 64; ++i) a[i] = table[i];
  return a;
}

constexpr std::array<std::uint8_t, 64> Inverse(const std::uint8_t (&table)[64]) {
  std::array<std::uint8_t, 64> inverse{};
  for (int out = 1; out <= 64; ++out) inverse[table[out - 1] - 1] = static_cast<std::uint8_t>(out);
  return inverse;
}

// S-box i and permutation P in one: entry x is P applied to S_i(x) placed at bits 4i+1..4i+4.
using SpTables = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr SpTables MakeSpTables() {
  SpTables sp{};
  for (int i = 0; i < 8; ++i) {
    for (int x = 0; x < 64; ++x) {
      const int row = ((x >> 4) & 2) | (x & 1);
      const int column = (x >> 1) & 15;
      const std::uint32_t s = static_cast<std::uint32_t>(kSBoxes[i][row][column]) << (28 - 4 * i);
      std::uint32_t p = 0;
      for (int out = 1; out <= 32; ++out) {
        if (s & (std::uint32_t{1} << (32 - kPermutationP[out - 1]))) p |= std::uint32_t{1} << (32 - out);
      }
      sp[i][x] = (p << 1) | (p >> 31);  // in the rotated form of the halves
    }
  }
  return sp;
}

// The key schedule's halves C and D are 28-bit values (bit 1 of the half at bit 27). PC2 uses
// 24 bits of each; a half is first compressed to those 24 bits, in runs of adjacent bits, and
// each 6-bit piece of that indexes a table giving its part of the round key's two words.
struct Run {
  int from = 0;  // lowest bit of the run in the half
  int length = 0;
  int to = 0;    // where it lands in the compressed value
};
struct HalfLayout {
  std::array<Run, 24> runs{};
  int runCount = 0;
  std::array<int, 24> halfBit{};  // compressed bit j comes from this bit of the half
};

constexpr HalfLayout MakeHalfLayout(int half) {
  bool used[28] = {};
  for (int k = 0; k < 48; ++k) {
    const int bit = kPermutedChoice2[k] - 1 - 28 * half;  // 0-based within the half, from the top
    if (bit >= 0 && bit < 28) used[27 - bit] = true;      // as an integer bit position
  }
  HalfLayout layout;
  int to = 0;
  for (int pos = 0; pos < 28; ++pos) {
    if (!used[pos]) continue;
    layout.halfBit[to] = pos;
    Run& last = layout.runs[layout.runCount > 0 ? layout.runCount - 1 : 0];
    if (layout.runCount > 0 && last.from + last.length == pos) {
      ++last.length;
    } else {
      layout.runs[layout.runCount++] = Run{pos, 1, to};
    }
    ++to;
  }
  return layout;
}

constexpr HalfLayout kLayoutC = MakeHalfLayout(0);
constexpr HalfLayout kLayoutD = MakeHalfLayout(1);

// The round key's words: S-box i's six bits sit at bits 24, 16, 8, 0 (for i = 0, 2, 4, 6) of
// the even word and likewise (for i = 1, 3, 5, 7) of the odd word, matching how a round
// picks the expanded halves apart. Returns even << 32 | odd.
constexpr std::uint64_t RoundKeyBit(int k) {  // k: 0-based bit of the 48-bit round key
  const int box = k / 6, bitInBox = 5 - k % 6;
  const int shift = 24 - 8 * (box / 2) + bitInBox;
  return (box % 2 == 0 ? std::uint64_t{1} << 32 : std::uint64_t{1}) << shift;
}

using KeyTables = std::array<std::array<std::uint64_t, 64>, 8>;

constexpr KeyTables MakeKeyTables() {
  KeyTables tables{};
  for (int half = 0; half < 2; ++half) {
    const HalfLayout& layout = half == 0 ? kLayoutC : kLayoutD;
    for (int piece = 0; piece < 4; ++piece) {
      for (int v = 0; v < 64; ++v) {
        std::uint64_t words = 0;
        for (int b = 0; b < 6; ++b) {
          if (!(v & (1 << b))) continue;
          const int halfBit = 27 - layout.halfBit[piece * 6 + b];  // 0-based from the top of the half
          const int keyBit = halfBit + 1 + 28 * half;              // 1-based bit of C || D
          for (int k = 0; k < 48; ++k) {
            if (kPermutedChoice2[k] == keyBit) words |= RoundKeyBit(k);
          }
        }
        tables[half * 4 + piece][v] = words;
      }
    }
  }
  return tables;
}

constexpr BytePermutation kIp = MakeBytePermutation(AsArray(kInitialPermutation), Plain, Rotated);
constexpr BytePermutation kFp = MakeBytePermutation(Inverse(kInitialPermutation), Rotated, Plain);
constexpr SpTables kSp = MakeSpTables();
constexpr KeyTables kKeyTables = MakeKeyTables();

inline std::uint64_t Permute(const BytePermutation& t, std::uint64_t block) {
  return t[0][block >> 56] | t[1][(block >> 48) & 255] | t[2][(block >> 40) & 255] | t[3][(block >> 32) & 255] |
         t[4][(block >> 24) & 255] | t[5][(block >> 16) & 255] | t[6][(block >> 8) & 255] | t[7][block & 255];
}

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// The round function f(R, K) on the rotated half r = R rotated left by 1. The expansion E
// needs no table, since S-box i reads bits 4i .. 4i+5 of R (bit 0 being bit 32): r itself
// lines up S-boxes 2, 4, 6, 8 at bits 24, 16, 8 and 0, and r rotated right by 4 (R rotated
// right by 3) S-boxes 1, 3, 5, 7. The tables give f rotated as well.
inline std::uint32_t F(std::uint32_t r, const std::uint32_t* k) {
  const std::uint32_t x = Rotr(r, 4) ^ k[0];
  const std::uint32_t y = r ^ k[1];
  return kSp[0][(x >> 24) & 63] | kSp[2][(x >> 16) & 63] | kSp[4][(x >> 8) & 63] | kSp[6][x & 63] |
         kSp[1][(y >> 24) & 63] | kSp[3][(y >> 16) & 63] | kSp[5][(y >> 8) & 63] | kSp[7][y & 63];
}

std::uint32_t Compress(std::uint32_t half, const HalfLayout& layout) {
  std::uint32_t v = 0;
  for (int i = 0; i < layout.runCount; ++i) {
    const Run& run = layout.runs[i];
    v |= ((half >> run.from) & ((std::uint32_t{1} << run.length) - 1)) << run.to;
  }
  return v;
}

std::uint32_t Rotl28(std::uint32_t half, int n) { return ((half << n) | (half >> (28 - n))) & 0x0FFFFFFF; }

}  // namespace

std::uint64_t LoadBlock(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

void StoreBlock(std::uint8_t* p, std::uint64_t block) {
  for (int i = 7; i >= 0; --i) {
    p[i] = static_cast<std::uint8_t>(block);
    block >>= 8;
  }
}

std::uint64_t InitialPermutation(std::uint64_t block) { return Permute(kIp, block); }
std::uint64_t FinalPermutation(std::uint64_t block) { return Permute(kFp, block); }

KeySchedule MakeKeySchedule(const std::uint8_t key[8]) {
  const std::uint64_t k = LoadBlock(key);
  std::uint64_t cd = 0;  // PC1's 56 bits, C in the upper 28
  for (int out = 0; out < 56; ++out) cd = (cd << 1) | ((k >> (64 - kPermutedChoice1[out])) & 1);
  std::uint32_t c = static_cast<std::uint32_t>(cd >> 28);
  std::uint32_t d = static_cast<std::uint32_t>(cd & 0x0FFFFFFF);
  KeySchedule schedule{};
  for (int round = 0; round < 16; ++round) {
    c = Rotl28(c, kRotations[round]);
    d = Rotl28(d, kRotations[round]);
    const std::uint32_t cc = Compress(c, kLayoutC), dc = Compress(d, kLayoutD);
    std::uint64_t words = 0;
    for (int piece = 0; piece < 4; ++piece) {
      words |= kKeyTables[piece][(cc >> (6 * piece)) & 63] | kKeyTables[4 + piece][(dc >> (6 * piece)) & 63];
    }
    schedule[2 * round] = static_cast<std::uint32_t>(words >> 32);
    schedule[2 * round + 1] = static_cast<std::uint32_t>(words);
  }
  return schedule;
}

void EncryptRounds(std::uint32_t& left, std::uint32_t& right, const KeySchedule& keys) {
  std::uint32_t l = left, r = right;
  for (int round = 0; round < 16; round += 2) {
    l ^= F(r, &keys[2 * round]);
    r ^= F(l, &keys[2 * round + 2]);
  }
  // The last round does not swap: R16 L16 is the pre-output.
  left = r;
  right = l;
}

void DecryptRounds(std::uint32_t& left, std::uint32_t& right, const KeySchedule& keys) {
  std::uint32_t l = left, r = right;
  for (int round = 15; round > 0; round -= 2) {
    l ^= F(r, &keys[2 * round]);
    r ^= F(l, &keys[2 * round - 2]);
  }
  left = r;
  right = l;
}

}  // namespace cipher::des
