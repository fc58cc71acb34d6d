// The program's files when writing them fails or was cut short: a full disk, a read-only
// folder, temporary files left by a write that was interrupted.
//
// The full disk and the read-only folder are made by scripts/test when it may mount (as root):
// a small tmpfs (QUILL_SMALL_DISK), and a read-only view (QUILL_READONLY_DISK) of a folder the
// test fills first (QUILL_READONLY_SOURCE). Without them those cases are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "program_fixture.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::optional<fs::path> FolderFromEnvironment(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  if (length == 0 || length >= 1024 || buffer[0] != L'/') return std::nullopt;
  std::wstring path(buffer, length);
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return fs::path(L"Z:" + path);
}

std::wstring SystemText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && text.back() <= L' ') text.pop_back();
  return text;
}

// Writes a file until the disk takes no more.
void FillDisk(const fs::path& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  for (const DWORD size : {DWORD(1) << 16, DWORD(512), DWORD(1)}) {
    std::vector<char> block(size, 'f');
    DWORD written = 0;
    while (WriteFile(handle, block.data(), size, &written, nullptr) && written == size) {
    }
  }
  CloseHandle(handle);
}

class FailedWrites : public e2e::ProgramTest {
 protected:
  // The close, with the boxes it shows answered: their texts in the order shown. A box still
  // open a while after its answer is answered again (and counted once).
  std::vector<std::wstring> CloseAndCollectBoxes() {
    std::vector<std::wstring> texts;
    std::vector<HWND> seen;
    PostMessageW(main_, WM_CLOSE, 0, 0);
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (!program_.WaitForExit(200ms)) {
      if (std::chrono::steady_clock::now() > end || texts.size() > 10) {
        ADD_FAILURE() << "the program did not end after its close; boxes open: "
                      << e2e::MessageBoxTexts(program_.ProcessId()).size();
        break;
      }
      for (HWND box : e2e::VisibleDialogs(program_.ProcessId())) {
        if (std::find(seen.begin(), seen.end(), box) == seen.end()) {
          seen.push_back(box);
          texts.push_back(e2e::MessageBoxText(box));
        }
        e2e::PressDialogButton(box, IDOK);
      }
    }
    main_ = nullptr;
    return texts;
  }
  std::wstring FailureBox(const std::wstring& what, const fs::path& file, DWORD code, const std::wstring& kept) {
    return what + L"没有保存：" + file.wstring() + L"\r\n" + SystemText(code) + L"\r\n" + kept;
  }
};

class StaleTemporaryFiles : public FailedWrites {
 protected:
  void PrepareFolder() override {
    const auto writeHourOld = [&](const wchar_t* name, const char* text) {
      e2e::WriteFile(folder_ / name, text);
      fs::last_write_time(folder_ / name, fs::file_time_type::clock::now() - 1h);
    };
    for (const wchar_t* name : kStale) writeHourOld(name, "cut short");
    for (const wchar_t* name : kKept) writeHourOld(name, "not ours");
    e2e::WriteFile(folder_ / kOtherInstancesWrite, "another instance's write on its way");
  }
  static constexpr const wchar_t* kStale[] = {L"temp.txt.123456.tmp", L"set.77.tmp", L"自动保存.txt.5.tmp",
                                              L"退出记录数据库.mdb.4242.tmp", L"退出记录数据库.mdb.4242.tmp.9.tmp",
                                              L"temp.txt.tmp~", L"固定条目\\固定条目.txt.31.tmp"};
  static constexpr const wchar_t* kKept[] = {L"temp.txt.bak", L"temp.txt.12a.tmp", L"notes.123.tmp",
                                             L"temp.txt.123456789.tmp", L"保存\\temp.txt.1.tmp"};
  // Written just now: another instance in the folder may be about to put it in place.
  static constexpr const wchar_t* kOtherInstancesWrite = L"temp.txt.8080.tmp";
};

TEST_F(StaleTemporaryFiles, WhatInterruptedWritesLeftIsRemovedAtStartAndNothingElse) {
  for (const wchar_t* name : kStale) EXPECT_FALSE(fs::exists(folder_ / name)) << e2e::Utf8(name);
  for (const wchar_t* name : kKept) EXPECT_TRUE(fs::exists(folder_ / name)) << e2e::Utf8(name);
  EXPECT_TRUE(fs::exists(folder_ / kOtherInstancesWrite)) << "a recent temporary file was taken for a crash's";
}

