// Another program owns the clipboard and renders what it promised late, or its thread hangs:
// the main window goes on answering, the text becomes an entry with what could be read in
// time, and captures work again once the owner has rendered or gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "input_dialog_driver.h"
#include "late_owner.h"
#include "program_fixture.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

using e2e::LateOwner;

class LateClipboardOwner : public e2e::ProgramTest {
 protected:
  // How long the window's thread takes to take a posted message from its queue, asked again
  // and again for `span`; the longest wait (the probe gives up after 10 s). The menu probe's
  // request is posted and answered from inside the program. A sent message would not do: a
  // thread waiting for another program's answer still handles messages sent to it.
  std::chrono::milliseconds LongestAnswer(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    std::chrono::milliseconds longest{0};
    while (std::chrono::steady_clock::now() < end) {
      const auto asked = std::chrono::steady_clock::now();
      const bool answered = !e2e::ReadMenuBar(main_).empty();
      auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
      if (!answered) waited = std::max(waited, std::chrono::milliseconds(10s));
      longest = std::max(longest, waited);
      std::this_thread::sleep_for(50ms);
    }
    RecordProperty("longest_answer_ms", static_cast<int>(longest.count()));
    return longest;
  }

  // How long after `since` another program could open the clipboard (tries every 100 ms, for
  // `within` at most); nothing when it never could. Under Wine the opening that succeeds first
  // after a hung owner let it go waits up to 5 s for that owner's answer to the X11 driver's
  // question: when it began is when the clipboard was free again.
  static std::optional<std::chrono::milliseconds> ClipboardFreeAfter(std::chrono::steady_clock::time_point since,
                                                                     std::chrono::milliseconds within) {
    std::optional<std::chrono::milliseconds> freed;
    e2e::WaitUntil([&] {
      const auto tried = std::chrono::steady_clock::now();
      if (!OpenClipboard(e2e::TestWindow())) return false;
      CloseClipboard();
      freed = std::chrono::duration_cast<std::chrono::milliseconds>(tried - since);
      return true;
    }, within);
    return freed;
  }
  // Every try to open the clipboard, 250 ms apart for `span`, succeeds.
  static bool ClipboardStaysFree(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
      if (!OpenClipboard(e2e::TestWindow())) return false;
      CloseClipboard();
      std::this_thread::sleep_for(250ms);
    }
    return true;
  }

  // The owner's copy is made and the capture waits for its late format now.
  static void WaitUntilTheCaptureWaits(LateOwner& owner) {
    ASSERT_TRUE(owner.WaitForCopy());
    e2e::WaitUntil([] { return false; }, 500ms);
  }

  // The owner hangs in its second render: the capture's read is given up and stays there, its
  // row comes, and the clipboard is free again.
  void WaitUntilTheCaptureGaveItsReadUp(LateOwner& owner) {
    ASSERT_TRUE(owner.WaitForCopy());
    ASSERT_TRUE(owner.WaitForRender(5s)) << "the capture did not ask for the promised formats";
    ASSERT_TRUE(e2e::WaitForRowCount(list_, 2)) << "no row for the copied text";
    ASSERT_TRUE(ClipboardFreeAfter(std::chrono::steady_clock::now(), 8s)) << "the clipboard stayed shut";
  }

  // The stalled copy: the window keeps answering and the text's row comes.
  void ExpectAnsweringWithRowFor(const std::wstring& text) {
    EXPECT_LT(LongestAnswer(4s), 3s) << "the main window stopped answering";
    ASSERT_TRUE(e2e::WaitForRowCount(list_, 2, 5000)) << "no row for the copied text";
    EXPECT_EQ(e2e::ListRows(list_)[1], text);
  }

  // Puts the entry of row 1 back on the clipboard and checks what it holds: the text, the
  // immediate format when it was read, never a format the owner had not rendered in time.
  void ExpectEntryHolds(const std::wstring& text, bool immediateFormat) {
    e2e::ClickListRow(list_, 1);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == text; }, 10s));
    const auto immediate = e2e::ReadClipboardFormat(e2e::RegisteredFormat(LateOwner::kImmediateFormat));
    EXPECT_EQ(immediate.has_value(), immediateFormat);
    if (immediate && immediateFormat) {
      EXPECT_EQ(immediate->substr(0, LateOwner::kImmediateBytes.size()), LateOwner::kImmediateBytes);
    }
    EXPECT_FALSE(IsClipboardFormatAvailable(e2e::RegisteredFormat(LateOwner::kPromisedFormat)));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_FALSE(IsClipboardFormatAvailable(e2e::RegisteredFormat(L"HTML Format")));
  }
};

