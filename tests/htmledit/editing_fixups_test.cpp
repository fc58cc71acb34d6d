// The key handling's repairs and tests, and the numbering of the document's events.
#include <gtest/gtest.h>

#include "htmledit/document_events.h"
#include "htmledit/editing_fixups.h"
#include "htmledit/html_parser.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

std::string BodyHtml(const Document& doc) { return unicode::Utf16ToUtf8(InnerHTML(doc.Body())); }

TEST(EditingFixups, TheSelectionTestAndTheCaretCountRule) {
  Document doc;
  ParseDocument(doc, u"<p>ab</p><p>cd</p>");
  const BodyText layout = BodyText::Build(doc);
  EXPECT_TRUE(SelectionCoversBlock(layout, 0, 5));
  EXPECT_TRUE(SelectionCoversBlock(layout, 3, 5));
  EXPECT_TRUE(SelectionCoversBlock(layout, 0, 2));
  EXPECT_FALSE(SelectionCoversBlock(layout, 1, 4));
  EXPECT_FALSE(SelectionCoversBlock(layout, 2, 2));
  EXPECT_TRUE(SelStartCountsOneLess(u"<P>&nbsp;</P>"));
  EXPECT_TRUE(SelStartCountsOneLess(u"<DIV>&nbsp;</DIV>"));
  EXPECT_TRUE(SelStartCountsOneLess(u"<P></P>\r\n<P>x</P>"));
  EXPECT_FALSE(SelStartCountsOneLess(u"<P>x</P>"));
}

TEST(EditingFixups, ParagraphFixupTurnsTheNewParagraphIntoADivision) {
  Document doc;
  ParseDocument(doc, u"<div>one</div><p align=right>two</p>");
  const std::u16string remembered = u"<DIV>one</DIV>";
  EXPECT_FALSE(ParagraphFixup(doc, BodyText::Build(doc), 5, InnerHTML(doc.Body())));
  ASSERT_TRUE(ParagraphFixup(doc, BodyText::Build(doc), 5, remembered));
  EXPECT_EQ(BodyHtml(doc), "<DIV>one</DIV>\r\n<DIV align=right>two</DIV>");
  EXPECT_FALSE(ParagraphFixup(doc, BodyText::Build(doc), 5, remembered));  // no P left
}

TEST(EditingFixups, DivisionFixupLeavesNoParagraphsOrDivisions) {
  Document doc;
  ParseDocument(doc, u"<p>one</p><p>&nbsp;</p><div>two<br>three</div><div align=center>four</div>");
  Document kept;
  ParseDocument(kept, u"<p>one</p><p>&nbsp;</p><div>two<br>three</div><div align=center>four</div>");
  // Outside the line-break mode the paragraphs stay; only the empty one goes.
  EXPECT_FALSE(DivisionFixup(kept, BodyText::Build(kept), 0, false));
  ASSERT_TRUE(DivisionFixup(kept, BodyText::Build(kept), 5, false));
  EXPECT_EQ(BodyHtml(kept), "<P>one</P>\r\n<DIV>two<BR>three</DIV>\r\n<DIV align=center>four</DIV>");
  // In it: the caret's P alone, then at the body all of them.
  ASSERT_TRUE(DivisionFixup(doc, BodyText::Build(doc), 0, true));
  EXPECT_EQ(BodyHtml(doc), "one\r\n<P>&nbsp;</P>\r\n<DIV>two<BR>three</DIV>\r\n<DIV align=center>four</DIV>");
  ASSERT_TRUE(DivisionFixup(doc, BodyText::Build(doc), 0, true));
  EXPECT_EQ(BodyHtml(doc), "onetwo<BR>three\r\n<DIV align=center>four</DIV>");
}

TEST(DocumentEvents, SeventyEightNamesInAlphabeticalOrder) {
  EXPECT_EQ(DocumentEventName(0), u"abort");
  EXPECT_EQ(DocumentEventName(17), u"click");
  EXPECT_EQ(DocumentEventName(42), u"keydown");
  EXPECT_EQ(DocumentEventName(59), u"paste");
  EXPECT_EQ(DocumentEventName(61), u"readystatechange");
  EXPECT_EQ(DocumentEventName(77), u"unload");
  EXPECT_EQ(DocumentEventName(78), u"");
  for (int i = 0; i < kDocumentEventCount; ++i) EXPECT_EQ(DocumentEventIndex(DocumentEventName(i)), i);
  EXPECT_EQ(DocumentEventIndex(u"nosuchevent"), -1);
}

}  // namespace
}  // namespace htmledit
