// What the data-box and shortcut menus cost at start-up: starts Quillora.exe alternately in a
// folder with an empty data box and no shortcuts (the anchor) and in one whose data box holds
// 2000 text files in 100 folders and whose shortcut folder holds 500 shortcuts (in 10
// folders), and reports the median time from start until the main window is shown.
//   databox_startup_win32 [runs]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "program_driver.h"

namespace {

using bench::Median;

namespace fs = std::filesystem;

fs::path Prepare(const char* name, bool full) {
  const fs::path folder = e2e::PrepareRuntimeFolder(name);
  fs::remove_all(folder / L"我的数据盒");
  fs::create_directories(folder / L"我的数据盒");
  fs::create_directories(folder / L"程序快捷方式总集");
  if (!full) return folder;
  for (int f = 0; f < 100; ++f) {
    const fs::path sub = folder / L"我的数据盒" / (L"文件夹" + std::to_wstring(f));
    fs::create_directories(sub);
    for (int i = 0; i < 20; ++i) e2e::WriteFile(sub / (L"数据" + std::to_wstring(i) + L".txt"), "x\r\n");
  }
  for (int f = 0; f < 10; ++f) {
    const fs::path sub = folder / L"程序快捷方式总集" / (L"程序组" + std::to_wstring(f));
    fs::create_directories(sub);
    // The start-up reads only the names: the files need not be links for this measurement.
    for (int i = 0; i < 50; ++i) e2e::WriteFile(sub / (L"程序" + std::to_wstring(i) + L".lnk"), "L");
  }
  return folder;
}

double StartSeconds(const fs::path& folder) {
  e2e::RunningProgram program;
  const auto start = std::chrono::steady_clock::now();
  if (!program.Start(folder)) return -1;
  const HWND main = program.WaitForMainWindow(std::chrono::seconds(60));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(std::chrono::seconds(30))) program.Kill();
  return main ? seconds : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  const fs::path empty = Prepare("databox-startup-empty", false);
  const fs::path full = Prepare("databox-startup-full", true);
  std::vector<double> emptyRuns, fullRuns;
  for (int i = 0; i < runs; ++i) {
    emptyRuns.push_back(StartSeconds(empty));
    fullRuns.push_back(StartSeconds(full));
  }
  const double a = Median(emptyRuns), b = Median(fullRuns);
  std::printf("start-up, empty data box and no shortcuts:             %.3f s (median of %d)\n", a, runs);
  std::printf("start-up, 2000 text files in 100 folders, 500 shortcuts: %.3f s (median of %d)\n", b, runs);
  std::printf("difference: %.3f s\n", b - a);
  return 0;
}
