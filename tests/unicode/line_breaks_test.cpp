#include <gtest/gtest.h>

#include "unicode/line_breaks.h"

TEST(AdjustLineBreaksToCrLf, EveryBreakBecomesCrLf) {
  EXPECT_EQ(unicode::AdjustLineBreaksToCrLf(u"a\nb"), u"a\r\nb");
  EXPECT_EQ(unicode::AdjustLineBreaksToCrLf(u"a\rb\r\nc"), u"a\r\nb\r\nc");
  EXPECT_EQ(unicode::AdjustLineBreaksToCrLf(u"a\n\rb"), u"a\r\n\r\nb");
  EXPECT_EQ(unicode::AdjustLineBreaksToCrLf(u"\r"), u"\r\n");
  EXPECT_EQ(unicode::AdjustLineBreaksToCrLf(u"中\u2028文"), u"中\u2028文");
}
