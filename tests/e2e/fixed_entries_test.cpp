// The fixed entries as a user meets them: Alt+digit pastes into another program, a menu row
// copies, an entry added from the history turns an ANSI file into UTF-8, and a missing or
// unreadable file is reported without harm.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/mainform/main_menus.h"
#include "foreign_editor.h"
#include "keyboard_input.h"
#include "program_fixture.h"
#include "window_parts.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using e2e::ForeignEditor;

namespace {

// The shipped file's entries.
constexpr wchar_t kEntry2[] = L"联系电话：010-12345678";
constexpr wchar_t kEntry3[] = L"电子邮箱：someone@example.com";

// The rows below "固定条目（收藏夹）" in the menu bar.
std::vector<std::wstring> FixedMenuRows(HWND main) {
  const std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main);
  std::vector<std::wstring> fixed;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].caption != L"固定条目（收藏夹）") continue;
    for (size_t j = i + 1; j < rows.size() && rows[j].level > rows[i].level; ++j) fixed.push_back(rows[j].caption);
  }
  return fixed;
}

// The command id of a row of the history list's context menu (ids count its rows from 2000,
// separators left out).
int ListMenuCommand(std::u16string_view name) {
  int id = 2000;
  for (const gui::MenuRowSpec& row : app::PopupMenu1Rows()) {
    if (row.name == name) return id;
    if (row.caption != u"-") ++id;
  }
  return 0;
}

class FixedEntries : public e2e::ProgramTest {
 protected:
  void PrepareFolder() override { e2e::ChangeSettingsLines(folder_, {{18, "1"}}); }  // the Alt+1~9 keys
};

using FixedEntriesInEachLook = e2e::InEachLook<FixedEntries>;
INSTANTIATE_TEST_SUITE_P(Looks, FixedEntriesInEachLook, e2e::EachLook(), e2e::LookName);

TEST_P(FixedEntriesInEachLook, AltDigitPastesAndAMenuRowCopies) {
  const std::vector<std::wstring> menu = FixedMenuRows(main_);
  ASSERT_EQ(menu.size(), 5u);
  EXPECT_EQ(menu[1], std::wstring(kEntry2) + L"    （alt+2）");
  ForeignEditor editor;
  ASSERT_TRUE(editor.Activate());
  e2e::PressKeys({{VK_MENU, false}, {'3', false}, {'3', true}, {VK_MENU, true}});
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.Text() == kEntry3; }, 10s)) << editor.Text().size();
  // Past the fixed entries: nothing.
  e2e::PressKeys({{VK_MENU, false}, {'9', false}, {'9', true}, {VK_MENU, true}});
  e2e::WaitUntil([] { return false; }, 1500ms);
  EXPECT_EQ(editor.Text(), kEntry3);

  ASSERT_TRUE(e2e::ChooseMenuRow(main_, menu[1]));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == std::wstring(kEntry2); }, 10s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return IsIconic(main_) != FALSE; }, 10s)) << "the window stays";
  // Another program holding the clipboard a moment does not lose the row's copy (chosen from
  // the window brought back, as a skinned bar is reached only on the screen).
  PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main_) && !IsIconic(main_); }, 10s));
  e2e::WaitForIdle(main_, 5s);
  // The holder lets go after a while by itself: a skinned menu, chosen on the screen, may stay
  // drawn until the program's copy is through.
  std::atomic<bool> holding{false};
  std::thread holder([&] {
    if (!OpenClipboard(nullptr)) return;
    holding = true;
    Sleep(1500);
    CloseClipboard();
  });
  e2e::WaitUntil([&] { return holding.load(); }, 2s);
  const bool held = holding;
  const bool chosen = e2e::ChooseMenuRow(main_, menu[2]);
  holder.join();
  ASSERT_TRUE(held) << "the clipboard could not be held";
  ASSERT_TRUE(chosen);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == std::wstring(kEntry3); }, 10s));
  // The program's own copy is no new entry.
  EXPECT_EQ(e2e::ListRows(list_).size(), 1u);
}

TEST_F(FixedEntries, TheMenuFollowsTheFileWhenTheFixedViewLoadsIt) {
  const fs::path file = folder_ / L"固定条目" / L"固定条目.txt";
  const auto showRows = [&](const wchar_t* button, const std::vector<std::wstring>& rows) {
    ASSERT_NE(e2e::ChildWindow(main_, L"", button), nullptr);
    PostMessageW(e2e::ChildWindow(main_, L"", button), BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == rows; }, 10s));
  };
  const auto menuBecomes = [&](const std::vector<std::wstring>& rows) {
    return e2e::WaitUntil([&] { return FixedMenuRows(main_) == rows; }, 10s);
  };
  // Another program edits the file while the fixed view shows it; the list is reloaded.
  showRows(L"固定条目", {L"我的常用地址：北京市海淀区中关村大街1号", kEntry2, kEntry3, L"此致\r\n敬礼！",
                         L"谢谢您的来信，我们会尽快答复。"});
  e2e::WriteFile(file, "\xEF\xBB\xBF" + e2e::Utf8(L"新的一条\r\n新的二条\r\n"));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"更新(重载) 列表框中文件"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == std::vector<std::wstring>{L"新的一条", L"新的二条"}; }, 10s));
  EXPECT_TRUE(menuBecomes({L"新的一条    （alt+1）", L"新的二条    （alt+2）"}));
  // Edited while the history is shown: switching to the fixed view shows and uses the new ones.
  showRows(L"全部历史", {kFirstEntry});
  e2e::WriteFile(file, "\xEF\xBB\xBF" + e2e::Utf8(L"第三版\r\n"));
  showRows(L"固定条目", {L"第三版"});
  EXPECT_TRUE(menuBecomes({L"第三版    （alt+1）"}));
}

