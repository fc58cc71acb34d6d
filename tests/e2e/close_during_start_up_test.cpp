// A close or the end of the session that comes while a box of the start-up is open (Alt+C held
// by another program, no settings file, the hook library restored) must not save the exit
// record from the rows of a start that has not loaded it: the close comes once the window is
// up, the session's end keeps the files as they are.
#include <gtest/gtest.h>

#include "input_dialog_driver.h"
#include "program_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

enum class Box { AltCTaken, NoSettingsFile, HookLibraryRestored };

const wchar_t* BoxText(Box box) {
  switch (box) {
    case Box::AltCTaken: return L"Alt+C 热键注册失败";
    case Box::NoSettingsFile: return L"set设置文件不存在";
    case Box::HookLibraryRestored: return L"SysHookDLL.dll不是病毒文件";
  }
  return L"";
}

class StartUpBox : public ::testing::TestWithParam<Box> {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder("start-up-box-" + std::to_string(static_cast<int>(GetParam())));
    record_ = "\xEF\xBB\xBF";
    for (int entry = 1; entry <= 500; ++entry) record_ += e2e::Utf8(L"上次的条目 " + std::to_wstring(entry)) + "\r\n";
    e2e::WriteFile(folder_ / "temp.txt", record_);
    switch (GetParam()) {
      case Box::AltCTaken:
        holder_ = e2e::CreateHiddenWindow(L"QuilloraE2EStartUpHotKeyHolder", DefWindowProcW);
        ASSERT_TRUE(RegisterHotKey(holder_, 1, MOD_ALT, 'C'));
        break;
      case Box::NoSettingsFile: fs::remove(folder_ / "set"); break;
      case Box::HookLibraryRestored: fs::remove(folder_ / "SysHookDLL.dll"); break;
    }
    settings_ = fs::exists(folder_ / "set") ? e2e::ReadFile(folder_ / "set") : "";
    ASSERT_TRUE(program_.Start(folder_));
    box_ = e2e::WaitForMessageBox(program_.ProcessId(), BoxText(GetParam()), 30s);
    ASSERT_NE(box_, nullptr);
    main_ = e2e::FindProcessWindow(program_.ProcessId(), L"TForm1", L" Quillora12.6");
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    if (holder_) {
      UnregisterHotKey(holder_, 1);
      DestroyWindow(holder_);
    }
  }
  // Whether temp.txt still holds the 500 entries; what it holds otherwise.
  bool RecordKept(std::string& rows) const {
    const std::string now = e2e::ReadFile(folder_ / "temp.txt");
    std::size_t count = 0;
    for (std::size_t at = now.find("\r\n"); at != std::string::npos; at = now.find("\r\n", at + 2)) ++count;
    rows = std::to_string(count) + " rows";
    return now == record_;
  }

  fs::path folder_;
  std::string record_, settings_;
  HWND holder_ = nullptr;
  e2e::RunningProgram program_;
  HWND box_ = nullptr, main_ = nullptr;
};

TEST_P(StartUpBox, ACloseMeanwhileComesOnceTheExitRecordIsLoaded) {
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_CLOSE, 0, 0, SMTO_NORMAL, 20000, &answer));
  std::string rows;
  EXPECT_TRUE(RecordKept(rows)) << "the exit record was written while the box showed: " << rows;
  EXPECT_TRUE(IsWindow(main_)) << "the window went while it was being made";
  e2e::PressDialogButton(box_, IDOK);
  EXPECT_TRUE(program_.WaitForExit(30s)) << "the close was lost";
  EXPECT_TRUE(RecordKept(rows)) << rows;
}

INSTANTIATE_TEST_SUITE_P(EachBox, StartUpBox,
                         ::testing::Values(Box::AltCTaken, Box::NoSettingsFile, Box::HookLibraryRestored));

using SessionEndDuringStartUpBox = StartUpBox;

TEST_P(SessionEndDuringStartUpBox, WritesNeitherTheExitRecordNorTheSettings) {
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
  EXPECT_EQ(answer, 1u);
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
  program_.Kill();  // as the system ends it
  std::string rows;
  EXPECT_TRUE(RecordKept(rows)) << rows;
  EXPECT_EQ(e2e::ReadFile(folder_ / "set"), settings_);
}

INSTANTIATE_TEST_SUITE_P(AltCTaken, SessionEndDuringStartUpBox, ::testing::Values(Box::AltCTaken));

}  // namespace
