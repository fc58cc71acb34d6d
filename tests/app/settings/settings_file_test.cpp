// The settings file "set": exact bytes, round trips, the messages and what a damaged
// file leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings/settings_file.h"
#include "app/listfile/listfile_test_support.h"

using namespace app;

namespace {

const Settings kDefaults = DefaultSettings(u"C:\\Q");

// The 30 lines of a file, each line given as text.
std::string FileOf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

std::vector<std::string> DefaultLines() {
  const std::string bytes = FormatSettingsFile(kDefaults, 688, 526);
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", pos);
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

bool HasCheck(const SettingsReadResult& result, SettingsRow row, bool checked) {
  for (const RowCheck& check : result.rowChecks) {
    if (check.row == row) return check.checked == checked;
  }
  return false;
}

}  // namespace

TEST(SettingsFile, DefaultsWrittenByteForByte) {
  EXPECT_EQ(FormatSettingsFile(kDefaults, 688, 526),
            "80000\r\n"
            "C:\\Q\\\xCD\xBC\xB1\xEA\\\xCF\xB5\xCD\xB3\xCD\xD0\xC5\xCC\xD6\xF7\xCD\xBC\xB1\xEA.ico\r\n"
            " Quillora12.6\r\n"
            "-1\r\n0\r\n8\r\n1\r\n14\r\n"
            "\xCB\xCE\xCC\xE5\r\n"
            "-16777208\r\n0\r\n1\r\n0\r\n-1\r\n0\r\n1\r\n2\r\n0\r\n1\r\n1\r\n3\r\n0\r\n0\r\n1\r\n1\r\n0\r\n"
            "688\r\n526\r\n1\r\n0\r\n");
}

TEST(SettingsFile, RoundTripOfEveryValue) {
  Settings s = kDefaults;
  s.MaxTextLength = 320000;
  s.TrayIconFile = u"D:\\图标\\别的.ico";
  s.WindowTitle = u"  前后有空格  ";
  s.ShowTrayIcon = 0;
  s.ContinuousPaste = -1;
  s.HotKeyIndex = 0;
  s.HotKeyCode = 112;
  s.ListFontSize = 9;
  s.ListFontName = u"黑体";
  s.ListFontColor = 0x123456;
  s.HotKeyAlt = -1;
  s.PasteStep = 50;
  s.PasteAutoJump = -1;
  s.PasteAutoSelect = 0;
  s.SkinNumber = 14;
  s.JumpKey = 2;
  s.SavedWidth = 800;
  s.SavedHeight = 600;
  s.bujilucongfu = false;
  s.lianxvfuzi = true;
  s.diaoyongkuaisu = false;
  s.kaiqigudinkuaijie = true;
  s.jiansitupiangesi = false;
  s.ziciwordhtm = false;
  s.sound = SoundChoice::laosisen;
  s.zidongniantie = true;
  s.danjihoucuxiantisi = false;
  s.qidongjiazaisangcibaocun = false;
  s.jiyicuangtidaxiao = true;
  s.zisexvkuang = false;
  s.menu_tuicubaocunweisujuku = true;
  const SettingsReadResult read = ParseSettingsFile(FormatSettingsFile(s, 800, 600), kDefaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Read);
  EXPECT_TRUE(read.message.empty());
  EXPECT_EQ(read.linesRead, 30);
  EXPECT_EQ(read.values, s);
  // The read's effects, as the window applies them.
  EXPECT_TRUE(read.hideTrayIcon);
  EXPECT_TRUE(read.applyListFont);
  EXPECT_TRUE(HasCheck(read, SettingsRow::xiansituopan, false));
  EXPECT_TRUE(HasCheck(read, SettingsRow::lianxvniantie, true));
  EXPECT_TRUE(HasCheck(read, SettingsRow::laosisen, true));
  EXPECT_TRUE(HasCheck(read, SettingsRow::menu_tuicubaocunweisujuku, true));
  EXPECT_EQ(read.rowChecks.size(), 15u);  // 13 stored rows, lianxvniantie, xiansituopan
  EXPECT_EQ(read.pasteStepCaption, u"连续粘贴时，数据每次下移 50 条。。。");
  EXPECT_EQ(read.textLengthCaption, u"文本长度限制为 320000字符");
}

TEST(SettingsFile, SoundLine) {
  Settings s = kDefaults;
  s.sound = SoundChoice::wusen;
  std::vector<std::string> lines = DefaultLines();
  EXPECT_EQ(lines[20], "3");
  EXPECT_EQ(DefaultLines().size(), 30u);
  const std::string silent = FormatSettingsFile(s, 1, 1);
  EXPECT_NE(silent.find("\r\n0\r\n1\r\n1\r\n1\r\n0\r\n"), std::string::npos);  // lines 18-22
  lines[20] = "1";
  const SettingsReadResult one = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(one.values.sound, SoundChoice::wusen);
  EXPECT_TRUE(HasCheck(one, SettingsRow::wusen, true));
  // Any other number changes nothing: the current choice stays.
  Settings current = kDefaults;
  current.sound = SoundChoice::laosisen;
  lines[20] = "7";
  const SettingsReadResult seven = ParseSettingsFile(FileOf(lines), current);
  EXPECT_EQ(seven.values.sound, SoundChoice::laosisen);
  EXPECT_TRUE(seven.message.empty());
}

TEST(SettingsFile, ValuesTheReaderCorrects) {
  std::vector<std::string> lines = DefaultLines();
  lines[5] = "0";  // F1
  lines[11] = "51";
  SettingsReadResult read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.values.HotKeyCode, 112);
  EXPECT_EQ(read.values.PasteStep, 1);
  EXPECT_EQ(read.pasteStepCaption, u"连续粘贴时，数据每次下移 1 条。。。");
  EXPECT_TRUE(read.message.empty());
  lines[11] = "0";
  EXPECT_EQ(ParseSettingsFile(FileOf(lines), kDefaults).values.PasteStep, 1);
  // Flags read as -1 or 0 whatever number is there; blanks around a number are fine.
  lines[3] = " 5 ";
  lines[4] = "7";
  read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.values.ShowTrayIcon, -1);
  EXPECT_EQ(read.values.ContinuousPaste, -1);
  EXPECT_FALSE(read.hideTrayIcon);
}