class FixedAnsiFile : public e2e::ProgramTest {
 protected:
  void PrepareFolder() override {
    // "甲", "乙" in code page 936, without a mark.
    e2e::WriteFile(folder_ / L"固定条目" / L"固定条目.txt", "\xBC\xD7\r\n\xD2\xD2\r\n");
  }
};

TEST_F(FixedAnsiFile, AddingAnEntryRewritesTheFileAsUtf8AndShowsTheFixedView) {
  ASSERT_EQ(FixedMenuRows(main_), (std::vector<std::wstring>{L"甲    （alt+1）", L"乙    （alt+2）"}));
  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == 0; }, 5s));
  const int command = ListMenuCommand(u"tianjiadaogudintiaomu");
  ASSERT_NE(command, 0);
  PostMessageW(main_, WM_COMMAND, command, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"文件格式将转为utf-8", IDOK);
  }, 10s));
  const fs::path file = folder_ / L"固定条目" / L"固定条目.txt";
  const std::string expected = "\xEF\xBB\xBF" + e2e::Utf8(L"甲\r\n乙\r\n") + e2e::Utf8(kFirstEntry) + "\r\n";
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadFile(file) == expected; }, 10s)) << e2e::ReadFile(file);
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"甲", L"乙", kFirstEntry};
  }, 10s));
  EXPECT_EQ(e2e::SelectedListRow(list_), 2);
  EXPECT_EQ(FixedMenuRows(main_).size(), 3u);

  // Back to the history: its rows, with the row that was selected there.
  HWND historyButton = e2e::ChildWindow(main_, L"", L"全部历史");
  ASSERT_NE(historyButton, nullptr);
  PostMessageW(historyButton, BM_CLICK, 0, 0);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == std::vector<std::wstring>{kFirstEntry}; }, 10s));
  EXPECT_EQ(e2e::SelectedListRow(list_), 0);
}

// Starts the program in a folder prepared by `prepare`, answers the start-up box that holds
// `message`, and checks that the program runs on with no fixed entries.
void StartsDespite(const char* name, const std::function<void(const fs::path&)>& prepare, const wchar_t* message) {
  const fs::path folder = e2e::PrepareRuntimeFolder(name);
  prepare(folder);
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program.ProcessId(), message, IDOK); }, 30s));
  HWND main = program.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(FixedMenuRows(main).empty());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s));
}

TEST(FixedEntriesBadInput, MissingOrUnknownFileIsReportedAndKept) {
  StartsDespite("fixed-missing", [](const fs::path& folder) { fs::remove(folder / L"固定条目" / L"固定条目.txt"); },
                L"出错！文件不存在：");

  const std::string bigEndian = "\xFE\xFF\x75\x32\x00\x0D\x00\x0A";  // "甲" CR LF, big-endian
  fs::path folderSeen;
  StartsDespite("fixed-big-endian", [&](const fs::path& folder) {
    folderSeen = folder;
    e2e::WriteFile(folder / L"固定条目" / L"固定条目.txt", bigEndian);
  }, L"固定条目文件为未知格式");
  EXPECT_EQ(e2e::ReadFile(folderSeen / L"固定条目" / L"固定条目.txt"), bigEndian);
}

TEST(HookLibraryBadInput, ALibraryWithoutTheExportsIsReportedWhenPasteStarts) {
  const fs::path folder = e2e::PrepareRuntimeFolder("hook-without-exports");
  // Another library of ours, which exports none of the hook functions.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path probe = fs::path(self).parent_path() / "menu_probe.dll";
  fs::remove(folder / "SysHookDLL.dll");
  fs::copy_file(probe, folder / "SysHookDLL.dll");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  HWND main = program.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(e2e::ChooseMenuRow(main, L"开启 [ 连续粘贴 ]（默认F9） ★★★"));
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program.ProcessId(), L"键盘钩子启动失败，请重新启动程序", IDOK);
  }, 10s));
  // The program goes on: its menu answers, and it closes normally.
  EXPECT_FALSE(e2e::ReadMenuBar(main).empty());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s));
}

}  // namespace
