// The skins menu "皮肤" the user's way: the program starts with the shipped skin 2, the bar
// (drawn by the skin) is opened by Alt and the arrow keys, and the classic look and all
// thirteen skins are chosen in turn.
#include <gtest/gtest.h>

#include "clipboard_driver.h"
#include "program_driver.h"

using namespace std::chrono_literals;

namespace {

constexpr UINT kIsSkinned = 0x3523;

LRESULT Ask(HWND hwnd, UINT msg) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(hwnd, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

TEST(Skins, TheSkinnedBarIsReadAndChosenFromByAltAndTheArrows) {
  const auto folder = e2e::PrepareRuntimeFolder("skins-bar");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  HWND main = program.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(e2e::WaitUntil([&] { return Ask(main, kIsSkinned) == 1; }, 10s)) << "skin 2 is applied at start";

  const auto rows = e2e::ReadMenuBar(main);
  int barItems = 0;
  for (const auto& row : rows) barItems += row.level == 0;
  EXPECT_EQ(barItems, 9);
  const e2e::MenuRowInfo* skinRow = e2e::FindMenuRow(rows, L"新式绿皮");
  ASSERT_NE(skinRow, nullptr);
  EXPECT_TRUE(skinRow->checked);
  ASSERT_NE(e2e::FindMenuRow(rows, L"重启动本程序"), nullptr);

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s));
}

}  // namespace
