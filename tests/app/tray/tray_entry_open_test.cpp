// What a tray entry row opens besides the clipboard, in folder and web-address mode.
#include <gtest/gtest.h>

#include "app/tray/tray_entry_open.h"

using namespace app;

namespace {

const auto kFolders = [](const std::u16string& path) { return path == u"C:\\资料" || path == u" C:\\资料"; };

TEST(TrayEntryOpen, FolderModeOpensFoldersAndTheComputer) {
  for (const char16_t* computer : {u"我的电脑", u"计算机"}) {
    const TrayOpen open = DecideTrayOpen(computer, true, false, kFolders);
    EXPECT_EQ(open.kind, TrayOpenKind::Computer);
    EXPECT_EQ(open.parameters, u"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  }
  const TrayOpen folder = DecideTrayOpen(u"C:\\资料", true, false, kFolders);
  EXPECT_EQ(folder.kind, TrayOpenKind::Folder);
  EXPECT_EQ(folder.program, u"Explorer.exe");
  EXPECT_EQ(folder.parameters, u"/n,\"C:\\资料\"");
  // A file is no folder; the text is not trimmed.
  const TrayOpen file = DecideTrayOpen(u"C:\\资料\\说明.txt", true, false, kFolders);
  EXPECT_EQ(file.kind, TrayOpenKind::FolderMissing);
  EXPECT_EQ(file.message, u"文件夹路径不存在  C:\\资料\\说明.txt");
  EXPECT_EQ(DecideTrayOpen(u" C:\\资料", true, false, kFolders).parameters, u"/n,\" C:\\资料\"");
  // Folder mode goes first when both modes are on.
  EXPECT_EQ(DecideTrayOpen(u"http://example.com", true, true, kFolders).kind, TrayOpenKind::FolderMissing);
}

TEST(TrayEntryOpen, WebAddressModeOpensOnlyWebAddresses) {
  const TrayOpen web = DecideTrayOpen(u"  https://www.example.com/路径?q=1  ", false, true, kFolders);
  EXPECT_EQ(web.kind, TrayOpenKind::WebAddress);
  EXPECT_EQ(web.program, u"https://www.example.com/路径?q=1");
  for (const char16_t* text : {u"calc.exe", u"cmd /c del *.*", u"C:\\Windows\\notepad.exe", u"www", u""}) {
    EXPECT_EQ(DecideTrayOpen(text, false, true, kFolders).kind, TrayOpenKind::Nothing) << "opened a program";
  }
  EXPECT_EQ(DecideTrayOpen(u"http://example.com", false, false, kFolders).kind, TrayOpenKind::Nothing);
}

}  // namespace
