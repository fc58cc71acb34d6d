// Bookmarks, the drag move, the sort and the search as a user drives them: the list's
// context menu by mouse and keys, the teal mark read from the screen, a drag made of real
// mouse input, and the find dialog filled through its own window.
#include <gtest/gtest.h>

#include <chrono>

#include "program_fixture.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

constexpr COLORREF kTeal = RGB(0, 128, 128);

void Press(WORD key) {
  e2e::PressKey(key);
  Sleep(60);
}

void Mouse(POINT screen, DWORD buttons) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof input);
  Sleep(40);
}

class ListWork : public e2e::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    // The click hint would lie over the rows the mouse must reach.
    SetMenuSwitch(L"单击条目后出现文本提示框", false);
    for (const wchar_t* text : {L"alpha", L"beta", L"gamma", L"delta"}) Copy(text);
    ASSERT_TRUE(e2e::WaitUntil([&] {
      if (GetForegroundWindow() != main_) SetForegroundWindow(main_);
      return GetForegroundWindow() == main_;
    }, 10s));
  }
  RECT RowRect(int row) const {
    RECT r{};
    SendMessageW(list_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // A point on a row's text, in screen coordinates.
  POINT RowText(int row, int dy = 0) const {
    const RECT r = RowRect(row);
    POINT p{r.left + 60, (r.top + r.bottom) / 2 + dy};
    ClientToScreen(list_, &p);
    return p;
  }
  // Whether the teal mark shows at the right of the row on the screen.
  bool MarkShown(int row) const {
    const RECT r = RowRect(row);
    POINT p{r.right - r.right / 6, (r.top + r.bottom) / 2};
    ClientToScreen(list_, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return color == kTeal;
  }
  HWND OpenPopup() const {
    HWND found = nullptr;
    e2e::WaitUntil([&] {
      found = e2e::FindProcessWindow(program_.ProcessId(), L"#32768");
      return found && IsWindowVisible(found);
    }, 10s);
    return found;
  }
  // The row selected, its context menu opened with the right button, and the menu row
  // `downs` places down chosen with the keys (separators are skipped; in a sub-menu after
  // `right`, which selects the sub-menu's first row, `subDowns` more).
  void ContextCommand(int row, int downs, int subDowns = -1) {
    e2e::ClickListRow(list_, row);
    const POINT at = RowText(row);
    Mouse(at, 0);
    Mouse(at, MOUSEEVENTF_RIGHTDOWN);
    Mouse(at, MOUSEEVENTF_RIGHTUP);
    ASSERT_NE(OpenPopup(), nullptr) << "no context menu";
    for (int i = 0; i < downs; ++i) Press(VK_DOWN);
    if (subDowns >= 0) {
      Press(VK_RIGHT);
      for (int i = 0; i < subDowns; ++i) Press(VK_DOWN);
    }
    Press(VK_RETURN);
    e2e::WaitForIdle(main_, 5s);
  }
};

// The context menu's rows, separators left out: 0 N39, 1 N152, 2 以纯文本复制, 3 添加到固定条目,
// 4 设为书签, 5 转移到书签, 6 撤销所有书签, 7 更新(重载), 8 编辑.
constexpr int kSetBookmark = 5;   // downs from no selection
constexpr int kJumpMenu = 6;
constexpr int kRemoveAll = 7;

TEST_F(ListWork, BookmarksMarkJumpRemoveAndComeBackAfterAListLoad) {
  ContextCommand(2, kSetBookmark);
  ASSERT_TRUE(e2e::WaitUntil([&] { return MarkShown(2); }, 10s)) << "no teal mark on row 2";
  EXPECT_FALSE(MarkShown(1));
  ContextCommand(4, kSetBookmark);
  ASSERT_TRUE(e2e::WaitUntil([&] { return MarkShown(4); }, 10s));

  // A repaint of the whole list and a click elsewhere keep the marks.
  InvalidateRect(list_, nullptr, TRUE);
  e2e::ClickListRow(list_, 1);
  e2e::WaitForIdle(main_, 5s);
  EXPECT_TRUE(e2e::WaitUntil([&] { return MarkShown(2) && MarkShown(4); }, 10s));

  // The second row of "转移到书签" (the sub-menu opens on its first row) selects the second bookmark.
  ContextCommand(0, kJumpMenu, 1);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == 4; }, 10s));

  // Remove all: Cancel keeps them, OK removes them.
  ContextCommand(1, kRemoveAll);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"你确信撤销所有书签吗?", IDCANCEL);
  }, 10s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return MarkShown(2) && MarkShown(4); }, 10s));
  ContextCommand(1, kRemoveAll);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"你确信撤销所有书签吗?", IDOK);
  }, 10s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !MarkShown(2) && !MarkShown(4); }, 10s));

  // A list load sets the bookmarks aside; the history view brings them back.
  ContextCommand(3, kSetBookmark);
  ASSERT_TRUE(e2e::WaitUntil([&] { return MarkShown(3); }, 10s));
  const std::vector<std::wstring> history = e2e::ListRows(list_);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"打开  样例表格1_春花烂漫"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) != history; }, 10s));
  // The list's repaint may come after the round trip (paints wait for an empty queue).
  EXPECT_TRUE(e2e::WaitUntil([&] { return !MarkShown(3); }, 10s));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"本次剪切板历史文本总集"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == history; }, 10s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return MarkShown(3); }, 10s));
}