TEST(SettingsFile, OutOfRangeValuesFallBackLineByLine) {
  std::vector<std::string> lines = DefaultLines();
  lines[0] = "-5";           // text limit
  lines[5] = "99";           // hot key index
  lines[7] = "0";            // font size
  lines[8] = "";             // font name
  lines[9] = "305419896";    // 0x12345678: no colour
  lines[16] = "15";          // no skin: the classic look
  lines[26] = "-1";          // saved width
  lines[29] = "1";           // the last line is still read
  const SettingsReadResult read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Read);
  EXPECT_EQ(read.message, settingstext::kUnreadable);
  EXPECT_EQ(read.linesRead, 30);
  EXPECT_EQ(read.values.MaxTextLength, 80000);
  EXPECT_EQ(read.values.HotKeyIndex, 8);
  EXPECT_EQ(read.values.HotKeyCode, 120);
  EXPECT_EQ(read.values.ListFontSize, 14);
  EXPECT_EQ(read.values.ListFontName, u"宋体");
  EXPECT_EQ(read.values.ListFontColor, kClWindowText);
  EXPECT_EQ(read.values.SkinNumber, 1);
  EXPECT_EQ(read.values.SavedWidth, 0);
  EXPECT_TRUE(read.values.menu_tuicubaocunweisujuku);
}

