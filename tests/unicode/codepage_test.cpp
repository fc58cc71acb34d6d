// Code page 936 and UTF-8 conversions: the same expectations hold in the native build
// (iconv) and under Wine (the system tables).
#include <gtest/gtest.h>

#include "unicode/codepage.h"

using unicode::AnsiToUtf16;
using unicode::Utf16ToAnsi;
using unicode::Utf16ToUtf8;
using unicode::Utf8ToUtf16;

TEST(CodePage936, ChineseAndAsciiRoundTrip) {
  const std::string gbk = "\xD6\xD0\xCE\xC4 abc";  // 中文 abc
  const std::u16string text = u"中文 abc";
  EXPECT_EQ(AnsiToUtf16(gbk), text);
  EXPECT_EQ(Utf16ToAnsi(text), gbk);
  EXPECT_EQ(AnsiToUtf16(Utf16ToAnsi(u"历史文本列表框，单击为复制到剪切板")), u"历史文本列表框，单击为复制到剪切板");
}

TEST(CodePage936, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // U+1E9E (capital sharp s) and an emoji are not in code page 936; each UTF-16 unit
  // of the emoji's surrogate pair gives one '?', as the system's conversion does.
  EXPECT_EQ(Utf16ToAnsi(u"a\u1E9Eb"), "a?b");
  EXPECT_EQ(Utf16ToAnsi(u"x\U0001F600y"), "x??y");
}

TEST(CodePage936, LargeTextSurvives) {
  std::u16string big;
  for (int i = 0; i < 100000; ++i) big += u"汉字A";
  EXPECT_EQ(AnsiToUtf16(Utf16ToAnsi(big)), big);
}

TEST(Utf8, EncodesAllPlanes) {
  const std::u16string text = u"A中\U0001F600ẞŉ";
  const std::string bytes = "A\xE4\xB8\xAD\xF0\x9F\x98\x80\xE1\xBA\x9E\xC5\x89";
  EXPECT_EQ(Utf16ToUtf8(text), bytes);
  EXPECT_EQ(Utf8ToUtf16(bytes), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\uFFFD\uFFFD");           // cut off at the end
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
}

TEST(Utf8, LoneSurrogatesAreReplaced) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(u"x" + std::u16string(1, char16_t(0xDC00))), "x\xEF\xBF\xBD");
}

TEST(CodePage936, OemConversionKeepsTheLengthAndTheChineseText) {
  // ANSI and OEM are both code page 936 on the Chinese system.
  const std::string gbk = "\xD6\xD0\xCE\xC4 abc";
  EXPECT_EQ(unicode::AnsiBytesToOem(gbk), gbk);
  EXPECT_EQ(unicode::OemBytesToAnsi(gbk), gbk);
  EXPECT_EQ(unicode::AnsiBytesToOem(std::string(3, '\0')), std::string(3, '\0'));
}
