#include <gtest/gtest.h>

#include "htmledit/editor_selection.h"
#include "htmledit/glyph_table.h"
#include "htmledit/html_parser.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

TEST(EditorSelection, AnObjectAloneIsAControlSelectionElseTheHoldingElement) {
  Document doc;
  ParseDocument(doc, u"<p>ab <img src=x.gif> <b>cd</b></p>");
  BodyText layout = BodyText::Build(doc);
  const int img = static_cast<int>(layout.Text().find(kObjectPlaceholder));
  TableSelection s = SelectionAt(layout, img, img + 1);
  EXPECT_TRUE(s.control);
  ASSERT_NE(s.element, nullptr);
  EXPECT_TRUE(s.element->Is(TAGID_IMG));
  s = SelectionAt(layout, img + 1, img);  // reversed the same
  EXPECT_TRUE(s.control);
  const int cd = static_cast<int>(layout.Text().find(u"cd"));
  s = SelectionAt(layout, cd, cd + 2);
  EXPECT_FALSE(s.control);
  EXPECT_TRUE(s.element->Is(TAGID_B));
  s = SelectionAt(layout, 0, layout.Length() + 50);  // clamped
  EXPECT_TRUE(s.element->Is(TAGID_P));
  EXPECT_EQ(s.end, layout.Length());
}

TEST(EditorSelection, SourceIsGeneratedOrKeptAndCellsAreNotReplaced) {
  Document doc;
  ParseDocument(doc, u"<p>x <span DESIGNTIMESP=\"12\" class=a>y</span></p><table><tr><td>c</td></tr></table>");
  BodyText layout = BodyText::Build(doc);
  const int y = static_cast<int>(layout.Text().find(u'y'));
  TableSelection s = SelectionAt(layout, y, y + 1);
  SourceContext ctx;
  EXPECT_EQ(SelectionSource(doc, s, false, ctx), u"<span class=\"a\">y</span>");
  EXPECT_EQ(SelectionSource(doc, s, true, ctx), u"<SPAN class=a>y</SPAN>");  // unquoted, also removed
  EXPECT_EQ(StripDesignTimeAttributes(u"<IMG DESIGNTIMEURL=a.gif src=\"a.gif\"> "), u"<IMG src=\"a.gif\">");
  EXPECT_EQ(SelectionSource(doc, TableSelection{}, false, ctx), u"");
  EXPECT_FALSE(SetSelectionSource(doc, s, OuterHTML(s.element)));  // the same text changes nothing
  EXPECT_TRUE(SetSelectionSource(doc, s, u"<i>z</i>"));
  EXPECT_EQ(BodyText::Build(doc).Text().substr(0, 3), u"x z");
  layout = BodyText::Build(doc);
  const int c = static_cast<int>(layout.Text().find(u'c'));
  s = SelectionAt(layout, c, c + 1);
  ASSERT_TRUE(s.element->Is(TAGID_TD));
  EXPECT_FALSE(SetSelectionSource(doc, s, u"<td>d</td>"));
  s.element = doc.Body();
  EXPECT_FALSE(SetSelectionSource(doc, s, u"<p>gone</p>"));
}

TEST(EditorSelection, FilesGetAnsiTextWhenItRoundTripsElseUtf16) {
  EXPECT_EQ(EncodeSourceForFile(u"<p>abc</p>"), "<p>abc</p>");
  const std::string wide = EncodeSourceForFile(u"<p>\U0001F600</p>");
  EXPECT_EQ(wide.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(wide.size(), 2 + 2 * std::u16string(u"<p>\U0001F600</p>").size());
  const std::u16string chinese = u"\u4E2D\u6587";
  EXPECT_EQ(unicode::AnsiToUtf16(EncodeSourceForFile(chinese)), chinese);  // both encodings read back alike
}

TEST(GlyphTable, FourteenEntriesWithTheProgramsPath) {
  const std::u16string t = GlyphTableText(u"C:\\App\\x.exe");
  EXPECT_EQ(t.rfind(u"%%p^^%%res://C:\\App\\x.exe/GIF/IDR_pbgn^^%%0^^%%3^^%%3^^%%4^^%%20^^%%15^^%%20^^%%15^^**", 0),
            0u);
  EXPECT_NE(t.find(u"**%%p^^%%res://C:\\App\\x.exe/GIF/IDR_pend^^%%1^^"), std::u16string::npos);
  EXPECT_NE(t.find(u"%%img^^%%res://C:\\App\\x.exe/GIF/IDR_anchorwi^^%%0^^%%2^^%%3^^%%4^^%%20^^%%15^^%%20^^%%15^^**"),
            std::u16string::npos);
  size_t entries = 0;
  for (size_t p = t.find(u"**"); p != std::u16string::npos; p = t.find(u"**", p + 2)) ++entries;
  EXPECT_EQ(entries, 14u);
}

}  // namespace
}  // namespace htmledit
