// The automatic paste after a double click: the program minimises itself and, half a second
// later, pastes the entry into whatever text box has the focus in the foreground program —
// here an edit box of a window of the test process.
#include <gtest/gtest.h>

#include "foreign_editor.h"
#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

using e2e::ForeignEditor;

class AutomaticPaste : public e2e::ProgramTest {
 protected:
  // Double-clicks the row while the foreign editor is the foreground window, and waits until
  // the program has minimised itself.
  void DoubleClickFromTheEditor(ForeignEditor& editor, int row) {
    ASSERT_TRUE(editor.Activate());
    e2e::DoubleClickListRow(list_, row);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsIconic(main_) != FALSE; }, 10s)) << "the program did not minimise";
    // A minimised window gives up the foreground; should the system hand it elsewhere, the
    // user's program gets it back before the paste arrives.
    foregroundKept_ = GetForegroundWindow() == editor.window();
    if (!foregroundKept_) {
      ASSERT_TRUE(editor.Activate());
    }
  }
  bool foregroundKept_ = false;
};

TEST_F(AutomaticPaste, DoubleClickPastesTheEntryIntoTheFocusedBoxOfAnotherProgram) {
  const std::wstring entry = L"自动粘贴到别的程序：你好，世界";
  Copy(entry);
  Copy(L"后来复制的文本");
  // Switching it on warns about pasting by mistake.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"双击条目后自动粘贴"));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"双击后选中的文本自动粘贴到对应的文字编辑框", IDOK);
  }, 10s));
  SetMenuSwitch(L"双击条目后自动粘贴", true);
  if (HasFatalFailure()) return;
  ForeignEditor editor;

  DoubleClickFromTheEditor(editor, 1);
  if (HasFatalFailure()) return;
  // Nothing in the test pastes: the text arrives only through the program's Ctrl+V.
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.Text() == entry; }, 10s)) << "edit box holds: " << editor.Text().size()
                                                                            << " characters";
  std::printf("foreground stayed with the editor through the minimise: %s\n", foregroundKept_ ? "yes" : "no");
  // The paste comes once.
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(editor.Text(), entry);
}

TEST_F(AutomaticPaste, WithoutTheSwitchTheDoubleClickOnlyMinimises) {
  Copy(L"不会被粘贴的文本");
  SetMenuSwitch(L"双击条目后自动粘贴", false);
  ForeignEditor editor;

  DoubleClickFromTheEditor(editor, 1);
  if (HasFatalFailure()) return;
  EXPECT_EQ(e2e::ReadClipboardText(), L"不会被粘贴的文本");  // the click before it copied the entry
  // Well past the half second after which a paste would come.
  e2e::WaitUntil([] { return false; }, 2s);
  EXPECT_EQ(editor.Text(), L"");
}

}  // namespace
