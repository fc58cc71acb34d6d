// Text files and streams of the wide string lists: byte-order marks, odd lengths, line
// breaks, and what is written back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unicode/stream.h"
#include "unicode/uni_string_list.h"
#include "unicode/wide_exceptions.h"

using unicode::DetectStreamCharSet;
using unicode::TMemoryStream;
using unicode::TStreamCharSet;
using unicode::TUniStringList;

namespace {

TMemoryStream StreamOf(std::string_view bytes) {
  return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<std::u16string> Lines(const unicode::TWideStrings& list) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}

std::vector<std::u16string> LoadLines(std::string_view bytes) {
  TMemoryStream stream = StreamOf(bytes);
  TUniStringList list;
  list.LoadFromStream(stream);
  return Lines(list);
}

std::string Saved(const unicode::TWideStrings& list) {
  TMemoryStream stream;
  const_cast<unicode::TWideStrings&>(list).SaveToStream(stream);
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

using L = std::vector<std::u16string>;

}  // namespace

TEST(DetectStreamCharSet, MarksAreConsumedAndOtherBytesGivenBack) {
  struct Case {
    std::string bytes;
    TStreamCharSet expected;
    int64_t position;
  };
  const Case cases[] = {
      {"", TStreamCharSet::scAnsi, 0},
      {"A", TStreamCharSet::scAnsi, 0},
      {"\xFF\xFE", TStreamCharSet::scUtf16Le, 2},
      {"\xFE\xFF\x00\x41", TStreamCharSet::scUtf16Be, 2},
      {"\xEF\xBB\xBF", TStreamCharSet::scUtf8, 3},
      {"\xEF\xBB", TStreamCharSet::scAnsi, 0},
      {"\xEF\xBB\x41", TStreamCharSet::scAnsi, 0},
      {"\xFE\xFE\xFF", TStreamCharSet::scAnsi, 0},
  };
  for (const Case& c : cases) {
    TMemoryStream stream = StreamOf(c.bytes);
    EXPECT_EQ(DetectStreamCharSet(stream), c.expected) << testing::PrintToString(c.bytes);
    EXPECT_EQ(stream.Position(), c.position) << testing::PrintToString(c.bytes);
  }
}

TEST(DetectStreamCharSet, LooksFromTheCurrentPosition) {
  TMemoryStream stream = StreamOf(std::string("xx\xFF\xFE", 4));
  stream.SetPosition(2);
  EXPECT_EQ(DetectStreamCharSet(stream), TStreamCharSet::scUtf16Le);
  EXPECT_EQ(stream.Position(), 4);
}

TEST(LoadFromStream, EachMarkAndNoMark) {
  EXPECT_EQ(LoadLines("A"), L{u"A"});
  EXPECT_EQ(LoadLines("\xFF\xFE"), L{});
  EXPECT_EQ(LoadLines(std::string("\xFE\xFF\x00\x41\x00\x0D\x00\x0A", 8)), L{u"A"});
  EXPECT_EQ(LoadLines("\xEF\xBB\xBF" "A"), L{u"A"});
  EXPECT_EQ(LoadLines(std::string("\xFF\xFE\x2D\x4E\x0D\x00\x0A\x00\x87\x65", 10)), (L{u"中", u"文"}));
  // UTF-8 with the mark; the same text in code page 936 without one.
  EXPECT_EQ(LoadLines("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87\r\nx"), (L{u"中文", u"x"}));
  EXPECT_EQ(LoadLines("\xD6\xD0\xCE\xC4\r\nx"), (L{u"中文", u"x"}));
}

TEST(LoadFromStream, AnIncompleteUtf8MarkIsReadAsAnsi) {
  // EF BB 41: three bytes of code page 936, not UTF-8; two of them form one character.
  const L lines = LoadLines("\xEF\xBB\x41");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].back(), u'A');
  EXPECT_EQ(lines[0].size(), 2u);
}

TEST(LoadFromStream, AnOddLastByteOfUtf16IsIgnored) {
  EXPECT_EQ(LoadLines(std::string("\xFF\xFE\x41\x00\x42", 5)), L{u"A"});
  EXPECT_EQ(LoadLines(std::string("\xFE\xFF\x00\x41\x00", 5)), L{u"A"});
  EXPECT_EQ(LoadLines(std::string("\xFF\xFE\x41", 3)), L{});
}

TEST(LoadFromStream, ZeroCharactersDoNotCutTheText) {
  // A zero character inside a UTF-16 file (either order) must not lose what follows it.
  EXPECT_EQ(LoadLines(std::string("\xFF\xFE\x61\x00\x00\x00\x62\x00\x0A\x00\x63\x00", 12)),
            (L{std::u16string(u"a\0b", 3), u"c"}));
  EXPECT_EQ(LoadLines(std::string("\xFE\xFF\x00\x61\x00\x00\x00\x62\x00\x0A\x00\x63", 12)),
            (L{std::u16string(u"a\0b", 3), u"c"}));
}