using LateClipboardOwnerInEachLook = e2e::InEachLook<LateClipboardOwner>;
INSTANTIATE_TEST_SUITE_P(Looks, LateClipboardOwnerInEachLook, e2e::EachLook(), e2e::LookName);

TEST_F(LateClipboardOwner, AnOwnerThatRendersLateCostsItsLateFormatsNotTheWindow) {
  const std::wstring text = L"表格里复制的文本";
  LateOwner owner(text, LateOwner::Stall::RendersLate);
  ASSERT_TRUE(owner.WaitForCopy());
  ExpectAnsweringWithRowFor(text);
  // The program asked for a promised format; once it is rendered the clipboard is free again.
  ASSERT_TRUE(owner.WaitForRender(15s));
  Copy(L"after the late owner");
  ExpectEntryHolds(text, true);
}

TEST_F(LateClipboardOwner, AnOwnerWhoseThreadHangsCostsEveryFormatButTheText) {
  const std::wstring text = L"挂起的程序复制的文本";
  LateOwner owner(text, LateOwner::Stall::Hangs);
  ASSERT_TRUE(owner.WaitForCopy());
  ExpectAnsweringWithRowFor(text);
  owner.End();
  Copy(L"after the hung owner");
  ExpectEntryHolds(text, false);
}

TEST_F(LateClipboardOwner, AnOwnerHungInARenderHoldsTheClipboardNoLongerThanTheBudget) {
  // The owner answers and renders its first promised format, then hangs in the next one: the
  // capture's read stays inside that render, and the clipboard it opened must not stay shut for
  // everyone (this test's own opening, and the program's own row click) until the owner goes.
  const std::wstring text = L"渲染中挂起的程序复制的文本";
  LateOwner owner(text, LateOwner::Stall::HangsInSecondRender);
  ASSERT_TRUE(owner.WaitForCopy());
  const auto copied = std::chrono::steady_clock::now();
  ASSERT_TRUE(owner.WaitForRender(5s)) << "the capture did not ask for the promised formats";
  // Under Wine the opening that succeeds first waits up to 5 s for the hung owner's answer to
  // the X11 driver's question: when it began is when the clipboard was free again.
  std::chrono::milliseconds freedAfter{0};
  const bool opened = e2e::WaitUntil([&] {
    const auto tried = std::chrono::steady_clock::now();
    if (!OpenClipboard(e2e::TestWindow())) return false;
    CloseClipboard();
    freedAfter = std::chrono::duration_cast<std::chrono::milliseconds>(tried - copied);
    return true;
  }, 8s);
  RecordProperty("clipboard_free_after_ms", static_cast<int>(freedAfter.count()));
  ASSERT_TRUE(opened) << "the clipboard stayed shut while the owner hung";
  EXPECT_LT(freedAfter, 4s) << "the clipboard was free again only long after the reads' budget";
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2)) << "no row for the copied text";
  e2e::ClickListRow(list_, 0);
  EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ReadClipboardText() == kFirstEntry; }, 15s))
      << "the row click did not put its entry back";
  owner.End();
}

TEST_F(LateClipboardOwner, ARowClickInsideTheWaitForAHungOwnerPutsItsEntryBack) {
  // The click is handled inside the capture's wait and waits for the clipboard itself: the read
  // held in the hung render must let it go at its deadline all the same, and the click then
  // succeeds (no box).
  LateOwner owner(L"点击时挂起的程序复制的文本", LateOwner::Stall::HangsInSecondRender);
  ASSERT_TRUE(owner.WaitForCopy());
  ASSERT_TRUE(owner.WaitForRender(5s)) << "the capture did not ask for the promised formats";
  // The click's handling returns only once it is done (or its box answered).
  std::thread click([&] { e2e::ClickListRow(list_, 0); });
  EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ReadClipboardText() == kFirstEntry; }, 15s))
      << "the row click did not put its entry back";
  EXPECT_TRUE(e2e::MessageBoxTexts(program_.ProcessId()).empty()) << "the click said it failed";
  e2e::AnswerMessageBox(program_.ProcessId(), L"条目没有放到剪切板上", IDOK);
  click.join();
  owner.End();
}

