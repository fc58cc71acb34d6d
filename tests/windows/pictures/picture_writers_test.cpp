#include "windows/pictures/picture_writers.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "dib_builder.h"

namespace windows {
namespace {

using test::DibSpec;
using test::MakeDib;

TEST(BmpWriter, FileHeaderThenTheDibByteForByte) {
  // 2 x 2 at 24 bits: rows of 6 bytes padded to 8.
  DibSpec shape{.width = 2, .height = 2, .bitCount = 24,
               .pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}};
  auto dib = MakeDib(shape);
  dib.push_back(0xEE);  // the clipboard block may be longer than the picture
  const DibCheck check = CheckDib(dib);
  ASSERT_TRUE(check.ok());
  const std::string file = BmpFileBytes(dib, check.info);
  const std::string expectedHeader("BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00", 14);  // 70 bytes, rows at 54
  EXPECT_EQ(file.substr(0, 14), expectedHeader);
  EXPECT_EQ(file.size(), 14u + 40u + 16u);
  EXPECT_EQ(file.substr(14), std::string(dib.begin(), dib.end() - 1));
}

TEST(BmpWriter, PaletteAndMasksStayBeforeTheRows) {
  DibSpec shape{.width = 1, .height = 1, .bitCount = 8, .colorsUsed = 2, .colors = {0x112233, 0x445566},
               .pixels = {1, 0, 0, 0}};
  const auto dib = MakeDib(shape);
  const DibCheck check = CheckDib(dib);
  const std::string file = BmpFileBytes(dib, check.info);
  EXPECT_EQ(static_cast<unsigned char>(file[10]), 14 + 40 + 8);  // rows after two colours
}

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  bool ok = false;
};

struct DecodeError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};
void OnDecodeError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<DecodeError*>(cinfo->err)->jump, 1); }

Decoded Decode(const std::string& bytes) {
  Decoded out;
  jpeg_decompress_struct cinfo;
  DecodeError error{};
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = OnDecodeError;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return out;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.rgb.resize(std::size_t(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.rgb.data() + std::size_t(cinfo.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out.ok = true;
  return out;
}

TEST(JpegWriter, DecodesToTheSameSizeAndColours) {
  // 33 x 17 at 32 bits, top-down, in two flat colours: red above, blue below.
  const int w = 33, h = 17;
  DibSpec shape{.width = w, .height = -h, .bitCount = 32};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool top = y < 8;
      shape.pixels.insert(shape.pixels.end(), {std::uint8_t(top ? 0 : 255), 0, std::uint8_t(top ? 255 : 0), 0});
    }
  }
  const auto dib = MakeDib(shape);
  const DibCheck check = CheckDib(dib);
  ASSERT_TRUE(check.ok());
  const JpegResult jpeg = JpegFileBytes(dib, check.info);
  ASSERT_TRUE(jpeg.ok());
  ASSERT_GE(jpeg.bytes.size(), 4u);
  EXPECT_EQ(jpeg.bytes.substr(0, 2), "\xFF\xD8");
  const Decoded decoded = Decode(jpeg.bytes);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.width, w);
  EXPECT_EQ(decoded.height, h);
  auto near = [](int a, int b) { return std::abs(a - b) < 24; };
  const std::uint8_t* topLeft = decoded.rgb.data();
  const std::uint8_t* bottomRight = decoded.rgb.data() + (std::size_t(h) * w - 1) * 3;
  EXPECT_TRUE(near(topLeft[0], 255) && near(topLeft[2], 0));
  EXPECT_TRUE(near(bottomRight[0], 0) && near(bottomRight[2], 255));
}

TEST(JpegWriter, RefusesSizesJpegCannotHold) {
  std::vector<std::uint8_t> rgb(3);
  EXPECT_FALSE(JpegFromRgb(rgb.data(), 70000, 1).ok());
  EXPECT_FALSE(JpegFromRgb(rgb.data(), 0, 1).ok());
  EXPECT_TRUE(JpegFromRgb(rgb.data(), 1, 1).ok());
}

}  // namespace
}  // namespace windows
