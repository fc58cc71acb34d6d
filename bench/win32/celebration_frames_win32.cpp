// What the celebration window costs under Wine. Starts Quillora.exe twice in fresh runtime
// folders. In the first run the window is never opened: the program's CPU time over the
// measured span is the baseline. In the second the window is opened at its scaled size and for
// that span the timer messages that paint frames are counted inside the program through the
// timer probe (the fireworks' own timer, the ripple's tmr1), beside the rate this process gets
// from idle 25 ms and 50 ms timers in the same span. Then the window is closed and for another
// span no timer message may reach it or its controls, and the CPU time is set against the
// baseline.
//   celebration_frames_win32 [seconds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "program_driver.h"
#include "timer_probe_driver.h"

namespace {

// The program's CPU time as the kernel counts it. Under Wine, GetProcessTimes on another
// process reports next to nothing (0.04 s where the kernel counted a second), so the process
// is found in /proc (through Wine's Z: drive) by its command line, which names its runtime
// folder, and utime + stime are read from its stat file (clock ticks of 1/100 s).
std::string ReadWhole(const std::wstring& file) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

std::wstring FindUnixProcess(const std::string& commandLineFragment) {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring found;
  do {
    const std::wstring name = entry.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::string commandLine = ReadWhole(L"Z:\\proc\\" + name + L"\\cmdline");
    if (commandLine.find(commandLineFragment) != std::string::npos) found = name;
  } while (found.empty() && FindNextFileW(find, &entry));
  FindClose(find);
  return found;
}

double UnixCpuSeconds(const std::wstring& unixPid) {
  const std::string stat = ReadWhole(L"Z:\\proc\\" + unixPid + L"\\stat");
  const size_t close = stat.rfind(')');  // the name in brackets may hold spaces
  if (close == std::string::npos) return -1;
  // After the name: state (field 3) ... utime (14), stime (15).
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return (utime + stime) / 100.0;
}

// Handles this process's messages as they come (a message loop, not polling) for the span, so
// that its own timers run at the rate Wine gives them.
void PumpFor(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

// CPU seconds the program of that runtime folder uses over the span; -1 when not found.
double CpuOver(const std::string& folderName, int seconds) {
  const std::wstring pid = FindUnixProcess("\\" + folderName + "\\Quillora.exe");
  if (pid.empty()) return -1;
  const double before = UnixCpuSeconds(pid);
  PumpFor(seconds * 1000);
  return UnixCpuSeconds(pid) - before;
}

long g_idle25 = 0, g_idle50 = 0;
LRESULT CALLBACK IdleTimers(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    (wp == 25 ? g_idle25 : g_idle50)++;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

constexpr char kBaselineFolder[] = "bench_celebration_baseline";
constexpr char kFolder[] = "bench_celebration";

bool StartProgram(e2e::RunningProgram& program, const char* name) {
  const auto folder = e2e::PrepareRuntimeFolder(name);
  if (!program.Start(folder) || !program.WaitForMainWindow()) {
    std::fprintf(stderr, "the program did not start\n");
    return false;
  }
  Sleep(2000);  // start-up work done
  return true;
}

void Stop(e2e::RunningProgram& program) {
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  if (!program.WaitForExit(std::chrono::seconds(20))) program.Kill();
}

}  // namespace

int main(int argc, char** argv) {
  const int span = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  bool ok = true;

  e2e::RunningProgram baseline;
  if (!StartProgram(baseline, kBaselineFolder)) return 1;
  const double idleCpu = CpuOver(std::string("e2e-") + kBaselineFolder, span);
  Stop(baseline);

  e2e::RunningProgram program;
  if (!StartProgram(program, kFolder)) return 1;
  if (!e2e::ChooseMenuRow(program.MainWindow(), L"热烈庆祝（烟花表演）")) {
    std::fprintf(stderr, "no menu row to open the window\n");
    return 1;
  }
  HWND form = nullptr;
  e2e::WaitUntil([&] {
    form = e2e::FindProcessWindow(program.ProcessId(), L"Tform8");
    return form && IsWindowVisible(form);
  }, std::chrono::seconds(10));
  HWND fireworks = form ? FindWindowExW(form, nullptr, L"TFireWork", nullptr) : nullptr;
  if (!fireworks) {
    std::fprintf(stderr, "the celebration window did not open\n");
    return 1;
  }
  RECT r{};
  GetWindowRect(form, &r);
  e2e::TimerProbe probe(form);
  if (!probe.Counting()) {
    std::fprintf(stderr, "the timer probe could not hook the program\n");
    return 1;
  }

  HWND idle = e2e::CreateHiddenWindow(L"QuilloraBenchIdleTimers", IdleTimers);
  SetTimer(idle, 25, 25, nullptr);
  SetTimer(idle, 50, 50, nullptr);
  probe.Read(true);
  const double openCpu = CpuOver(std::string("e2e-") + kFolder, span);
  const e2e::TimerProbe::Counts counts = probe.Read(true);
  KillTimer(idle, 25);
  KillTimer(idle, 50);
  const double fireworksRate = e2e::TimerProbe::ToWindow(counts, fireworks, 1) / static_cast<double>(span);
  const double rippleRate = e2e::TimerProbe::ToWindow(counts, form, 1) / static_cast<double>(span);
  std::printf("window %ld x %ld, span %d s\n", r.right - r.left, r.bottom - r.top, span);
  std::printf("fireworks frames per second: %.1f (at least 30; an idle 25 ms timer here: %.1f)\n", fireworksRate,
              g_idle25 / static_cast<double>(span));
  std::printf("ripple frames per second:    %.1f (at least 18; an idle 50 ms timer here: %.1f)\n", rippleRate,
              g_idle50 / static_cast<double>(span));
  ok = ok && fireworksRate >= 30 && rippleRate >= 18;

  PostMessageW(form, WM_CLOSE, 0, 0);
  e2e::WaitUntil([&] { return !IsWindowVisible(form); }, std::chrono::seconds(10));
  e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(500));
  probe.Read(true);
  const double closedCpu = CpuOver(std::string("e2e-") + kFolder, span);
  const long closedTimers = e2e::TimerProbe::ToWindowAndChildren(probe.Read(true), form);
  std::printf("after closing: %ld timer messages to the window and its controls in %d s\n", closedTimers, span);
  std::printf("CPU time over %d s: %.3f s never opened, %.3f s while open, %.3f s after closing "
              "(difference to never opened %.1f %% of one core)\n",
              span, idleCpu, openCpu, closedCpu, 100 * (closedCpu - idleCpu) / span);
  ok = ok && closedTimers == 0 && idleCpu >= 0 && closedCpu >= 0 && (closedCpu - idleCpu) <= 0.01 * span;
  Stop(program);
  std::printf("%s\n", ok ? "all anchors met" : "an anchor was missed");
  return ok ? 0 : 1;
}
