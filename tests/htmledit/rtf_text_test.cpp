// RTF streamed into the view by another program, read as the text it shows.
#include <gtest/gtest.h>

#include "htmledit/rtf_text.h"

namespace htmledit {
namespace {

TEST(RtfToText, TextParagraphsUnicodeAndHiddenGroups) {
  EXPECT_EQ(RtfToText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                      "\\pard{\\b one}\\par two\\tab three\\line \\u20013?\\u25991?{\\*\\generator x}\\par}"),
            u"one\rtwo\tthree\r\u4E2D\u6587");
  // \'hh pairs in the ANSI code page, escaped braces, \ucN fallbacks skipped.
  EXPECT_EQ(RtfToText("{\\rtf1 \\'d6\\'d0 \\{x\\} \\uc2\\u20013\\'d6\\'d0 y}"), u"\u4E2D {x} \u4E2D y");
}

TEST(RtfToText, HostileInputEndsAndStaysBounded) {
  EXPECT_EQ(RtfToText(""), u"");
  EXPECT_EQ(RtfToText("{\\rtf1 abc"), u"abc");
  EXPECT_EQ(RtfToText("}}}x{{"), u"x");
  EXPECT_EQ(RtfToText("\\"), u"");
  EXPECT_EQ(RtfToText("{\\u"), u"");
  std::string deep(100000, '{');
  deep += "z";
  EXPECT_EQ(RtfToText(deep), u"z");
  const std::string junk = "\\'zz\\'\\uc99\\u-1?\\bin5 x";
  EXPECT_LE(RtfToText(junk).size(), junk.size());
}

}  // namespace
}  // namespace htmledit
