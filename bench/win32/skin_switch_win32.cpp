// How long a skin switch takes by the menu "皮肤": Quillora.exe runs on an exit record of one
// entry (the anchor) and of 100000 entries; each run switches classic -> skin 2 ("新式绿皮")
// and skin 2 -> skin 4 ("酷兰") by clicking the row, and the time from the click until the
// window shows the new skin (answers 0x3523, frame of the new skin's borders plus the menu
// bar) is reported, with what lies beyond the engine's deferred actions (250 ms each: one
// for classic -> skin, two for skin -> skin, which takes the old skin off first).
//   skin_switch_win32 [entries] [repeats]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "program_driver.h"
#include "skin/skin_data.h"
#include "skin/skin_layout.h"

namespace {

using bench::Clock;
using bench::Median;

SIZE SkinFrame(const std::filesystem::path& folder, const wchar_t* file) {
  skin::TSkinData data;
  data.SetSkinFile((folder / L"皮肤" / file).u16string());
  const skin::FrameBorders b = skin::BordersOf(data.Model());
  return {b.Left + b.Right, b.Top + b.Bottom + GetSystemMetrics(SM_CYMENU)};
}

bool Shows(HWND hwnd, SIZE frame) {
  DWORD_PTR skinned = 0;
  SendMessageTimeoutW(hwnd, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 5000, &skinned);
  RECT w{}, c{};
  GetWindowRect(hwnd, &w);
  GetClientRect(hwnd, &c);
  return skinned == 1 && w.right - w.left - c.right == frame.cx && w.bottom - w.top - c.bottom == frame.cy;
}

// Chooses the row and waits until the window shows the frame; milliseconds, or -1.
double TimeSwitch(HWND main, const std::function<void()>& choose, SIZE frame) {
  const auto start = Clock::now();
  choose();
  while (!Shows(main, frame)) {
    if (Clock::now() - start > std::chrono::seconds(20)) return -1;
    Sleep(2);
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Record(int entries) {
  std::wstring all;
  for (int i = 0; i < entries; ++i) all += L"第" + std::to_wstring(i + 1) + L"条 剪贴板历史的条目 entry text\r\n";
  return "\xEF\xBB\xBF" + e2e::Utf8(all);
}

struct Times {
  std::vector<double> toSkin, skinToSkin;
};

bool Measure(const char* name, int entries, int repeats, Times& times) {
  const auto folder = e2e::PrepareRuntimeFolder(name);
  e2e::WriteFile(folder / "temp.txt", Record(entries));
  const SIZE green = SkinFrame(folder, L"mxskin2.skn"), blue = SkinFrame(folder, L"mxskin39.skn");
  for (int r = 0; r < repeats; ++r) {
    e2e::SetSkinNumber(folder, 1);
    e2e::RunningProgram program;
    if (!program.Start(folder)) return false;
    const HWND main = program.WaitForMainWindow(std::chrono::seconds(120));
    const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
    if (!list || !e2e::WaitUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) >= entries; },
                                 std::chrono::seconds(120))) {
      std::fprintf(stderr, "%s: the list did not fill\n", name);
      program.Kill();
      return false;
    }
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(500));
    // Classic -> skin 2: the classic bar is a native menu, whose row is chosen as its click
    // does (WM_MENUCOMMAND, through the probe; its few milliseconds are counted in).
    const double first = TimeSwitch(main, [&] { e2e::ChooseMenuRow(main, L"新式绿皮"); }, green);
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(800));
    // Skin 2 -> skin 4: the skinned bar's drop-down is opened (Alt, arrows), the row clicked.
    POINT at{};
    const bool open = first >= 0 && e2e::OpenSkinnedMenuHolding(main, L"酷兰") && e2e::OpenMenuRowPoint(main, L"酷兰", at);
    const double second = open ? TimeSwitch(main, [&] { e2e::ClickAt(at); }, blue) : -1;
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(std::chrono::seconds(60))) program.Kill();
    if (first < 0 || second < 0) {
      std::fprintf(stderr, "%s: a switch did not complete (%.0f, %.0f)\n", name, first, second);
      return false;
    }
    times.toSkin.push_back(first);
    times.skinToSkin.push_back(second);
  }
  return true;
}

void Report(const char* what, const Times& t) {
  const double a = Median(t.toSkin), b = Median(t.skinToSkin);
  std::printf("%-16s classic -> skin %7.1f ms (%6.1f beyond 250 ms); skin -> skin %7.1f ms (%6.1f beyond 500 ms)\n",
              what, a, a - 250, b, b - 500);
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  Times anchor, large;
  if (!Measure("switch-anchor", 1, repeats, anchor)) return 1;
  if (!Measure("switch-large", entries, repeats, large)) return 1;
  std::printf("median of %d runs, from the click on the row until the window shows the new skin\n", repeats);
  Report("one entry:", anchor);
  Report((std::to_string(entries) + " entries:").c_str(), large);
  return 0;
}
