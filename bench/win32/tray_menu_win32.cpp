// How long the tray menu takes to open: a right click on the icon until the menu is on the
// screen, median of 20, with one entry (the anchor) and with 99999 entries; the first open
// after a new capture makes them 100000 (the most the list takes); a page of 1000 entry rows opening for the first time
// (median of 5 pages). For comparison it times the whole rebuild of a native menu with one
// row per entry, as the tray menu was made before it had pages (stopped at 60 s). The program
// runs in the look that "set" line 17 names (1 the classic look, 2 the shipped skin, ...).
//   tray_menu_win32 [entries] [look]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "program_driver.h"
#include "tray_driver.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;
using namespace std::chrono_literals;

std::string ExitRecord(int entries) {
  std::wstring all;
  for (int i = 0; i < entries; ++i) {
    all += L"第" + std::to_wstring(i + 1) + L"条 托盘菜单的测试条目 tray menu entry number " + std::to_wstring(i) + L"\r\n";
  }
  return "\xEF\xBB\xBF" + e2e::Utf8(all);
}

struct PopupCount {
  DWORD pid;
  int count = 0;
};
BOOL CALLBACK CountPopup(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<PopupCount*>(lp);
  if (IsWindowVisible(hwnd) && e2e::WindowClass(hwnd) == L"#32768" && e2e::ProcessOfWindow(hwnd) == s->pid) ++s->count;
  return TRUE;
}
// The visible popup menus of the process (the tray menu, and a page opened from it).
int VisiblePopups(DWORD pid) {
  PopupCount search{pid};
  EnumWindows(CountPopup, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

void CloseMenus(DWORD pid) {
  for (int i = 0; i < 3 && VisiblePopups(pid) > 0; ++i) {
    e2e::PressKey(VK_ESCAPE);
    e2e::WaitUntil([&] { return VisiblePopups(pid) == 0; }, 500ms);
  }
  e2e::WaitUntil([&] { return VisiblePopups(pid) == 0; }, 5s);
}

class Session {
 public:
  bool Start(const char* name, int entries, int look) {
    entries_ = entries;
    const auto folder = e2e::PrepareRuntimeFolder(name);
    e2e::WriteFile(folder / "temp.txt", ExitRecord(entries));
    e2e::SetSkinNumber(folder, look);
    if (!program_.Start(folder)) return false;
    main_ = program_.WaitForMainWindow();
    list_ = main_ ? e2e::FindHistoryList(main_) : nullptr;
    if (!list_ || !e2e::WaitUntil([&] { return Rows() >= entries; }, 180s)) return false;
    // A skinned window answers 1 to 0x3523.
    DWORD_PTR skinned = 0;
    if (look != 1 && !e2e::WaitUntil([&] {
          return SendMessageTimeoutW(main_, 0x3523, 0, 0, SMTO_NORMAL, 5000, &skinned) && skinned == 1;
        }, 30s)) {
      return false;
    }
    tray_ = e2e::FindTrayIconWindow(program_.ProcessId());
    const auto point = e2e::TrayIconPoint();
    if (!tray_ || !point || !e2e::WaitUntil([&] { return e2e::TrayIconPresent(tray_); }, 10s)) return false;
    icon_ = *point;
    return true;
  }
  ~Session() {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (!program_.WaitForExit(120s)) program_.Kill();
  }
  int Rows() {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list_, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) return -1;
    return static_cast<int>(count);
  }
  // Right click on the icon until the menu shows; -1 when it does not within 30 s.
  double OpenMenu() {
    // Clicks within the double-click time would make a double click.
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(GetDoubleClickTime() + 100));
    const auto start = Clock::now();
    e2e::ClickAt(icon_, true);
    if (!e2e::WaitUntil([&] { return VisiblePopups(program_.ProcessId()) > 0; }, 30s)) return -1;
    return Ms(Clock::now() - start);
  }
  // With the menu open: a click on a page's row until its sub-menu shows.
  double OpenPage(const std::wstring& caption) {
    std::optional<RECT> row;
    e2e::WaitUntil([&] { return (row = e2e::OpenContextMenuRowRect(main_, caption)).has_value(); }, 10s);
    if (!row) return -1;
    const auto start = Clock::now();
    e2e::ClickAt(POINT{(row->left + row->right) / 2, (row->top + row->bottom) / 2});
    if (!e2e::WaitUntil([&] { return VisiblePopups(program_.ProcessId()) > 1; }, 30s)) return -1;
    return Ms(Clock::now() - start);
  }
  DWORD Pid() const { return program_.ProcessId(); }

 private:
  e2e::RunningProgram program_;
  HWND main_ = nullptr, list_ = nullptr, tray_ = nullptr;
  POINT icon_{};
  int entries_ = 0;
};

