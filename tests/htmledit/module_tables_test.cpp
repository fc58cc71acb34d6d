#include <gtest/gtest.h>

#include "htmledit/element_tags.h"
#include "htmledit/html_tables.h"
#include "htmledit/module_routines.h"
#include "htmledit/preserved_source.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

TEST(EditorTables, EntitySlotsAndCount) {
  StartModule();
  EXPECT_EQ(EntityName(39), u"");  // HTML 4.01 names no apostrophe
  EXPECT_EQ(EntityName(160), u"nbsp");
  EXPECT_EQ(EntityName(8364), u"euro");
  EXPECT_EQ(EntityName(34), u"quot");
  EXPECT_EQ(EntityName(65535), u"");
  EXPECT_EQ(EntityNameCount(), kEntityCount);
  EXPECT_EQ(EntityCode(u"hearts"), 9829);
  EXPECT_EQ(EntityCode(u"apos"), 39);
  EXPECT_EQ(EntityCode(u"Hearts"), -1);
}

TEST(EditorTables, NameTablesAndFragments) {
  EXPECT_EQ(kElementNames.size(), 91u);
  EXPECT_TRUE(std::is_sorted(kElementNames.begin(), kElementNames.end()));
  EXPECT_TRUE(IsEmptyElementName(u"BR"));
  EXPECT_TRUE(IsEmptyElementName(u"isindex"));
  EXPECT_FALSE(IsEmptyElementName(u"p"));
  EXPECT_TRUE(IsBooleanAttributeName(u"NoWrap"));
  EXPECT_TRUE(IsInlineElementName(u"span"));
  EXPECT_FALSE(IsInlineElementName(u"div"));
  EXPECT_EQ(kHorizontalAlignFragments[0], u"");
  EXPECT_EQ(kVerticalAlignFragments[0], u"");
  EXPECT_EQ(kHorizontalAlignFragments[3], u" Align=\"center\"");
  EXPECT_EQ(kVerticalAlignFragments[4], u" VAlign=\"baseline\"");
  EXPECT_EQ(TagIdOfName(u"table"), TAGID_TABLE);
  EXPECT_EQ(TagIdOfName(u"section"), TAGID_UNKNOWN);
  EXPECT_EQ(TagNameOfId(TAGID_ABBR), u"ABBR");
  EXPECT_EQ(TagNameOfId(111), u"");
}

TEST(ModuleRoutines, BrowserVersionFromTheUserAgent) {
  EXPECT_DOUBLE_EQ(GetIEVersion(u"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)"), 6.0);
  EXPECT_DOUBLE_EQ(GetIEVersion(u"Mozilla/4.0 (compatible; MSIE 5.5; Windows 98)"), 5.5);
  EXPECT_DOUBLE_EQ(GetIEVersion(u"Mozilla/5.0 (Windows NT 10.0; rv:109.0)"), 0);
  EXPECT_DOUBLE_EQ(GetIEVersion(u"Mozilla/4.0 (compatible; MSIE x.1; Windows)"), 0);
  EXPECT_DOUBLE_EQ(GetIEVersion(u"Mozilla/4.0 (compatible; MSIE 7.0"), 0);
  EXPECT_DOUBLE_EQ(GetIEVersion(u"MSIE ;"), 0);
}

TEST(ModuleRoutines, ColorToHtml) {
  EXPECT_EQ(ColorToHTML(0x0000FF), u"#FF0000");
  EXPECT_EQ(ColorToHTML(0x123456), u"#563412");
  // A system colour is resolved first (clBtnFace, index 15).
  EXPECT_EQ(ColorToHTML(static_cast<TColor>(0x8000000F), [](int i) { return i == 15 ? 0xC0D0E0u : 0u; }), u"#E0D0C0");
}

TEST(ModuleRoutines, CaseBlindSearchAndReplace) {
  EXPECT_TRUE(HtmlSameText(u"TaBLe", u"table"));
  EXPECT_FALSE(HtmlSameText(u"table", u"tables"));
  EXPECT_EQ(HtmlPosText(u"BODY", u"<html><body>"), 8);
  EXPECT_EQ(HtmlPosText(u"x", u"abc"), 0);
  EXPECT_EQ(HtmlPosFrom(u"a", u"aXa", 2), 3);
  EXPECT_EQ(HtmlPosFrom(u"A", u"aXa", 0), 0);
  EXPECT_EQ(HtmlPosTextFrom(u"A", u"aXa", -5), 1);
  EXPECT_EQ(HtmlPosTextFrom(u"a", u"aXa", 9), 0);
  EXPECT_EQ(HtmlReplaceText(u"<P>a</p><p>", u"<p>", u"<DIV>", true, true), u"<DIV>a</p><DIV>");
  EXPECT_EQ(HtmlReplaceText(u"aaa", u"a", u"b", false, false), u"baa");
  EXPECT_EQ(HtmlReplaceText(u"aaa", u"a", u"aa", true, false), u"aaaaaa");
  // An empty search text matches nothing (and ends).
  EXPECT_EQ(HtmlReplaceText(u"abc", u"", u"x", true, true), u"abc");
  EXPECT_EQ(HtmlUpperCase(u"\u00e9a\u0436"), u"\u00c9A\u0416");
  EXPECT_EQ(HtmlLowerCase(u"\u00c9A"), u"\u00e9a");
}

TEST(ModuleRoutines, AnsiRoundTrip) {
  EXPECT_TRUE(RoundTripsAnsi(u'A'));
  EXPECT_TRUE(RoundTripsAnsi(u'\u4E2D'));
  EXPECT_FALSE(RoundTripsAnsi(u'\u0E01'));  // Thai is not in code page 936
  EXPECT_FALSE(RoundTripsAnsi(0xD800));
}

TEST(PreservedSource, ThreeEncodingsAndShortStreams) {
  EXPECT_EQ(DecodePreservedSource(std::string("\xFF\xFE" "a\0\x2D\x4E", 6)), u"a\u4E2D");
  // An odd byte count yields one unit less than half the bytes.
  EXPECT_EQ(DecodePreservedSource(std::string("\xFF\xFE" "a\0b", 5)), u"a");
  EXPECT_EQ(DecodePreservedSource("\xEF\xBB\xBF\xE4\xB8\xAD<p>"), u"\u4E2D<p>");
  EXPECT_EQ(DecodePreservedSource("\xD6\xD0<p>"), u"\u4E2D<p>");
  // Streams shorter than a mark hold no mark.
  EXPECT_EQ(DecodePreservedSource(""), u"");
  EXPECT_EQ(DecodePreservedSource("\xFF"), unicode::AnsiToUtf16("\xFF"));
  EXPECT_EQ(DecodePreservedSource("\xEF\xBB"), unicode::AnsiToUtf16("\xEF\xBB"));
}

}  // namespace
}  // namespace htmledit
