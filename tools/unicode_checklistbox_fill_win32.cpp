// Measures how long the check-list box takes to take 100000 history rows (the most the
// history list holds), under the same conditions as the main window: a visible list,
// rows of up to 150 characters, redrawing off while the rows go in. Prints the time of
// each run and the best, in milliseconds; with --recreate also the window recreation.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "unicode/uni_check_list_box_win32.h"

namespace {

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* list = reinterpret_cast<unicode::TUniCheckListBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (list != nullptr && list->HandleParentMessage(msg, wp, lp, result)) return result;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  constexpr int kRows = 100000;
  constexpr int kRuns = 5;
  bool recreate = false;
  for (int i = 1; i < argc; ++i) recreate = recreate || std::wcscmp(argv[i], L"--recreate") == 0;

  // Rows as the history list shows them: the first 150 characters of an entry.
  std::vector<std::u16string> rows;
  rows.reserve(kRows);
  const std::u16string filler = u"剪切板历史记录 clipboard text 😀 ";
  for (int i = 0; i < kRows; ++i) {
    std::u16string row = u"条目" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u" ";
    while (row.size() < static_cast<size_t>(20 + i % 131)) row += filler;
    row.resize(std::min<size_t>(row.size(), 150));
    rows.push_back(std::move(row));
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuillCheckListFillBench";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, wc.lpszClassName, L"fill", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500,
                                nullptr, nullptr, wc.hInstance, nullptr);
  unicode::TUniCheckListBox list;
  SetWindowLongPtrW(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&list));
  list.SetItemHeight(19);
  list.Create(parent, 1, RECT{0, 0, 580, 460});
  Pump();

  std::vector<double> fills, recreations;
  for (int run = 0; run < kRuns; ++run) {
    list.Items().Clear();
    Pump();
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    list.Items().BeginUpdate();
    list.Items().SetCapacity(kRows);
    for (const auto& row : rows) list.Items().Add(row);
    list.Items().EndUpdate();
    UpdateWindow(list.Handle());
    QueryPerformanceCounter(&t1);
    fills.push_back(Milliseconds(t0, t1));
    if (list.Items().Count() != kRows) {
      std::printf("error: %d rows instead of %d\n", list.Items().Count(), kRows);
      return 1;
    }
    if (recreate) {
      QueryPerformanceCounter(&t0);
      list.RecreateWnd();
      UpdateWindow(list.Handle());
      QueryPerformanceCounter(&t1);
      recreations.push_back(Milliseconds(t0, t1));
    }
    Pump();
    std::printf("run %d: fill %.1f ms", run + 1, fills.back());
    if (recreate) std::printf(", recreate %.1f ms", recreations.back());
    std::printf("\n");
  }
  std::printf("best fill of %d rows: %.1f ms\n", kRows, *std::min_element(fills.begin(), fills.end()));
  if (recreate) std::printf("best recreation: %.1f ms\n", *std::min_element(recreations.begin(), recreations.end()));
  DestroyWindow(parent);
  return 0;
}
