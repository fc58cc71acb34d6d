// Entry lists and settings on disk: the exit record and "set" written at close and read at the
// next start; lists opened through the file dialog in every encoding and saved back; broken
// settings and list files load what they can with the program's messages.
#include <gtest/gtest.h>

#include <chrono>

#include "clipboard_driver.h"
#include "program_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string Gbk(const std::wstring& text) {
  const int need = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(need), '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), out.data(), need, nullptr, nullptr);
  return out;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class ListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { Close(); }
  // Starts the program; answers the message boxes whose texts are given, in order.
  void Start(const std::vector<std::wstring>& expectedBoxes = {}) {
    program_ = std::make_unique<e2e::RunningProgram>();
    ASSERT_TRUE(program_->Start(folder_));
    for (const std::wstring& box : expectedBoxes) {
      ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_->ProcessId(), box, IDOK); }, 30s))
          << "no message box with the expected text";
    }
    main_ = program_->WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = e2e::FindHistoryList(main_);
  }
  void Close() {
    if (!program_) return;
    if (main_ && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_->WaitForExit(30s);
    program_.reset();
    main_ = list_ = nullptr;
  }
  void Copy(const std::wstring& text) {
    const size_t before = e2e::ListRows(list_).size();
    ASSERT_TRUE(e2e::SetClipboardText(text));
    ASSERT_TRUE(e2e::WaitForRowCount(list_, static_cast<int>(before) + 1));
  }
  bool RowChecked(const std::wstring& caption) {
    const auto rows = e2e::ReadMenuBar(main_);
    const e2e::MenuRowInfo* row = e2e::FindMenuRow(rows, caption);
    return row && row->checked;
  }
  // Chooses a menu row that opens a file dialog and fills the dialog.
  void ThroughDialog(const std::wstring& row, const fs::path& file, int filterIndex = 0) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, row));
    ASSERT_TRUE(e2e::FillFileDialog(program_->ProcessId(), file.wstring(), filterIndex));
  }
  fs::path folder_;
  std::unique_ptr<e2e::RunningProgram> program_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ListFiles, ExitRecordAndSettingsSurviveARestart) {
  e2e::WriteFile(folder_ / "temp.txt", "");  // an empty exit record: the list starts empty
  const std::string setAtStart = e2e::ReadFile(folder_ / "set");
  Start();
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).empty(); }, 10s));
  Copy(L"第一条");
  Copy(L"second\r\nline");
  Copy(L"  leading blanks");
  ASSERT_TRUE(RowChecked(L"不记录最后一条重复的数据"));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"不记录最后一条重复的数据"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return !RowChecked(L"不记录最后一条重复的数据"); }, 10s));
  RECT window{};
  GetWindowRect(main_, &window);
  Close();

  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"),
            "\xEF\xBB\xBF" + e2e::Utf8(L"第一条") + "\r\n[[begin]]\r\nsecond\r\nline\r\n[[end]]\r\n  leading blanks\r\n");
  std::vector<std::string> expected = Lines(setAtStart);
  ASSERT_EQ(expected.size(), 30u);
  expected[6] = "0";  // line 7: bujilucongfu
  expected[26] = std::to_string(window.right - window.left);
  expected[27] = std::to_string(window.bottom - window.top);
  std::string expectedBytes;
  for (const std::string& line : expected) expectedBytes += line + "\r\n";
  EXPECT_EQ(e2e::ReadFile(folder_ / "set"), expectedBytes);

  Start();
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"第一条", L"second\r\nline", L"  leading blanks"};
  }, 10s));
  EXPECT_FALSE(RowChecked(L"不记录最后一条重复的数据"));
}

