// Continuous paste and copy as a user drives them: the paste key pressed in another program
// (an edit box of the test process) pastes the history's entries one after the other.
#include <gtest/gtest.h>

#include "foreign_editor.h"
#include "keyboard_input.h"
#include "program_fixture.h"

using namespace std::chrono_literals;
using e2e::ForeignEditor;
using e2e::PressKeys;
using e2e::Tap;

namespace {

constexpr wchar_t kPasteSwitch[] = L"开启 [ 连续粘贴 ]（默认F9） ★★★";
constexpr wchar_t kCopySwitch[] = L"开启 连续复制（默认F9） ●●●";

class ContinuousPaste : public e2e::ProgramTest {
 protected:
  std::vector<std::wstring> StartEntries() const override {
    return {L"第一条", L"第二条", L"第三条", L"【【停止】】", L"第五条"};
  }

  // Makes row the paste position (a click on it) and gives the editor the focus.
  void StartPastingAt(ForeignEditor& editor, int row) {
    e2e::ClickListRow(list_, row);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == row; }, 5s));
    // The user moves on to the other program once the click is done with. Under Wine the
    // hint window that the click shows may still move the foreground for a while (the X
    // server's focus events come late): the editor must have kept it for a moment.
    e2e::WaitUntil([] { return false; }, 1s);
    ASSERT_TRUE(editor.Activate());
    e2e::WaitUntil([] { return false; }, 500ms);
    ASSERT_TRUE(editor.Activate());
  }
  // Presses the paste key and waits until the editor holds `expected`.
  ::testing::AssertionResult PasteKeyGives(ForeignEditor& editor, const std::wstring& expected) {
    Tap(VK_F9);
    if (e2e::WaitUntil([&] { return editor.Text() == expected; }, 10s)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the box holds \"" << e2e::Utf8(editor.Text()) << "\"";
  }
  // Presses the paste key and checks that the editor still holds the same after a while.
  bool PasteKeyLeaves(ForeignEditor& editor) {
    const std::wstring before = editor.Text();
    Tap(VK_F9);
    e2e::WaitUntil([] { return false; }, 1500ms);
    return editor.Text() == before;
  }
};

TEST_F(ContinuousPaste, F9PastesSuccessiveEntriesUntilTheStopMarker) {
  SetMenuSwitch(kPasteSwitch, true);
  if (HasFatalFailure()) return;
  ForeignEditor editor;
  StartPastingAt(editor, 1);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PasteKeyGives(editor, L"第二条"));
  EXPECT_TRUE(PasteKeyGives(editor, L"第二条第三条"));
  // The stop marker is never pasted, on every press.
  EXPECT_TRUE(PasteKeyLeaves(editor));
  EXPECT_TRUE(PasteKeyLeaves(editor));
  EXPECT_EQ(editor.Text(), L"第二条第三条");
  // Nothing of the paste was captured as a new entry.
  EXPECT_EQ(e2e::ListRows(list_).size(), 5u);

  // Switched off, the key does nothing.
  SetMenuSwitch(kPasteSwitch, false);
  ASSERT_TRUE(editor.Activate());
  StartPastingAt(editor, 0);
  EXPECT_TRUE(PasteKeyLeaves(editor));
}

TEST_F(ContinuousPaste, AfterARestartF9PastesWithoutTouchingTheMenu) {
  SetMenuSwitch(kPasteSwitch, true);
  if (HasFatalFailure()) return;
  Restart();
  if (HasFatalFailure()) return;
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == StartEntries(); }, 10s));
  ForeignEditor editor;
  StartPastingAt(editor, 2);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PasteKeyGives(editor, L"第三条"));
}

TEST_F(ContinuousPaste, CyclicPasteWrapsAfterItsPause) {
  SetMenuSwitch(kPasteSwitch, true);
  // Both cyclic switches warn first.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"循环粘贴有效"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"这将循环粘贴", IDOK); }, 10s));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"循环时（跳回到第一行时）发声"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"跳回到第一行时发声", IDOK); }, 10s));
  SetMenuSwitch(L"循环粘贴有效", true);
  SetMenuSwitch(L"循环时（跳回到第一行时）发声", true);
  if (HasFatalFailure()) return;
  ForeignEditor editor;
  StartPastingAt(editor, 4);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PasteKeyGives(editor, L"第五条"));
  // Past the last row: the first row is selected and nothing is pasted, also by a press
  // during the pause.
  EXPECT_TRUE(PasteKeyLeaves(editor));
  EXPECT_EQ(e2e::SelectedListRow(list_), 0);
  EXPECT_TRUE(PasteKeyLeaves(editor));
  e2e::WaitUntil([] { return false; }, 3s);  // the pause is 4 s from the wrap
  EXPECT_TRUE(PasteKeyGives(editor, L"第五条第一条"));
}

