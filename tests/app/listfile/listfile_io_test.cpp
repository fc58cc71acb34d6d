// Entry-list files on disk: Chinese file names, the readers by kind, the exit record,
// hostile files and the atomic replacement of the target.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/files/atomic_file.h"
#include "app/listfile/listfile_io.h"
#include "app/listfile/listfile_test_support.h"

using namespace app;
using apptest::FreshScratchDir;
using apptest::ReadAll;
using apptest::WriteAll;
using Entries = std::vector<std::u16string>;
namespace fs = std::filesystem;

namespace {
const Entries kSample{u"第一条", u"多行\r\n文本", u"", u"  blanks  ", u"\r\nleading break"};
}

TEST(ListFileIo, BothWritersRoundTripUnderChineseNames) {
  const fs::path dir = FreshScratchDir();
  const fs::path utf8 = dir / u"历史记录 UTF-8.txt";
  const fs::path ansi = dir / u"历史记录 ANSI.txt";
  ASSERT_FALSE(WriteListFile(utf8, kSample, ListWriterKind::Utf8));
  ASSERT_FALSE(WriteListFile(ansi, kSample, ListWriterKind::Ansi));
  EXPECT_EQ(ReadAll(utf8), FormatUtf8List(kSample));
  EXPECT_EQ(ReadAll(ansi), FormatAnsiList(kSample));

  const ListReadResult fromUtf8 = ReadListFileByKind(utf8);
  EXPECT_EQ(fromUtf8.status, ListReadStatus::Read);
  EXPECT_EQ(fromUtf8.format, TextFileFormat::tfUtf8);
  EXPECT_EQ(fromUtf8.entries, kSample);
  const ListReadResult fromAnsi = ReadListFileByKind(ansi);
  EXPECT_EQ(fromAnsi.format, TextFileFormat::tfANSI);
  EXPECT_EQ(fromAnsi.entries, kSample);

  std::error_code error;
  EXPECT_EQ(GetTextFileFormat(utf8, error), TextFileFormat::tfUtf8);
  EXPECT_FALSE(error);
  GetTextFileFormat(dir / u"没有.txt", error);
  EXPECT_TRUE(error);
}

TEST(ListFileIo, Utf8ReaderTakesUtf16AndRefusesTheRest) {
  const std::string utf16("\xFF\xFE" "a\0\r\0\n\0\x2D\x4E", 10);
  EXPECT_EQ(ReadListBytes(utf16, ListReader::Utf8).entries, (Entries{u"a", u"中"}));
  for (const std::string& bytes : {std::string("\xFE\xFF\0a", 4), std::string("plain ansi")}) {
    const ListReadResult refused = ReadListBytes(bytes, ListReader::Utf8);
    EXPECT_EQ(refused.status, ListReadStatus::UnknownFormat);
    EXPECT_TRUE(refused.entries.empty());
    EXPECT_EQ(refused.messages, std::vector<ListMessage>{ListMessage::UnknownFormat});
  }
}

TEST(ListFileIo, TooManyEntriesLoadWhatFits) {
  const fs::path file = FreshScratchDir() / u"二十万.txt";
  std::string bytes = "\xEF\xBB\xBF";
  for (int i = 0; i < 200000; ++i) bytes += std::to_string(i) + "\r\n";
  WriteAll(file, bytes);
  const ListReadResult result = ReadListFileByKind(file);
  ASSERT_EQ(result.entries.size(), kListReadLimit);
  EXPECT_EQ(result.entries.back(), u"100000");
  EXPECT_TRUE(result.tooMany);
  EXPECT_EQ(result.messages, std::vector<ListMessage>{ListMessage::TooManyEntries});
}

TEST(ListFileIo, DamagedFilesLoadWhatTheyCan) {
  // A block without "[[end]]" takes the rest of the file.
  const auto unended = ReadListBytes("a\r\n[[begin]]\r\nb\r\nc", ListReader::Ansi);
  EXPECT_EQ(unended.entries, (Entries{u"a", u"b\r\nc"}));
  EXPECT_EQ(unended.messages, std::vector<ListMessage>{ListMessage::MissingEnd});
  // Binary junk: NULs, stray lead bytes, a cut UTF-16 character; nothing is lost silently.
  const std::string junk("\x00\x81\r\n\xFF\xFF\xE4\n\x00", 9);
  EXPECT_EQ(ReadListBytes(junk, ListReader::Ansi).entries.size(), 3u);
  const auto utf16 = ReadListBytes(std::string("\xFF\xFE\x00\xD8\x0A\x00\x41", 7), ListReader::Utf8);
  EXPECT_EQ(utf16.entries, (Entries{std::u16string(1, char16_t(0xD800))}));
}

TEST(ListFileIo, ExitRecordIsUtf8AndMayBeMissing) {
  const fs::path file = FreshScratchDir() / u"temp.txt";
  const ListReadResult none = ReadExitRecord(file);
  EXPECT_EQ(none.status, ListReadStatus::Read);
  EXPECT_TRUE(none.missing);
  EXPECT_TRUE(none.entries.empty());
  ASSERT_FALSE(WriteExitRecord(file, kSample));
  EXPECT_EQ(ReadAll(file).substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(ReadExitRecord(file).entries, kSample);
}

TEST(AtomicFile, ReplacesOnlyOnSuccessAndLeavesNoTemporaryFile) {
  const fs::path dir = FreshScratchDir();
  const fs::path target = dir / u"目标.txt";
  WriteAll(target, "old contents");
  ASSERT_FALSE(WriteFileAtomically(target, "new"));
  EXPECT_EQ(ReadAll(target), "new");

  // A folder of the target's name cannot be replaced: an error, and the folder stays.
  const fs::path folder = dir / u"文件夹";
  fs::create_directories(folder / u"内容");
  EXPECT_TRUE(WriteFileAtomically(folder, "x"));
  EXPECT_TRUE(fs::is_directory(folder / u"内容"));
  // A target in a folder that does not exist.
  EXPECT_TRUE(WriteFileAtomically(dir / u"没有这个文件夹" / u"a.txt", "x"));

  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename());
  EXPECT_EQ(left.size(), 2u) << "only the target and the folder may remain";
}

TEST(AtomicFile, BoundedReadAndAppend) {
  const fs::path file = FreshScratchDir() / u"追加.txt";
  ASSERT_FALSE(AppendToFile(file, "ab"));
  ASSERT_FALSE(AppendToFile(file, "cd"));
  const FileReadResult whole = ReadFileBounded(file, 100);
  EXPECT_EQ(whole.bytes, "abcd");
  EXPECT_FALSE(whole.truncated);
  const FileReadResult head = ReadFileBounded(file, 3);
  EXPECT_EQ(head.bytes, "abc");
  EXPECT_TRUE(head.truncated);
  EXPECT_FALSE(ReadFileBounded(file, 4).truncated);
  const FileReadResult missing = ReadFileBounded(file.parent_path() / u"无.txt", 10);
  EXPECT_TRUE(missing.missing);
  EXPECT_TRUE(missing.error);
}
