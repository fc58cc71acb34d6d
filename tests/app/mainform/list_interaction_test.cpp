#include <gtest/gtest.h>

#include "app/mainform/list_interaction.h"

using namespace app;

TEST(ClickHint, LongEntriesAreCutAt255WithSixFullStops) {
  const std::u16string entry(300, u'字');
  const std::u16string hint = ClickHintText(entry);
  EXPECT_EQ(hint, std::u16string(255, u'字') + u" 。。。。。。");
  EXPECT_EQ(ClickHintText(std::u16string(255, u'a')), std::u16string(255, u'a'));
  EXPECT_EQ(ClickHintCaption(4, entry), u"【当前行号=5，字符数=300】\r\n\r\n" + hint);
}

TEST(RangeChecker, ShiftChecksFromTheAnchorAndOnlyWhenChecking) {
  RangeChecker r;
  EXPECT_TRUE(r.ClickCheck(3, true).empty());
  EXPECT_EQ(r.anchor(), 3);
  r.ShiftDown(true);
  EXPECT_TRUE(r.ClickCheck(9, false).empty());  // unchecking with Shift changes nothing
  EXPECT_TRUE(r.shiftPending());
  EXPECT_EQ(r.ClickCheck(9, true), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
  EXPECT_FALSE(r.shiftPending());
  EXPECT_EQ(r.anchor(), 3);  // the anchor is kept
  r.ShiftDown(true);
  EXPECT_EQ(r.ClickCheck(1, true), (std::vector<int>{1, 2, 3}));
  r.ShiftDown(false);  // Shift with another modifier is no range
  EXPECT_TRUE(r.ClickCheck(7, false).empty());
  EXPECT_EQ(r.anchor(), 0);  // an unchecking click without Shift resets the anchor
}

TEST(WebAddress, OnlyWebAddressesAreOpened) {
  for (const char16_t* yes : {u"http://example.com", u"https://例子.cn/路径?q=1", u"  www.example.com  ",
                              u"FTP://files.example.org:21/pub", u"https://a.b#top"}) {
    EXPECT_TRUE(IsWebAddress(yes));
  }
  for (const char16_t* no : {u"notepad.exe", u"cmd /c del *.*", u"C:\\Windows\\system32\\calc.exe",
                             u"http://", u"www.", u"https://example.com evil.exe", u"file:///C:/x.exe",
                             u"javascript:alert(1)", u"\"http://x.com\"", u"", u"http://localhost"}) {
    EXPECT_FALSE(IsWebAddress(no));
  }
}

TEST(TrimBlanks, ControlCharactersAndBlanksAtBothEnds) {
  EXPECT_EQ(TrimBlanks(u"\t C:\\文件夹 \r\n"), u"C:\\文件夹");
  EXPECT_EQ(TrimBlanks(u"   "), u"");
}
