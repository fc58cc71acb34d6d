// UTF-7 as RFC 2152 gives it, and the decoder's refusals.
#include <gtest/gtest.h>

#include "unicode/utf7.h"
#include "unicode/wide_exceptions.h"

using unicode::Utf16ToUtf7;
using unicode::Utf7ToUtf16;

TEST(Utf7, ExamplesOfTheRfc) {
  EXPECT_EQ(Utf16ToUtf7(u"A\u2262\u0391."), "A+ImIDkQ.");
  EXPECT_EQ(Utf16ToUtf7(u"Hi Mom -\u263A-!"), "Hi Mom -+Jjo--!");
  EXPECT_EQ(Utf16ToUtf7(u"\u65E5\u672C\u8A9E"), "+ZeVnLIqe");
  EXPECT_EQ(Utf7ToUtf16("A+ImIDkQ."), u"A\u2262\u0391.");
  EXPECT_EQ(Utf7ToUtf16("Hi Mom -+Jjo--!"), u"Hi Mom -\u263A-!");
  EXPECT_EQ(Utf7ToUtf16("+ZeVnLIqe-"), u"\u65E5\u672C\u8A9E");
}

TEST(Utf7, PlusAndOptionalDirectCharacters) {
  EXPECT_EQ(Utf16ToUtf7(u"1+1=2"), "1+-1=2");
  EXPECT_EQ(Utf16ToUtf7(u"1+1=2", true), "1+-1+AD0-2");
  EXPECT_EQ(Utf7ToUtf16("1+-1+AD0-2"), u"1+1=2");
  EXPECT_EQ(Utf16ToUtf7(u"a\tb\r\nc d"), "a\tb\r\nc d");
}

TEST(Utf7, RunsCloseWhereTheNextByteWouldContinueThem) {
  // After a run, "a" is a Base64 digit and needs the "-"; "." does not.
  EXPECT_EQ(Utf16ToUtf7(u"中a"), "+Ti0-a");
  EXPECT_EQ(Utf16ToUtf7(u"中."), "+Ti0.");
  EXPECT_EQ(Utf16ToUtf7(u"中-"), "+Ti0--");
}

TEST(Utf7, RoundTripsEveryKindOfText) {
  const std::u16string texts[] = {
      u"", u"plain ascii", u"中文 和 English", u"\U0001F600 ẞ ŉ", u"+++", u"~\\", u"!\"#$%&*;<=>@[]^_`{|}",
      std::u16string(u"nul\0inside", 10), u"\uFFFF\u0080\u00FF",
  };
  for (const auto& text : texts) {
    EXPECT_EQ(Utf7ToUtf16(Utf16ToUtf7(text)), text);
    EXPECT_EQ(Utf7ToUtf16(Utf16ToUtf7(text, true)), text);
  }
  // Every output byte is 7-bit.
  for (char ch : Utf16ToUtf7(u"汉字\U0001F600")) EXPECT_LT(static_cast<unsigned char>(ch), 0x80);
}

TEST(Utf7, MalformedInputIsRefused) {
  const char* bad[] = {
      "+",          // a plus that starts nothing
      "a+!",        // the same before a non-Base64 byte
      "+A-",        // six leftover bits
      "+AB-",       // twelve bits, not a character
      "+AAB-",      // a character and non-zero padding
      "caf\xC3\xA9",  // 8-bit bytes
  };
  for (const char* b : bad) {
    try {
      Utf7ToUtf16(b);
      ADD_FAILURE() << "accepted " << b;
    } catch (const unicode::WideException& e) {
      EXPECT_EQ(e.Message(), u"Invalid UTF7");
    }
  }
}