class FullDisk : public FailedWrites {
 protected:
  void SetUp() override {
    disk_ = FolderFromEnvironment(L"QUILL_SMALL_DISK");
    if (!disk_) GTEST_SKIP() << "no small disk to fill (scripts/test makes one when it runs as root)";
    FailedWrites::SetUp();
  }
  void TearDown() override {
    if (!disk_) return;
    FailedWrites::TearDown();
    std::error_code ignored;
    fs::remove(Filler(), ignored);
    fs::remove_all(folder_, ignored);
  }
  fs::path RuntimeParent() const override { return *disk_; }
  fs::path Filler() const { return *disk_ / L"filler.bin"; }
  void TurnOnAutosave() { SetMenuSwitch(L"实时自动保存到 [自动保存文件]", true); }
  std::optional<fs::path> disk_;
};

TEST_F(FullDisk, AFailedAppendLeavesNoCutRecordAndTheCloseSaysWhichFileWasKept) {
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  const std::string settings = e2e::ReadFile(folder_ / "set");
  TurnOnAutosave();
  if (HasFatalFailure()) return;
  Copy(L"满盘之前的捕获");
  const fs::path autosave = folder_ / L"自动保存.txt";
  const std::string before = e2e::ReadFile(autosave);
  ASSERT_EQ(before, e2e::Utf8(L"满盘之前的捕获") + "\r\n=============\r\n");

  FillDisk(Filler());
  if (HasFatalFailure()) return;
  Copy(L"满盘捕获 " + std::wstring(8000, L'x'));  // the entry is kept; its record cannot be
  EXPECT_EQ(e2e::ReadFile(autosave), before);
  const std::vector<std::wstring> boxes = CloseAndCollectBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], FailureBox(L"退出记录", folder_ / "temp.txt", ERROR_DISK_FULL, L"上次的退出记录保留未动。"));
  EXPECT_EQ(boxes[1], FailureBox(L"设置", folder_ / "set", ERROR_DISK_FULL, L"上次保存的设置保留未动。"));
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
  EXPECT_EQ(e2e::ReadFile(folder_ / "set"), settings);

  // With room again, the next record follows the last whole one.
  fs::remove(Filler());
  ASSERT_TRUE(program_.Start(folder_));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  list_ = e2e::FindHistoryList(main_);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == std::vector<std::wstring>{kFirstEntry}; }, 10s));
  TurnOnAutosave();
  if (HasFatalFailure()) return;
  Copy(L"空间恢复后的捕获");
  EXPECT_EQ(e2e::ReadFile(autosave), before + e2e::Utf8(L"空间恢复后的捕获") + "\r\n=============\r\n");
}

class ReadOnlyFolder : public FailedWrites {
 protected:
  void SetUp() override {
    source_ = FolderFromEnvironment(L"QUILL_READONLY_SOURCE");
    view_ = FolderFromEnvironment(L"QUILL_READONLY_DISK");
    if (!source_ || !view_) GTEST_SKIP() << "no read-only folder (scripts/test makes one when it runs as root)";
    FailedWrites::SetUp();
  }
  void TearDown() override {
    if (!source_) return;
    FailedWrites::TearDown();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path RuntimeParent() const override { return *source_; }
  fs::path StartFolder() const override { return *view_ / folder_.filename(); }
  std::optional<fs::path> source_, view_;
};

TEST_F(ReadOnlyFolder, TheCloseSaysWhichFilesWereNotWrittenAndWhy) {
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  Copy(L"只读文件夹里的捕获");
  const std::vector<std::wstring> boxes = CloseAndCollectBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  const fs::path seen = StartFolder();
  EXPECT_EQ(boxes[0], FailureBox(L"退出记录", seen / "temp.txt", ERROR_ACCESS_DENIED, L"上次的退出记录保留未动。"));
  EXPECT_EQ(boxes[1], FailureBox(L"设置", seen / "set", ERROR_ACCESS_DENIED, L"上次保存的设置保留未动。"));
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
}

}  // namespace
