// Keys pressed in an open menu go to the menu while the program reads the clipboard meanwhile:
// the check timer's look (every 5 s, here with the program owning the clipboard after a row
// click) and the capture of a copy whose owner renders late. Taken by the reads' wait, they
// would move the list's selection and put each row passed on the clipboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "late_owner.h"
#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

constexpr int kMenuRow = 3;
constexpr wchar_t kRowMenuCaption[] = L"查看/修改（单条记录，无格式）";

class KeysDuringReads : public e2e::InEachLook<e2e::ProgramTest> {
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

INSTANTIATE_TEST_SUITE_P(Looks, KeysDuringReads, e2e::EachLook(), e2e::LookName);

}  // namespace
