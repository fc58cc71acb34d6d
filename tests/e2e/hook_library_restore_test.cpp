// A first start without the hook library: the program says so, restores it from its spare
// copy and starts normally; with no spare copy either it reports the failed copy, leaves no
// partial file and still starts.
#include <gtest/gtest.h>

#include "program_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

TEST(HookLibraryRestore, MissingLibraryIsRestoredFromItsSpareCopy) {
  const auto folder = e2e::PrepareRuntimeFolder("restore");
  fs::remove(folder / "SysHookDLL.dll");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program.ProcessId(), L"SysHookDLL.dll不是病毒文件", IDOK);
  }, 30s));
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(fs::exists(folder / "SysHookDLL.dll"));
  EXPECT_EQ(e2e::ReadFile(folder / "SysHookDLL.dll"), e2e::ReadFile(folder / "copy_Key.dll"));
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s));
}

TEST(HookLibraryRestore, NoSpareCopyReportsTheFailureAndLeavesNoPartialFile) {
  const auto folder = e2e::PrepareRuntimeFolder("nospare");
  fs::remove(folder / "SysHookDLL.dll");
  fs::remove(folder / "copy_Key.dll");
  e2e::RunningProgram program;
  ASSERT_TRUE(program.Start(folder));
  // What the program shows when a step is not reached.
  const auto shown = [&] {
    if (program.WaitForExit(0ms)) return std::string("the program has ended");
    std::string boxes = "boxes open:";
    for (const std::wstring& text : e2e::MessageBoxTexts(program.ProcessId())) boxes += " [" + e2e::Utf8(text) + "]";
    return boxes;
  };
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program.ProcessId(), L"SysHookDLL.dll不是病毒文件", IDOK);
  }, 30s)) << shown();
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program.ProcessId(), L"无法拷贝文件", IDOK); }, 20s))
      << shown();
  // Start-up goes on after the failed copy: the window comes up and closes normally.
  ASSERT_TRUE(IsWindowVisible(program.WaitForMainWindow())) << shown();
  EXPECT_FALSE(fs::exists(folder / "SysHookDLL.dll"));
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename().wstring().find(L"SysHookDLL.dll."), std::wstring::npos)
        << "a partial copy was left behind";
  }
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20s)) << shown();
}

}  // namespace
