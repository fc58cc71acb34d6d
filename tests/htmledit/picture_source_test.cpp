// Where the view's pictures come from, what their headers declare and the size they are shown at.
#include <gtest/gtest.h>

#include "htmledit/picture_source.h"

namespace htmledit {
namespace {

std::u16string FileOf(std::u16string_view src, std::u16string_view base = {}) {
  const PictureSource s = ResolvePictureSource(src, base);
  return s.kind == PictureSource::Kind::File ? s.path : u"(none)";
}

TEST(PictureSource, LocalFilesAndDataAddressesOnlyNeverANetwork) {
  EXPECT_EQ(FileOf(u"file:///C:/Temp/msohtmlclip1/01/clip_image001.png"), u"C:\\Temp\\msohtmlclip1\\01\\clip_image001.png");
  EXPECT_EQ(FileOf(u" C:\\doc\\a.jpg "), u"C:\\doc\\a.jpg");
  // Relative addresses: from the base's folder (a base ending in a separator is the folder).
  EXPECT_EQ(FileOf(u"img/a%20b.gif?x#y", u"file:///C:/doc/page.html"), u"C:\\doc\\img\\a b.gif");
  EXPECT_EQ(FileOf(u"img\\a.bmp", u"C:\\doc\\"), u"C:\\doc\\img\\a.bmp");
  EXPECT_EQ(FileOf(u"/a.png", u"file:///D:/x/y/"), u"D:\\a.png");
  for (std::u16string_view remote : {u"http://127.0.0.1/a.png", u"//host/a.png", u"file://host/share/a.png",
                                     u"\\\\host\\share\\a.png", u"javascript:alert(1)", u"res://x.dll/GIF/1"})
    EXPECT_EQ(FileOf(remote, u"file:///C:/doc/"), u"(none)") << std::string(remote.begin(), remote.end());
  EXPECT_EQ(FileOf(u"a.png", u"http://example.invalid/"), u"(none)");
  EXPECT_EQ(FileOf(u"a.png", u"file://host/share/"), u"(none)");
  EXPECT_EQ(FileOf(u"a.png"), u"(none)");

  const PictureSource data = ResolvePictureSource(u"data:image/png;base64,iVBORw0K%0AGgo", {});
  ASSERT_EQ(data.kind, PictureSource::Kind::Bytes);
  EXPECT_EQ(data.bytes, "\x89PNG\r\n\x1A\n");
  EXPECT_EQ(*DecodeDataUrl(u"data:,a%41b"), "aAb");
  EXPECT_FALSE(DecodeDataUrl(u"data:;base64,iVBO*w0K"));
  EXPECT_FALSE(DecodeDataUrl(u"data:;base64,QUFBQUFB", 5));  // six bytes
  EXPECT_FALSE(DecodeDataUrl(u"data:,\u4E2D"));
}

TEST(PictureSource, HeadersDeclareSizesAndShownSizesStayBounded) {
  std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x4E\x20\0\0\x4E\x20", 24);
  const auto big = ReadPictureHeader(png);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->width, 20000);
  EXPECT_GT(big->decodedPixels, kMaxDecodedPixels);  // never handed to a decoder
  EXPECT_FALSE(ReadPictureHeader(png.substr(0, 20)));
  // A small GIF screen whose frames are huge counts what decoding every frame takes.
  std::string gif("GIF89a\x02\0\x02\0\0\0\0", 13);
  for (int i = 0; i < 3; ++i) gif += std::string("\x2C\0\0\0\0\xFF\xFF\xFF\xFF\0\x02\x01\x00\0", 14);
  const auto frames = ReadPictureHeader(gif);
  ASSERT_TRUE(frames);
  EXPECT_EQ(frames->width, 2);
  EXPECT_EQ(frames->decodedPixels, 4 + 3 * 65535ull * 65535ull);
  const std::string jpeg("\xFF\xD8\xFF\xE0\0\x04xx\xFF\xC0\0\x0B\x08\x01\x2C\x02\x58\x03", 19);
  ASSERT_TRUE(ReadPictureHeader(jpeg));
  EXPECT_EQ(ReadPictureHeader(jpeg)->width, 600);
  EXPECT_EQ(ReadPictureHeader(jpeg)->height, 300);
  EXPECT_FALSE(ReadPictureHeader(std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\x28\0\0\0\0\0\0\x80\x01\0\0\0", 26)));

  EXPECT_EQ(ShownPictureSize(u"", u"", 40, 30), (PictureSize{40, 30}));
  EXPECT_EQ(ShownPictureSize(u"80", u"", 40, 30), (PictureSize{80, 60}));
  EXPECT_EQ(ShownPictureSize(u"50%", u"15px", 40, 30), (PictureSize{20, 15}));
  EXPECT_EQ(ShownPictureSize(u"100000", u"10", 40, 30), (PictureSize{4096, 1}));
  const PictureSize huge = ShownPictureSize(u"", u"", 4000, 3000);
  EXPECT_LE(int64_t{huge.width} * huge.height, kMaxShownPixels);
  EXPECT_NEAR(double(huge.width) / huge.height, 4.0 / 3.0, 0.01);
}

}  // namespace
}  // namespace htmledit
