// The autosave file: record bytes, the mark it now carries, and files of older versions.
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

TEST(AutoSave, NewFileGetsTheMarkOnceAndReadsBackByKind) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"中文"));
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"第二\r\n行"));
  EXPECT_EQ(ReadAll(file), "\xEF\xBB\xBF" + FormatAutoSaveRecord(u"中文") + FormatAutoSaveRecord(u"第二\r\n行"));
  const Entries expected{u"中文", u"=============", u"第二\r\n行", u"============="};
  EXPECT_EQ(ReadListFileByKind(file).entries, expected);
  EXPECT_EQ(ReadAutoSaveFile(file).entries, expected);
}

TEST(AutoSave, UnmarkedFileOfAnOlderVersion) {
  const auto file = FreshScratchDir() / u"自动保存.txt";
  WriteAll(file, FormatAutoSaveRecord(u"旧的"));
  // The kind test alone takes it for ANSI and garbles it; the autosave reader does not.
  EXPECT_NE(ReadListFileByKind(file).entries.front(), u"旧的");
  EXPECT_EQ(ReadAutoSaveFile(file).entries, (Entries{u"旧的", u"============="}));
  // The next record gives the file its mark, keeping what was there.
  ASSERT_FALSE(AppendAutoSaveRecord(file, u"新的"));
  EXPECT_EQ(ReadAll(file), "\xEF\xBB\xBF" + FormatAutoSaveRecord(u"旧的") + FormatAutoSaveRecord(u"新的"));
  EXPECT_EQ(ReadListFileByKind(file).entries, (Entries{u"旧的", u"=============", u"新的", u"============="}));
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
