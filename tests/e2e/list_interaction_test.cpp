// Working with the history list: the click hint, the double click in folder and web-address
// mode, and checking a range of rows with Shift.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>  // after windows.h, which it needs

#include <cstdio>
#include <set>

#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

// ---- The click hint -----------------------------------------------------------------------------

const wchar_t kHintClass[] = L"Quillora.UniHintWindow";

struct HintSearch {
  DWORD pid = 0;
  std::vector<HWND> all = {};
  std::vector<HWND> visible = {};
};
BOOL CALLBACK CollectHints(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<HintSearch*>(lp);
  if (e2e::ProcessOfWindow(hwnd) == search->pid && e2e::WindowClass(hwnd) == kHintClass) {
    search->all.push_back(hwnd);
    if (IsWindowVisible(hwnd)) search->visible.push_back(hwnd);
  }
  return TRUE;
}
HintSearch FindHints(DWORD pid) {
  HintSearch search;
  search.pid = pid;
  EnumWindows(CollectHints, reinterpret_cast<LPARAM>(&search));
  return search;
}

std::wstring HintHeader(int rowNumber, size_t characters) {
  return L"【当前行号=" + std::to_wstring(rowNumber) + L"，字符数=" + std::to_wstring(characters) + L"】\r\n\r\n";
}

using ClickHint = e2e::ProgramTest;

TEST_F(ClickHint, ShowsRowNumberCountAndTextInOneWindowOwnedByTheProgram) {
  const std::wstring shortText = L"单击后显示的提示文本";
  std::wstring longText;
  for (int i = 0; i < 300; ++i) longText.push_back(static_cast<wchar_t>(L'一' + i));
  Copy(shortText);
  Copy(longText);

  e2e::ClickListRow(list_, 1);
  HintSearch hints = FindHints(program_.ProcessId());
  ASSERT_EQ(hints.visible.size(), 1u);
  const HWND hint = hints.visible[0];
  EXPECT_EQ(GetWindow(hint, GW_OWNER), main_);
  EXPECT_EQ(e2e::WindowText(hint), HintHeader(2, shortText.size()) + shortText);

  // The same row again while the hint is up: the hint stays, no second window.
  e2e::ClickListRow(list_, 1);
  hints = FindHints(program_.ProcessId());
  EXPECT_EQ(hints.all.size(), 1u);
  ASSERT_EQ(hints.visible.size(), 1u);
  EXPECT_EQ(hints.visible[0], hint);
  EXPECT_EQ(e2e::WindowText(hint), HintHeader(2, shortText.size()) + shortText);

  // A long entry: its first 255 characters, a blank and six full stops; the count is the whole.
  e2e::ClickListRow(list_, 2);
  hints = FindHints(program_.ProcessId());
  EXPECT_EQ(hints.all.size(), 1u);
  ASSERT_EQ(hints.visible.size(), 1u);
  EXPECT_EQ(e2e::WindowText(hints.visible[0]), HintHeader(3, 300) + longText.substr(0, 255) + L" 。。。。。。");
}

TEST_F(ClickHint, SwitchedOffAClickOnAnotherRowHidesTheHintAndShowsNone) {
  Copy(L"第一条");
  Copy(L"第二条");
  e2e::ClickListRow(list_, 1);
  ASSERT_EQ(FindHints(program_.ProcessId()).visible.size(), 1u);

  SetMenuSwitch(L"单击条目后出现文本提示框", false);
  if (HasFatalFailure()) return;
  e2e::ClickListRow(list_, 2);
  EXPECT_EQ(e2e::ReadClipboardText(), L"第二条");  // the click itself still copies
  EXPECT_TRUE(FindHints(program_.ProcessId()).visible.empty());
}

