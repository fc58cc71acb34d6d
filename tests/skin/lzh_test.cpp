// The LZHUF decoder against hand-checked streams, and round trips through the encoder.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skin/lzh.h"
#include "skin/lzh_tree.h"

using skin::LzhPack;
using skin::LzhUnpack;

namespace {

using Bytes = std::vector<uint8_t>;

// A .skn body: the 4-byte little-endian size, then the stream.
std::string DecodeSkn(const Bytes& file) {
  const uint32_t size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
  Bytes out;
  EXPECT_TRUE(LzhUnpack(file.data() + 4, file.size() - 4, size, out));
  return std::string(out.begin(), out.end());
}

Bytes RoundTrip(const Bytes& input) {
  const Bytes packed = LzhPack(input.data(), input.size());
  Bytes out;
  EXPECT_TRUE(LzhUnpack(packed.data(), packed.size(), input.size(), out));
  return out;
}

Bytes RandomBytes(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace

TEST(LzhDecode, KnownStreams) {
  EXPECT_EQ(DecodeSkn({0x05, 0, 0, 0, 0xFA, 0x7C, 0x7F, 0x18, 0x7F, 0xB0}), "hello");
  // One match of three reaching back into the ring's initial blanks.
  EXPECT_EQ(DecodeSkn({0x03, 0, 0, 0, 0x8C, 0x00, 0x00}), "   ");
  // "a", then a match one byte back that overlaps its own output.
  EXPECT_EQ(DecodeSkn({0x0A, 0, 0, 0, 0xF6, 0xC9, 0x00, 0x00}), std::string(10, 'a'));
  // The same stream asked for 5 bytes stops inside the match.
  EXPECT_EQ(DecodeSkn({0x05, 0, 0, 0, 0xF6, 0xC9, 0x00, 0x00}), "aaaaa");
}

TEST(LzhDecode, CutStreamReadsZerosAndStillGivesTheSize) {
  Bytes out;
  const Bytes cut = {0xFA, 0x7C, 0x7F, 0x18};
  EXPECT_TRUE(LzhUnpack(cut.data(), cut.size(), 5, out));
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(std::string(out.begin(), out.begin() + 3), "hel");
}

TEST(LzhDecode, MissingInputLimitStopsAHugeSizeOnAnEmptyStream) {
  Bytes out;
  EXPECT_FALSE(LzhUnpack(nullptr, 0, 4000000000ull, out, 64));
  EXPECT_LT(out.size(), 64u * 8 * 60);
  // Within the limit the cut "hello" stream is still whole.
  const Bytes cut = {0xFA, 0x7C, 0x7F, 0x18};
  out.clear();
  EXPECT_TRUE(LzhUnpack(cut.data(), cut.size(), 5, out, 64));
  EXPECT_EQ(out.size(), 5u);
}

TEST(LzhEncode, WritesTheKnownStreams) {
  const std::string hello = "hello";
  EXPECT_EQ(LzhPack(reinterpret_cast<const uint8_t*>(hello.data()), hello.size()),
            (Bytes{0xFA, 0x7C, 0x7F, 0x18, 0x7F, 0xB0}));
  const std::string blanks = "   ";
  EXPECT_EQ(LzhPack(reinterpret_cast<const uint8_t*>(blanks.data()), blanks.size()), (Bytes{0x8C, 0x00, 0x00}));
  const std::string as(10, 'a');
  EXPECT_EQ(LzhPack(reinterpret_cast<const uint8_t*>(as.data()), as.size()), (Bytes{0xF6, 0xC9, 0x00, 0x00}));
}

TEST(LzhTree, FirstRebuildAtCode32455AndTheOrderHolds) {
  using namespace skin::lzh;
  AdaptiveTree tree;
  EXPECT_EQ(tree.Frequency(R), N_CHAR);
  std::mt19937 random(7);
  for (int n = 1; n < 32455; ++n) tree.Update(static_cast<int>(random() % N_CHAR));
  EXPECT_EQ(tree.Rebuilds(), 0);
  EXPECT_EQ(tree.Frequency(R), MAX_FREQ);
  tree.Update(5);
  EXPECT_EQ(tree.Rebuilds(), 1);
  // After halving: frequencies ordered, each inner node the sum of its sons, links consistent.
  for (int i = 0; i + 1 < T; ++i) EXPECT_LE(tree.Frequency(i), tree.Frequency(i + 1)) << i;
  int leaves = 0;
  for (int i = 0; i < T; ++i) {
    const int s = tree.Son(i);
    if (s >= T) {
      ++leaves;
      EXPECT_EQ(tree.LeafOf(s - T), i);
    } else {
      EXPECT_EQ(tree.Frequency(i), tree.Frequency(s) + tree.Frequency(s + 1)) << i;
      EXPECT_EQ(tree.Parent(s), i);
      EXPECT_EQ(tree.Parent(s + 1), i);
    }
  }
  EXPECT_EQ(leaves, N_CHAR);
}

TEST(LzhRoundTrip, SmallAndBoundaryInputs) {
  EXPECT_TRUE(RoundTrip({}).empty());
  EXPECT_EQ(RoundTrip({0x42}), (Bytes{0x42}));
  for (size_t run : {59u, 60u, 61u, 120u, 121u}) {
    const Bytes input(run, 'x');
    EXPECT_EQ(RoundTrip(input), input) << run;
  }
  // A block repeated right at the ring's reach (4096 back) and just beyond it (4097).
  for (size_t gap : {4096u - 64u, 4097u - 64u}) {
    Bytes input = RandomBytes(64, 1);
    const Bytes filler = RandomBytes(gap, 2);
    const Bytes block(input);
    input.insert(input.end(), filler.begin(), filler.end());
    input.insert(input.end(), block.begin(), block.end());
    EXPECT_EQ(RoundTrip(input), input) << gap;
  }
}

TEST(LzhRoundTrip, RepeatInsideTheRingIsAMatchAndOutsideIsNot) {
  // 60 random bytes, then filler, then the same 60 bytes: inside the reach the repeat costs
  // a match, outside it costs 60 literals.
  auto packedSize = [](size_t distance) {
    Bytes input = RandomBytes(60, 3);
    const Bytes block(input);
    const Bytes filler = RandomBytes(distance - 60, 4);
    input.insert(input.end(), filler.begin(), filler.end());
    input.insert(input.end(), block.begin(), block.end());
    EXPECT_EQ(RoundTrip(input), input);
    return LzhPack(input.data(), input.size()).size();
  };
  EXPECT_LT(packedSize(4096) + 40, packedSize(4097));
}

TEST(LzhRoundTrip, CrossesTheFirstTreeRebuild) {
  const Bytes input = RandomBytes(40000, 11);
  EXPECT_EQ(RoundTrip(input), input);
}

TEST(LzhRoundTrip, OneMegabyteRandomAndSkinLike) {
  const Bytes random = RandomBytes(1 << 20, 5);
  EXPECT_EQ(RoundTrip(random), random);
  // Rows of a picture: flat runs, gradients and a little noise.
  Bytes picture;
  std::mt19937 noise(9);
  while (picture.size() < (1u << 20)) {
    const int row = static_cast<int>(picture.size() / 768);
    for (int x = 0; x < 256; ++x) {
      const uint8_t shade = static_cast<uint8_t>(x < 40 ? 200 : (row * 3 + x / 4) & 0xFF);
      picture.push_back(shade);
      picture.push_back(static_cast<uint8_t>(shade ^ (noise() % 8 == 0 ? 1 : 0)));
      picture.push_back(0xFF);
    }
  }
  const Bytes packed = LzhPack(picture.data(), picture.size());
  EXPECT_LT(packed.size(), picture.size() / 4);
  Bytes out;
  EXPECT_TRUE(LzhUnpack(packed.data(), packed.size(), picture.size(), out));
  EXPECT_EQ(out, picture);
}
