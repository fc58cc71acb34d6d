#include <gtest/gtest.h>

#include <string>

#include "htmledit/cf_html.h"

namespace htmledit {
namespace {

TEST(CfHtml, WritesTheHeaderAndOffsetsByteExact) {
  // "中文" is six bytes of UTF-8; the offsets count bytes.
  std::string block = WriteCfHtml(u"<b>\u4E2D\u6587</b>");
  std::string expected =
      "Version:0.9\r\nStartHTML:0000000105\r\nEndHTML:0000000188\r\nStartFragment:0000000139\r\n"
      "EndFragment:0000000152\r\n<html><body>\r\n<!--StartFragment--><b>\xE4\xB8\xAD\xE6\x96\x87</b>"
      "<!--EndFragment-->\r\n</body>\r\n</html>";
  EXPECT_EQ(block, expected);
  EXPECT_EQ(block.substr(105, 13), "<html><body>\r");
  EXPECT_EQ(block.substr(139, 13), "<b>\xE4\xB8\xAD\xE6\x96\x87</b>");
  EXPECT_EQ(block.size(), 188u);

  auto read = ReadCfHtml(block);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->fragment, u"<b>\u4E2D\u6587</b>");
}

TEST(CfHtml, SourceUrlIsWrittenAndReadBack) {
  std::string block = WriteCfHtml(u"x", u"file:///C:/a.html");
  auto read = ReadCfHtml(block);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->sourceUrl, u"file:///C:/a.html");
  EXPECT_EQ(read->fragment, u"x");
}

std::string Block(const std::string& sh, const std::string& eh, const std::string& sf, const std::string& ef,
                  const std::string& body) {
  return "Version:1.0\r\nStartHTML:" + sh + "\r\nEndHTML:" + eh + "\r\nStartFragment:" + sf +
         "\r\nEndFragment:" + ef + "\r\n" + body;
}

TEST(CfHtml, ReaderToleratesBadOffsetsAndMissingParts) {
  const std::string body = "<html><body><!--StartFragment--><i>ok</i><!--EndFragment--></body></html>";
  // Wrong offsets: the markers win.
  auto wrong = ReadCfHtml(Block("0000000010", "0000000020", "0000000030", "0000000040", body));
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->fragment, u"<i>ok</i>");
  // Negative and oversized offsets are ignored, never read past the buffer.
  auto negative = ReadCfHtml(Block("-1", "-1", "-000000005", "-1", body));
  ASSERT_TRUE(negative);
  EXPECT_EQ(negative->fragment, u"<i>ok</i>");
  auto huge = ReadCfHtml(Block("0000000105", "9999999999", "0000000105", "9999999999", body));
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->fragment, u"<i>ok</i>");
  // No markers: the fragment offsets when they are sound, else the whole HTML part.
  const std::string plain = "<html><body><u>x</u></body></html>";
  std::string header = Block("0000000105", "0000000139", "0000000117", "0000000125", "");
  ASSERT_EQ(header.size(), 105u);
  auto offsets = ReadCfHtml(header + plain);
  ASSERT_TRUE(offsets);
  EXPECT_EQ(offsets->fragment, u"<u>x</u>");
  auto broken = ReadCfHtml(Block("0000000105", "0000000139", "0000000500", "0000000090", plain));
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->fragment, u"<html><body><u>x</u></body></html>");
  // No header at all: the bytes are HTML.
  auto noHeader = ReadCfHtml("<p>\xE4\xB8\xAD</p>");
  ASSERT_TRUE(noHeader);
  EXPECT_EQ(noHeader->fragment, u"<p>\u4E2D</p>");
  // Bytes that are not UTF-8 are code page 936.
  auto ansi = ReadCfHtml("<p>\xD6\xD0</p>");
  ASSERT_TRUE(ansi);
  EXPECT_EQ(ansi->fragment, u"<p>\u4E2D</p>");
  EXPECT_FALSE(ReadCfHtml(std::string("\0\0", 2)));
  // A header with no HTML part reads as empty, not as a crash.
  auto headerOnly = ReadCfHtml("Version:0.9\r\nStartHTML:0000000999\r\n");
  ASSERT_TRUE(headerOnly);
  EXPECT_EQ(headerOnly->fragment, u"");
}

TEST(CfHtml, PastePrefersHtmlThenUnicodeThenAnsi) {
  EXPECT_EQ(ChoosePasteSource(true, true, true), PasteSource::Html);
  EXPECT_EQ(ChoosePasteSource(false, true, true), PasteSource::UnicodeText);
  EXPECT_EQ(ChoosePasteSource(false, false, true), PasteSource::AnsiText);
  EXPECT_EQ(ChoosePasteSource(false, false, false), PasteSource::None);
  EXPECT_EQ(TextToHtml(u"a<b\r\nc&d\ne"), u"a&lt;b<BR>c&amp;d<BR>e");
}

}  // namespace
}  // namespace htmledit
