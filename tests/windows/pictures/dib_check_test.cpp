#include "windows/pictures/dib_check.h"

#include <gtest/gtest.h>

#include "dib_builder.h"

namespace windows {
namespace {

using test::DibSpec;
using test::MakeDib;

std::vector<std::uint8_t> Row(int x, int y, const DibSpec& shape, const std::vector<std::uint8_t>& dib) {
  const DibCheck check = CheckDib(dib);
  EXPECT_TRUE(check.ok()) << static_cast<int>(check.error);
  std::vector<std::uint8_t> rgb(std::size_t(shape.width) * 3);
  DibRowToRgb(dib, check.info, y, rgb.data());
  return {rgb.begin() + x * 3, rgb.begin() + x * 3 + 3};
}

using RGB = std::vector<std::uint8_t>;

TEST(DibCheck, BottomUpAndTopDownRowsReadFromTheTop) {
  // 1 x 2 pixels, 24 bits: each row 3 bytes + 1 padding. Stored first: blue (0,0,255 as B,G,R = FF 00 00).
  DibSpec shape{.width = 1, .height = 2, .bitCount = 24, .pixels = {0xFF, 0, 0, 0, 0, 0, 0xFF, 0}};
  EXPECT_EQ(Row(0, 0, shape, MakeDib(shape)), (RGB{0xFF, 0, 0}));  // bottom-up: last stored row on top
  EXPECT_EQ(Row(0, 1, shape, MakeDib(shape)), (RGB{0, 0, 0xFF}));
  shape.height = -2;
  const auto dib = MakeDib(shape);
  const DibCheck check = CheckDib(dib);
  ASSERT_TRUE(check.ok());
  EXPECT_TRUE(check.info.topDown);
  EXPECT_EQ(check.info.height, 2);
  EXPECT_EQ(Row(0, 0, shape, dib), (RGB{0, 0, 0xFF}));
}

TEST(DibCheck, EveryBitCountReadsItsPixels) {
  // 1 bit: two colours, pixels 0 1 0 ... in one byte.
  DibSpec one{.width = 3, .height = 1, .bitCount = 1, .colors = {0x000000, 0xFF8000}, .pixels = {0b01000000, 0, 0, 0}};
  EXPECT_EQ(Row(1, 0, one, MakeDib(one)), (RGB{0xFF, 0x80, 0x00}));
  EXPECT_EQ(Row(2, 0, one, MakeDib(one)), (RGB{0, 0, 0}));
  // 4 bits: the high nibble first; a table of 3 colours (colorsUsed).
  DibSpec four{.width = 2, .height = 1, .bitCount = 4, .colorsUsed = 3, .colors = {0x0000FF, 0x00FF00, 0xFF0000},
               .pixels = {0x21, 0, 0, 0}};
  EXPECT_EQ(Row(0, 0, four, MakeDib(four)), (RGB{0xFF, 0, 0}));
  EXPECT_EQ(Row(1, 0, four, MakeDib(four)), (RGB{0, 0xFF, 0}));
  // 8 bits with an index past a short table: black, not a read past it.
  DibSpec eight{.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 1, .colors = {0x123456}, .pixels = {0, 7, 0, 0}};
  EXPECT_EQ(Row(0, 0, eight, MakeDib(eight)), (RGB{0x12, 0x34, 0x56}));
  EXPECT_EQ(Row(1, 0, eight, MakeDib(eight)), (RGB{0, 0, 0}));
  // 16 bits 5-5-5: 0x7C00 is full red.
  DibSpec sixteen{.width = 1, .height = 1, .bitCount = 16, .pixels = {0x00, 0x7C, 0, 0}};
  EXPECT_EQ(Row(0, 0, sixteen, MakeDib(sixteen)), (RGB{0xFF, 0, 0}));
  // 32 bits: blue, green, red, unused.
  DibSpec thirtyTwo{.width = 1, .height = 1, .bitCount = 32, .pixels = {0x10, 0x20, 0x30, 0x99}};
  EXPECT_EQ(Row(0, 0, thirtyTwo, MakeDib(thirtyTwo)), (RGB{0x30, 0x20, 0x10}));
}

TEST(DibCheck, BitFieldsAfterTheHeaderAndInsideALongerOne) {
  // 16 bits 5-6-5: 0x07E0 is full green.
  DibSpec shape{.width = 1, .height = 1, .bitCount = 16, .compression = kBiBitfields,
               .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xE0, 0x07, 0, 0}};
  auto dib = MakeDib(shape);
  DibCheck check = CheckDib(dib);
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.info.maskBytes, 12u);
  EXPECT_EQ(check.info.pixelOffset, 52u);
  EXPECT_EQ(Row(0, 0, shape, dib), (RGB{0, 0xFF, 0}));
  shape.headerSize = 124;  // a V5 header holds the masks itself
  dib = MakeDib(shape);
  check = CheckDib(dib);
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.info.maskBytes, 0u);
  EXPECT_EQ(check.info.pixelOffset, 124u);
  EXPECT_EQ(Row(0, 0, shape, dib), (RGB{0, 0xFF, 0}));
  // Masks that are not there at all.
  shape.headerSize = 40;
  dib = MakeDib(shape);
  dib.resize(44);
  EXPECT_EQ(CheckDib(dib).error, DibError::Truncated);
}

