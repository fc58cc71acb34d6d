// A test that starts Quillora.exe in a fresh runtime folder whose exit record holds one
// entry, so that the history list starts with that one row, and closes the program afterwards;
// in the classic look, or in each look a user meets first (InEachLook).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clipboard_driver.h"
#include "program_driver.h"
#include "skin_look_driver.h"

namespace e2e {

class ProgramTest : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kFirstEntry = L"上次退出时保存的条目";

  void SetUp() override {
    folder_ = PrepareRuntimeFolderIn(RuntimeParent(), RuntimeFolderName());
    if (SkinNumber() != kClassicLook) SetSkinNumber(folder_, SkinNumber());
    const std::vector<std::wstring> entries = StartEntries();
    std::string record = "\xEF\xBB\xBF";
    for (const std::wstring& entry : entries) record += Utf8(entry) + "\r\n";
    WriteFile(folder_ / "temp.txt", record);
    PrepareFolder();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(SetClipboardText(L"程序启动前的文本"));
    ASSERT_TRUE(program_.Start(StartFolder()));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = FindHistoryList(main_);
    ASSERT_NE(list_, nullptr);
    // The first show loads the exit record in place of what was captured during start-up.
    ASSERT_TRUE(WaitUntil([&] { return ListRows(list_) == entries; }, std::chrono::seconds(10)));
    if (SkinNumber() == kShippedSkin) WaitForShippedSkin();
  }
  // The name of the runtime folder below the scratch folder (one per test and look).
  virtual std::string RuntimeFolderName() const {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) c = c == '/' ? '-' : c;
    return name;
  }
  // Where the runtime folder is made, and the folder the program starts in (the same folder,
  // unless the test shows it to the program another way, such as through a read-only mount).
  virtual std::filesystem::path RuntimeParent() const { return ScratchFolder(); }
  virtual std::filesystem::path StartFolder() const { return folder_; }
  // The look the program starts in (line 17 of "set"): the classic look, unless the test runs
  // in each look (InEachLook).
  virtual int SkinNumber() const { return kClassicLook; }
  // The test goes on once the window wears the shipped skin (its controls have moved).
  void WaitForShippedSkin() {
    ASSERT_TRUE(WaitForLook(main_, folder_, kShippedSkinFile)) << "the shipped skin did not come";
  }
  // The entries of the exit record, which the list shows after start-up (one-line texts).
  virtual std::vector<std::wstring> StartEntries() const { return {kFirstEntry}; }
  // Further set-up of the runtime folder before the program starts.
  virtual void PrepareFolder() {}

  void TearDown() override {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit(std::chrono::seconds(20));
  }
  // Closes the program (its exit sequence runs) and starts it again in the same folder.
  void Restart() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program_.WaitForExit(std::chrono::seconds(20)));
    ASSERT_TRUE(program_.Start(StartFolder()));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = FindHistoryList(main_);
    if (SkinNumber() == kShippedSkin) WaitForShippedSkin();
  }
  // Copies a text as another program does and waits for its row.
  void Copy(const std::wstring& text) {
    const int rows = static_cast<int>(ListRows(list_).size());
    ASSERT_TRUE(SetClipboardText(text));
    ASSERT_TRUE(WaitForRowCount(list_, rows + 1)) << "no row for the copied text";
  }
  // Flips a checkable menu row and waits until the menu shows it in the wanted state.
  void SetMenuSwitch(const std::wstring& caption, bool checked) {
    const MenuRowInfo* row = nullptr;
    std::vector<MenuRowInfo> rows = ReadMenuBar(main_);
    row = FindMenuRow(rows, caption);
    if (!row) {
      std::string read;
      for (const MenuRowInfo& r : rows) read += " [" + Utf8(r.caption) + "]";
      FAIL() << "no menu row " << Utf8(caption) << "; the menu bar read:" << read;
    }
    if (row->checked == checked) return;
    ASSERT_TRUE(ChooseMenuRow(main_, caption));
    ASSERT_TRUE(WaitUntil([&] {
      rows = ReadMenuBar(main_);
      row = FindMenuRow(rows, caption);
      return row && row->checked == checked;
    }, std::chrono::seconds(10)));
  }

  std::filesystem::path folder_;
  RunningProgram program_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
};

// A flow of a fixture run once in each look a user meets first (TEST_P, instantiated with
// EachLook()): the classic look and the shipped skin 2.
template <class Fixture>
class InEachLook : public Fixture, public ::testing::WithParamInterface<int> {
 protected:
  int SkinNumber() const override { return this->GetParam(); }
};
inline auto EachLook() { return ::testing::Values(kClassicLook, kShippedSkin); }
inline std::string LookName(const ::testing::TestParamInfo<int>& look) {
  return look.param == kClassicLook ? "Classic" : "Skin" + std::to_string(look.param);
}

}  // namespace e2e
