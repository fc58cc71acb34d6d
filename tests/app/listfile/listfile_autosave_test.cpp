// The autosave file: record bytes, UTF-8 without a mark, files of other encodings, cut records.
#include <gtest/gtest.h>

#include "app/listfile/listfile_autosave.h"
#include "app/listfile/listfile_test_support.h"

using namespace app;
using apptest::FreshScratchDir;
using apptest::ReadAll;
using apptest::WriteAll;
using Entries = std::vector<std::u16string>;

TEST(AutoSave, RecordBytes) {
  EXPECT_EQ(FormatAutoSaveRecord(u"a\r\nb"), "[[begin]]\r\na\r\nb\r\n[[end]]\r\n=============\r\n");
  EXPECT_EQ(FormatAutoSaveRecord(u"中"), "\xE4\xB8\xAD\r\n=============\r\n");
  EXPECT_EQ(FormatAutoSaveRecord(u"x\ny"), "[[begin]]\r\nx\ny\r\n[[end]]\r\n=============\r\n");
}

TEST(AutoSave, RecordsAreUtf8WithoutAMarkAndReadBack) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"中文"));
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"第二\r\n行"));
  EXPECT_EQ(ReadAll(file), FormatAutoSaveRecord(u"中文") + FormatAutoSaveRecord(u"第二\r\n行"));
  // The kind test alone takes an unmarked file for ANSI and garbles it; the autosave reader does not.
  EXPECT_NE(ReadListFileByKind(file).entries.front(), u"中文");
  EXPECT_EQ(ReadAutoSaveFile(file).entries, (Entries{u"中文", u"=============", u"第二\r\n行", u"============="}));
}

TEST(AutoSave, MarkedFileKeepsItsMark) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  WriteAll(file, "\xEF\xBB\xBF" + FormatAutoSaveRecord(u"旧的"));
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"新的"));
  EXPECT_EQ(ReadAll(file), "\xEF\xBB\xBF" + FormatAutoSaveRecord(u"旧的") + FormatAutoSaveRecord(u"新的"));
}

TEST(AutoSave, ARecordAfterACutOneStartsOnALineOfItsOwn) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  WriteAll(file, FormatAutoSaveRecord(u"完整") + "\xE8\xA2\xAB\xE5\x88\x87 xxx");  // "被切 xxx", cut there
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"下一条"));
  const Entries entries = ReadAutoSaveFile(file).entries;
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0], u"完整");
  EXPECT_EQ(entries[2], u"被切 xxx");
  EXPECT_EQ(entries[3], u"下一条");
  EXPECT_EQ(ReadAll(file).substr(ReadAll(file).size() - FormatAutoSaveRecord(u"下一条").size() - 2),
            "\r\n" + FormatAutoSaveRecord(u"下一条"));
}

TEST(AutoSave, AnsiFileStaysAnsi) {
  // A file saved as code page 936 by hand: records are appended in its own encoding.
  const auto file = FreshScratchDir() / u"自动保存.txt";
  WriteAll(file, "\xD6\xD0\r\n");
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"文"));
  EXPECT_EQ(ReadAll(file), "\xD6\xD0\r\n\xCE\xC4\r\n=============\r\n");
  EXPECT_EQ(ReadAutoSaveFile(file).entries, (Entries{u"中", u"文", u"============="}));
}

TEST(AutoSave, Utf16FileStaysUtf16) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  WriteAll(file, std::string("\xFF\xFE", 2));
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"中"));
  EXPECT_EQ(ReadAutoSaveFile(file).entries, (Entries{u"中", u"============="}));
}
