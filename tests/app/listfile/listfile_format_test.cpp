// The entry-list text format: kind test, the two readers' walks and the writers' bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/listfile/listfile_format.h"

using namespace app;
using Entries = std::vector<std::u16string>;
using Messages = std::vector<ListMessage>;

TEST(ListFileKind, FirstTwoBytesDecide) {
  EXPECT_EQ(GetTextFileFormat(std::string("\xFF\xFE")), TextFileFormat::tfUnicode);
  EXPECT_EQ(GetTextFileFormat(std::string("\xFE\xFF\x00\x41", 4)), TextFileFormat::tfUnicodeBigEndian);
  EXPECT_EQ(GetTextFileFormat(std::string("\xEF\xBB\xBF" "a")), TextFileFormat::tfUtf8);
  // EF BB is enough, whatever the third byte.
  EXPECT_EQ(GetTextFileFormat(std::string("\xEF\xBB" "A")), TextFileFormat::tfUtf8);
  EXPECT_EQ(GetTextFileFormat(std::string("\xEF")), TextFileFormat::tfANSI);
  EXPECT_EQ(GetTextFileFormat(std::string()), TextFileFormat::tfANSI);
  EXPECT_EQ(GetTextFileFormat(std::string("\xFE\xFE")), TextFileFormat::tfANSI);
  EXPECT_EQ(TextFileFormatName(TextFileFormat::tfUnicode), "tfUnicode");
  EXPECT_EQ(TextFileFormatName(TextFileFormat::tfUnicodeBigEndian), "tfUnicodeBigEndian");
  EXPECT_EQ(TextFileFormatName(TextFileFormat::tfUtf8), "tfUtf8");
  EXPECT_EQ(TextFileFormatName(TextFileFormat::tfANSI), "tfANSI");
}

TEST(ListFileReaders, BlocksBetweenMarkers) {
  const auto ansi = ParseAnsiList("a\r\n[[begin]]\r\nb\r\nc\r\n[[end]]\r\nd\r\n");
  EXPECT_EQ(ansi.entries, (Entries{u"a", u"b\r\nc", u"d"}));
  EXPECT_TRUE(ansi.messages.empty());
  EXPECT_FALSE(ansi.tooMany);
  // Blanks around a marker still make it one; lines inside keep their own blanks.
  const auto utf8 = ParseUtf8List(" [[begin]] \r\n  x \r\n\t[[end]]\r\n");
  EXPECT_EQ(utf8.entries, (Entries{u"  x "}));
  // Code page 936 lines are widened one by one.
  EXPECT_EQ(ParseAnsiList("\xD6\xD0\xCE\xC4\r\n").entries, (Entries{u"中文"}));
}

TEST(ListFileReaders, LineBreaksOfEveryKindEndALine) {
  // CR LF, a lone CR and a lone LF each end one line; LF CR ends a line and an empty one;
  // a break at the very end gives no empty last line.
  EXPECT_EQ(ParseUtf8List("a\r\nb\rc\nd\n\re\r\n").entries, (Entries{u"a", u"b", u"c", u"d", u"", u"e"}));
  EXPECT_EQ(ParseAnsiList("a\r\n\r\n").entries, (Entries{u"a", u""}));
  EXPECT_TRUE(ParseUtf8List("").entries.empty());
}

TEST(ListFileReaders, BeginOnTheLastLine) {
  // The UTF-8 reader keeps it as an entry (with or without a final break); the ANSI
  // reader opens a block there that never ends.
  EXPECT_EQ(ParseUtf8List("a\r\n[[begin]]").entries, (Entries{u"a", u"[[begin]]"}));
  EXPECT_EQ(ParseUtf8List("a\r\n[[begin]]\r\n").entries, (Entries{u"a", u"[[begin]]"}));
  const auto ansi = ParseAnsiList("a\r\n[[begin]]\r\n");
  EXPECT_EQ(ansi.entries, (Entries{u"a", u""}));
  EXPECT_EQ(ansi.messages, (Messages{ListMessage::MissingEnd}));
}

TEST(ListFileReaders, MarkerErrorsAreReportedOnceAndReadingGoesOn) {
  // A second "[[begin]]" ends the block and is consumed: both messages follow.
  const auto twice = ParseUtf8List("[[begin]]\r\na\r\n[[begin]]\r\nb\r\n[[end]]\r\nc\r\n");
  EXPECT_EQ(twice.entries, (Entries{u"a", u"b", u"[[end]]", u"c"}));
  EXPECT_EQ(twice.messages, (Messages{ListMessage::DuplicateBegin, ListMessage::MissingEnd}));
  // A hostile file full of broken blocks still yields each message once.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "[[begin]]\r\nx\r\n";
  const auto flood = ParseAnsiList(many);
  EXPECT_EQ(flood.messages, (Messages{ListMessage::DuplicateBegin, ListMessage::MissingEnd}));
  EXPECT_EQ(flood.entries.size(), 1000u);  // each broken block, then the "x" after it
}

TEST(ListFileReaders, StopAtTheLimit) {
  const auto cut = ParseUtf8List("1\r\n2\r\n3\r\n4\r\n5\r\n", 3);
  EXPECT_EQ(cut.entries, (Entries{u"1", u"2", u"3"}));
  EXPECT_TRUE(cut.tooMany);
  EXPECT_EQ(cut.messages, (Messages{ListMessage::TooManyEntries}));
  // Exactly as many entries as fit is no error.
  const auto full = ParseUtf8List("1\r\n2\r\n3\r\n", 3);
  EXPECT_EQ(full.entries.size(), 3u);
  EXPECT_FALSE(full.tooMany);
  EXPECT_TRUE(full.messages.empty());
}

