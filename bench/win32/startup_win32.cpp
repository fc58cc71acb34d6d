// Start-up to the main window beside a bare Win32 window program (bare_window_win32.exe),
// measured the same way in one run: from CreateProcess until the window is visible and its
// program answers. Quillora.exe starts without an exit record, in the classic look and in
// skin 2; the three are started in turn, each run after one start of each to warm up, and the
// medians and their ratios to the bare program are printed.
//   startup_win32 [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "program_driver.h"
#include "start_timing.h"

namespace {

namespace fs = std::filesystem;

// A runtime folder in the given look, put back to its first state before every start: the
// program writes its settings and its exit record when it closes.
struct StartFolder {
  fs::path folder;
  std::string settings;

  StartFolder(const char* name, int skin) : folder(e2e::PrepareRuntimeFolder(name)) {
    e2e::SetSkinNumber(folder, skin);
    settings = e2e::ReadFile(folder / "set");
  }
  void Reset() const {
    e2e::WriteFile(folder / "set", settings);
    std::error_code ec;
    fs::remove(folder / "temp.txt", ec);
  }
};

bool StartQuillora(const StartFolder& start, double& ms) {
  start.Reset();
  bench::StartedProgram program;
  const bool shown = bench::StartAndWaitForWindow(start.folder / "Quillora.exe", start.folder, L"TForm1", program);
  ms = program.msToWindow;
  bench::CloseAndWait(program);
  return shown;
}

bool StartBare(const fs::path& exe, double& ms) {
  bench::StartedProgram program;
  const bool shown = bench::StartAndWaitForWindow(exe, exe.parent_path(), L"BareWindow", program);
  ms = program.msToWindow;
  bench::CloseAndWait(program);
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const fs::path bare = bench::BesideThisProgram(L"bare_window_win32.exe");
  const StartFolder classic("startup-classic", 1);
  const StartFolder skinned("startup-skin2", 2);
  std::vector<double> bareMs, classicMs, skinnedMs;
  for (int i = -1; i < runs; ++i) {
    double a = 0, b = 0, c = 0;
    if (!StartBare(bare, a) || !StartQuillora(classic, b) || !StartQuillora(skinned, c)) {
      std::fprintf(stderr, "a window did not show (run %d)\n", i + 1);
      return 1;
    }
    if (i < 0) continue;  // the warm-up
    bareMs.push_back(a);
    classicMs.push_back(b);
    skinnedMs.push_back(c);
  }
  const double bareMedian = bench::Median(bareMs);
  const double classicMedian = bench::Median(classicMs);
  const double skinnedMedian = bench::Median(skinnedMs);
  std::printf("start to window, median of %d (ms):\n", runs);
  std::printf("  bare window program   %7.1f\n", bareMedian);
  std::printf("  Quillora, classic     %7.1f  = %.2f x bare\n", classicMedian, classicMedian / bareMedian);
  std::printf("  Quillora, skin 2      %7.1f  = %.2f x bare\n", skinnedMedian, skinnedMedian / bareMedian);
  return 0;
}
