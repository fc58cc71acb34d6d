// How long a copy takes to show up in the history: starts Quillora.exe in a fresh runtime
// folder, copies 100 texts from this process and times each from the moment the clipboard is
// closed on the new text until the list has the new row. Prints median, 90th percentile and
// maximum in milliseconds.
//   capture_latency_win32 [copies]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clipboard_driver.h"
#include "program_driver.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

int RowCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count)) return -1;
  return static_cast<int>(count);
}

// Puts the text on the clipboard; `closed` receives the time just before the clipboard is
// closed, which is when the change is made known to the viewers.
bool Copy(const std::wstring& text, LARGE_INTEGER& closed) {
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
  QueryPerformanceCounter(&closed);
  CloseClipboard();
  return set;
}

// Waits for the list to reach `rows`, handling this thread's messages meanwhile.
bool WaitForRows(HWND list, int rows, LARGE_INTEGER& seen) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    const int count = RowCount(list);
    QueryPerformanceCounter(&seen);
    if (count == rows) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return false;
}

double Percentile(const std::vector<double>& sorted, double p) {
  const size_t rank = static_cast<size_t>(p * static_cast<double>(sorted.size()) + 0.999999);
  return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  const int copies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const auto folder = e2e::PrepareRuntimeFolder("capture-latency");
  // The exit record gives the list its one first row.
  const std::wstring first = L"上次退出时保存的条目";
  e2e::WriteFile(folder / "temp.txt", "\xEF\xBB\xBF" + e2e::Utf8(first) + "\r\n");
  if (!e2e::SetClipboardText(L"测量开始前的文本")) {
    std::fprintf(stderr, "the clipboard cannot be written\n");
    return 1;
  }
  e2e::RunningProgram program;
  if (!program.Start(folder)) {
    std::fprintf(stderr, "Quillora.exe did not start\n");
    return 1;
  }
  const HWND main = program.WaitForMainWindow();
  const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
  if (!list || !e2e::WaitUntil([&] { return e2e::ListRows(list) == std::vector<std::wstring>{first}; },
                               std::chrono::seconds(10))) {
    std::fprintf(stderr, "the main window or its first row did not appear\n");
    return 1;
  }

  std::vector<double> ms;
  for (int i = 0; i < copies; ++i) {
    const int rows = RowCount(list);
    LARGE_INTEGER closed, seen;
    if (!Copy(L"延迟测量：第 " + std::to_wstring(i + 1) + L" 次复制的文本", closed) || !WaitForRows(list, rows + 1, seen)) {
      std::fprintf(stderr, "copy %d was not captured within 10 s\n", i + 1);
      PostMessageW(main, WM_CLOSE, 0, 0);
      return 1;
    }
    ms.push_back(Seconds(closed, seen) * 1000.0);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  program.WaitForExit(std::chrono::seconds(20));

  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  const size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  std::printf("capture latency over %zu copies (ms): median %.2f, p90 %.2f, max %.2f (min %.2f, mean %.2f)\n", n,
              median, Percentile(ms, 0.9), ms.back(), ms.front(), sum / static_cast<double>(n));
  return 0;
}