TEST_F(LateClipboardOwner, AReadLeftInAHungRenderHoldsNoLaterReadAndNoPasteOfTheProgram) {
  // The capture gives up the read held in the owner's render, which stays there. Every other
  // read of the clipboard's data in the process would wait for it: the capture of the next copy
  // (with the clipboard open, shut for everyone) and the paste into the program's edit box (the
  // window's thread). The copy made meanwhile is taken once the owner has gone.
  LateOwner owner(L"渲染中挂起的程序复制的文本", LateOwner::Stall::HangsInSecondRender);
  WaitUntilTheCaptureGaveItsReadUp(owner);
  if (HasFatalFailure()) return;

  const std::wstring later = L"挂起期间另一个程序复制的文本";
  ASSERT_TRUE(e2e::SetClipboardText(later));
  EXPECT_TRUE(ClipboardStaysFree(3s)) << "the next copy's capture kept the clipboard shut";

  HWND edit = e2e::ChildWindow(main_, L"Edit");
  ASSERT_NE(edit, nullptr);
  PostMessageW(edit, WM_PASTE, 0, 0);
  e2e::WaitUntil([] { return false; }, 500ms);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) << "the paste stopped the window";
  EXPECT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"没有响应", IDOK)) << "the paste did not say why";
  EXPECT_TRUE(ClipboardStaysFree(1s));

  owner.End();
  EXPECT_TRUE(e2e::WaitUntil([&] {
    const std::vector<std::wstring> rows = e2e::ListRows(list_);
    return rows.size() == 3 && rows.back() == later;
  }, 10s)) << "the copy made while the owner hung did not become a row";
}

TEST_P(LateClipboardOwnerInEachLook, APasteIntoTheSystemsDialogsWhileAReadIsHeldSaysSoAndHoldsNothing) {
  // The edit boxes that the system makes for the program (the find dialog's, the save dialog's
  // name box) read the clipboard on the window's thread too: while the read given up stays in
  // the hung owner's render, their paste waited for it, the window stopped and the clipboard
  // stayed open in the program's name for every other program.
  LateOwner owner(L"系统对话框粘贴时挂起的程序复制的文本", LateOwner::Stall::HangsInSecondRender);
  WaitUntilTheCaptureGaveItsReadUp(owner);
  if (HasFatalFailure()) return;

  const auto expectRefused = [&](HWND edit, const char* where) {
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
        << "the paste into " << where << " stopped the window";
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"没有响应", IDOK); }, 5s))
        << "the paste into " << where << " did not say why";
    EXPECT_TRUE(ClipboardStaysFree(1s)) << "the paste into " << where << " kept the clipboard";
    EXPECT_EQ(e2e::WindowText(edit), L"") << where;
  };

  // The find dialog, Ctrl+V typed into its box.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"查找"));
  HWND find = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    find = e2e::FindProcessWindow(program_.ProcessId(), L"#32770");
    return find && IsWindowVisible(find) && GetDlgItem(find, 1152);
  }, 10s)) << "no find dialog";
  SetForegroundWindow(find);
  e2e::WaitForIdle(main_, 2s);
  e2e::PressKey('V', {VK_CONTROL});
  e2e::WaitUntil([] { return false; }, 500ms);
  expectRefused(GetDlgItem(find, 1152), "the find dialog");
  PostMessageW(find, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(find); }, 5s));

  // The save dialog's name box, pasted into as its context menu does.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"保存为 数据库 （支持word、htm 带格式文本）"));
  HWND save = e2e::WaitForFileDialog(program_.ProcessId(), 10s);
  ASSERT_NE(save, nullptr) << "no save dialog";
  // The name box is the edit inside the name combo box (ComboBoxEx32, ComboBox, Edit).
  HWND name = e2e::ChildWindow(e2e::FileNameBox(save), L"Edit");
  ASSERT_NE(name, nullptr);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  PostMessageW(name, WM_PASTE, 0, 0);
  e2e::WaitUntil([] { return false; }, 500ms);
  expectRefused(name, "the save dialog");
  e2e::PressDialogButton(save, IDCANCEL);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(save); }, 5s));
  owner.End();
}