TEST_F(ClickHint, ClosesWhenACommandReordersReloadsOrEmptiesTheList) {
  for (const wchar_t* text : {L"乙", L"甲", L"丙"}) Copy(text);
  // The pointer does not move meanwhile: only the command can close the hint. Each round clicks
  // another row than the last, so that its hint is new and would stay its full 20 s.
  int row = 1;
  for (const wchar_t* command : {L"自动排序", L"顶", L"打开  样例表格1_春花烂漫", L"全部删除（清空列表框）"}) {
    row = 3 - row;
    e2e::ClickListRow(list_, row);
    ASSERT_TRUE(e2e::WaitUntil([&] { return FindHints(program_.ProcessId()).visible.size() == 1; }, 10s))
        << "no hint before " << e2e::Utf8(command);
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, command)) << e2e::Utf8(command);
    EXPECT_TRUE(e2e::WaitUntil([&] { return FindHints(program_.ProcessId()).visible.empty(); }, 10s))
        << "the hint outlived " << e2e::Utf8(command);
  }
  EXPECT_TRUE(e2e::ListRows(list_).empty());
}

// Where a row's text lies on the screen (right of the check box, halfway down).
POINT RowTextOnScreen(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  POINT at{r.left + 60, (r.top + r.bottom) / 2};
  ClientToScreen(list, &at);
  return at;
}

TEST_F(ClickHint, NeverTakesTheMouseAClickOnARowBeneathItCopiesThatRow) {
  // Enough rows to fill the list, so that the hint lies over rows wherever it opens.
  std::vector<std::wstring> texts;
  for (int i = 1; i <= 40; ++i) texts.push_back(L"第" + std::to_wstring(i) + L"条：提示框下面的条目");
  for (const std::wstring& text : texts) Copy(text);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    if (GetForegroundWindow() != main_) SetForegroundWindow(main_);
    return GetForegroundWindow() == main_;
  }, 10s));
  SendMessageW(list_, LB_SETTOPINDEX, 0, 0);

  // Rows 1 to texts.size() hold texts[0..]; row 0 is the exit record's entry.
  const auto rowUnderHint = [&](int clicked, POINT& target) {
    RECT hint{};
    const HintSearch hints = FindHints(program_.ProcessId());
    if (hints.visible.empty()) return -1;
    GetWindowRect(hints.visible[0], &hint);
    RECT list{};
    GetWindowRect(list_, &list);
    for (int row = 1; row <= static_cast<int>(texts.size()); ++row) {
      RECT r{};
      if (row == clicked || SendMessageW(list_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) == LB_ERR) continue;
      POINT at{0, (r.top + r.bottom) / 2};
      ClientToScreen(list_, &at);
      at.x = hint.left + 10;
      if (at.y > hint.top + 2 && at.y < hint.bottom - 2 && at.y < list.bottom - 4 && at.x > list.left + 30 &&
          at.x < list.right - 30) {
        target = at;
        return row;
      }
    }
    return -1;
  };

  // A real click on row 1 opens the hint below the pointer, over rows further down; each click
  // on the hint reaches the row beneath it, which is selected and copied, and opens the next hint.
  e2e::ClickAt(RowTextOnScreen(list_, 1));
  int clicked = 1;
  for (int round = 0; round < 2; ++round) {
    const std::wstring header = HintHeader(clicked + 1, texts[clicked - 1].size());
    ASSERT_TRUE(e2e::WaitUntil([&] {
      const HintSearch hints = FindHints(program_.ProcessId());
      return hints.visible.size() == 1 && e2e::WindowText(hints.visible[0]).rfind(header, 0) == 0;
    }, 10s)) << "no hint for row " << clicked;
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == texts[clicked - 1]; }, 10s));
    POINT target{};
    const int covered = rowUnderHint(clicked, target);
    ASSERT_GE(covered, 1) << "no row lies under the hint";
    e2e::ClickAt(target);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == covered; }, 10s))
        << "row " << covered << " under the hint not selected; row " << e2e::SelectedListRow(list_) << " is";
    clicked = covered;
  }
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == texts[clicked - 1]; }, 10s));
}

// ---- Double click in folder and web-address mode ------------------------------------------------

using DoubleClickModes = e2e::ProgramTest;

// The ids of the running processes with this executable name.
std::set<DWORD> ProcessesNamed(const std::wstring& exe) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, exe.c_str()) == 0) ids.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