TEST_F(ContinuousPaste, ContinuousCopyStoresTheSelection) {
  SetMenuSwitch(kCopySwitch, true);
  if (HasFatalFailure()) return;
  // Continuous copy switched refusing repeats off.
  const std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main_);
  const e2e::MenuRowInfo* refuse = e2e::FindMenuRow(rows, L"不记录最后一条重复的数据");
  ASSERT_NE(refuse, nullptr);
  EXPECT_FALSE(refuse->checked);
  ForeignEditor editor;
  editor.SetText(L"表格里的一格");
  // As in StartPastingAt: the foreground may still move for a while after the menu walks (the
  // X server's focus events come late), and the step's Ctrl+C goes to whichever window has it.
  ASSERT_TRUE(editor.Activate());
  e2e::WaitUntil([] { return false; }, 500ms);
  ASSERT_TRUE(editor.Activate());
  editor.SelectAll();
  Tap(VK_F9);
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 6));
  EXPECT_EQ(e2e::ListRows(list_).back(), L"表格里的一格");
  EXPECT_EQ(editor.Text(), L"表格里的一格");

  // Refusing repeats switched on again ends continuous copy, with a message.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"不记录最后一条重复的数据"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"连续复制将被关闭", IDOK); }, 10s));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    const std::vector<e2e::MenuRowInfo> now = e2e::ReadMenuBar(main_);
    const e2e::MenuRowInfo* copy = e2e::FindMenuRow(now, kCopySwitch);
    return copy && !copy->checked;
  }, 10s));
}

// The switches saved in "set" take effect at start-up: paste key with Alt, step, jump key.
class SavedPasteSettings : public ContinuousPaste {
 protected:
  void PrepareFolder() override {
    // Line 5 continuous paste, 11 HotKeyAlt, 12 step, 13 jump after a paste, 22 jump key Enter.
    e2e::ChangeSettingsLines(folder_, {{5, "-1"}, {11, AltLine()}, {12, "2"}, {13, "-1"}, {22, "2"}});
  }
  virtual std::string AltLine() const { return "0"; }
};

TEST_F(SavedPasteSettings, StepTwoWithEnterIntoAMultiLineBoxWithoutTouchingTheMenu) {
  const std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main_);
  const e2e::MenuRowInfo* paste = e2e::FindMenuRow(rows, kPasteSwitch);
  ASSERT_NE(paste, nullptr);
  EXPECT_TRUE(paste->checked);
  EXPECT_NE(e2e::FindMenuRow(rows, L"跳格键设置为： 回车键Enter"), nullptr);
  EXPECT_NE(e2e::FindMenuRow(rows, L"热键定义为 F9"), nullptr);
  ForeignEditor editor(true);
  StartPastingAt(editor, 0);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PasteKeyGives(editor, L"第一条\r\n"));
  EXPECT_TRUE(PasteKeyGives(editor, L"第一条\r\n第三条\r\n"));
  // Row 4 next, past the stop marker's row.
  EXPECT_TRUE(PasteKeyGives(editor, L"第一条\r\n第三条\r\n第五条\r\n"));
}

class SavedAltPasteKey : public SavedPasteSettings {
 protected:
  std::string AltLine() const override { return "-1"; }
};

TEST_F(SavedAltPasteKey, AltF9PastesWhenAltIsReleased) {
  EXPECT_NE(e2e::FindMenuRow(e2e::ReadMenuBar(main_), L"热键定义为 Alt+F9"), nullptr);
  ForeignEditor editor(true);
  StartPastingAt(editor, 0);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PasteKeyLeaves(editor)) << "F9 alone";
  PressKeys({{VK_MENU, false}, {VK_F9, false}, {VK_F9, false}, {VK_F9, true}});
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(editor.Text(), L"") << "nothing while Alt is down";
  PressKeys({{VK_MENU, true}});
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.Text() == L"第一条\r\n"; }, 10s)) << editor.Text().size();
}

}  // namespace
