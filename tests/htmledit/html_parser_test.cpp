#include <gtest/gtest.h>

#include <string>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"
#include "htmledit/html_parser.h"

namespace htmledit {
namespace {

std::u16string BodyHtml(std::u16string_view html) {
  Document doc;
  ParseDocument(doc, html);
  return InnerHTML(doc.Body());
}

TEST(HtmlParser, ImpliesHtmlHeadAndBodyAndKeepsHeadElementsInHead) {
  Document doc;
  ParseDocument(doc, u"<title>T&amp;x</title><meta name=a content=b>Hello");
  ASSERT_NE(doc.Html(), nullptr);
  ASSERT_NE(doc.Head(), nullptr);
  ASSERT_NE(doc.Body(), nullptr);
  EXPECT_EQ(doc.Title(), u"T&x");
  EXPECT_EQ(InnerHTML(doc.Body()), u"Hello");
  EXPECT_EQ(doc.Head()->ChildCount(), 2);
}

TEST(HtmlParser, BlocksCloseParagraphsAndListItemsCloseEachOther) {
  EXPECT_EQ(BodyHtml(u"<p>a<p>b<div>c</div>"), u"<P>a</P>\r\n<P>b</P>\r\n<DIV>c</DIV>");
  EXPECT_EQ(BodyHtml(u"<ul><li>a<li>b</ul>"), u"<UL>\r\n<LI>a</LI>\r\n<LI>b</LI></UL>");
  EXPECT_EQ(BodyHtml(u"x</p>y"), u"x\r\n<P>&nbsp;</P>y");
}

TEST(HtmlParser, TablesGetImpliedSectionsRowsAndFosterParentedContent) {
  EXPECT_EQ(BodyHtml(u"<table><td>a<td>b</table>"),
            u"<TABLE>\r\n<TBODY>\r\n<TR>\r\n<TD>a</TD>\r\n<TD>b</TD></TR></TBODY></TABLE>");
  // Text and an element directly in a table go in front of it.
  Document doc;
  ParseDocument(doc, u"<table>stray<b>bold</b><tr><td>c</td></tr></table>");
  Node* body = doc.Body();
  ASSERT_NE(body->firstChild, nullptr);
  EXPECT_TRUE(body->firstChild->IsText());
  EXPECT_EQ(body->firstChild->data, u"stray");
  EXPECT_TRUE(body->firstChild->next->Is(TAGID_B));
  EXPECT_TRUE(body->lastChild->Is(TAGID_TABLE));
}

TEST(HtmlParser, MisnestedFormattingIsReopened) {
  EXPECT_EQ(BodyHtml(u"<b>1<i>2</b>3</i>"), u"<B>1<I>2</I></B><I>3</I>");
  EXPECT_EQ(BodyHtml(u"<p><b>x</p><p>y</p>"), u"<P><B>x</B></P>\r\n<P><B>y</B></P>");
}

TEST(HtmlParser, ReferencesAttributesCommentsAndRawText) {
  Document doc;
  ParseDocument(doc,
                u"<!DOCTYPE html><!--c--><p class=\"a&amp;b\" id=x title='q' checked>&lt;&#20013;&#x1F600;&euro;&bogus;"
                u"&#150;</p><script>if (a<b) x='</p>';</script><textarea>\n&lt;t</textarea>");
  ASSERT_EQ(doc.Root()->firstChild->type, NodeType::DocumentType);
  ASSERT_EQ(doc.Root()->firstChild->next->type, NodeType::Comment);
  EXPECT_EQ(doc.Root()->firstChild->next->data, u"<!--c-->");
  Node* p = doc.Body()->firstChild;
  ASSERT_TRUE(p->Is(TAGID_P));
  EXPECT_EQ(*p->GetAttribute(u"CLASS"), u"a&b");
  EXPECT_EQ(*p->GetAttribute(u"title"), u"q");
  EXPECT_EQ(*p->GetAttribute(u"checked"), u"");
  EXPECT_EQ(TextContent(p), u"<\u4E2D\U0001F600\u20AC&bogus;\u2013");
  Node* script = p->next;
  ASSERT_TRUE(script->Is(TAGID_SCRIPT));
  EXPECT_EQ(TextContent(script), u"if (a<b) x='</p>';");
  ASSERT_TRUE(script->next->Is(TAGID_TEXTAREA));
  EXPECT_EQ(TextContent(script->next), u"<t");
}

TEST(HtmlParser, BadInputIsBoundedAndNeverRecursive) {
  // 100000 nested elements: depth is capped, the text survives.
  std::u16string deep;
  for (int i = 0; i < 100000; ++i) deep += u"<div>";
  deep += u"end";
  Document doc;
  ParseReport report = ParseDocument(doc, deep);
  EXPECT_TRUE(report.depthCapped);
  EXPECT_EQ(TextContent(doc.Body()), u"end");
  int depth = 0;
  for (Node* n = doc.Body(); n->firstChild; n = n->firstChild) ++depth;
  EXPECT_LE(depth, 260);
  EXPECT_FALSE(InnerHTML(doc.Body()).empty());
  EXPECT_EQ(BodyText::Build(doc).Text(), u"end");

  // Unclosed formatting elements stay bounded when they are reopened in every block.
  std::u16string formatting;
  for (int i = 0; i < 20000; ++i) formatting += u"<b><i><p>x";
  Document doc2;
  ParseDocument(doc2, formatting);
  EXPECT_LT(doc2.NodeCount(), 20000u * 80u);

  // Junk: every code unit value, stray brackets, unterminated constructs.
  std::u16string junk;
  for (int i = 0; i < 70000; ++i) junk += static_cast<char16_t>((i * 7919) & 0xFFFF);
  junk += u"<a href='unterminated <!-- <table><td";
  Document doc3;
  ParseDocument(doc3, junk);
  EXPECT_NE(doc3.Body(), nullptr);
}

TEST(HtmlParser, FragmentsAndClonesLandInTheTargetDocument) {
  Document target;
  ParseDocument(target, u"<p>x</p>");
  std::vector<Node*> nodes = ParseFragment(target, u"<b>a</b><table><tr><td>c</td></tr></table>");
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0]->owner, &target);
  EXPECT_EQ(OuterHTML(nodes[0]), u"<B>a</B>");
  EXPECT_EQ(nodes[1]->parent, nullptr);
  EXPECT_EQ(TextContent(nodes[1]), u"c");
}

}  // namespace
}  // namespace htmledit
