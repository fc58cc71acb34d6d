// Row captions: the first N UTF-16 units, never half a surrogate pair.
#include "app/history/history_captions.h"

#include <gtest/gtest.h>

using app::FirstChars;

TEST(HistoryCaptions, FirstCharsCutsAtTheCount) {
  EXPECT_EQ(FirstChars(u"abcdef", 3), u"abc");
  EXPECT_EQ(FirstChars(u"abc", 3), u"abc");
  EXPECT_EQ(FirstChars(u"ab", 50), u"ab");
  EXPECT_EQ(FirstChars(u"", 8), u"");
  EXPECT_EQ(FirstChars(u"abc", 0), u"");
  const std::u16string longText(300, u'汉');
  EXPECT_EQ(app::ListRowCaption(longText).size(), 150u);
  EXPECT_EQ(app::TrayRowCaption(longText).size(), 50u);
}

TEST(HistoryCaptions, ASurrogatePairIsNeverSplit) {
  // U+1F600 is the pair D83D DE00.
  const std::u16string text = std::u16string(49, u'a') + u"\U0001F600" + u"tail";
  EXPECT_EQ(app::TrayRowCaption(text), std::u16string(49, u'a'));
  const std::u16string fits = std::u16string(48, u'a') + u"\U0001F600" + u"tail";
  EXPECT_EQ(app::TrayRowCaption(fits), std::u16string(48, u'a') + u"\U0001F600");
  // A text that already holds a broken pair is cut as it is.
  const std::u16string lone = std::u16string(49, u'a') + u"\xD83D" + u"b";
  EXPECT_EQ(app::TrayRowCaption(lone).size(), 50u);
}

TEST(HistoryCaptions, BookmarkMenuRow) {
  EXPECT_EQ(app::BookmarkMenuCaption(12, u"历史文本列表框，单击为复制"), u"12--历史文本列表框，");
  EXPECT_EQ(app::BookmarkMenuCaption(0, u"ab"), u"0--ab");
  EXPECT_EQ(app::BookmarkMenuCaption(3, u"1234567\U0001F600"), u"3--1234567");
}
