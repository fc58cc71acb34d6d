// The one place that turns an error number into the system's text, with each caller's own
// text for a number the system cannot name.
#include <gtest/gtest.h>

#include "unicode/system_error_text.h"

namespace {

using unicode::ComposeErrorText;

TEST(SystemErrorText, TrimsWhatThePlatformGivesAndFallsBackOnlyWhenNothingIsLeft) {
  EXPECT_EQ(ComposeErrorText(u"  Access is denied.\r\n", 5, u"System error %d"), u"Access is denied.");
  EXPECT_EQ(ComposeErrorText(u"\r\n  ", 1234, u"System error %d"), u"System error 1234");
  EXPECT_EQ(ComposeErrorText(u"", -7, u"文件读写出错（%d）"), u"文件读写出错（-7）");
  EXPECT_EQ(ComposeErrorText(u"", 3, unicode::kUnspecifiedSystemError), u"Unspecified error (3) from system.");
  EXPECT_EQ(ComposeErrorText(u"", 3, u"no number here"), u"no number here");
}

TEST(SystemErrorText, NamesAMissingFileInTheSystemsOwnWords) {
  // 2 is "file not found" both as errno and as a Windows error.
  const std::u16string text = unicode::SystemErrorText(2, u"fallback %d");
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text, u"fallback 2");
  EXPECT_GT(text.back(), u' ');
}

}  // namespace