TEST_F(LateClipboardOwner, AReadOpenedLateLetsTheClipboardGoAtItsOwnDeadlineWhileABoxIsOpen) {
  // The owner keeps the clipboard open for 0.7 s after its copy, then renders late: the read's
  // deadline is 2 s after its real opening. A box opened meanwhile holds the window's thread in
  // its own loop past that deadline; the clipboard is let go all the same, and once the box is
  // answered the capture ends at once.
  const std::wstring text = L"晚打开的剪切板上的文本";
  LateOwner owner(text, LateOwner::Stall::RendersLate, 700ms);
  ASSERT_TRUE(owner.WaitForCopy());
  const auto copied = std::chrono::steady_clock::now();
  e2e::WaitUntil([] { return false; }, 1000ms);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"批量打开文件夹"));
  HWND box = e2e::WaitForMessageBox(program_.ProcessId(), L"你确信开始打开吗", 10s);
  ASSERT_NE(box, nullptr);
  const std::optional<std::chrono::milliseconds> freed = ClipboardFreeAfter(copied, 12s);
  ASSERT_TRUE(freed) << "the clipboard stayed shut";
  RecordProperty("clipboard_free_after_ms", static_cast<int>(freed->count()));
  EXPECT_LT(*freed, 6s) << "the clipboard was let go only at a deadline guessed before the opening";

  e2e::WaitUntil([] { return false; }, 500ms);
  e2e::PressDialogButton(box, IDCANCEL);
  const auto answered = std::chrono::steady_clock::now();
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2, 10000)) << "no row for the copied text";
  EXPECT_LT(std::chrono::steady_clock::now() - answered, 1s) << "the capture waited again after the box";
  owner.End();
}

TEST_F(LateClipboardOwner, TheSessionsEndWhileTheCaptureWaitsKeepsTheCopy) {
  // Windows ends the session while the capture waits for a late format: the copy goes into the
  // exit record written at the end, within the reads' budget.
  const std::wstring text = L"关机时正在读的文本";
  LateOwner owner(text, LateOwner::Stall::RendersLate);
  WaitUntilTheCaptureWaits(owner);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
  EXPECT_EQ(answer, 1u);
  const auto asked = std::chrono::steady_clock::now();
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 4s) << "the end of the session waited too long";
  program_.Kill();  // as the system ends it
  main_ = nullptr;
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"),
            "\xEF\xBB\xBF" + e2e::Utf8(kFirstEntry) + "\r\n" + e2e::Utf8(text) + "\r\n");
  owner.End();
}

TEST_F(LateClipboardOwner, TheSessionsEndWhileTheCheckTimersRepairWaitsKeepsTheMissedCopy) {
  // A viewer that joined after the program passes nothing on: the program misses the copy, and
  // its check timer finds the text and reads its snapshot, which the owner renders late. Windows
  // ends the session meanwhile: the missed copy goes into the exit record all the same.
  HWND rude = e2e::CreateHiddenWindow(L"QuilloraE2ERudeViewer", DefWindowProcW);
  SetClipboardViewer(rude);
  const std::wstring text = L"检查定时器补上的文本";
  LateOwner owner(text, LateOwner::Stall::RendersLate);
  ASSERT_TRUE(owner.WaitForCopy());
  ASSERT_TRUE(owner.WaitForRenderAsked(12s)) << "the check timer did not read the missed copy's snapshot";
  e2e::WaitUntil([] { return false; }, 500ms);
  ASSERT_TRUE(e2e::EndSessionAsWindowsDoes(main_));
  program_.Kill();  // as the system ends it
  main_ = nullptr;
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"),
            "\xEF\xBB\xBF" + e2e::Utf8(kFirstEntry) + "\r\n" + e2e::Utf8(text) + "\r\n");
  owner.End();
  DestroyWindow(rude);
}

TEST_F(LateClipboardOwner, ACloseWhileTheCaptureWaitsComesWhenItEnds) {
  // Handled in the capture's wait, the close would write the exit record and destroy the
  // window before the entry is stored.
  const std::wstring text = L"关闭前复制的文本";
  LateOwner owner(text, LateOwner::Stall::RendersLate);
  WaitUntilTheCaptureWaits(owner);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(20s));
  owner.End();
  ASSERT_TRUE(program_.Start(folder_));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  list_ = e2e::FindHistoryList(main_);
  const std::vector<std::wstring> exitRecord{kFirstEntry, text};
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == exitRecord; }, 10s))
      << "rows: " << e2e::ListRows(list_).size();
}

}  // namespace
