// The formatting commands on the tree: toggling styles twice gives the document back, partial
// removal splits the elements, FONT attributes win over inner ones, the queries tell a mixed
// range, block formats, lists and alignment.
#include <gtest/gtest.h>

#include "htmledit/formatting.h"
#include "htmledit/html_parser.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

struct Doc {
  Document doc;
  explicit Doc(std::u16string_view html) { ParseDocument(doc, html); }
  BodyText Layout() const { return BodyText::Build(doc); }
  std::string Html() const { return unicode::Utf16ToUtf8(InnerHTML(doc.Body())); }
  void Style(int a, int b, InlineStyle s, bool on) { SetInlineStyle(doc, Layout(), a, b, s, on); }
  // What the toggle button does: on unless the whole range has it.
  void Toggle(int a, int b, InlineStyle s) { Style(a, b, s, !HasInlineStyle(Layout(), a, b, s)); }
};

TEST(Formatting, BoldTwiceGivesTheDocumentBackAndPartialRemovalSplits) {
  Doc d(u"<p>one <i>two</i> three</p>");
  const std::string before = d.Html();
  d.Toggle(0, 13, InlineStyle::Bold);
  EXPECT_EQ(d.Html(), "<P><B>one <I>two</I> three</B></P>");
  EXPECT_TRUE(HasInlineStyle(d.Layout(), 0, 13, InlineStyle::Bold));
  d.Toggle(0, 13, InlineStyle::Bold);
  EXPECT_EQ(d.Html(), before);

  Doc p(u"<p><b>abcdef</b></p>");
  p.Style(2, 4, InlineStyle::Bold, false);
  EXPECT_EQ(p.Html(), "<P><B>ab</B>cd<B>ef</B></P>");
  EXPECT_FALSE(HasInlineStyle(p.Layout(), 1, 3, InlineStyle::Bold));
  EXPECT_TRUE(HasInlineStyle(p.Layout(), 4, 6, InlineStyle::Bold));
  // A heading's own weight is not an element to take away.
  Doc h(u"<h1>x</h1>");
  h.Style(0, 1, InlineStyle::Bold, false);
  EXPECT_EQ(h.Html(), "<H1>x</H1>");
  // A caret asks about the character before it.
  Doc c(u"<p><u>ab</u>cd</p>");
  EXPECT_TRUE(HasInlineStyle(c.Layout(), 2, 2, InlineStyle::Underline));
  EXPECT_FALSE(HasInlineStyle(c.Layout(), 3, 3, InlineStyle::Underline));
}

TEST(Formatting, FontAttributesWinOverInnerOnesAndQueriesTellAMixedRange) {
  Doc d(u"<p>ab<font size=2 face=Arial>cd</font>ef</p>");
  EXPECT_EQ(CommonFontSize(d.Layout(), 0, 6), std::nullopt);
  EXPECT_EQ(CommonFontSize(d.Layout(), 0, 2), 3);
  EXPECT_EQ(CommonFontSize(d.Layout(), 2, 4), 2);
  EXPECT_EQ(CommonFace(d.Layout(), 2, 4), u"Arial");
  EXPECT_EQ(CommonFace(d.Layout(), 1, 3), std::nullopt);
  EXPECT_EQ(CommonFace(d.Layout(), 0, 1), u"");
  SetFontAttribute(d.doc, d.Layout(), 1, 5, FontAttribute::Size, u"5");
  EXPECT_EQ(d.Html(), "<P>a<FONT size=5>b<FONT face=Arial>cd</FONT>e</FONT>f</P>");
  EXPECT_EQ(CommonFontSize(d.Layout(), 1, 5), 5);
  SetFontAttribute(d.doc, d.Layout(), 0, 6, FontAttribute::Color, u"#FF0000");
  EXPECT_EQ(d.Html(), "<P><FONT color=#FF0000>a<FONT size=5>b<FONT face=Arial>cd</FONT>e</FONT>f</FONT></P>");
  // Removing the colour from the middle splits the FONT around it.
  SetFontAttribute(d.doc, d.Layout(), 2, 4, FontAttribute::Color, u"");
  EXPECT_EQ(d.Html(),
            "<P><FONT color=#FF0000>a<FONT size=5>b</FONT></FONT><FONT size=5><FONT face=Arial>cd</FONT></FONT>"
            "<FONT color=#FF0000><FONT size=5>e</FONT>f</FONT></P>");
  EXPECT_EQ(d.Layout().Text(), u"abcdef");
}

TEST(Formatting, BlockFormatsListsAndAlignment) {
  const auto& names = BlockFormatNames();
  ASSERT_GE(names.size(), 9u);
  Doc d(u"<p>one</p><p>two</p>three");
  EXPECT_EQ(BlockFormatAt(d.Layout(), 0), names[0]);
  ASSERT_TRUE(SetBlockFormat(d.doc, d.Layout(), 0, 0, names[3]));  // the first heading
  EXPECT_EQ(d.Html(), "<H1>one</H1>\r\n<P>two</P>three");
  EXPECT_EQ(BlockFormatAt(d.Layout(), 1), names[3]);
  EXPECT_FALSE(SetBlockFormat(d.doc, d.Layout(), 0, 0, u"no such format"));
  // A line directly in the body gets a block of its own.
  SetAlignment(d.doc, d.Layout(), 8, 9, u"center");
  EXPECT_EQ(d.Html(), "<H1>one</H1>\r\n<P>two</P>\r\n<P align=center>three</P>");

  Doc l(u"<p>a</p><p>b</p><p>c</p>");
  ToggleList(l.doc, l.Layout(), 0, 3, false);
  EXPECT_EQ(l.Html(), "<UL>\r\n<LI>a</LI>\r\n<LI>b</LI></UL>\r\n<P>c</P>");
  EXPECT_TRUE(IsInList(l.Layout(), 0, false));
  EXPECT_FALSE(IsInList(l.Layout(), 0, true));
  ToggleList(l.doc, l.Layout(), 2, 2, false);
  EXPECT_EQ(l.Html(), "<UL>\r\n<LI>a</LI></UL>\r\n<P>b</P>\r\n<P>c</P>");
  EXPECT_FALSE(IsInList(l.Layout(), 2, false));
}

}  // namespace
}  // namespace htmledit
