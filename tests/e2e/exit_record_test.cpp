// The exit record written at close is the history captured since start-up, whatever the list
// shows then (here the fixed entries), as "temp.txt" and as the exit database; the slow
// database save says so in the window's caption.
#include <gtest/gtest.h>

#include "program_fixture.h"
#include "window_parts.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::vector<std::wstring> kFavourites{L"收藏一", L"收藏二"};
constexpr wchar_t kExitDatabaseSwitch[] = L"退出记录保存为数据库格式（支持带字体格式文本，速度较慢）";
constexpr wchar_t kSavingCaption[] = L"正在保存为数据库，可能较慢，请耐心等候。。。";

class ExitRecord : public e2e::ProgramTest {
 protected:
  void PrepareFolder() override {
    e2e::WriteFile(folder_ / L"固定条目" / L"固定条目.txt", "\xEF\xBB\xBF" + e2e::Utf8(L"收藏一\r\n收藏二\r\n"));
  }
  void ShowFixedEntries() {
    HWND button = e2e::ChildWindow(main_, L"", L"固定条目");
    ASSERT_NE(button, nullptr);
    PostMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == kFavourites; }, 10s));
  }
  void ExpectHistoryAfterRestart(const std::vector<std::wstring>& history) {
    Restart();
    if (HasFatalFailure()) return;
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == history; }, 20s))
        << "rows: " << e2e::ListRows(list_).size();
  }
};

TEST_F(ExitRecord, IsTheRunHistoryWhileTheFixedEntriesAreShownAndTheDatabaseSaveSaysSo) {
  std::vector<std::wstring> history{kFirstEntry};
  for (const wchar_t* text : {L"第一次复制", L"第二次复制", L"第三次复制"}) {
    Copy(text);
    history.push_back(text);
  }
  ShowFixedEntries();
  ExpectHistoryAfterRestart(history);
  if (HasFatalFailure()) return;

  // The same with the exit database.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kExitDatabaseSwitch));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"退出记录将保存为数据库格式", IDOK);
  }, 10s));
  Copy(L"存入数据库的复制");
  history.push_back(L"存入数据库的复制");
  ShowFixedEntries();
  ExpectHistoryAfterRestart(history);
  if (HasFatalFailure()) return;
  EXPECT_EQ(e2e::ReadFile(folder_ / L"固定条目" / L"固定条目.txt"), "\xEF\xBB\xBF" + e2e::Utf8(L"收藏一\r\n收藏二\r\n"));

  // While the database is written the caption says so; a database that another program
  // holds open cannot be replaced, and the failure's message shows while the caption stands.
  const fs::path database = folder_ / L"退出记录数据库.mdb";
  HANDLE held = CreateFileW(database.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  const bool reported = e2e::WaitUntil([&] { return !e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 30s);
  const std::wstring caption = e2e::WindowText(main_);
  const std::vector<std::wstring> boxes = e2e::MessageBoxTexts(program_.ProcessId());
  e2e::AnswerMessageBox(program_.ProcessId(), L"退出记录数据库没有保存", IDOK);
  CloseHandle(held);
  EXPECT_TRUE(reported);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind(L"退出记录数据库没有保存：" + database.wstring() + L"\r\n", 0), 0u) << e2e::Utf8(boxes[0]);
  EXPECT_TRUE(boxes[0].ends_with(L"\r\n上次的退出记录数据库保留未动。")) << e2e::Utf8(boxes[0]);
  EXPECT_EQ(caption, kSavingCaption);
  EXPECT_TRUE(program_.WaitForExit(20s));
  main_ = nullptr;
}

}  // namespace
