// Two waits of continuous paste, measured under Wine:
// 1. key report latency: the hook library's low-level hook and the classic injected hook
//    (the same library built with QUILL_INJECTED_HOOKS), both attached at once; a key pressed
//    into an edit box of this process is timed from SendInput to each receiver's report;
// 2. paste latency: Quillora.exe with continuous paste on pastes into an edit box of this
//    process; each press of F9 is timed from its release to the text in the box.
// Prints median, 90th percentile and maximum in milliseconds.
//   paste_latency_win32 [presses]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clipboard_driver.h"
#include "foreign_editor.h"
#include "keyboard_input.h"
#include "program_driver.h"

namespace {

using AttachReceiverProc = int32_t(WINAPI*)(int32_t, HWND, unsigned char);
using DetachReceiverProc = int32_t(WINAPI*)(int32_t, HWND);

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// Handles this thread's messages as they come (e2e::WaitUntil looks only every 50 ms, which
// would be the measurement's grain) until done() holds or the time is up.
template <typename Done>
bool PumpUntil(Done done, double timeoutMs) {
  const double end = Now() + timeoutMs;
  while (!done()) {
    if (Now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  const size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  const size_t p90 = std::min(n - 1, static_cast<size_t>(0.9 * static_cast<double>(n)));
  std::printf("%s over %zu presses (ms): median %.2f, p90 %.2f, max %.2f\n", what, n, median, ms[p90], ms.back());
}

// The time a receiver got its last key report.
double g_lastReport[2] = {0, 0};
HWND g_receivers[2] = {nullptr, nullptr};

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER && wParam == 'K') {
    for (int i = 0; i < 2; ++i)
      if (window == g_receivers[i]) g_lastReport[i] = Now();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct Library {
  HMODULE module = nullptr;
  AttachReceiverProc attach = nullptr;
  DetachReceiverProc detach = nullptr;
  bool Load(const char* path) {
    module = LoadLibraryA(path);
    if (!module) return false;
    attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(module, "AttachReceiver")));
    detach = reinterpret_cast<DetachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(module, "DetachReceiver")));
    return attach && detach;
  }
};

bool MeasureKeyReports(int presses) {
  Library libraries[2];
  const std::string paths[2] = {std::string(QUILL_RUNTIME_DIR) + "\\SysHookDLL.dll",
                                std::string(QUILL_HOOK_COMPARE_DIR) + "\\SysHookInjected.dll"};
  for (int i = 0; i < 2; ++i) {
    g_receivers[i] = e2e::CreateHiddenWindow(L"PasteBenchReceiver", ReceiverProc, HWND_MESSAGE);
    if (!libraries[i].Load(paths[i].c_str()) || libraries[i].attach(1, g_receivers[i], 0) != 0) {
      std::fprintf(stderr, "hook library %s did not attach\n", paths[i].c_str());
      return false;
    }
  }
  e2e::ForeignEditor editor;
  if (!editor.Activate()) return false;
  std::vector<double> lowLevel, injected;
  for (int i = 0; i < presses; ++i) {
    g_lastReport[0] = g_lastReport[1] = 0;
    const double start = Now();
    e2e::Tap('K');
    if (!PumpUntil([] { return g_lastReport[0] > 0 && g_lastReport[1] > 0; }, 5000)) {
      std::fprintf(stderr, "press %d was not reported by both hooks\n", i + 1);
      continue;
    }
    // The press is reported first: its report is the one timed (the release follows).
    lowLevel.push_back(g_lastReport[0] - start);
    injected.push_back(g_lastReport[1] - start);
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(20));
  }
  for (int i = 0; i < 2; ++i) {
    libraries[i].detach(1, g_receivers[i]);
    FreeLibrary(libraries[i].module);
  }
  Report("key report, low-level hook", lowLevel);
  Report("key report, injected hook (anchor)", injected);
  return true;
}

bool MeasurePaste(int presses) {
  const auto folder = e2e::PrepareRuntimeFolder("paste-latency");
  std::string record = "\xEF\xBB\xBF";
  for (int i = 0; i < presses; ++i) record += "entry" + std::to_string(i) + "\r\n";
  e2e::WriteFile(folder / "temp.txt", record);
  e2e::ChangeSettingsLines(folder, {{5, "-1"}});  // continuous paste on
  e2e::RunningProgram program;
  if (!program.Start(folder)) return false;
  const HWND main = program.WaitForMainWindow();
  const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
  if (!list || !e2e::WaitForRowCount(list, presses)) {
    std::fprintf(stderr, "the main window or its rows did not appear\n");
    return false;
  }
  e2e::ClickListRow(list, 0);
  e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(500));
  e2e::ForeignEditor editor;
  if (!editor.Activate()) return false;
  std::vector<double> ms;
  std::wstring expected;
  for (int i = 0; i < presses; ++i) {
    expected += L"entry" + std::to_wstring(i);
    e2e::PressKeys({{VK_F9, false}});
    const double released = Now();
    e2e::PressKeys({{VK_F9, true}});
    if (!PumpUntil([&] { return editor.Text() == expected; }, 5000)) {
      std::fprintf(stderr, "press %d did not paste\n", i + 1);
      break;
    }
    ms.push_back(Now() - released);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  program.WaitForExit(std::chrono::seconds(20));
  Report("F9 release to text in the edit box", ms);
  return ms.size() == static_cast<size_t>(presses);
}

}  // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const bool keys = MeasureKeyReports(presses);
  const bool paste = MeasurePaste(presses);
  return keys && paste ? 0 : 1;
}
