// Windows ending the session (log-off, shut-down) asks the program whether it may end, tells it
// that it ends, and then ends the process without a close: what the close would save is saved
// while the program is told, and not a second time when a close follows after all.
#include <gtest/gtest.h>

#include <future>

#include "input_dialog_driver.h"
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

TEST_F(SessionEnd, AfterADecryptionTheCloseQuestionIsAskedWhileWindowsAsksAndItsAnswerKept) {
  Copy(L"要加密的条目");
  const DWORD pid = program_.ProcessId();
  const auto answerDialog = [&](const wchar_t* row, const wchar_t* caption) {
    if (row) ASSERT_TRUE(e2e::ChooseMenuRow(main_, row));
    HWND dialog = e2e::WaitForInputDialog(pid, caption);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(e2e::AnswerInputDialog(dialog, L"密码"));
  };
  answerDialog(L"加密当前文件", L"设置文件加密的密码");
  answerDialog(nullptr, L"重复输入刚才的密码");
  answerDialog(L"解密当前文件", L"文件解密的密码");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == L"要加密的条目"; }, 10s));
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");

  // Windows waits for the answer to its question while the program asks its own.
  auto query = std::async(std::launch::async, [window = main_] {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer) ? answer
                                                                                                               : 99;
  });
  HWND question = e2e::WaitForMessageBox(pid, L"你已经使用过解密功能，为了你的数据安全，防止泄密");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(e2e::WindowText(question), L"退出记录保存选择");
  PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(query.get(), 1u);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer));
  EXPECT_FALSE(e2e::AnyDialogShows(pid)) << "the question came a second time";
  program_.Kill();
  main_ = nullptr;
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
}

}  // namespace
