// Only the paragraphs that changed are streamed into the view again: the diff of two
// layouts, and the RTF of a run of paragraphs.
#include <gtest/gtest.h>

#include "htmledit/html_parser.h"
#include "htmledit/rtf_view.h"

namespace htmledit {
namespace {

BodyText LayoutOf(std::u16string_view html) {
  Document doc;
  ParseDocument(doc, html);
  return BodyText::Build(doc);
}

TEST(DiffParagraphs, OnlyTheChangedParagraphs) {
  const BodyText a = LayoutOf(u"<p>one</p><p>two</p><p>three</p>");
  EXPECT_TRUE(DiffParagraphs(a, LayoutOf(u"<p>one</p><p>two</p><p>three</p>")).None());
  // A letter typed in the middle paragraph.
  ParagraphChange c = DiffParagraphs(a, LayoutOf(u"<p>one</p><p>twox</p><p>three</p>"));
  EXPECT_EQ(c.first, 1u);
  EXPECT_EQ(c.oldCount, 1u);
  EXPECT_EQ(c.newCount, 1u);
  EXPECT_EQ(ParagraphRange(a, c.first, c.oldCount), std::make_pair(4, 8));
  // The same text made bold, or centred, is a change too.
  EXPECT_EQ(DiffParagraphs(a, LayoutOf(u"<p>one</p><p><b>two</b></p><p>three</p>")).first, 1u);
  EXPECT_EQ(DiffParagraphs(a, LayoutOf(u"<p>one</p><p align=center>two</p><p>three</p>")).first, 1u);
  // A paragraph split in two.
  c = DiffParagraphs(a, LayoutOf(u"<p>one</p><p>t</p><p>wo</p><p>three</p>"));
  EXPECT_EQ(c.first, 1u);
  EXPECT_EQ(c.oldCount, 1u);
  EXPECT_EQ(c.newCount, 2u);
  // A change at the end starts one paragraph earlier, taking the mark before it.
  c = DiffParagraphs(a, LayoutOf(u"<p>one</p><p>two</p>"));
  EXPECT_EQ(c.first, 1u);
  EXPECT_EQ(c.oldCount, 2u);
  EXPECT_EQ(c.newCount, 1u);
  EXPECT_EQ(ParagraphRange(a, c.first, c.oldCount), std::make_pair(4, 13));
}

TEST(ParagraphsToRtf, MarksBetweenParagraphsButNotAfterTheLast) {
  const BodyText a = LayoutOf(u"<p>one</p><p><b>two</b> 2</p><p>three</p>");
  const std::string middle = ParagraphsToRtf(a, 1, 1);
  EXPECT_NE(middle.find("{\\f0\\fs21\\b two}{\\f0\\fs21  2}\\par"), std::string::npos) << middle;
  EXPECT_EQ(middle.find("one"), std::string::npos);
  const std::string last = ParagraphsToRtf(a, 2, 1);
  EXPECT_EQ(last.find("\\par\r"), std::string::npos);
  // Runs of one format in a row are one group: a paragraph of many words is one.
  const BodyText words = LayoutOf(u"<p>many small words in a row</p>");
  const std::string rtf = BodyTextToRtf(words);
  EXPECT_NE(rtf.find("{\\f0\\fs21 many small words in a row}"), std::string::npos) << rtf;
}

}  // namespace
}  // namespace htmledit
