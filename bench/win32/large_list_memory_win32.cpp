// What a large exit record costs: starts Quillora.exe in turn without an exit record (the
// anchor) and on an exit record of 100000 entries of mixed Chinese and ASCII text in UTF-8
// (about 22 MB), in the classic look and in skin 2, and reports for each the median time from
// start until every row is in the list, and the resident memory (working set) once the list is
// complete and the window idle; then what the exit record adds to both.
//   large_list_memory_win32 [entries] [runs]
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "program_driver.h"

namespace {

namespace fs = std::filesystem;

// A repeatable mix: entries of 20 to 220 characters, about half of them Chinese, some of
// them on several lines.
std::string MakeExitRecord(int entries) {
  uint32_t seed = 12345;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  std::wstring all;
  for (int i = 0; i < entries; ++i) {
    const int length = 20 + static_cast<int>(next(201));
    std::wstring text = L"第" + std::to_wstring(i + 1) + L"条 ";
    while (static_cast<int>(text.size()) < length) {
      if (next(2) == 0) {
        text.push_back(static_cast<wchar_t>(0x4E00 + next(0x5000)));
      } else {
        text.push_back(static_cast<wchar_t>(L'a' + next(26)));
        if (next(8) == 0) text.push_back(L' ');
      }
    }
    if (next(10) == 0) {
      text.insert(text.size() / 2, L"\r\n");
      all += L"[[begin]]\r\n" + text + L"\r\n[[end]]\r\n";
    } else {
      all += text + L"\r\n";
    }
  }
  return "\xEF\xBB\xBF" + e2e::Utf8(all);
}

struct Run {
  double ms = 0;            // start until the list holds every row
  double workingSetMb = 0;  // resident memory then, the window idle
  double privateMb = 0;     // private memory committed then
};

int RowCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) return -1;
  return static_cast<int>(count);
}

// One start in `folder` with `record` as its exit record (none when empty), until `rows` rows.
bool Measure(const fs::path& folder, const std::string& settings, const std::string& record, int rows, Run& run) {
  e2e::WriteFile(folder / "set", settings);
  std::error_code ec;
  fs::remove(folder / "temp.txt", ec);
  if (!record.empty()) e2e::WriteFile(folder / "temp.txt", record);
  const auto start = bench::Clock::now();
  e2e::RunningProgram program;
  if (!program.Start(folder)) return false;
  HWND main = nullptr, list = nullptr;
  while (!list || RowCount(list) < rows) {
    if (bench::Since(start) > 120000) {
      std::fprintf(stderr, "the list did not fill (%d rows)\n", list ? RowCount(list) : -1);
      program.Kill();
      return false;
    }
    if (!main) main = e2e::FindProcessWindow(program.ProcessId(), L"TForm1", L" Quillora12.6");
    if (main && !list) list = e2e::FindHistoryList(main);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  run.ms = bench::Since(start);
  // Idle: the window answers, and a second later the memory is read.
  e2e::WaitForIdle(main, std::chrono::seconds(30));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId());
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool read = process && GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                                    sizeof counters);
  if (process) CloseHandle(process);
  run.workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
  run.privateMb = static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
  PostMessageW(main, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(std::chrono::seconds(60))) program.Kill();
  if (!read) std::fprintf(stderr, "the working set could not be read\n");
  return read;
}

struct Medians {
  double ms, workingSetMb, privateMb;
};

Medians MediansOf(const std::vector<Run>& runs) {
  std::vector<double> ms, ws, pv;
  for (const Run& r : runs) {
    ms.push_back(r.ms);
    ws.push_back(r.workingSetMb);
    pv.push_back(r.privateMb);
  }
  return {bench::Median(ms), bench::Median(ws), bench::Median(pv)};
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string record = MakeExitRecord(entries);
  const double fileMb = static_cast<double>(record.size()) / (1024.0 * 1024.0);
  std::printf("exit record: %d entries, %.1f MB; medians of %d starts\n", entries, fileMb, runs);
  for (const int skin : {1, 2}) {
    const fs::path folder = e2e::PrepareRuntimeFolder(skin == 1 ? "large-list-classic" : "large-list-skin2");
    e2e::SetSkinNumber(folder, skin);
    const std::string settings = e2e::ReadFile(folder / "set");
    std::vector<Run> empty, large;
    for (int i = 0; i < runs; ++i) {
      Run a, b;
      if (!Measure(folder, settings, {}, 1, a) || !Measure(folder, settings, record, entries, b)) return 1;
      empty.push_back(a);
      large.push_back(b);
    }
    const Medians e = MediansOf(empty), l = MediansOf(large);
    const double growth = l.workingSetMb - e.workingSetMb;
    std::printf("%s:\n", skin == 1 ? "classic look" : "skin 2");
    std::printf("  no exit record: %7.0f ms to the list, working set %6.1f MB, private %6.1f MB\n", e.ms,
                e.workingSetMb, e.privateMb);
    std::printf("  %d entries: %7.0f ms to every row, working set %6.1f MB, private %6.1f MB\n", entries, l.ms,
                l.workingSetMb, l.privateMb);
    std::printf("  the exit record adds %.0f ms and %.1f MB = %.2f times the file\n", l.ms - e.ms, growth,
                growth / fileMb);
  }
  return 0;
}
