// Windows ending the session (log-off, shut-down) asks the program whether it may end, tells it
// that it ends, and then ends the process without a close: what the close would save is saved
// while the program is told, and not a second time when a close follows after all.
#include <gtest/gtest.h>

#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

constexpr int kRepeatSwitchLine = 7;  // "不记录最后一条重复的数据" in "set"

class SessionEnd : public e2e::ProgramTest {
 protected:
  // What Windows sends before it ends the process; the answers it gets.
  void EndSession() {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
    EXPECT_EQ(answer, 1u) << "the program refused to let the session end";
    ASSERT_TRUE(SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 60000, &answer));
    EXPECT_EQ(answer, 0u);
  }
};

TEST_F(SessionEnd, SavesTheExitRecordAndTheSettingsOnceBeforeTheProcessIsEnded) {
  const std::vector<std::wstring> copies{L"关机前复制一", L"关机前复制二", L"关机前复制三"};
  for (const std::wstring& text : copies) Copy(text);
  ASSERT_EQ(e2e::SettingsLine(folder_, kRepeatSwitchLine), "1");
  SetMenuSwitch(L"不记录最后一条重复的数据", false);
  if (HasFatalFailure()) return;

  EndSession();
  program_.Kill();  // as the system ends it
  std::string expected = "\xEF\xBB\xBF" + e2e::Utf8(kFirstEntry) + "\r\n";
  for (const std::wstring& text : copies) expected += e2e::Utf8(text) + "\r\n";
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), expected);
  EXPECT_EQ(e2e::SettingsLine(folder_, kRepeatSwitchLine), "0");

  // The next start shows the session's captures.
  ASSERT_TRUE(program_.Start(folder_));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  list_ = e2e::FindHistoryList(main_);
  std::vector<std::wstring> rows{kFirstEntry};
  rows.insert(rows.end(), copies.begin(), copies.end());
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == rows; }, 10s));

  // A close that comes after the session's end saves nothing a second time.
  EndSession();
  std::filesystem::remove(folder_ / "temp.txt");
  std::filesystem::remove(folder_ / "set");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program_.WaitForExit(20s));
  main_ = nullptr;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "temp.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "set"));
}

}  // namespace
