// Keys pressed in an open menu, message box or dialog go to it while the program reads the
// clipboard meanwhile: the check timer's look (every 5 s, here with the program owning the
// clipboard after a row click) and the capture of a copy whose owner renders late. Taken by the
// reads' wait, they would move the list's selection and put each row passed on the clipboard,
// or be lost to the box (Enter, Esc and Tab dispatched to a button or an edit field do nothing).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "input_dialog_driver.h"
#include "late_owner.h"
#include "program_fixture.h"
#include "tray_driver.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

constexpr int kMenuRow = 3;
constexpr wchar_t kRowMenuCaption[] = L"查看/修改（单条记录，无格式）";

class KeysDuringReadsFixture : public e2e::ProgramTest {
 protected:
  std::vector<std::wstring> StartEntries() const override {
    std::vector<std::wstring> entries;
    for (int i = 0; i < 20; ++i) entries.push_back(L"菜单按键条目 " + std::to_wstring(i));
    return entries;
  }

  // A click on the row (the program now owns the clipboard) and its context menu, open.
  void OpenRowMenu() {
    e2e::OpenListRowMenu(list_, kMenuRow);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::OpenContextMenuRowRect(main_, kRowMenuCaption).has_value(); }, 10s))
        << "the row's menu did not open";
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == StartEntries()[kMenuRow]; }, 10s));
  }

  // A copy by an owner that renders late, captured as the `rows`-th row while `press` runs
  // inside the capture's wait (its budget is 2 s).
  void CaptureALateCopyPressing(const std::wstring& text, int rows, const std::function<void()>& press) {
    e2e::LateOwner owner(text, e2e::LateOwner::Stall::RendersLate);
    ASSERT_TRUE(owner.WaitForCopy());
    press();
    ASSERT_TRUE(e2e::WaitForRowCount(list_, rows)) << "no row for the copy";
  }

  bool InMenuMode() const { return (e2e::GuiThreadInfoOf(main_).flags & GUI_INMENUMODE) != 0; }

  // Down, pressed as a held key repeats it, for `span`.
  static void HoldDown(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
      e2e::PressKey(VK_DOWN);
      e2e::WaitUntil([] { return false; }, 40ms);
    }
  }

  // The keys went to the menu: it is still open, the list's selection is where the click (or a
  // capture) put it and no row was put on the clipboard; Esc closes the menu and nothing else.
  void ExpectTheMenuHadTheKeys(const std::wstring& clipboardText, int selectedRow) {
    EXPECT_EQ(e2e::SelectedListRow(list_), selectedRow) << "the list's selection moved under the menu";
    EXPECT_EQ(e2e::ReadClipboardText(), clipboardText) << "a row was put on the clipboard";
    EXPECT_TRUE(e2e::OpenContextMenuRowRect(main_, kRowMenuCaption).has_value()) << "the menu closed";
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::OpenContextMenuRowRect(main_, kRowMenuCaption); }, 10s));
    e2e::WaitForIdle(main_, 10s);
    EXPECT_FALSE(IsIconic(main_)) << "an Esc went to the list and minimised the window";
  }
};

class KeysDuringReads : public e2e::InEachLook<KeysDuringReadsFixture> {};

TEST_P(KeysDuringReads, TheCheckTimersLookLeavesTheMenuItsKeys) {
  OpenRowMenu();
  HoldDown(6500ms);  // at least one tick of the check timer (5 s)
  ExpectTheMenuHadTheKeys(StartEntries()[kMenuRow], kMenuRow);
}

TEST_P(KeysDuringReads, ACaptureWaitingForALateOwnerLeavesTheMenuItsKeys) {
  OpenRowMenu();
  const std::wstring text = L"菜单打开时复制的文本";
  e2e::LateOwner owner(text, e2e::LateOwner::Stall::RendersLate);
  ASSERT_TRUE(owner.WaitForCopy());
  HoldDown(2500ms);  // the capture waits up to its budget (2 s) for the late format
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 21)) << "no row for the copy made while the menu was open";
  ExpectTheMenuHadTheKeys(text, 20);  // the capture selects its new row
}

