// Typing, deleting, Enter and paste on the document tree, checked through the body as HTML
// and through the layout the view would show, with the caret where the next key lands.
#include <gtest/gtest.h>

#include "htmledit/html_parser.h"
#include "htmledit/text_editing.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

struct Doc {
  Document doc;
  int caret = 0;
  explicit Doc(std::u16string_view html) { ParseDocument(doc, html); }
  BodyText Layout() const { return BodyText::Build(doc); }
  std::string Html() const { return unicode::Utf16ToUtf8(InnerHTML(doc.Body())); }
  std::u16string Text() const { return Layout().Text(); }
  void Land(const DomPoint& p) { caret = PositionOfPoint(Layout(), p); }
  void Type(int start, int end, std::u16string_view text) { Land(InsertText(doc, Layout(), start, end, text)); }
  void Type(std::u16string_view text) { Type(caret, caret, text); }
  void Delete(int start, int end) { Land(DeleteContent(doc, Layout(), start, end)); }
  void Backspace() {
    auto [a, b] = DeletionRange(Layout(), caret, false, false);
    Delete(a, b);
  }
  void Enter(int tag = TAGID_P) { Land(SplitBlock(doc, Layout(), caret, caret, tag)); }
};

TEST(TextEditing, TypedTextJoinsTheTextBeforeItAndSpacesStayVisible) {
  Doc d(u"<p><b>ab</b>cd</p>");
  d.Type(2, 2, u"X");
  EXPECT_EQ(d.Html(), "<P><B>abX</B>cd</P>");
  EXPECT_EQ(d.caret, 3);
  // A space at the end of a line would collapse: it is typed as a no-break space, which
  // becomes a plain blank again once a word follows it.
  Doc e(u"<p>ab</p>");
  e.caret = 2;
  e.Type(u" ");
  EXPECT_EQ(e.Text(), u"ab\u00A0");
  e.Type(u"c");
  EXPECT_EQ(e.Html(), "<P>ab c</P>");
  e.Type(u"  d");
  EXPECT_EQ(e.Text(), u"ab c \u00A0d");
  EXPECT_EQ(e.caret, 7);
  // Line breaks typed become BRs, and the caret ends after them.
  e.Type(u"\r\nx\ny");
  EXPECT_EQ(e.Text(), u"ab c \u00A0d\rx\ry");
  EXPECT_EQ(e.caret, 11);
}

TEST(TextEditing, TypingIntoAnEmptyDocumentAndOverAPlaceholder) {
  Doc d(u"");
  d.Type(u"\u4E2D\u6587");
  EXPECT_EQ(d.Text(), u"\u4E2D\u6587");
  d.Enter();
  EXPECT_EQ(d.Html(), "<P>\u4E2D\u6587</P>\r\n<P>&nbsp;</P>");
  EXPECT_EQ(d.caret, 3);
  d.Type(u"x");
  EXPECT_EQ(d.Html(), "<P>\u4E2D\u6587</P>\r\n<P>x</P>");
  EXPECT_EQ(d.caret, 4);
}

TEST(TextEditing, BackspaceAndDeleteJoinBlocksButNeverCells) {
  Doc d(u"<p>ab</p><p>cd</p>");
  d.caret = 3;
  d.Backspace();
  EXPECT_EQ(d.Html(), "<P>abcd</P>");
  EXPECT_EQ(d.caret, 2);
  // Across three paragraphs the middle one goes whole.
  Doc m(u"<p>a1</p><p>b</p><p>c3</p>");
  m.Delete(1, 6);
  EXPECT_EQ(m.Html(), "<P>a3</P>");
  // A list item joins the paragraph before it; the emptied list goes.
  Doc l(u"<p>x</p><ul><li>y</li></ul>");
  l.Delete(1, 2);
  EXPECT_EQ(l.Html(), "<P>xy</P>");
  // Table cells keep their boundaries.
  Doc t(u"<table><tr><td>a</td><td>b</td></tr></table>");
  EXPECT_EQ(t.Text(), u"a\tb");
  auto r = DeletionRange(t.Layout(), 2, false, false);
  EXPECT_EQ(r.first, r.second);
  t.Delete(0, 3);
  EXPECT_EQ(t.Text(), u"\t");
  // A surrogate pair goes whole, and a word with Ctrl.
  Doc s(u"<p>a\U0001F600 two words</p>");
  auto pair = DeletionRange(s.Layout(), 3, false, false);
  EXPECT_EQ(pair, std::make_pair(1, 3));
  auto word = DeletionRange(s.Layout(), 13, false, true);
  EXPECT_EQ(word, std::make_pair(8, 13));
  auto forward = DeletionRange(s.Layout(), 4, true, true);
  EXPECT_EQ(forward, std::make_pair(4, 8));
}

