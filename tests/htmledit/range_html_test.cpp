// What a copy of a selection puts on the clipboard: HTML cut at the range's ends inside the
// inline formatting around it, whole blocks where it spans them, and the plain text.
#include <gtest/gtest.h>

#include "htmledit/html_parser.h"
#include "htmledit/range_html.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

std::string Html(const Document& doc, int a, int b) {
  return unicode::Utf16ToUtf8(RangeHtml(doc, BodyText::Build(doc), a, b));
}

TEST(RangeHtml, CutsTextKeepsFormattingAndCoversBlocks) {
  Document doc;
  ParseDocument(doc, u"<p>ab<font color=red><b>cdef</b></font>gh</p><p>ij<i>kl</i></p>");
  const BodyText layout = BodyText::Build(doc);
  ASSERT_EQ(layout.Text(), u"abcdefgh\rijkl");
  // Inside one bold word: the FONT and B around it come along.
  EXPECT_EQ(Html(doc, 3, 5), "<FONT color=red><B>de</B></FONT>");
  // Across the paragraph break: both paragraphs, each cut.
  EXPECT_EQ(Html(doc, 7, 11), "<P>h</P><P>ij</P>");
  EXPECT_EQ(Html(doc, 7, 12), "<P>h</P><P>ij<I>k</I></P>");
  // The whole text is the body's HTML; an empty range nothing.
  EXPECT_EQ(Html(doc, 0, layout.Length()), unicode::Utf16ToUtf8(InnerHTML(doc.Body())));
  EXPECT_EQ(Html(doc, 4, 4), "");
  EXPECT_EQ(RangeText(layout, 6, 11), u"gh\r\nij");
}

TEST(RangeHtml, TablesAndObjects) {
  Document doc;
  ParseDocument(doc, u"<table><tr><td>a</td><td>b<img src=x.gif></td></tr></table><p>c</p>");
  const BodyText layout = BodyText::Build(doc);
  ASSERT_EQ(layout.Text(), u"a\tb\uFFFC\rc");
  EXPECT_EQ(Html(doc, 0, 4), "<TD>a</TD><TD>b<IMG src=x.gif></TD>");
  EXPECT_EQ(Html(doc, 2, 3), "b");
  EXPECT_EQ(RangeText(layout, 0, 6), u"a\tb\r\nc");
}

}  // namespace
}  // namespace htmledit
