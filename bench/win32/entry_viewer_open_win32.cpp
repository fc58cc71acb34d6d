// How long the entry text viewer takes to open a long entry, in the classic look beside skin 2
// ("新式绿皮"): Quillora.exe captures a text of 300000 characters from the clipboard, the
// history list's context menu is opened on its row, and from the click on the row
// "查看/修改（单条记录，无格式）" are reported
//   text:    until the viewer's memo holds the whole text;
//   settled: until the viewer shows its final frame (the skin's borders and menu bar, or the
//            native frame) and the program answers again (nothing left of the opening).
//   entry_viewer_open_win32 [characters] [repeats]
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
#include "skin/skin_data.h"
#include "skin/skin_layout.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Since;
constexpr wchar_t kFirstEntry[] = L"第一条";
constexpr wchar_t kViewerRow[] = L"查看/修改（单条记录，无格式）";

// The frame around the client: the skin's borders and bar, or (classic) none expected.
std::optional<SIZE> SkinFrame(const std::filesystem::path& folder, int skin) {
  if (skin == 1) return std::nullopt;
  skin::TSkinData data;
  data.SetSkinFile((folder / L"皮肤" / L"mxskin2.skn").u16string());
  const skin::FrameBorders b = skin::BordersOf(data.Model());
  return SIZE{b.Left + b.Right, b.Top + b.Bottom + GetSystemMetrics(SM_CYMENU)};
}

bool Answers(HWND hwnd, UINT msg, DWORD_PTR& result) {
  return SendMessageTimeoutW(hwnd, msg, 0, 0, SMTO_ABORTIFHUNG, 30000, &result) != 0;
}

bool FrameIs(HWND hwnd, const std::optional<SIZE>& frame) {
  if (!frame) return IsWindowVisible(hwnd) != FALSE;
  RECT w{}, c{};
  GetWindowRect(hwnd, &w);
  GetClientRect(hwnd, &c);
  return w.right - w.left - c.right == frame->cx && w.bottom - w.top - c.bottom == frame->cy;
}

HWND MemoOf(HWND viewer) { return viewer ? FindWindowExW(viewer, nullptr, L"Edit", nullptr) : nullptr; }

std::wstring LongText(size_t characters) {
  std::wstring text;
  while (text.size() < characters) text += L"行\r单独回车\n单独换行\t制表\r\n";
  text.resize(characters);
  return text;
}

struct Times {
  std::vector<double> text, settled;
};

bool Measure(int skin, const std::wstring& text, int repeats, Times& times) {
  const std::string name = "viewer-open-skin" + std::to_string(skin);
  const auto folder = e2e::PrepareRuntimeFolder(name);
  // The text limit (line 1) takes the long entry; no text hint on a click (line 24): so long
  // a text would cover the list.
  e2e::SetSettingsLine(folder, 1, std::to_string(text.size() + 20000));
  e2e::SetSettingsLine(folder, 24, "0");
  e2e::SetSkinNumber(folder, skin);
  const std::optional<SIZE> frame = SkinFrame(folder, skin);
  const std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);

  for (int r = 0; r < repeats; ++r) {
    // Each run starts from one entry (the exit record is written again on closing).
    e2e::WriteFile(folder / "temp.txt", "\xEF\xBB\xBF" + e2e::Utf8(kFirstEntry) + "\r\n");
    e2e::SetClipboardText(L"启动前的文本");
    e2e::RunningProgram program;
    if (!program.Start(folder)) return false;
    const HWND main = program.WaitForMainWindow(std::chrono::seconds(60));
    const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
    // The first show puts the exit record's entry in place of what start-up captured.
    if (!list ||
        !e2e::WaitUntil([&] { return e2e::ListRows(list) == std::vector<std::wstring>{kFirstEntry}; },
                        std::chrono::seconds(30)) ||
        !e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", bytes}}) ||
        !e2e::WaitForRowCount(list, 2, 30000)) {
      std::fprintf(stderr, "%s: the long entry did not arrive (%zu rows)\n", name.c_str(),
                   list ? e2e::ListRows(list).size() : 0);
      program.Kill();
      return false;
    }
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(800));
    // The long entry's row is selected (its click copies it) and its context menu opened.
    e2e::ClickListRow(list, 1);
    e2e::WaitUntil([] { return false; }, std::chrono::milliseconds(1500));
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT at{row.left + 80, (row.top + row.bottom) / 2};
    ClientToScreen(list, &at);
    e2e::ClickAt(at, true);
    std::optional<RECT> menuRow;
    e2e::WaitUntil([&] { return (menuRow = e2e::OpenContextMenuRowRect(main, kViewerRow)).has_value(); },
                   std::chrono::seconds(20));
    if (!menuRow) {
      std::fprintf(stderr, "%s: no context menu\n", name.c_str());
      program.Kill();
      return false;
    }

    const auto start = Clock::now();
    e2e::ClickAt(POINT{(menuRow->left + menuRow->right) / 2, (menuRow->top + menuRow->bottom) / 2});
    double textAt = -1, settledAt = -1;
    while (Since(start) < 60000 && settledAt < 0) {
      const HWND viewer = e2e::FindProcessWindow(program.ProcessId(), L"TForm3");
      const HWND memo = MemoOf(viewer);
      DWORD_PTR length = 0;
      if (textAt < 0 && memo && IsWindowVisible(viewer) && Answers(memo, WM_GETTEXTLENGTH, length) &&
          length == text.size()) {
        textAt = Since(start);
      }
      DWORD_PTR ignored = 0;
      if (textAt >= 0 && FrameIs(viewer, frame) && Answers(viewer, WM_NULL, ignored)) settledAt = Since(start);
      Sleep(2);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(std::chrono::seconds(60))) program.Kill();
    if (settledAt < 0) {
      std::fprintf(stderr, "%s: the viewer did not open (text at %.0f ms)\n", name.c_str(), textAt);
      return false;
    }
    times.text.push_back(textAt);
    times.settled.push_back(settledAt);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t characters = argc > 1 ? static_cast<size_t>(std::max(1, std::atoi(argv[1]))) : 300000;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::wstring text = LongText(characters);
  Times classic, skinned;
  if (!Measure(1, text, repeats, classic)) return 1;
  if (!Measure(2, text, repeats, skinned)) return 1;
  std::printf("median of %d runs, %zu characters, from the click on the viewer's row\n", repeats, characters);
  std::printf("classic look: memo holds the text %8.1f ms, settled %8.1f ms\n", Median(classic.text),
              Median(classic.settled));
  std::printf("skin 2:       memo holds the text %8.1f ms, settled %8.1f ms\n", Median(skinned.text),
              Median(skinned.settled));
  return 0;
}
