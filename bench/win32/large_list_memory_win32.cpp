// What a large exit record costs: starts Quillora.exe once on an exit record of one entry (the
// anchor) and once on an exit record of 100000 entries of mixed Chinese and ASCII text in
// UTF-8 (about 22 MB), and reports for each the time from start until every row is in the
// list, and the resident memory (working set) once the list is complete and the window idle.
//   large_list_memory_win32 [entries]
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "clipboard_driver.h"
#include "program_driver.h"

namespace {

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
  double seconds = 0;       // start until the list holds every row
  double workingSetMb = 0;  // resident memory then, the window idle
  double privateMb = 0;     // private memory committed then
  size_t fileBytes = 0;
  int rows = 0;
};

bool Measure(const char* name, const std::string& record, int expectedRows, Run& run) {
  const auto folder = e2e::PrepareRuntimeFolder(name);
  if (const char* skin = std::getenv("QUILL_BENCH_SKIN")) e2e::SetSkinNumber(folder, std::atoi(skin));
  e2e::WriteFile(folder / "temp.txt", record);
  run.fileBytes = record.size();
  const auto start = std::chrono::steady_clock::now();
  e2e::RunningProgram program;
  if (!program.Start(folder)) return false;
  const HWND main = program.WaitForMainWindow();
  const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
  const auto rows = [&] {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) return -1;
    return static_cast<int>(count);
  };
  if (!list || !e2e::WaitUntil([&] { return rows() >= expectedRows; }, std::chrono::seconds(120))) {
    std::fprintf(stderr, "%s: the list did not fill (%d rows)\n", name, list ? rows() : -1);
    program.Kill();
    return false;
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.rows = rows();
  // Idle: the window answers, and a second later the memory is read.
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
  e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(1000));
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
  if (!read) std::fprintf(stderr, "%s: the working set could not be read\n", name);
  return read;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  Run anchor, large;
  if (!Measure("memory-anchor", "\xEF\xBB\xBF" + e2e::Utf8(L"一条") + "\r\n", 1, anchor)) return 1;
  if (!Measure("memory-large", MakeExitRecord(entries), entries, large)) return 1;
  const double growth = large.workingSetMb - anchor.workingSetMb;
  const double fileMb = static_cast<double>(large.fileBytes) / (1024.0 * 1024.0);
  std::printf("one entry:     %6.2f s to the full list, working set %6.1f MB, private %6.1f MB\n", anchor.seconds,
              anchor.workingSetMb, anchor.privateMb);
  std::printf("%d entries: %6.2f s to the full list (%d rows), working set %6.1f MB, private %6.1f MB\n", entries,
              large.seconds, large.rows, large.workingSetMb, large.privateMb);
  std::printf("exit record %.1f MB; growth %.1f MB = %.2f times the file\n", fileMb, growth, growth / fileMb);
  return 0;
}