TEST_F(ListWork, AListOpenedFromTheFixedViewHasAWorkingJumpMenuClassicAndSkinned) {
  HWND fixedView = e2e::ChildWindow(main_, L"", L"固定条目");
  ASSERT_NE(fixedView, nullptr);
  for (const bool skinned : {false, true}) {
    if (skinned) {
      ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"新式绿皮"));
      ASSERT_TRUE(e2e::WaitUntil([&] {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main_, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);  // skinned?
        return answer == 1;
      }, 15s));
      e2e::WaitForIdle(main_, 5s);
    }
    PostMessageW(fixedView, BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] {
      const auto rows = e2e::ListRows(list_);
      return !rows.empty() && rows[0] == L"我的常用地址：北京市海淀区中关村大街1号";
    }, 10s)) << "no fixed view";
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"打开  样例表格1_春花烂漫"));
    ASSERT_TRUE(e2e::WaitUntil([&] {
      const auto rows = e2e::ListRows(list_);
      return rows.size() > 3 && rows[0] == L"张三";
    }, 10s)) << "the sample table was not opened";
    e2e::WaitForIdle(main_, 5s);
    ContextCommand(2, kSetBookmark);
    ASSERT_TRUE(e2e::WaitUntil([&] { return MarkShown(2); }, 10s)) << "no teal mark on row 2, skinned " << skinned;
    // The jump menu's first row selects the bookmark.
    ContextCommand(0, kJumpMenu, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == 2; }, 10s))
        << "the jump menu did not select row 2, skinned " << skinned;
  }
}

TEST_F(ListWork, ARealMouseDragMovesTheEntryAndEscOrAMissedDropChangeNothing) {
  using Rows = std::vector<std::wstring>;
  // Row 1 onto row 4: it lands above row 4.
  Mouse(RowText(1), 0);
  Mouse(RowText(1), MOUSEEVENTF_LEFTDOWN);
  Mouse(RowText(1, 3), 0);  // within the drag distance: still a click
  for (int row = 2; row <= 4; ++row) Mouse(RowText(row), 0);
  Mouse(RowText(4), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == Rows{kFirstEntry, L"beta", L"gamma", L"alpha", L"delta"};
  }, 10s)) << "the drag did not move the row";
  EXPECT_EQ(e2e::SelectedListRow(list_), 3);

  // Esc during the drag: nothing moves.
  Mouse(RowText(3), 0);
  Mouse(RowText(3), MOUSEEVENTF_LEFTDOWN);
  Mouse(RowText(2), 0);
  Mouse(RowText(1), 0);
  Press(VK_ESCAPE);
  Mouse(RowText(1), MOUSEEVENTF_LEFTUP);
  e2e::WaitForIdle(main_, 5s);
  EXPECT_EQ(e2e::ListRows(list_), (Rows{kFirstEntry, L"beta", L"gamma", L"alpha", L"delta"}));
  EXPECT_FALSE(IsIconic(main_));  // the Esc ended the drag, it did not minimise the window

  // A drop below the last row: nothing moves. A plain click still selects.
  const RECT last = RowRect(4);
  POINT below{last.left + 60, last.bottom + 30};
  ClientToScreen(list_, &below);
  Mouse(RowText(0), 0);
  Mouse(RowText(0), MOUSEEVENTF_LEFTDOWN);
  Mouse(RowText(2), 0);
  Mouse(below, 0);
  Mouse(below, MOUSEEVENTF_LEFTUP);
  e2e::WaitForIdle(main_, 5s);
  EXPECT_EQ(e2e::ListRows(list_), (Rows{kFirstEntry, L"beta", L"gamma", L"alpha", L"delta"}));
  Mouse(RowText(2), MOUSEEVENTF_LEFTDOWN);
  Mouse(RowText(2), MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == 2; }, 10s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == L"gamma"; }, 10s));
}

TEST_F(ListWork, SortAndTheFindDialogDrivenThroughItsWindow) {
  Copy(L"Beta");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"自动排序"));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    const std::vector<std::wstring> rows = e2e::ListRows(list_);
    std::vector<std::wstring> latin;
    for (const auto& r : rows) if (r != kFirstEntry) latin.push_back(r);
    return rows.size() == 6 && latin == std::vector<std::wstring>{L"alpha", L"beta", L"Beta", L"delta", L"gamma"};
  }, 10s));

  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"查找"));
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    dialog = e2e::FindProcessWindow(program_.ProcessId(), L"#32770");
    return dialog && IsWindowVisible(dialog) && GetDlgItem(dialog, 1152);
  }, 10s)) << "no find dialog";
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1041)));  // match case: hidden
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1057)));  // direction: hidden
  SendMessageW(GetDlgItem(dialog, 1152), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"bet"));
  // Enter in the dialog is its "find next": the program's message loop hands it the key.
  SetForegroundWindow(dialog);
  SetFocus(GetDlgItem(dialog, 1152));
  Press(VK_RETURN);
  const int first = [&] {
    int row = -1;
    e2e::WaitUntil([&] { row = e2e::SelectedListRow(list_); return row > 0; }, 10s);
    return row;
  }();
  ASSERT_GT(first, 0);
  EXPECT_EQ(e2e::ListRows(list_)[static_cast<size_t>(first)], L"beta");
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);  // again, from one row below: "Beta" is no hit, case counts
  e2e::WaitForIdle(main_, 5s);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"没有找到指定文本！  bet", IDOK);
  }, 10s));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(e2e::SelectedListRow(list_), first);
}

}  // namespace