TEST(TextEditing, EnterSplitsBlocksKeepingFormattingAndLeavesAListFromAnEmptyItem) {
  Doc d(u"<p align=center><b>abcd</b></p>");
  d.caret = 2;
  d.Enter();
  EXPECT_EQ(d.Html(), "<P align=center><B>ab</B></P>\r\n<P align=center><B>cd</B></P>");
  EXPECT_EQ(d.caret, 3);
  // At the end of a heading the next block is a paragraph; an empty half keeps a space and
  // the formatting of the copy it sits in.
  Doc h(u"<h1>t</h1>");
  h.caret = 1;
  h.Enter(TAGID_DIV);
  EXPECT_EQ(h.Html(), "<H1>t</H1>\r\n<DIV>&nbsp;</DIV>");
  // A line directly in the body becomes paragraphs.
  Doc b(u"abc");
  b.caret = 1;
  b.Enter();
  EXPECT_EQ(b.Html(), "<P>a</P>\r\n<P>bc</P>");
  // An item gives a new item; Enter in the empty item leaves the list.
  Doc l(u"<ul><li>one</li></ul><p>after</p>");
  l.caret = 3;
  l.Enter();
  EXPECT_EQ(l.Text(), u"one\r\u00A0\rafter");
  EXPECT_EQ(l.doc.ElementsByTagId(TAGID_LI).size(), 2u);
  l.Enter();
  EXPECT_EQ(l.doc.ElementsByTagId(TAGID_LI).size(), 1u);
  EXPECT_EQ(l.Html(), "<UL>\r\n<LI>one</LI></UL>\r\n<P>&nbsp;</P>\r\n<P>after</P>");
  l.Type(u"z");
  EXPECT_EQ(l.Text(), u"one\rz\rafter");
}

TEST(TextEditing, ShiftEnterGivesALineBreakThatShows) {
  Doc d(u"<p>ab</p>");
  d.Land(InsertLineBreak(d.doc, d.Layout(), 2, 2));
  EXPECT_EQ(d.Text(), u"ab\r\u00A0");
  EXPECT_EQ(d.caret, 3);
  d.Type(u"c");
  EXPECT_EQ(d.Html(), "<P>ab<BR>c</P>");
  d.Land(InsertLineBreak(d.doc, d.Layout(), 1, 1));
  EXPECT_EQ(d.Html(), "<P>a<BR>b<BR>c</P>");
}

TEST(TextEditing, PastedBlocksSplitTheParagraphAndInlineTextStaysInIt) {
  Doc d(u"<p>hello world</p>");
  Node* end = PasteFragment(d.doc, d.Layout(), 5, 6, u"<table><tr><td>x</td></tr></table>").node;
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(d.Text(), u"hello\rx\rworld");
  Doc i(u"<p>hello world</p>");
  i.Land(PasteFragment(i.doc, i.Layout(), 6, 11, u"<b>there</b>"));
  EXPECT_EQ(i.Html(), "<P>hello <B>there</B></P>");
  EXPECT_EQ(i.caret, 11);
  EXPECT_EQ(PasteFragment(i.doc, i.Layout(), 0, 0, u"").node, nullptr);
}

}  // namespace
}  // namespace htmledit