TEST_F(ListFiles, AutosaveRecordsEveryCaptureAndReadsBack) {
  Start();
  ASSERT_FALSE(RowChecked(L"实时自动保存到 [自动保存文件]"));  // off at every start
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"实时自动保存到 [自动保存文件]"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return RowChecked(L"实时自动保存到 [自动保存文件]"); }, 10s));
  // Records are UTF-8 without a mark, appended to a file written earlier as they are.
  const std::string rule = "=============\r\n";
  e2e::WriteFile(folder_ / L"自动保存.txt", e2e::Utf8(L"早先的") + "\r\n" + rule);
  Copy(L"a\r\nb");
  Copy(L"单行");
  EXPECT_EQ(e2e::ReadFile(folder_ / L"自动保存.txt"), e2e::Utf8(L"早先的") + "\r\n" + rule +
                                                          "[[begin]]\r\na\r\nb\r\n[[end]]\r\n" + rule +
                                                          e2e::Utf8(L"单行") + "\r\n" + rule);
  // Reading it back gives the entries and the separator lines as entries of their own.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"导入  [自动保存文件]"));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) ==
           std::vector<std::wstring>{L"早先的", L"=============", L"a\r\nb", L"=============", L"单行", L"============="};
  }, 10s));

  // A file of an older version is UTF-8 without a mark: imported, reloaded and opened as a
  // recent file, its Chinese is read as UTF-8.
  const auto readsBack = [&](const std::wstring& row, const std::wstring& entry) {
    e2e::WriteFile(folder_ / L"自动保存.txt", e2e::Utf8(entry) + "\r\n" + rule);
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, row));
    EXPECT_TRUE(e2e::WaitUntil([&] {
      return e2e::ListRows(list_) == std::vector<std::wstring>{entry, L"============="};
    }, 10s)) << e2e::Utf8(row) << ": " << e2e::Utf8(e2e::ListRows(list_).at(0));
  };
  readsBack(L"导入  [自动保存文件]", L"中文");
  readsBack(L"更新(重载) 列表框中文件", L"重载的中文");
  readsBack(L"自动保存.txt", L"最近文件里的中文");
}

TEST_F(ListFiles, ListsOfEveryEncodingOpenThroughTheDialogAndSaveBack) {
  const fs::path saved = folder_ / L"保存";
  const std::wstring chinese = L"中文条目";
  e2e::WriteFile(saved / L"ansi.txt", Gbk(chinese) + "\r\n[[begin]]\r\na\r\nb\r\n[[end]]\r\nlast\r\n");
  e2e::WriteFile(saved / L"utf8.txt", "\xEF\xBB\xBF" + e2e::Utf8(L"ẞ 😀 ŉ") + "\r\n" + e2e::Utf8(chinese) + "\r\n");
  const std::wstring utf16 = L"\xFEFF" L"第一\r\n[[begin]]\r\n\r\n空行在前\r\n[[end]]\r\n";
  e2e::WriteFile(saved / L"utf16.txt", std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2));
  Start();

  ThroughDialog(L"打开并导入", saved / L"ansi.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{chinese, L"a\r\nb", L"last"};
  }, 10s));
  ThroughDialog(L"打开并导入", saved / L"utf8.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"ẞ 😀 ŉ", chinese};
  }, 10s));
  ThroughDialog(L"打开并导入", saved / L"utf16.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"第一", L"\r\n空行在前"};
  }, 10s));

  // Each file read became a row of the recent files; reopening one adds no second row.
  ThroughDialog(L"打开并导入", saved / L"ansi.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).size() == 3; }, 10s));
  const auto menu = e2e::ReadMenuBar(main_);
  EXPECT_EQ(std::count_if(menu.begin(), menu.end(), [](const auto& r) { return r.caption == L"ansi.txt"; }), 1);
  EXPECT_NE(e2e::FindMenuRow(menu, L"utf16.txt"), nullptr);

  // Save as UTF-8 to a new file, and as ANSI to another.
  ThroughDialog(L"保存为 多语言utf-8格式文本", saved / L"out-utf8.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(saved / L"out-utf8.txt"); }, 10s));
  EXPECT_EQ(e2e::ReadFile(saved / L"out-utf8.txt"),
            "\xEF\xBB\xBF" + e2e::Utf8(chinese) + "\r\n[[begin]]\r\na\r\nb\r\n[[end]]\r\nlast\r\n");
  ThroughDialog(L"另存为...", saved / L"out-ansi.txt", 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(saved / L"out-ansi.txt"); }, 10s));
  EXPECT_EQ(e2e::ReadFile(saved / L"out-ansi.txt"), e2e::ReadFile(saved / L"ansi.txt"));
}

