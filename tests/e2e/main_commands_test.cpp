// The other commands of the main window as a user chains them: a folder entry through the
// picker, opening many folders with a missing one, every folder handed to Explorer, the list
// font kept in "set", the text conversions of one entry, and the workbook import into "temp.txt".
#include <gtest/gtest.h>
#include <shlobj.h>

#include <chrono>

#include "explorer_driver.h"
#include "program_fixture.h"
#include "tray_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace e2e {
namespace {

constexpr int kMemo1Id = 1006;

struct DescendantSearch {
  int id;
  HWND found = nullptr;
};
BOOL CALLBACK MatchId(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<DescendantSearch*>(lp);
  if (GetDlgCtrlID(h) != s->id) return TRUE;
  s->found = h;
  return FALSE;
}
HWND FindDescendant(HWND parent, int id) {
  DescendantSearch search{id};
  EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A dialog of the process, found by its caption.
HWND FindDialog(DWORD pid, const std::wstring& caption) {
  HWND found = nullptr;
  WaitUntil([&] {
    found = FindProcessWindow(pid, L"#32770", caption);
    return found != nullptr && IsWindowVisible(found);
  }, 20s);
  return found;
}

class MainCommands : public ProgramTest {
 protected:
  // Clicks a row and reads back what it put on the clipboard (the program's own write, which
  // adds no row).
  std::wstring RowText(int row) {
    const DWORD before = GetClipboardSequenceNumber();
    ClickListRow(list_, row);
    WaitUntil([&] { return GetClipboardSequenceNumber() != before; }, 5s);
    WaitUntil([] { return false; }, 200ms);
    return ReadClipboardText().value_or(L"");
  }
  void Convert(const std::wstring& row) {
    ASSERT_TRUE(ChooseMenuRow(main_, row));
    WaitUntil([] { return false; }, 300ms);
  }
};

TEST_F(MainCommands, FolderEntryAndOpeningManyFolders) {
  // The picker starts at the desktop folder; OK makes its path an entry.
  ASSERT_TRUE(ChooseMenuRow(main_, L"添加目录全路径"));
  HWND picker = FindDialog(program_.ProcessId(), L"");
  ASSERT_NE(picker, nullptr);
  wchar_t desktop[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
  e2e::PressDialogButton(picker, IDOK);
  ASSERT_TRUE(WaitForRowCount(list_, 2));
  EXPECT_EQ(ListRows(list_)[1], desktop);

  // A missing folder among the checked rows: nothing opens, the edit box names it.
  Copy(L"  C:\\没有这个文件夹  ");
  ASSERT_TRUE(ChooseMenuRow(main_, L"全部不选"));
  ClickListRow(list_, 2);
  // Row 2's check box: a click at its left edge.
  RECT item{};
  SendMessageW(list_, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  PostMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 6, (item.top + item.bottom) / 2));
  PostMessageW(list_, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 6, (item.top + item.bottom) / 2));
  WaitUntil([] { return false; }, 300ms);
  ASSERT_TRUE(ChooseMenuRow(main_, L"批量打开文件夹"));
  ASSERT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"你确信开始打开吗", IDOK); }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"一个都没打开", IDOK); }, 10s));
  EXPECT_EQ(WindowText(FindDescendant(main_, kMemo1Id)), L"打开失败  C:\\没有这个文件夹\r\n");
}

// A comma and blanks in the program's folder: every path must reach Explorer as one path.
class FoldersInExplorer : public ProgramTest {
 protected:
  std::string RuntimeFolderName() const override { return "folders, opened in Explorer"; }
  void TearDown() override {
    ProgramTest::TearDown();
    CloseFolderWindows();
  }
  // The arguments of the next Explorer the program starts.
  std::wstring NextExplorerArguments() { return WaitForNewExplorerArguments(known_, 20s); }
  static std::wstring Folder(const std::wstring& path) { return L"/n,\"" + path + L"\""; }

  std::set<DWORD> known_ = ExplorerProcesses();
};

