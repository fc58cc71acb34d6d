// Windows ending the session (log-off, shut-down) asks the program whether it may end, tells it
// that it ends, and then ends the process without a close: what the close would save is saved
// while the program is told, and not a second time when a close follows after all.
#include <gtest/gtest.h>

#include <future>

#include "input_dialog_driver.h"
#include "program_fixture.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr int kRepeatSwitchLine = 7;  // "不记录最后一条重复的数据" in "set"
constexpr int kExitDatabaseLine = 30;  // "退出记录保存为数据库格式" in "set"

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
  // Encrypts the list and decrypts it again: the close then asks whether to save.
  // Windows' question, asked from another thread: it waits for the answer while the program
  // asks its own. 99 when no answer came.
  std::future<DWORD_PTR> AskWhetherTheSessionMayEnd() {
    return std::async(std::launch::async, [window = main_] {
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer)
                 ? answer
                 : DWORD_PTR{99};
    });
  }
  void UseTheDecryption() {
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
  }
  static constexpr const wchar_t* kCloseQuestion = L"你已经使用过解密功能，为了你的数据安全，防止泄密";
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
  UseTheDecryption();
  if (HasFatalFailure()) return;
  const DWORD pid = program_.ProcessId();
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");

  // Windows waits for the answer to its question while the program asks its own.
  auto query = AskWhetherTheSessionMayEnd();
  HWND question = e2e::WaitForMessageBox(pid, kCloseQuestion);
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

TEST_F(SessionEnd, AQuestionOpenAtTheCloseIsAskedOnceAndTheEndTakesItsRecommendedAnswer) {
  UseTheDecryption();
  SetMenuSwitch(L"不记录最后一条重复的数据", false);
  if (HasFatalFailure()) return;
  const DWORD pid = program_.ProcessId();
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_NE(e2e::WaitForMessageBox(pid, kCloseQuestion), nullptr);

  // A second close while the question is open (the tray's 退出 sends one) asks nothing more.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(main_, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer)) << "a second close asked again";
  EXPECT_EQ(e2e::MessageBoxTexts(pid).size(), 1u) << "the question came a second time";

  // Windows asks while the close's question is open: the answer comes at once, with no second box.
  const bool answered = SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer);
  EXPECT_TRUE(answered) << "the end of the session waited for the question";
  EXPECT_EQ(answer, 1u);
  EXPECT_EQ(e2e::MessageBoxTexts(pid).size(), 1u) << "the question came a second time";
  if (!answered) {
    while (e2e::AnswerMessageBox(pid, kCloseQuestion, IDCANCEL)) e2e::WaitUntil([] { return false; }, 200ms);
    return;
  }

  // The session ends with the question unanswered: its recommended answer (Cancel) is taken,
  // the other steps run, and the box goes.
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
  EXPECT_EQ(e2e::SettingsLine(folder_, kRepeatSwitchLine), "0");
  EXPECT_TRUE(program_.WaitForExit(20s)) << "the question stayed open";
  main_ = nullptr;
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
}

TEST_F(SessionEnd, AUserCloseWhileWindowsAsksIsCarriedOutWhenTheEndIsCalledOff) {
  UseTheDecryption();
  SetMenuSwitch(L"不记录最后一条重复的数据", false);
  if (HasFatalFailure()) return;
  const DWORD pid = program_.ProcessId();
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  auto query = AskWhetherTheSessionMayEnd();
  ASSERT_NE(e2e::WaitForMessageBox(pid, kCloseQuestion), nullptr);
  // The user closes while the question shows (the tray's 退出 sends the same), then answers it.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(main_, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer));
  ASSERT_TRUE(e2e::AnswerMessageBox(pid, kCloseQuestion, IDCANCEL));
  EXPECT_EQ(query.get(), 1u);
  // Another program refused: the session goes on, and the user's close is carried out with that answer.
  SendMessageTimeoutW(main_, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer);
  const bool ended = program_.WaitForExit(20s);
  EXPECT_TRUE(ended) << "the close was lost" << (e2e::AnyDialogShows(pid) ? " (a box shows)" : "");
  while (!ended && e2e::AnswerMessageBox(pid, kCloseQuestion, IDCANCEL)) e2e::WaitUntil([] { return false; }, 200ms);
  if (!ended) return;
  main_ = nullptr;
  EXPECT_EQ(e2e::SettingsLine(folder_, kRepeatSwitchLine), "0");
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
}

