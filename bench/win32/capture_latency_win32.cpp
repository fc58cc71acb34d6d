// How long a copy takes to show up in the history, beside the least a listener can do: a bare
// window in the clipboard viewer chain (bare_listener_win32.exe) that opens the clipboard,
// reads the text and adds a list row. In rounds, the bare listener, Quillora.exe in the classic
// look and Quillora.exe in skin 2 run in turn, each alone in the chain; each takes `copies`
// texts copied from this process, timed from the moment the clipboard is closed on the new
// text until its list has the new row. Prints the medians and their ratios to the bare one.
// Given another build's Quillora.exe, it runs in both looks in the same rounds (before/after).
// With --pause=MS the copies are that far apart, as a user copies, so that each capture finds
// the listener idle (by default they follow each other at once).
//   capture_latency_win32 [--pause=MS] [rounds] [copies per round] [another Quillora.exe]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "program_driver.h"
#include "start_timing.h"

namespace {

namespace fs = std::filesystem;

int RowCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count)) return -1;
  return static_cast<int>(count);
}

HWND FindListBox(HWND window) {
  HWND list = e2e::FindHistoryList(window);
  return list ? list : FindWindowExW(window, nullptr, L"ListBox", nullptr);
}

// Puts the text on the clipboard; `closed` receives the time just before the clipboard is
// closed, which is when the change is made known to the viewers.
bool Copy(const std::wstring& text, bench::Clock::time_point& closed) {
  if (!e2e::WaitUntil([] { return OpenClipboard(e2e::TestWindow()) != FALSE; }, std::chrono::seconds(10))) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) {
    CloseClipboard();
    return false;
  }
  memcpy(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  const bool set = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!set) GlobalFree(block);
  closed = bench::Clock::now();
  CloseClipboard();
  return set;
}

// Waits for the list to reach `rows`, handling this thread's messages meanwhile.
bool WaitForRows(HWND list, int rows, double& msAfter, bench::Clock::time_point closed) {
  const auto end = bench::Clock::now() + std::chrono::seconds(10);
  while (bench::Clock::now() < end) {
    const int count = RowCount(list);
    msAfter = bench::Since(closed);
    if (count == rows) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return false;
}

// Starts the listener, lets it settle, copies `copies` texts and adds their latencies.
bool Round(const fs::path& exe, const fs::path& folder, const wchar_t* windowClass, int copies, int pauseMs,
           int& serial, std::vector<double>& ms) {
  bench::StartedProgram program;
  if (!bench::StartAndWaitForWindow(exe, folder, windowClass, program)) {
    bench::CloseAndWait(program);
    return false;
  }
  const HWND list = FindListBox(program.window);
  bool ok = list != nullptr;
  // The listener's own first look at the clipboard (joining the chain) is over first.
  e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(300));
  for (int i = 0; ok && i < copies; ++i) {
    if (pauseMs > 0) e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(pauseMs));
    const int rows = RowCount(list);
    bench::Clock::time_point closed;
    double after = 0;
    ok = Copy(L"延迟测量：第 " + std::to_wstring(++serial) + L" 次复制的文本", closed) &&
         WaitForRows(list, rows + 1, after, closed);
    if (ok) ms.push_back(after);
  }
  bench::CloseAndWait(program);
  return ok;
}

struct Side {
  const char* name;
  fs::path exe, folder;
  const wchar_t* windowClass;
  std::string settings;
  std::vector<double> ms;
};

Side QuilloraSide(const char* name, const char* folderName, int skin) {
  const fs::path folder = e2e::PrepareRuntimeFolder(folderName);
  e2e::SetSkinNumber(folder, skin);
  return {name, folder / "Quillora.exe", folder, L"TForm1", e2e::ReadFile(folder / "set"), {}};
}

}  // namespace

int main(int argc, char** argv) {
  int pauseMs = 0;
  if (argc > 1 && std::string(argv[1]).starts_with("--pause=")) {
    pauseMs = std::max(0, std::atoi(argv[1] + 8));
    --argc;
    ++argv;
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int copies = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const fs::path bare = bench::BesideThisProgram(L"bare_listener_win32.exe");
  std::vector<Side> sides;
  sides.push_back({"bare listener", bare, bare.parent_path(), L"BareListener", {}, {}});
  sides.push_back(QuilloraSide("Quillora, classic", "capture-latency-classic", 1));
  sides.push_back(QuilloraSide("Quillora, skin 2", "capture-latency-skin2", 2));
  if (argc > 3) {
    for (const auto& [name, folder, skin] : {std::tuple{"other, classic", "capture-latency-other-classic", 1},
                                             std::tuple{"other, skin 2", "capture-latency-other-skin2", 2}}) {
      sides.push_back(QuilloraSide(name, folder, skin));
      // CopyFileW: MinGW's copy_file over an existing file fails under Wine.
      if (!CopyFileW(fs::path(argv[3]).c_str(), sides.back().exe.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[3]);
        return 1;
      }
    }
  }
  int serial = 0;
  for (int r = 0; r < rounds; ++r) {
    for (Side& side : sides) {
      if (!side.settings.empty()) {
        e2e::WriteFile(side.folder / "set", side.settings);
        std::error_code ec;
        fs::remove(side.folder / "temp.txt", ec);
      }
      if (!Round(side.exe, side.folder, side.windowClass, copies, pauseMs, serial, side.ms)) {
        std::fprintf(stderr, "%s: a copy was not captured within 10 s (round %d)\n", side.name, r + 1);
        return 1;
      }
    }
  }
  const double bareMedian = bench::Median(sides[0].ms);
  std::printf("capture latency, median of %d copies %d ms apart (ms):\n", rounds * copies, pauseMs);
  for (const Side& side : sides) {
    const double median = bench::Median(side.ms);
    std::printf("  %-18s %6.2f  = %.2f x bare\n", side.name, median, median / bareMedian);
  }
  return 0;
}