TEST_F(ListFiles, TheSoundChoiceOfTheSettingsFileIsKept) {
  std::vector<std::string> lines = Lines(e2e::ReadFile(fs::path(QUILL_DATA_DIR) / "set"));
  lines[20] = "1";  // line 21: no sound
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  e2e::WriteFile(folder_ / "set", bytes);
  Start();
  EXPECT_TRUE(RowChecked(L"无声"));
  EXPECT_FALSE(RowChecked(L"Windows 鸣钟"));  // one of the three, not two
  Close();
  EXPECT_EQ(Lines(e2e::ReadFile(folder_ / "set"))[20], "1");
}

TEST_F(ListFiles, AnExitRecordThatCannotBeReadIsKeptAside) {
  // Big-endian UTF-16: a kind the list readers do not take.
  const std::string unreadable("\xFE\xFF\x4E\x2D\x00\x0D\x00\x0A", 8);
  e2e::WriteFile(folder_ / "temp.txt", unreadable);
  Start({L"出错！文件为未知格式"});
  Copy(L"new entry");
  Close();
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt.bak"), unreadable);
  EXPECT_NE(e2e::ReadFile(folder_ / "temp.txt").find("new entry"), std::string::npos);
}

TEST_F(ListFiles, ACorruptSettingsFileStartsWithTheDefaultsAndSaysSo) {
  e2e::WriteFile(folder_ / "set", std::string("\x01\x02junk\x00\xFF", 8) + "\r\nmore junk\r\n");
  Start({L"set设置文件数据出错，无法读取，你可以删除它，软件会自动重建的"});
  EXPECT_TRUE(RowChecked(L"不记录最后一条重复的数据"));   // defaults
  EXPECT_FALSE(RowChecked(L"双击条目后自动粘贴"));
  Close();
  // The file written at exit is whole again.
  EXPECT_EQ(Lines(e2e::ReadFile(folder_ / "set")).size(), 30u);

  fs::remove(folder_ / "set");
  Start({L"出错！set设置文件不存在"});
}

TEST_F(ListFiles, BrokenListFilesLoadWhatTheyCan) {
  const fs::path saved = folder_ / L"保存";
  e2e::WriteFile(saved / L"noend.txt", "one\r\n[[begin]]\r\ntwo\r\nthree\r\n");
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  e2e::WriteFile(saved / L"junk.txt", junk);
  Start();

  ThroughDialog(L"打开并导入", saved / L"noend.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_->ProcessId(), L"[[end]] 没找到", IDOK);
  }, 10s));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"one", L"two\r\nthree"};
  }, 10s));

  ThroughDialog(L"打开并导入", saved / L"junk.txt");
  // Whatever the junk decodes to, the program keeps running and shows rows for it.
  ASSERT_TRUE(e2e::WaitUntil([&] {
    for (const auto& text : e2e::MessageBoxTexts(program_->ProcessId())) {
      (void)text;
      e2e::AnswerMessageBox(program_->ProcessId(), L"", IDOK);
    }
    return !e2e::ListRows(list_).empty() && e2e::ListRows(list_).front() != L"one";
  }, 20s));
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
}

TEST_F(ListFiles, AListOfTwoHundredThousandEntriesStopsAtTheStoreAndSaysSo) {
  const fs::path saved = folder_ / L"保存";
  std::string big = "\xEF\xBB\xBF";
  for (int i = 0; i < 200000; ++i) big += e2e::Utf8(L"条目 ") + std::to_string(i) + "\r\n";
  e2e::WriteFile(saved / L"big.txt", big);
  Start();
  const auto started = std::chrono::steady_clock::now();
  ThroughDialog(L"打开并导入", saved / L"big.txt");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_->ProcessId(), L"文本太多>100000，装不下", IDOK);
  }, 120s));
  const auto elapsed = std::chrono::steady_clock::now() - started;
  std::printf("opening 200000 entries: %lld ms until the message\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list_, LB_GETCOUNT, 0, 0) == 100001; }, 60s));
  wchar_t text[64] = {};
  SendMessageW(list_, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"条目 0");
  SendMessageW(list_, LB_GETTEXT, 100000, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"条目 100000");
}

}  // namespace
