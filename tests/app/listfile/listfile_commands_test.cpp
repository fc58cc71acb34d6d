// The recent-files model and the decisions of the list-file commands.
#include <gtest/gtest.h>

#include "app/listfile/listfile_commands.h"
#include "app/listfile/listfile_recent.h"

using namespace app;

TEST(RecentFiles, ReopeningAddsNoSecondRow) {
  RecentFileList recent;
  EXPECT_TRUE(recent.Add(u"C:\\表\\a.txt"));
  EXPECT_TRUE(recent.Add(u"C:\\表\\b.txt"));
  EXPECT_FALSE(recent.Add(u"C:\\表\\a.txt"));
  EXPECT_EQ(recent.RecentFileCount, 2);
  EXPECT_FALSE(recent.Add(u""));
}

TEST(RecentFiles, AfterClearingAFileComesBack) {
  // Clearing only resets the count; the old name still sits in slot 0 and must not
  // keep the file out of the menu.
  RecentFileList recent;
  recent.Add(u"C:\\a.txt");
  recent.Clear();
  EXPECT_TRUE(recent.Add(u"C:\\a.txt"));
  EXPECT_EQ(recent.RecentFileCount, 1);
}

TEST(RecentFiles, HoldsFortyOneFilesAtMost) {
  RecentFileList recent;
  for (int i = 0; i <= RecentFileList::MaxRecentFiles; ++i) {
    EXPECT_TRUE(recent.Add(u"f" + std::u16string(1, char16_t(u'A' + i)))) << i;
  }
  EXPECT_FALSE(recent.Add(u"one more"));
  EXPECT_EQ(recent.RecentFileCount, RecentFileList::MaxRecentFiles + 1);
}

TEST(RecentFiles, MenuRowsMapToFiles) {
  RecentFileList recent;
  recent.Add(u"D:\\文件夹\\列表.txt");
  recent.Add(u"D:\\b.mdb");
  EXPECT_EQ(recent.FileAtMenuRow(3), u"D:\\文件夹\\列表.txt");
  EXPECT_EQ(recent.FileAtMenuRow(4), u"D:\\b.mdb");
  EXPECT_EQ(recent.FileAtMenuRow(5), u"");
  EXPECT_EQ(recent.FileAtMenuRow(2), u"");
  EXPECT_EQ(RecentFileList::RowCaption(u"D:\\文件夹\\列表.txt"), u"列表.txt");
  EXPECT_EQ(RecentFileList::RowCaption(u"列表.txt"), u"列表.txt");
}

TEST(ListCommands, OpenReloadAndRecentChooseTheReader) {
  EXPECT_EQ(OpenAction(1, u"C:\\A.TXT", TextFileFormat::tfANSI), ListFileAction::ReadAnsi);
  EXPECT_EQ(OpenAction(3, u"C:\\a.txt", TextFileFormat::tfUnicode), ListFileAction::ReadUtf8);
  EXPECT_EQ(OpenAction(3, u"C:\\a.txt", TextFileFormat::tfUnicodeBigEndian), ListFileAction::ReadUtf8);
  EXPECT_EQ(OpenAction(1, u"C:\\a.doc", TextFileFormat::tfANSI), ListFileAction::Nothing);
  EXPECT_EQ(OpenAction(1, u"C:\\txt", TextFileFormat::tfANSI), ListFileAction::Nothing);
  EXPECT_EQ(OpenAction(2, u"C:\\a.txt", TextFileFormat::tfANSI), ListFileAction::ReadDatabase);
  EXPECT_EQ(ReloadAction(u"C:\\x.MDB", TextFileFormat::tfANSI), ListFileAction::ReadDatabase);
  EXPECT_EQ(ReloadAction(u"C:\\x.csv", TextFileFormat::tfANSI), ListFileAction::Nothing);
  EXPECT_EQ(RecentFileAction(u"C:\\x.csv", TextFileFormat::tfUtf8), ListFileAction::ReadUtf8);
  EXPECT_EQ(LowerCaseExtension(u"C:\\a.b\\name"), u"");
}

TEST(ListCommands, SaveKeepsTheFileKindButNeverWritesUtf16) {
  // An existing UTF-16 file is rewritten as UTF-8; only an ANSI file stays ANSI.
  EXPECT_EQ(SaveWriterForExistingFile(u"a.txt", TextFileFormat::tfUnicode), ListSaveWriter::Utf8);
  EXPECT_EQ(SaveWriterForExistingFile(u"a.txt", TextFileFormat::tfANSI), ListSaveWriter::Ansi);
  EXPECT_EQ(SaveWriterForExistingFile(u"a.Mdb", TextFileFormat::tfANSI), ListSaveWriter::Database);
  EXPECT_EQ(SaveWriterForExistingFile(u"gone.txt", std::nullopt), ListSaveWriter::Utf8);
  EXPECT_EQ(SaveAsWriter(3), ListSaveWriter::Database);
  EXPECT_FALSE(SaveAsksConfirmation(false, true));
}

TEST(ListCommands, Texts) {
  EXPECT_EQ(SaveConfirmationText(u"C:\\保存\\我的.txt"), u"保存到： 我的.txt，你确信吗?");
  EXPECT_EQ(MissingFileText(u"C:\\帮助\\readme.txt"), u"文件不存在  C:\\帮助\\readme.txt");
  EXPECT_EQ(CurrentFileNameText(u"C:\\a.txt"), u"当前文件名为    C:\\a.txt");
  EXPECT_EQ(CurrentFileNameText(u""), u"当前文件名为空，请先保存");
  EXPECT_EQ(ListMessageText(ListMessage::TooManyEntries), u"文本太多>100000，装不下,建议立刻清空或部分删除");
}

TEST(ListCommands, FileVariablesFollowARead) {
  ListFileNames names;
  EXPECT_EQ(names.SaveListFile, u"c:\\");
  names.CurrentListFile = u"C:\\新.txt";
  names.AfterRead();
  EXPECT_EQ(names.AttachedListFile, u"C:\\新.txt");
  EXPECT_EQ(names.SaveListFile, u"C:\\新.txt");
}