TEST(DibCheck, RefusesWhatCannotBeAPicture) {
  EXPECT_EQ(CheckDib({}).error, DibError::TooShort);
  DibSpec shape{.width = 1, .height = 1, .pixels = {0, 0, 0, 0}};
  auto with = [&](auto change) {
    DibSpec s = shape;
    change(s);
    return CheckDib(MakeDib(s)).error;
  };
  EXPECT_EQ(with([](DibSpec& s) { s.headerSize = 12; }), DibError::BadHeader);
  EXPECT_EQ(with([](DibSpec& s) { s.width = 0; }), DibError::BadSize);
  EXPECT_EQ(with([](DibSpec& s) { s.width = -5; }), DibError::BadSize);
  EXPECT_EQ(with([](DibSpec& s) { s.height = 0; }), DibError::BadSize);
  EXPECT_EQ(with([](DibSpec& s) { s.height = INT32_MIN; }), DibError::BadSize);
  EXPECT_EQ(with([](DibSpec& s) { s.planes = 2; }), DibError::BadPlanes);
  EXPECT_EQ(with([](DibSpec& s) { s.bitCount = 2; }), DibError::BadBitCount);
  EXPECT_EQ(with([](DibSpec& s) { s.compression = 1; }), DibError::BadCompression);  // RLE8
  EXPECT_EQ(with([](DibSpec& s) { s.compression = kBiBitfields; }), DibError::BadCompression);  // 24 bits
  EXPECT_EQ(with([](DibSpec& s) {
              s.bitCount = 1;
              s.colorsUsed = 3;
            }),
            DibError::BadColors);
}

TEST(DibCheck, TruncatedRowsAndHugeClaimsAreRefused) {
  DibSpec shape{.width = 2, .height = 2, .bitCount = 24, .pixels = std::vector<std::uint8_t>(16)};
  auto dib = MakeDib(shape);
  EXPECT_TRUE(CheckDib(dib).ok());
  EXPECT_EQ(CheckDib(dib).info.totalBytes, dib.size());
  dib.pop_back();
  EXPECT_EQ(CheckDib(dib).error, DibError::Truncated);
  // 30000 x 30000 in 100 bytes.
  DibSpec huge{.width = 30000, .height = 30000, .bitCount = 24};
  dib = MakeDib(huge);
  dib.resize(100);
  EXPECT_EQ(CheckDib(dib).error, DibError::TooLarge);
  // Within the limit but the rows are missing.
  DibSpec big{.width = 4000, .height = -3000, .bitCount = 32};
  dib = MakeDib(big);
  dib.resize(100);
  EXPECT_EQ(CheckDib(dib).error, DibError::Truncated);
  // Width times bit count beyond 32 bits of arithmetic.
  DibSpec wide{.width = INT32_MAX, .height = 1, .bitCount = 32};
  EXPECT_EQ(CheckDib(MakeDib(wide)).error, DibError::TooLarge);
  EXPECT_FALSE(DibErrorText(DibError::TooLarge).empty());
}

}  // namespace
}  // namespace windows
