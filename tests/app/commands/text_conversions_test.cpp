#include "app/commands/text_conversions.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(TextConversions, TabsAndLineBreaksBothWays) {
  EXPECT_EQ(TabsToLineBreaks(u"a\tb"), u"a\r\nb");
  EXPECT_EQ(LineBreaksToTabs(u"a\r\nb"), u"a\tb");
  EXPECT_EQ(LineBreaksToTabs(TabsToLineBreaks(u"甲\t乙\t\t丙")), u"甲\t乙\t\t丙");
  // A lone CR or LF stays; only the pair becomes a Tab.
  EXPECT_EQ(LineBreaksToTabs(u"a\rb\nc\r\n\r\nd\r"), u"a\rb\nc\t\td\r");
  EXPECT_EQ(TabsToLineBreaks(u""), u"");
}

TEST(TextConversions, IdeographicSpaceRemovedWithoutTouchingOtherText) {
  EXPECT_EQ(RemoveIdeographicSpaces(u"\u3000中\u3000文\u3000"), u"中文");
  // Text outside code page 936 survives, and no neighbour is cut.
  EXPECT_EQ(RemoveIdeographicSpaces(u"한국어\u3000😀 ÿ"), u"한국어😀 ÿ");
  EXPECT_EQ(RemoveIdeographicSpaces(u"ab  c"), u"ab  c");  // ordinary blanks stay
}

TEST(TextConversions, WordCountInBytesAndCharacters) {
  EXPECT_EQ(WordCountMessage(u"ab中文"), u"按英文字符算字数为：6\r按中文字符算字数为：4");
  EXPECT_EQ(WordCountMessage(u""), u"按英文字符算字数为：0\r按中文字符算字数为：0");
}

}  // namespace
}  // namespace app
