// What a long entry costs the main window, a 300000-character entry beside a short one:
// Quillora.exe captures the text from the clipboard (from the clipboard's close until the list
// has the new row and the program answers again), then a menu bar row is chosen ("单击条目后出现
// 文本提示框", a switch, chosen twice to leave it as it was) until the program answers again.
// Each size runs in a fresh program.
//   long_entry_main_window_win32 [characters] [repeats]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "program_driver.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Since;
constexpr wchar_t kFirstEntry[] = L"第一条";
constexpr wchar_t kMenuRow[] = L"单击条目后出现文本提示框";

bool Answers(HWND hwnd) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &ignored) != 0;
}

int RowCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) return -1;
  return static_cast<int>(count);
}

std::wstring TextOf(size_t characters) {
  std::wstring text;
  while (text.size() < characters) text += L"行\r单独回车\n单独换行\t制表\r\n";
  text.resize(characters);
  return text;
}

struct Times {
  std::vector<double> capture, menu;
};

bool Measure(const std::wstring& text, int repeats, Times& times) {
  const std::string name = "long-entry-main-" + std::to_string(text.size());
  const auto folder = e2e::PrepareRuntimeFolder(name);
  // The text limit (line 1) takes the long entry; no text hint on a click (line 24).
  e2e::SetSettingsLine(folder, 1, std::to_string(text.size() + 20000));
  e2e::SetSettingsLine(folder, 24, "0");
  const std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);

  for (int r = 0; r < repeats; ++r) {
    e2e::WriteFile(folder / "temp.txt", "\xEF\xBB\xBF" + e2e::Utf8(kFirstEntry) + "\r\n");
    e2e::SetClipboardText(L"启动前的文本");
    e2e::RunningProgram program;
    if (!program.Start(folder)) return false;
    const HWND main = program.WaitForMainWindow(std::chrono::seconds(60));
    const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
    if (!list || !e2e::WaitUntil([&] { return e2e::ListRows(list) == std::vector<std::wstring>{kFirstEntry}; },
                                 std::chrono::seconds(30))) {
      std::fprintf(stderr, "%s: the main window did not come up\n", name.c_str());
      program.Kill();
      return false;
    }
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(800));

    const auto copied = Clock::now();
    if (!e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", bytes}}) ||
        !e2e::WaitUntil([&] { return RowCount(list) == 2; }, std::chrono::seconds(60)) || !Answers(main)) {
      std::fprintf(stderr, "%s: the entry was not captured\n", name.c_str());
      program.Kill();
      return false;
    }
    times.capture.push_back(Since(copied));
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(500));

    for (int choice = 0; choice < 2; ++choice) {
      const auto chosen = Clock::now();
      if (!e2e::ChooseMenuRow(main, kMenuRow) || !Answers(main)) {
        std::fprintf(stderr, "%s: the menu row was not chosen\n", name.c_str());
        program.Kill();
        return false;
      }
      times.menu.push_back(Since(chosen));
    }

    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(std::chrono::seconds(60))) program.Kill();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t characters = argc > 1 ? static_cast<size_t>(std::max(1, std::atoi(argv[1]))) : 300000;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  Times shortEntry, longEntry;
  if (!Measure(TextOf(20), repeats, shortEntry)) return 1;
  if (!Measure(TextOf(characters), repeats, longEntry)) return 1;
  std::printf("median of %d runs (menu choice: of %d), classic look, in ms\n", repeats, repeats * 2);
  std::printf("characters  capture to row  menu bar choice\n");
  const auto line = [](size_t n, const Times& t) {
    std::printf("%10zu  %14.1f  %15.1f\n", n, Median(t.capture), Median(t.menu));
  };
  line(20, shortEntry);
  line(characters, longEntry);
  return 0;
}