// Several instances may run in one folder; Windows ends them at the same moment.
class TwoInstancesInOneFolder : public SessionEnd {
 protected:
  static constexpr int kAltCLine = 16;  // "调用快速窗口": one instance only gets the hot key
  void PrepareFolder() override { e2e::SetSettingsLine(folder_, kAltCLine, "0"); }
  void TearDown() override {
    other_.Kill();
    SessionEnd::TearDown();
  }
  void TurnOnTheExitDatabase(HWND window, DWORD pid) {
    ASSERT_TRUE(e2e::ChooseMenuRow(window, L"退出记录保存为数据库格式（支持带字体格式文本，速度较慢）"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(pid, L"退出记录将保存为数据库格式", IDOK); }, 10s));
  }
  // Both questions and both ends sent from a thread of their own; true when both were answered.
  static std::future<bool> EndSessionOf(HWND window) {
    return std::async(std::launch::async, [window] {
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer) &&
             answer == 1 && SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer);
    });
  }
  int SettingsTemporaryFiles() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::wstring name = entry.path().filename().wstring();
      count += name.starts_with(L"set.") && name.ends_with(L".tmp");
    }
    return count;
  }
  e2e::RunningProgram other_;
};

TEST_F(TwoInstancesInOneFolder, EndedTogetherBothAnswerWithNoBoxAndTheFilesAreWhole) {
  ASSERT_TRUE(other_.Start(folder_));
  const HWND otherMain = other_.WaitForMainWindow();
  ASSERT_NE(otherMain, nullptr);
  TurnOnTheExitDatabase(main_, program_.ProcessId());
  TurnOnTheExitDatabase(otherMain, other_.ProcessId());
  if (HasFatalFailure()) return;
  const HWND otherList = e2e::FindHistoryList(otherMain);
  const int otherRows = static_cast<int>(e2e::ListRows(otherList).size());
  Copy(L"两个实例都捕获的复制");
  ASSERT_TRUE(e2e::WaitForRowCount(otherList, otherRows + 1));
  ASSERT_EQ(e2e::SettingsLine(folder_, kExitDatabaseLine), "0");

  // Another writer holds "set" when the instances come to replace it, and lets go a moment later.
  const fs::path settings = folder_ / "set";
  HANDLE held = CreateFileW(settings.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::future<bool> first = EndSessionOf(main_), second = EndSessionOf(otherMain);
  std::vector<std::wstring> boxes;
  const auto collectBoxes = [&] {
    for (const DWORD pid : {program_.ProcessId(), other_.ProcessId()}) {
      for (std::wstring& text : e2e::MessageBoxTexts(pid)) boxes.push_back(std::move(text));
    }
    return !boxes.empty();
  };
  // Its new "set" written beside, the first instance to get there is refused at once.
  e2e::WaitUntil([&] { return SettingsTemporaryFiles() > 0 || collectBoxes(); }, 20s);
  e2e::WaitUntil(collectBoxes, 500ms);
  CloseHandle(held);
  for (const DWORD pid : {program_.ProcessId(), other_.ProcessId()}) {
    while (e2e::AnswerMessageBox(pid, L"", IDOK)) e2e::WaitUntil([] { return false; }, 200ms);
  }
  EXPECT_TRUE(first.get()) << "the first instance did not answer the end of the session";
  EXPECT_TRUE(second.get()) << "the second instance did not answer the end of the session";
  EXPECT_TRUE(boxes.empty()) << e2e::Utf8(boxes.front());
  program_.Kill();
  other_.Kill();
  EXPECT_EQ(e2e::SettingsLine(folder_, kExitDatabaseLine), "1");

  // The next start reads the exit database the two wrote.
  ASSERT_TRUE(program_.Start(folder_));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  list_ = e2e::FindHistoryList(main_);
  const std::vector<std::wstring> rows{kFirstEntry, L"两个实例都捕获的复制"};
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == rows; }, 20s));
}

}  // namespace
