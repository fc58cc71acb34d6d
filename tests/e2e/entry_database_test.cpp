// The entry database as a user meets it: lists saved as a database and opened again with
// every clipboard format of each entry, the exit database across a restart, and saving over
// a read-only file or one that another program holds open.
#include <gtest/gtest.h>

#include <chrono>

#include "program_fixture.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const wchar_t kPrivateFormat[] = L"Quillora E2E Private";
const wchar_t kSaveAsDatabase[] = L"保存为 数据库 （支持word、htm 带格式文本）";
const wchar_t kOpenDatabase[] = L"打开并导入 数据库 （支持word、htm 带格式文本）";
const wchar_t kExitDatabaseSwitch[] = L"退出记录保存为数据库格式（支持带字体格式文本，速度较慢）";

std::string WideBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

std::string PrivateBytes() {
  std::string bytes;
  for (int i = 0; i < 700; ++i) bytes.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
  return bytes;
}

std::vector<std::string> TemporaryFiles(const fs::path& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".tmp" || entry.path().extension() == ".mdb-journal") {
      found.push_back(entry.path().filename().string());
    }
  }
  return found;
}

class EntryDatabase : public e2e::ProgramTest {
 protected:
  // Copies a text together with a private format, as a word processor would.
  void CopyFormatted(const std::wstring& text) {
    const int rows = static_cast<int>(e2e::ListRows(list_).size());
    ASSERT_TRUE(e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", WideBytes(text)}, {0, kPrivateFormat, PrivateBytes()}}));
    ASSERT_TRUE(e2e::WaitForRowCount(list_, rows + 1));
  }
  // A click on the row puts every format of its entry back on the clipboard.
  void ExpectRowRestoresFormats(int row, const std::wstring& text) {
    e2e::SetClipboardText(L"something else");
    e2e::ClickListRow(list_, row);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == text; }, 10s)) << "row " << row;
    EXPECT_EQ(e2e::ReadClipboardFormat(e2e::RegisteredFormat(kPrivateFormat)), PrivateBytes());
  }
  void ThroughDialog(const std::wstring& row, const fs::path& file) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, row));
    ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), file.wstring()));
  }
};

TEST_F(EntryDatabase, ASavedListOpensAgainWithEveryFormatOfEachEntry) {
  SetMenuSwitch(L"单击条目后出现文本提示框", false);
  Copy(L"한국어 😀 plain");
  CopyFormatted(L"带格式的条目\r\n第二行");
  Copy(L"third");
  const std::vector<std::wstring> rows = e2e::ListRows(list_);
  ASSERT_EQ(rows.size(), 4u);

  const fs::path file = folder_ / L"保存" / L"我的 数据库.mdb";
  ThroughDialog(kSaveAsDatabase, file);
  ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(file); }, 20s));
  EXPECT_EQ(e2e::ReadFile(file).substr(0, 16), std::string("SQLite format 3\0", 16));
  EXPECT_TRUE(TemporaryFiles(folder_ / L"保存").empty());

  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"全部删除（清空列表框）"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 0));
  ThroughDialog(kOpenDatabase, file);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == rows; }, 20s));
  ExpectRowRestoresFormats(2, L"带格式的条目\r\n第二行");
  const std::vector<std::wstring> shown = e2e::ListRows(list_);  // with the text the check copied
  // The file is listed among the recent files.
  const auto menu = e2e::ReadMenuBar(main_);
  EXPECT_NE(e2e::FindMenuRow(menu, L"我的 数据库.mdb"), nullptr);

  // A text file named ".mdb" is refused and the rows stay.
  const fs::path text = folder_ / L"保存" / L"假的.mdb";
  e2e::WriteFile(text, "not a database\r\n");
  ThroughDialog(kOpenDatabase, text);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"这不是可用的数据库，无法打开！", IDOK);
  }, 10s));
  EXPECT_EQ(e2e::ListRows(list_), shown);
  EXPECT_EQ(e2e::ReadFile(text), "not a database\r\n");
}

TEST_F(EntryDatabase, TheExitDatabaseKeepsTheRowsAndTheirSnapshotsAcrossARestart) {
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kExitDatabaseSwitch));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"退出记录将保存为数据库格式", IDOK);
  }, 10s));
  CopyFormatted(L"退出时保存的带格式条目");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(30s));
  main_ = nullptr;
  EXPECT_TRUE(fs::exists(folder_ / L"退出记录数据库.mdb"));
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);  // untouched

  ASSERT_TRUE(program_.Start(folder_));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  list_ = e2e::FindHistoryList(main_);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{kFirstEntry, L"退出时保存的带格式条目"};
  }, 20s));
  SetMenuSwitch(L"单击条目后出现文本提示框", false);
  ExpectRowRestoresFormats(1, L"退出时保存的带格式条目");
}

TEST_F(EntryDatabase, SavingOverAReadOnlyFileWorksAndAHeldFileIsReportedAndKept) {
  Copy(L"第一版");
  const fs::path dir = folder_ / L"保存";
  const fs::path file = dir / L"只读.mdb";
  ThroughDialog(kSaveAsDatabase, file);
  ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(file); }, 20s));
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string first = e2e::ReadFile(file);

  // "保存" writes the attached database again, after asking.
  Copy(L"第二版");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"保存"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"保存到", IDOK); }, 10s));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadFile(file) != first; }, 20s));
  EXPECT_TRUE(TemporaryFiles(dir).empty());

  // Another program holds the file open without sharing: the save says so, the file stays whole.
  const std::string second = e2e::ReadFile(file);
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Copy(L"第三版");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"保存"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"保存到", IDOK); }, 10s));
  const bool reported = e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"无法保存数据库", IDOK);
  }, 20s);
  CloseHandle(held);
  EXPECT_TRUE(reported);
  EXPECT_EQ(e2e::ReadFile(file), second);
  EXPECT_TRUE(TemporaryFiles(dir).empty());
}

}  // namespace
