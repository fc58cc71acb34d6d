// The bitmap reader: the layouts skins use, and everything else an empty picture.
#include <gtest/gtest.h>

#include "skin/bmp_reader.h"
#include "skin_test_support.h"

using namespace skin;
using namespace skin_test;

namespace {
TColor Pattern(int x, int y) { return RGBColor(x * 40, y * 40, 255 - x); }

Bitmap24 Read(const Bytes& bytes) { return ReadBmp(bytes.data(), bytes.size()); }

// An 8-bit (or 4- or 1-bit) picture of width 3, height 2 with a palette of n entries.
Bytes Paletted(int bits, uint32_t compression = 0) {
  const int width = 3, height = 2, colours = 1 << bits;
  const int stride = ((width * bits + 31) / 32) * 4;
  Bytes out = {'B', 'M'};
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(54 + 4 * colours));
  PutU32(out, 40);
  PutU32(out, width);
  PutU32(out, height);
  PutU16(out, 1);
  PutU16(out, static_cast<uint32_t>(bits));
  PutU32(out, compression);
  for (int i = 0; i < 5; ++i) PutU32(out, 0);
  for (int i = 0; i < colours; ++i) PutU32(out, static_cast<uint32_t>(i * 10) << 8);  // green = 10 i
  // Bottom row indexes 0 1 0, top row 1 0 1.
  for (int row = 0; row < height; ++row) {
    uint32_t bitsOfRow = 0;
    for (int x = 0; x < width; ++x) bitsOfRow = bitsOfRow << bits | static_cast<uint32_t>((x + row) % 2);
    bitsOfRow <<= 32 - width * bits;
    for (int i = 0; i < stride; ++i) out.push_back(static_cast<uint8_t>(bitsOfRow >> (24 - 8 * i)));
  }
  return out;
}
}  // namespace

TEST(BmpReader, TwentyFourAndThirtyTwoBitsEitherRowOrder) {
  for (int bits : {24, 32}) {
    for (bool topDown : {false, true}) {
      const Bitmap24 b = Read(BmpFile(5, 3, Pattern, bits, topDown));
      ASSERT_EQ(b.Width(), 5);
      ASSERT_EQ(b.Height(), 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), Pattern(x, y)) << bits << topDown << x << y;
    }
  }
}

TEST(BmpReader, PalettePictures) {
  for (int bits : {1, 4, 8}) {
    const Bitmap24 b = Read(Paletted(bits));
    ASSERT_EQ(b.Width(), 3) << bits;
    EXPECT_EQ(b.Pixel(0, 1), RGBColor(0, 0, 0)) << bits;    // bottom row starts with index 0
    EXPECT_EQ(b.Pixel(1, 1), RGBColor(0, 10, 0)) << bits;
    EXPECT_EQ(b.Pixel(0, 0), RGBColor(0, 10, 0)) << bits;   // top row starts with index 1
  }
}

TEST(BmpReader, AnythingElseIsAnEmptyPicture) {
  const Bytes good = BmpFile(4, 4, Pattern);
  EXPECT_TRUE(Read(Paletted(8, 1)).Empty());  // run-length compressed
  Bytes cut(good.begin(), good.end() - 1);
  EXPECT_TRUE(Read(cut).Empty());
  EXPECT_TRUE(Read(Bytes(good.begin(), good.begin() + 20)).Empty());
  Bytes notBmp = good;
  notBmp[0] = 'X';
  EXPECT_TRUE(Read(notBmp).Empty());
  Bytes huge = good;
  huge[18] = huge[19] = huge[20] = 0xFF;  // width 16 M pixels: refused before any allocation
  EXPECT_TRUE(Read(huge).Empty());
  Bytes sixteen = good;
  sixteen[28] = 16;
  EXPECT_TRUE(Read(sixteen).Empty());
  Bytes farPixels = good;
  farPixels[10] = 0xF0;
  farPixels[13] = 0x7F;  // pixel data "starts" 2 GB in
  EXPECT_TRUE(Read(farPixels).Empty());
  EXPECT_TRUE(ReadBmp(nullptr, 0).Empty());
}