TEST(LoadFromStream, SurrogatePairsSurviveInEveryEncoding) {
  const std::u16string emoji = u"\U0001F600";
  EXPECT_EQ(LoadLines(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), L{emoji});
  EXPECT_EQ(LoadLines(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)), L{emoji});
  EXPECT_EQ(LoadLines("\xEF\xBB\xBF\xF0\x9F\x98\x80"), L{emoji});
}

TEST(LoadFromStream, ALyingStreamGivesAShorterTextNotAnError) {
  // A stream whose size promises more than it delivers.
  class ShortStream : public TMemoryStream {
   public:
    using TMemoryStream::TMemoryStream;
    int64_t Size() override { return TMemoryStream::Size() + 1000; }
  };
  std::string bytes("\xFF\xFE" "a\0b\0", 6);
  ShortStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  TUniStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(Lines(list), L{u"ab"});
}

TEST(LoadFromStream, AnOversizedStreamIsRefusedAndTheListKept) {
  class HugeStream : public TMemoryStream {
   public:
    int64_t Size() override { return unicode::kMaxTextStreamBytes + 10; }
  };
  HugeStream stream;
  TUniStringList list;
  list.Add(u"kept");
  EXPECT_THROW(list.LoadFromStream(stream), unicode::WideException);
  EXPECT_EQ(Lines(list), L{u"kept"});
}

TEST(LoadFromStreamBom, WithoutMarkHandlingTheBytesAreUtf16Le) {
  TMemoryStream stream = StreamOf(std::string("\xEF\xBB\xBF\x00", 4));
  TUniStringList list;
  list.LoadFromStreamBom(stream, false);
  EXPECT_EQ(Lines(list), L{u"\uBBEF\u00BF"});
}

TEST(SaveToStream, WritesUtf16LeWithTheMark) {
  TUniStringList list;
  list.Add(u"a");
  list.Add(u"b");
  EXPECT_EQ(Saved(list), std::string("\xFF\xFE\x61\x00\x0D\x00\x0A\x00\x62\x00\x0D\x00\x0A\x00", 14));
  TUniStringList empty;
  EXPECT_EQ(Saved(empty), "\xFF\xFE");
  TMemoryStream noMark;
  list.SaveToStreamBom(noMark, false);
  EXPECT_EQ(noMark.Size(), 12);
}

TEST(SaveToStream, TheBaseFormHasNoMarkInEitherDirection) {
  // TWideStrings' own stream operations: UTF-16LE without a mark.
  TUniStringList list;
  list.Add(u"中");
  TMemoryStream stream;
  list.TWideStrings::SaveToStream(stream);
  EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), std::string("\x2D\x4E\x0D\x00\x0A\x00", 6));
  TMemoryStream back = StreamOf(std::string("\xFF\xFE\x41\x00", 4));
  list.TWideStrings::LoadFromStream(back);
  EXPECT_EQ(Lines(list), L{u"\uFEFFA"});
}

TEST(TextStr, LineBreakRules) {
  TUniStringList list;
  list.SetText(u"x\r\n\u2028y");
  EXPECT_EQ(Lines(list), (L{u"x", u"y"}));
  list.SetText(u"x\n\ry");
  EXPECT_EQ(Lines(list), (L{u"x", u"", u"y"}));
  list.SetText(u"a\rb\nc\u2028d\r\n");
  EXPECT_EQ(Lines(list), (L{u"a", u"b", u"c", u"d"}));
  list.SetText(u"a\r\n\r\n");
  EXPECT_EQ(Lines(list), (L{u"a", u""}));
  list.SetText(u"");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), u"");
  list.SetText(std::u16string(u"a\0b\nc", 5));
  EXPECT_EQ(Lines(list), (L{std::u16string(u"a\0b", 3), u"c"}));
  EXPECT_EQ(list.Text(), std::u16string(u"a\0b\r\nc\r\n", 8));
}

TEST(TextStr, TextRoundTripsThroughSaveAndLoad) {
  TUniStringList list;
  list.SetText(u"中文\r\n\U0001F600 ẞ ŉ\r\n\r\nlast");
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TUniStringList back;
  back.LoadFromStream(stream);
  EXPECT_EQ(Lines(back), Lines(list));
  EXPECT_EQ(back.Text(), u"中文\r\n\U0001F600 ẞ ŉ\r\n\r\nlast\r\n");
}