TEST_F(FoldersInExplorer, EveryFolderReachesExplorerQuotedAndExists) {
  const std::wstring base = folder_.wstring();
  ASSERT_FALSE(fs::exists(folder_ / L"图片保存"));  // not shipped: a fresh folder has none
  // The help menu's folder row makes the folder before Explorer is pointed at it.
  ASSERT_TRUE(ChooseMenuRow(main_, L"图片保存 文件夹"));
  EXPECT_EQ(NextExplorerArguments(), Folder(base + L"\\图片保存"));
  EXPECT_TRUE(fs::is_directory(folder_ / L"图片保存"));
  ASSERT_TRUE(ChooseMenuRow(main_, L"打开本程序启动文件夹"));
  EXPECT_EQ(NextExplorerArguments(), Folder(base));

  // Folder mode: a tray entry row, then a double click on the list row.
  const std::wstring saved = base + L"\\保存";
  Copy(saved);
  SetMenuSwitch(L"(打开文件夹有效)", true);
  if (HasFatalFailure()) return;
  HWND tray = FindTrayIconWindow(program_.ProcessId());
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(tray); }, 5s));
  const std::optional<POINT> icon = TrayIconPoint();
  ASSERT_TRUE(icon.has_value());
  ClickTrayIcon(*icon, true);
  ASSERT_TRUE(WaitUntil([&] { return PopupMenuOpen(program_.ProcessId()); }, 5s)) << "no tray menu";
  ASSERT_TRUE(ChooseContextMenuRow(main_, saved.substr(0, 50)));
  EXPECT_EQ(NextExplorerArguments(), Folder(saved));
  DoubleClickListRow(list_, 1);
  EXPECT_EQ(NextExplorerArguments(), Folder(saved));
  // A file is shown selected in its folder.
  Copy(base + L"\\set");
  DoubleClickListRow(list_, 2);
  EXPECT_EQ(NextExplorerArguments(), L"/select,\"" + base + L"\\set\"");
}

TEST_F(MainCommands, ListFontIsKeptInTheSettingsFile) {
  ASSERT_TRUE(ChooseMenuRow(main_, L"字体大小。。。"));
  HWND dialog = FindDialog(program_.ProcessId(), L"字体");
  ASSERT_NE(dialog, nullptr);
  HWND size = FindDescendant(dialog, 0x472);  // the size box
  ASSERT_NE(size, nullptr);
  SetWindowTextW(size, L"20");
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x472, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(size));
  e2e::PressDialogButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10s));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(30s));
  main_ = nullptr;
  const std::string set = ReadFile(folder_ / "set");
  std::vector<std::string> lines;
  for (size_t start = 0; start < set.size();) {
    const size_t end = set.find("\r\n", start);
    lines.push_back(set.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[7], "20");  // line 8: the list font's size
}

TEST_F(MainCommands, TextConversionsOfTheSelectedEntry) {
  Copy(L"a\tb\tc");
  ClickListRow(list_, 1);
  Convert(L"所有跳格符（tab）替换为换行符（enter）");
  EXPECT_EQ(RowText(1), L"a\r\nb\r\nc");
  Convert(L"所有换行符（enter）替换为跳格符（tab）");
  EXPECT_EQ(RowText(1), L"a\tb\tc");
  Copy(L"\u3000한국어\u3000中文");
  ClickListRow(list_, 2);
  Convert(L"清除数据中字符 $A1$A1");
  EXPECT_EQ(RowText(2), L"한국어中文");
  ASSERT_TRUE(ChooseMenuRow(main_, L"单词字数统计"));
  EXPECT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"按中文字符算字数为：5", IDOK); }, 10s));
}

TEST_F(MainCommands, WorkbookImportFillsTheListThroughTempTxt) {
  const fs::path fixtures = fs::path(QUILL_TESTDATA_DIR) / "workbook";
  ASSERT_TRUE(ChooseMenuRow(main_, L"导入 EXCEL 表格"));
  ASSERT_TRUE(FillFileDialog(program_.ProcessId(), (fixtures / "range_c3.xlsx").wstring()));
  ASSERT_TRUE(WaitUntil([&] { return ListRows(list_) == std::vector<std::wstring>{L"甲", L"乙", L"丙", L"丁", L"戊", L"己"}; }, 10s));
  const std::string temp = ReadFile(folder_ / "temp.txt");
  EXPECT_EQ(temp.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(temp.find(Utf8(L"戊")), std::string::npos);
  // Multi-line and non-936 cells stay whole.
  ASSERT_TRUE(ChooseMenuRow(main_, L"导入 EXCEL 表格"));
  ASSERT_TRUE(FillFileDialog(program_.ProcessId(), (fixtures / "texts.xls").wstring()));
  ASSERT_TRUE(WaitForRowCount(list_, 1505));
  EXPECT_EQ(RowText(2), L"한국어 ÄÖ € 😀");
  EXPECT_EQ(RowText(1), L"第一行\r\n第二行");  // one entry; its lines end as list entries' lines do
  // Not a workbook: the message, and the list stays.
  ASSERT_TRUE(ChooseMenuRow(main_, L"导入 EXCEL 表格"));
  ASSERT_TRUE(FillFileDialog(program_.ProcessId(), (fixtures / "table.csv").wstring()));
  EXPECT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"这个文件不是Excel表格", IDOK); }, 10s));
  EXPECT_EQ(ListRows(list_).size(), 1505u);
}

}  // namespace
}  // namespace e2e