TEST_F(DoubleClickModes, FolderModeReportsATextNamingNoFolderNorFileAndStaysOpen) {
  const std::wstring text = L"C:\\没有这个文件夹\\也没有这个文件.txt";
  Copy(text);
  SetMenuSwitch(L"(打开文件夹有效)", true);
  if (HasFatalFailure()) return;

  e2e::DoubleClickListRow(list_, 1);
  std::vector<std::wstring> boxes;
  ASSERT_TRUE(e2e::WaitUntil([&] { return !(boxes = e2e::MessageBoxTexts(program_.ProcessId())).empty(); }, 10s));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], L"文件夹路径或文件路径不存在  " + text);
  EXPECT_FALSE(IsIconic(main_));
  ASSERT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"文件夹路径或文件路径不存在", IDOK));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 10s));
  e2e::WaitForIdle(main_, 10s);
  EXPECT_FALSE(IsIconic(main_));
  EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(DoubleClickModes, WebAddressModeRunsNoCommandButStillMinimises) {
  Copy(L"notepad.exe");
  SetMenuSwitch(L"(打开文件夹有效)", false);
  SetMenuSwitch(L"(打开网络地址有效)", true);
  if (HasFatalFailure()) return;
  const std::set<DWORD> before = ProcessesNamed(L"notepad.exe");

  e2e::DoubleClickListRow(list_, 1);
  // The shell would have started the program before the window minimises.
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsIconic(main_) != FALSE; }, 10s));
  e2e::WaitUntil([] { return false; }, 1s);
  const std::set<DWORD> after = ProcessesNamed(L"notepad.exe");
  for (DWORD id : after) {
    if (before.count(id) == 0) {
      ADD_FAILURE() << "the double click started notepad.exe (process " << id << ")";
      if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
        TerminateProcess(p, 1);
        CloseHandle(p);
      }
    }
  }
  EXPECT_EQ(e2e::ReadClipboardText(), L"notepad.exe");
}

// ---- Range checking with Shift ------------------------------------------------------------------

// Clicks with the mouse on a row's check box (the left edge of the row).
void ClickCheckBox(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  POINT at{r.left + 7, (r.top + r.bottom) / 2};
  ClientToScreen(list, &at);
  e2e::ClickAt(at);
}

class RangeChecking : public e2e::ProgramTest {
 protected:
  // Where the pointer is and what lies under it, for a click that went astray.
  std::string PointerReport() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    char text[200];
    std::snprintf(text, sizeof text, "; pointer at %ld,%ld over %s, foreground %s", cursor.x, cursor.y,
                  under == list_ ? "the list" : "another window", GetForegroundWindow() == main_ ? "the program" : "other");
    return text;
  }
  // Checks or unchecks a row through its box, Shift held or not; returns once the program has
  // taken the click (the row is selected then).
  void ToggleBox(int row, bool withShift) {
    if (withShift) e2e::SendKey(VK_SHIFT, false);
    ClickCheckBox(list_, row);
    if (withShift) e2e::SendKey(VK_SHIFT, true);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == row; }, 10s))
        << "row " << row << " not selected (" << e2e::SelectedListRow(list_) << " is)" << PointerReport();
    e2e::WaitForIdle(main_, 10s);
  }
};

TEST_F(RangeChecking, ShiftChecksEveryRowUpToTheAnchorAndUncheckingWithShiftTouchesNoOther) {
  for (const wchar_t* text : {L"一", L"二", L"三", L"四", L"五"}) Copy(text);
  const std::vector<std::wstring> rows = e2e::ListRows(list_);
  ASSERT_EQ(rows.size(), 6u);
  // The hint would lie over the list; the mouse must reach the rows.
  SetMenuSwitch(L"单击条目后出现文本提示框", false);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    if (GetForegroundWindow() != main_) SetForegroundWindow(main_);
    return GetForegroundWindow() == main_;
  }, 10s));

  ToggleBox(1, false);  // the anchor
  ToggleBox(4, true);   // checks rows 1 to 4
  ToggleBox(3, true);   // unchecks row 3 only
  if (HasFatalFailure()) return;

  // The rows left after "delete the unchecked ones" are the checked ones.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"部分删除_保留勾"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 3));
  EXPECT_EQ(e2e::ListRows(list_), (std::vector<std::wstring>{rows[1], rows[2], rows[4]}));
}

}  // namespace