TEST(SettingsFile, UnreadableLinesStopTheRead) {
  // A first line that is not a number leaves every setting at its default.
  std::vector<std::string> lines = DefaultLines();
  lines[0] = "abc";
  lines[6] = "0";
  SettingsReadResult read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Corrupt);
  EXPECT_EQ(read.message, u"set设置文件数据出错，无法读取，你可以删除它，软件会自动重建的");
  EXPECT_EQ(read.linesRead, 0);
  EXPECT_EQ(read.values, kDefaults);
  EXPECT_TRUE(read.rowChecks.empty());
  EXPECT_EQ(read.textLengthCaption, u"文本长度限制为 80000字符");

  // Lines before the bad one stay applied, the rest keep what they had.
  lines = DefaultLines();
  lines[0] = "1234";
  lines[6] = "0";   // bujilucongfu off
  lines[7] = "1x";  // font size: not a number
  lines[14] = "1";  // lianxvfuzi: never reached
  read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.linesRead, 7);
  EXPECT_EQ(read.values.MaxTextLength, 1234);
  EXPECT_FALSE(read.values.bujilucongfu);
  EXPECT_FALSE(read.values.lianxvfuzi);
  EXPECT_FALSE(read.applyListFont);

  // A short file: the missing lines are an error too.
  lines = DefaultLines();
  lines.resize(15);
  read = ParseSettingsFile(FileOf(lines), kDefaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Corrupt);
  EXPECT_EQ(read.linesRead, 15);
  EXPECT_EQ(ParseSettingsFile("", kDefaults).linesRead, 0);
  // Numbers too large for an integer, and a NUL inside a text line.
  lines = DefaultLines();
  lines[0] = "99999999999";
  EXPECT_EQ(ParseSettingsFile(FileOf(lines), kDefaults).linesRead, 0);
  lines = DefaultLines();
  lines[2] = std::string("ti\0tle", 6);
  EXPECT_EQ(ParseSettingsFile(FileOf(lines), kDefaults).linesRead, 2);
}

TEST(SettingsFile, JunkAndHugeFiles) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 7919) & 0xFF));
  const SettingsReadResult fromJunk = ParseSettingsFile(junk, kDefaults);
  EXPECT_EQ(fromJunk.status, SettingsReadStatus::Corrupt);
  EXPECT_EQ(fromJunk.values, kDefaults);

  const auto dir = apptest::FreshScratchDir();
  // 30 good lines followed by a megabyte of anything: the lines are read, the rest ignored.
  apptest::WriteAll(SettingsFilePath(dir), FileOf(DefaultLines()) + std::string(1 << 20, 'x'));
  EXPECT_EQ(LoadSettingsFile(SettingsFilePath(dir), kDefaults).status, SettingsReadStatus::Read);
  // A first line longer than anything "set" holds is not read past the bound.
  apptest::WriteAll(SettingsFilePath(dir), std::string(1 << 20, '1') + "\r\n");
  const SettingsReadResult huge = LoadSettingsFile(SettingsFilePath(dir), kDefaults);
  EXPECT_EQ(huge.status, SettingsReadStatus::Corrupt);
  EXPECT_EQ(huge.values, kDefaults);
}

TEST(SettingsFile, FileOnDiskUnderAChineseFolder) {
  const auto dir = apptest::FreshScratchDir() / u"设置";
  std::filesystem::create_directories(dir);
  const SettingsReadResult missing = LoadSettingsFile(SettingsFilePath(dir), kDefaults);
  EXPECT_EQ(missing.status, SettingsReadStatus::Missing);
  EXPECT_EQ(missing.message, u"出错！set设置文件不存在");
  EXPECT_TRUE(missing.textLengthCaption.empty());

  Settings s = kDefaults;
  s.WindowTitle = u" 标题\r\n换行";  // a line break would shift every later line
  ASSERT_FALSE(SaveSettingsFile(SettingsFilePath(dir), s, 700, 500));
  const SettingsReadResult read = LoadSettingsFile(SettingsFilePath(dir), kDefaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Read);
  EXPECT_EQ(read.values.WindowTitle, u" 标题  换行");
  EXPECT_EQ(read.values.SavedWidth, 700);
  EXPECT_EQ(read.values.SavedHeight, 500);
}

TEST(SettingsFile, RememberedSizeIsUsedOnlyWhenItIsOne) {
  Settings s = kDefaults;
  s.SavedWidth = 700;
  s.SavedHeight = 500;
  EXPECT_FALSE(ShouldRestoreSavedSize(s, 800, 600));
  s.jiyicuangtidaxiao = true;
  EXPECT_TRUE(ShouldRestoreSavedSize(s, 800, 600));
  EXPECT_FALSE(ShouldRestoreSavedSize(s, 690, 600));
  s.SavedWidth = 0;  // a size never saved would make the window vanish
  EXPECT_FALSE(ShouldRestoreSavedSize(s, 800, 600));
}