bool MedianOpen(Session& session, double& median) {
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    const double t = session.OpenMenu();
    if (t < 0) return false;
    times.push_back(t);
    CloseMenus(session.Pid());
  }
  median = Median(times);
  return true;
}

// One native menu row per entry inserted into one menu, stopped after 60 s.
void WholeRebuild(int entries) {
  HMENU menu = CreatePopupMenu();
  const auto start = Clock::now();
  int inserted = 0;
  for (; inserted < entries; ++inserted) {
    const std::wstring caption = L"第" + std::to_wstring(inserted + 1) + L"条 托盘菜单的测试条目";
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    InsertMenuItemW(menu, static_cast<UINT>(inserted), TRUE, &info);
    if (inserted % 1000 == 999 && Clock::now() - start > 60s) {
      ++inserted;
      break;
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  DestroyMenu(menu);
  std::printf("whole rebuild (one native row per entry): %d of %d rows in %.1f s%s\n", inserted, entries, seconds,
              inserted < entries ? " (stopped)" : "");
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1001, std::atoi(argv[1])) : 100000;
  const int look = argc > 2 ? std::atoi(argv[2]) : 1;
  double anchor = 0, large = 0;
  {
    Session one;
    if (!one.Start("tray-anchor", 1, look) || !MedianOpen(one, anchor)) {
      std::fprintf(stderr, "the one-entry run failed\n");
      return 1;
    }
  }
  // One entry short of the most, so that a capture can still be taken.
  Session big;
  if (!big.Start("tray-large", entries - 1, look) || !MedianOpen(big, large)) {
    std::fprintf(stderr, "the %d-entry run failed\n", entries);
    return 1;
  }
  std::printf("right click to tray menu, median of 20: one entry %.1f ms, %d entries %.1f ms (%+.1f ms)\n", anchor,
              entries - 1, large, large - anchor);
  // A new capture, then the first open.
  e2e::SetClipboardText(L"基准测试中新复制的条目");
  if (!e2e::WaitUntil([&] { return big.Rows() == entries; }, 30s)) {
    std::fprintf(stderr, "the capture did not arrive\n");
    return 1;
  }
  const double afterCapture = big.OpenMenu();
  std::printf("first open after a new capture (%d entries): %.1f ms\n", entries, afterCapture);
  CloseMenus(big.Pid());
  // Pages opening for the first time.
  std::vector<double> pages;
  for (int page : {0, 17, 42, 63, 88}) {
    const int first = page * 1000 + 1;
    const int last = std::min((page + 1) * 1000, entries);
    if (big.OpenMenu() < 0) return 1;
    const double t = big.OpenPage(L"第" + std::to_wstring(first) + L"-" + std::to_wstring(last) + L"条");
    CloseMenus(big.Pid());
    if (t < 0) {
      std::fprintf(stderr, "page %d did not open\n", page);
      return 1;
    }
    pages.push_back(t);
  }
  std::printf("a 1000-row page opening the first time, median of %zu: %.1f ms\n", pages.size(), Median(pages));
  WholeRebuild(entries);
  return 0;
}
