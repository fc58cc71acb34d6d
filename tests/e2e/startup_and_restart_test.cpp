// The program starts in a prepared runtime folder, shows its main window with the Chinese
// menu bar, closes cleanly on WM_CLOSE and starts itself again through the restart command.
#include <gtest/gtest.h>

#include <iostream>

#include "program_driver.h"

using namespace std::chrono_literals;

namespace {

TEST(Startup, MainWindowAppearsWithItsMenuBarAndClosesCleanly) {
  const auto folder = e2e::PrepareRuntimeFolder("startup");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  HWND main = program.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "no TForm1 window titled \" Quillora12.6\"";

  const auto captions = e2e::MenuBarCaptions(main);
  ASSERT_FALSE(captions.empty());
  for (const auto& c : captions) std::wcout << L"[" << c << L"] ";
  std::wcout << std::endl;

  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(program.WaitForExit(20s, &code));
  EXPECT_EQ(code, 0u);
}

TEST(Startup, RestartCommandStartsTheProgramAgain) {
  const auto folder = e2e::PrepareRuntimeFolder("restart");
  e2e::RunningProgram first;
  ASSERT_TRUE(first.Start(folder));
  HWND main = first.WaitForMainWindow();
  ASSERT_NE(main, nullptr);

  // The system menu's row "重启动本程序" (command 200).
  PostMessageW(main, WM_SYSCOMMAND, 200, 0);
  DWORD code = 1234;
  ASSERT_TRUE(first.WaitForExit(20s, &code));
  EXPECT_EQ(code, 0u);

  HWND again = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    again = e2e::FindAnyWindow(L"TForm1", L" Quillora12.6");
    return again != nullptr && e2e::ProcessOfWindow(again) != first.ProcessId();
  }, 30s));
  // The new instance runs in the same folder; close it the way a user would.
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, e2e::ProcessOfWindow(again));
  ASSERT_NE(process, nullptr);
  PostMessageW(again, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
  CloseHandle(process);
}

}  // namespace