TEST(ListFileReaders, CutInputKeepsWholeLinesAndWholeBlocksOnly) {
  const auto midLine = ParseUtf8List("a\r\nb\r\npartial li", kListReadLimit, true);
  EXPECT_EQ(midLine.entries, (Entries{u"a", u"b"}));
  EXPECT_TRUE(midLine.tooMany);
  const auto midBlock = ParseAnsiList("a\r\n[[begin]]\r\nx\r\ny\r\n", kListReadLimit, true);
  EXPECT_EQ(midBlock.entries, (Entries{u"a"}));
  EXPECT_EQ(midBlock.messages, (Messages{ListMessage::TooManyEntries}));
  // A "[[begin]]" at the cut is not the file's last line.
  EXPECT_EQ(ParseUtf8List("a\r\n[[begin]]\r\n", kListReadLimit, true).entries, (Entries{u"a"}));
}

TEST(ListFileWholeFiles, MarksAndUtf16) {
  EXPECT_EQ(ReadUtf8File("\xEF\xBB\xBF\xE4\xB8\xAD"), u"中");
  // Only a whole mark is dropped: EF BB 41 loses nothing but is not UTF-8.
  EXPECT_EQ(ReadUtf8File("\xEF\xBB" "A"), u"\uFFFD\uFFFDA");
  EXPECT_EQ(ReadUnicodeFile(std::string("\xFF\xFE\x2D\x4E" "A", 5), true), u"中");  // odd byte ignored
  EXPECT_EQ(ReadUnicodeFile(std::string("\xFE\xFF\x4E\x2D", 4), true), u"");
  EXPECT_EQ(ReadUnicodeFile(std::string("\x41\x00", 2), false), u"A");
  EXPECT_EQ(ParseUtf16List(u"a\r\n[[begin]]\nb\rc\r\n[[end]]\r\n").entries, (Entries{u"a", u"b\r\nc"}));
  EXPECT_EQ(Utf8FileBytes(u"中"), "\xEF\xBB\xBF\xE4\xB8\xAD");
}

TEST(ListFileWriters, ExactBytes) {
  const Entries entries{u"a", u"b\r\nc", u"中文", u""};
  EXPECT_EQ(FormatAnsiList(entries), "a\r\n[[begin]]\r\nb\r\nc\r\n[[end]]\r\n\xD6\xD0\xCE\xC4\r\n\r\n");
  EXPECT_EQ(FormatUtf8List(entries),
            "\xEF\xBB\xBF" "a\r\n[[begin]]\r\nb\r\nc\r\n[[end]]\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n\r\n");
  EXPECT_EQ(FormatUtf8List(Entries{}), "\xEF\xBB\xBF");
  EXPECT_EQ(FormatAnsiList(Entries{}), "");
  // A lone LF or CR makes a block too: as one line it would come back as two entries.
  EXPECT_EQ(FormatAnsiList(Entries{u"x\ny"}), "[[begin]]\r\nx\ny\r\n[[end]]\r\n");
  EXPECT_EQ(FormatUtf8List(Entries{u"x\ry"}), "\xEF\xBB\xBF[[begin]]\r\nx\ry\r\n[[end]]\r\n");
  // A single entry is written as it is, without markers.
  EXPECT_EQ(FormatSingleEntryAnsi(u"中\r\nx"), "\xD6\xD0\r\nx\r\n");
  EXPECT_EQ(FormatSingleEntryUtf8(u"a\r\nb"), "\xEF\xBB\xBF" "a\r\nb");
}

TEST(ListFileWriters, RoundTripKeepsEveryEntry) {
  const Entries entries{
      u"plain", u"  leading and trailing blanks  ", u"", u"two\r\nlines",
      u"\r\nstarts with a blank line", u"\r\n\r\nthree blank lines first\r\n", u"ends with a break\r\n",
      u"middle\r\n\r\n\r\nblank lines", u" [[end]] ", u"中文与\U0001F600", u"\r\n", u"tab\tinside",
  };
  const auto utf8 = ParseUtf8List(std::string_view(FormatUtf8List(entries)).substr(3));
  EXPECT_EQ(utf8.entries, entries);
  EXPECT_TRUE(utf8.messages.empty());
  Entries ansiExpected = entries;
  ansiExpected[9] = u"中文与??";  // the emoji is not in code page 936
  EXPECT_EQ(ParseAnsiList(FormatAnsiList(entries)).entries, ansiExpected);
}

TEST(ListFileWriters, LoneBreaksStayInOneEntry) {
  // Lone CR and LF come back as CR LF, but the entry stays one entry.
  const Entries entries{u"a\nb", u"c\rd", u"e\n\rf", u"after"};
  const Entries expected{u"a\r\nb", u"c\r\nd", u"e\r\n\r\nf", u"after"};
  EXPECT_EQ(ParseAnsiList(FormatAnsiList(entries)).entries, expected);
  EXPECT_EQ(ParseUtf8List(std::string_view(FormatUtf8List(entries)).substr(3)).entries, expected);
}
