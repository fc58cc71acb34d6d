// The program starts in a prepared runtime folder, shows its main window with the Chinese
// menu bar, closes cleanly on WM_CLOSE and starts itself again through the restart command.
#include <gtest/gtest.h>

#include <fstream>


#include "program_driver.h"

using namespace std::chrono_literals;

namespace {

TEST(Startup, MainWindowAppearsWithItsMenuBarAndClosesCleanly) {
  const auto folder = e2e::PrepareRuntimeFolder("startup");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  HWND main = program.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "no TForm1 window titled \" Quillora12.6\"";

  // The menu bar as a user sees it; the hidden menu "  启动时隐藏  " is not among them.
  const std::vector<std::wstring> expected = {L"  文件  ", L"  编辑  ", L"  固定条目  ", L"  连续粘贴  ", L"  设置  ",
                                              L"皮肤", L"  工具  ", L"系统操作  ", L"帮助   "};
  EXPECT_EQ(e2e::MenuBarCaptions(main), expected);
  // Rows of this window's own lifecycle can be chosen.
  const auto rows = e2e::ReadMenuBar(main);
  for (const wchar_t* caption : {L"重启动本程序", L"记忆窗体大小", L"填表模式切换"}) {
    const e2e::MenuRowInfo* row = e2e::FindMenuRow(rows, caption);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->greyed);
  }

  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(program.WaitForExit(20s, &code));
  EXPECT_EQ(code, 0u);
}

TEST(Startup, RestartCommandStartsTheProgramAgain) {
  const auto folder = e2e::PrepareRuntimeFolder("restart");
  e2e::RunningProgram first;
  ASSERT_TRUE(first.Start(folder));
  HWND main = first.WaitForMainWindow();
  ASSERT_NE(main, nullptr);

  // The system menu's row "重启动本程序" (command 200).
  PostMessageW(main, WM_SYSCOMMAND, 200, 0);
  DWORD code = 1234;
  ASSERT_TRUE(first.WaitForExit(20s, &code));
  EXPECT_EQ(code, 0u);

  // The new instance runs in the same folder; closed the way a user would.
  EXPECT_TRUE(e2e::CloseRestartedProgram(first.ProcessId()));
}

}  // namespace

namespace {

TEST(Startup, OldSampleTableNamesAreRenamedUnlessTheNewNameExists) {
  namespace fs = std::filesystem;
  const auto folder = e2e::PrepareRuntimeFolder("rename");
  const fs::path samples = folder / L"样例表格";
  fs::create_directories(samples);
  // A folder from an older version: the first table under its old name only.
  fs::remove(samples / L"样例表格1_春花烂漫.txt");
  auto write = [](const fs::path& file, const char* text) { std::ofstream(file, std::ios::binary) << text; };
  write(samples / L"样例表格1_春兰.txt", "old one");
  write(samples / L"样例表格2_夏竹.txt", "old two");
  write(samples / L"样例表格2_夏日炎炎.txt", "new two");

  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(fs::exists(samples / L"样例表格1_春兰.txt"));
  EXPECT_TRUE(fs::exists(samples / L"样例表格1_春花烂漫.txt"));
  // The new name exists already: both files stay as they are.
  EXPECT_TRUE(fs::exists(samples / L"样例表格2_夏竹.txt"));
  std::ifstream kept(samples / L"样例表格2_夏日炎炎.txt");
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "new two");
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s));
}

}  // namespace
