// How long the hex editor window takes to show data under Wine: load 1 KB and 10 MB and
// paint, then Ctrl+End and paint, five times each; prints the median and the slowest in
// milliseconds. Painting draws the visible rows only, so both sizes should cost alike.
//   hexedit_paint_win32
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "hexedit/hex_editor_control_win32.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct Figures {
  double median, slowest;
};

Figures Summary(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.back()};
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuillHexPaintBench";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"hex paint", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                nullptr, wc.hInstance, nullptr);
  hexedit::HexEditorControl editor;
  editor.Create(window, 1, RECT{0, 0, 800, 600});
  editor.SetReadOnlyView(true);
  Pump();

  bool withinAnchors = true;
  for (const std::size_t size : {std::size_t{1024}, std::size_t{10} * 1024 * 1024}) {
    std::vector<double> loads, ends;
    for (int round = 0; round < 5; ++round) {
      hexedit::Bytes bytes(size);
      for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31);
      editor.LoadFromBuffer(hexedit::Bytes{});
      Pump();
      const LARGE_INTEGER t0 = Now();
      editor.LoadFromBuffer(std::move(bytes));
      UpdateWindow(editor.Handle());
      const LARGE_INTEGER t1 = Now();
      editor.KeyDown(hexedit::keys::End, hexedit::ShiftState{false, true, false});
      UpdateWindow(editor.Handle());
      const LARGE_INTEGER t2 = Now();
      Pump();
      loads.push_back(Milliseconds(t0, t1));
      ends.push_back(Milliseconds(t1, t2));
    }
    const Figures load = Summary(loads), end = Summary(ends);
    std::printf("%8zu bytes: load and paint median %.1f ms (slowest %.1f); Ctrl+End and paint median %.1f ms (slowest %.1f)\n",
                size, load.median, load.slowest, end.median, end.slowest);
    if (load.median >= 300 || end.median >= 50) withinAnchors = false;
  }
  std::printf("%s\n", withinAnchors ? "within 300 ms (load) and 50 ms (Ctrl+End)" : "OVER the 300 ms / 50 ms anchors");
  DestroyWindow(window);
  return withinAnchors ? 0 : 1;
}