TEST_P(KeysDuringReads, ACaptureWaitingForALateOwnerLeavesTheMenuBarItsKeys) {
  e2e::ClickListRow(list_, kMenuRow);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == kMenuRow; }, 10s));
  SetForegroundWindow(main_);
  ASSERT_TRUE(e2e::WaitUntilSettledInFront(main_, 10s));
  // Alt opens the skinned bar's first item; the classic bar is only highlighted until Down.
  e2e::PressKey(VK_MENU);
  if (!e2e::WaitUntil([&] { return e2e::PopupMenuOpen(program_.ProcessId()); }, 1500ms)) e2e::PressKey(VK_DOWN);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::PopupMenuOpen(program_.ProcessId()); }, 10s)) << "no drop-down";

  const std::wstring text = L"菜单栏打开时复制的文本";
  CaptureALateCopyPressing(text, 21, [] { HoldDown(2500ms); });
  EXPECT_EQ(e2e::SelectedListRow(list_), 20) << "the list's selection moved under the menu";
  EXPECT_EQ(e2e::ReadClipboardText(), text) << "a row was put on the clipboard";
  EXPECT_TRUE(e2e::PopupMenuOpen(program_.ProcessId())) << "the drop-down closed";
  for (int i = 0; i < 3 && InMenuMode(); ++i) {
    const bool dropDown = e2e::PopupMenuOpen(program_.ProcessId());
    e2e::PressKey(VK_ESCAPE);
    e2e::WaitUntil([&] { return !InMenuMode() || e2e::PopupMenuOpen(program_.ProcessId()) != dropDown; }, 5s);
  }
  EXPECT_FALSE(InMenuMode()) << "Esc did not leave the menu bar";
  e2e::WaitForIdle(main_, 10s);
  EXPECT_FALSE(IsIconic(main_)) << "an Esc went to the list and minimised the window";
}

// Boxes are the system's own in every look: the shipped one is enough.
class KeysInBoxesDuringReads : public KeysDuringReadsFixture {
 protected:
  int SkinNumber() const override { return e2e::kShippedSkin; }
};

TEST_F(KeysInBoxesDuringReads, ACaptureWaitingForALateOwnerLeavesABoxAndADialogTheirKeys) {
  const DWORD pid = program_.ProcessId();
  // Esc in the question of the batch opening answers Cancel: nothing is opened.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"批量打开文件夹"));
  HWND box = e2e::WaitForMessageBox(pid, L"你确信开始打开吗", 10s);
  ASSERT_NE(box, nullptr);
  CaptureALateCopyPressing(L"问题框打开时复制的文本", 21, [] {
    e2e::WaitUntil([] { return false; }, 500ms);
    e2e::PressKey(VK_ESCAPE);
  });
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }, 5s)) << "the Esc did not reach the box";

  // In the password dialog, Tab, Tab and Enter press Cancel (with the Tabs lost, Enter would
  // press OK, and the repeat question would follow).
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"加密当前文件"));
  HWND dialog = e2e::WaitForInputDialog(pid, L"设置文件加密的密码");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(e2e::TypeIntoInputDialog(dialog, L"abc"));
  CaptureALateCopyPressing(L"对话框打开时复制的文本", 22, [] {
    e2e::WaitUntil([] { return false; }, 500ms);
    for (WORD key : {VK_TAB, VK_TAB, VK_RETURN}) e2e::PressKey(key);
  });
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); }, 5s)) << "the keys did not reach the dialog";
  EXPECT_EQ(e2e::WaitForInputDialog(pid, L"重复输入刚才的密码", 1500ms), nullptr) << "Enter pressed OK";
  EXPECT_TRUE(e2e::VisibleDialogs(pid).empty());
}

INSTANTIATE_TEST_SUITE_P(Looks, KeysDuringReads, e2e::EachLook(), e2e::LookName);

}  // namespace
