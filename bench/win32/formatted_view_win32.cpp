// The formatted view against the text viewer, driven from this process as a user and other
// programs drive them:
//  1. a 1 MB "HTML Format" entry: from the click on the list's context-menu row until the
//     text is readable (the editor's last line through EM_GETLINE; the viewer's memo holding
//     the whole text), median of 5 openings each;
//  2. an 80000-character text: every line read through EM_GETLINE from this process, from the
//     formatted view's editor and from the text viewer's EDIT holding the same text, median of 5.
//   formatted_view_win32
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "clipboard_driver.h"
#include "htmledit/cf_html.h"
#include "program_driver.h"
#include "window_parts.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;
using namespace std::chrono_literals;

constexpr wchar_t kFormattedCaption[] = L"用带格式的浏览器查看当前文本";
constexpr wchar_t kViewerCaption[] = L"查看/修改（单条记录，无格式）";

std::string UnicodeBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// The length of another process's edit control's text (GetWindowTextLength would not ask it).
int TextLength(HWND edit) { return static_cast<int>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)); }

// Every line of an edit control, as another program reads them; the characters read.
size_t ReadAllLines(HWND edit, std::wstring* last = nullptr) {
  const LRESULT count = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
  std::vector<wchar_t> buffer(8192);
  size_t total = 0;
  for (LRESULT i = 0; i < count; ++i) {
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(buffer.size() - 1);
    const LRESULT n = SendMessageW(edit, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    total += static_cast<size_t>(std::max<LRESULT>(0, n));
    if (last && i == count - 1) last->assign(buffer.data(), static_cast<size_t>(std::max<LRESULT>(0, n)));
  }
  return total;
}

std::wstring LastLine(HWND edit) {
  const LRESULT count = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
  std::vector<wchar_t> buffer(8192);
  *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(buffer.size() - 1);
  const LRESULT n = SendMessageW(edit, EM_GETLINE, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(std::max<LRESULT>(0, n)));
}

class Session {
 public:
  bool Start() {
    const auto folder = e2e::PrepareRuntimeFolder("bench_formatted_view");
    // A text limit that takes the long entries (the first line of the settings file).
    std::string set = e2e::ReadFile(folder / "set");
    set = "320000" + set.substr(set.find("\r\n"));
    e2e::WriteFile(folder / "set", set);
    if (!program_.Start(folder)) return false;
    main_ = program_.WaitForMainWindow();
    list_ = main_ ? e2e::FindHistoryList(main_) : nullptr;
    if (!list_) return false;
    // Formatted text is kept only with this switch on.
    const std::wstring formatted = L"支持带格式的文本（word、htm文本）";
    const e2e::MenuRowInfo* row = nullptr;
    std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main_);
    row = e2e::FindMenuRow(rows, formatted);
    if (!row) return false;
    if (!row->checked && !e2e::ChooseMenuRow(main_, formatted)) return false;
    return e2e::WaitUntil([&] {
      rows = e2e::ReadMenuBar(main_);
      row = e2e::FindMenuRow(rows, formatted);
      return row && row->checked;
    }, 10s);
  }
  ~Session() {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (!program_.WaitForExit(60s)) program_.Kill();
  }
  // Copies the formats as another program does; the new entry's row.
  int Copy(const std::vector<e2e::ClipFormat>& formats) {
    const int rows = static_cast<int>(e2e::ListRows(list_).size());
    if (!e2e::SetClipboardFormats(formats) || !e2e::WaitForRowCount(list_, rows + 1, 60000)) return -1;
    return rows;
  }
  // Opens a window on the row through the list's context menu; the milliseconds from the
  // click on the menu row until `ready` holds, or -1.
  template <typename Ready>
  double Open(int row, const wchar_t* caption, const wchar_t* windowClass, HWND& window, Ready ready) {
    e2e::OpenListRowMenu(list_, row);
    std::optional<RECT> menuRow;
    e2e::WaitUntil([&] { return (menuRow = e2e::OpenContextMenuRowRect(main_, caption)).has_value(); }, 10s);
    if (!menuRow) return -1;
    const auto start = Clock::now();
    e2e::ClickAt(POINT{(menuRow->left + menuRow->right) / 2, (menuRow->top + menuRow->bottom) / 2});
    const bool shown = e2e::WaitUntil([&] {
      window = e2e::FindProcessWindow(program_.ProcessId(), windowClass);
      return window && IsWindowVisible(window) && ready(window);
    }, 60s);
    return shown ? Ms(Clock::now() - start) : -1;
  }
  void Close(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    e2e::WaitUntil([&] { return !IsWindowVisible(window); }, 10s);
    // The click hint and the menu are gone before the next opening.
    e2e::WaitUntil([] { return false; }, 300ms);
  }

 private:
  e2e::RunningProgram program_;
  HWND main_ = nullptr, list_ = nullptr;
};

bool OpeningTimes(Session& session) {
  // About 1 MB of HTML: paragraphs of styled, coloured and bold text in a word processor's manner.
  std::wstring html, text;
  for (int i = 0; html.size() < 800'000; ++i) {
    const std::wstring n = std::to_wstring(i);
    html += L"<p style='margin:0'><span style='font-size:10.5pt;font-family:宋体'>第" + n +
            L"段：剪贴板里的带格式文字，</span><b>粗体</b><font color=#C00000>红色的字</font> formatted text</p>";
    text += L"第" + n + L"段：剪贴板里的带格式文字，粗体红色的字 formatted text\r\n";
  }
  const std::u16string fragment(html.begin(), html.end());
  const std::string cfHtml = htmledit::WriteCfHtml(fragment) + std::string(1, '\0');
  const std::wstring lastLine = text.substr(text.rfind(L"\r\n", text.size() - 3) + 2, text.size() - 2 - (text.rfind(L"\r\n", text.size() - 3) + 2));
  text.resize(text.size() - 2);
  const int row = session.Copy({{0, L"HTML Format", cfHtml}, {CF_UNICODETEXT, L"", UnicodeBytes(text)}});
  if (row < 0) return false;
  std::printf("entry: HTML Format %.2f MB, text %zu characters\n", cfHtml.size() / 1048576.0, text.size());

  std::vector<double> formatted, viewer;
  for (int i = 0; i < 5; ++i) {
    HWND view = nullptr;
    const double f = session.Open(row, kFormattedCaption, L"TForm6", view, [&](HWND w) {
      HWND editor = e2e::ChildWindow(w, L"THtmlEdit2");
      return editor && LastLine(editor) == lastLine;
    });
    if (f < 0) {
      HWND editor = view ? e2e::ChildWindow(view, L"THtmlEdit2") : nullptr;
      std::printf("the formatted view did not show the text (%s, last line \"%s\")\n", view ? "open" : "not open",
                  editor ? e2e::Utf8(LastLine(editor)).c_str() : "");
      return false;
    }
    formatted.push_back(f);
    session.Close(view);
    HWND textViewer = nullptr;
    const double v = session.Open(row, kViewerCaption, L"TForm3", textViewer, [&](HWND w) {
      HWND memo = e2e::ChildWindow(w, L"Edit");
      return memo && TextLength(memo) == static_cast<int>(text.size());
    });
    if (v < 0) {
      HWND memo = textViewer ? e2e::ChildWindow(textViewer, L"Edit") : nullptr;
      std::printf("the text viewer did not show the text (%s, %d characters)\n", textViewer ? "open" : "not open",
                  memo ? TextLength(memo) : -1);

      return false;
    }
    viewer.push_back(v);
    session.Close(textViewer);
  }
  std::printf("menu row to readable text, median of 5: formatted view %.0f ms, text viewer %.0f ms\n",
              Median(formatted), Median(viewer));
  return true;
}

bool LineReading(Session& session) {
  std::wstring text;
  for (int i = 0; text.size() < 80'000; ++i) {
    std::wstring line = L"第" + std::to_wstring(i) + L"行 lines read by another program, one EM_GETLINE each";
    text += line + L"\r\n";
  }
  text.resize(80'000);
  const int row = session.Copy({{CF_UNICODETEXT, L"", UnicodeBytes(text)}});
  if (row < 0) return false;
  const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) + 1;

  HWND view = nullptr;
  if (session.Open(row, kFormattedCaption, L"TForm6", view, [&](HWND w) {
        HWND editor = e2e::ChildWindow(w, L"THtmlEdit2");
        return editor && static_cast<size_t>(SendMessageW(editor, EM_GETLINECOUNT, 0, 0)) >= lines;
      }) < 0)
    return false;
  HWND editor = e2e::ChildWindow(view, L"THtmlEdit2");
  std::vector<double> editorTimes;
  size_t editorChars = 0;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    editorChars = ReadAllLines(editor);
    editorTimes.push_back(Ms(Clock::now() - start));
  }
  const LRESULT editorLines = SendMessageW(editor, EM_GETLINECOUNT, 0, 0);
  session.Close(view);

  HWND textViewer = nullptr;
  if (session.Open(row, kViewerCaption, L"TForm3", textViewer, [&](HWND w) {
        HWND memo = e2e::ChildWindow(w, L"Edit");
        return memo && TextLength(memo) == static_cast<int>(text.size());
      }) < 0)
    return false;
  HWND memo = e2e::ChildWindow(textViewer, L"Edit");
  std::vector<double> memoTimes;
  size_t memoChars = 0;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    memoChars = ReadAllLines(memo);
    memoTimes.push_back(Ms(Clock::now() - start));
  }
  const LRESULT memoLines = SendMessageW(memo, EM_GETLINECOUNT, 0, 0);
  session.Close(textViewer);

  const double e = Median(editorTimes), m = Median(memoTimes);
  std::printf("every line of an 80000-character text through EM_GETLINE, median of 5:\n"
              "  formatted view's editor %ld lines, %zu characters: %.0f ms\n"
              "  text viewer's EDIT      %ld lines, %zu characters: %.0f ms\n"
              "  ratio %.2f\n",
              static_cast<long>(editorLines), editorChars, e, static_cast<long>(memoLines), memoChars, m, m > 0 ? e / m : 0);
  return true;
}

}  // namespace

int wmain() {
  Session session;
  if (!session.Start()) {
    std::printf("the program did not start\n");
    return 1;
  }
  if (!OpeningTimes(session)) {
    std::printf("opening failed\n");
    return 1;
  }
  if (!LineReading(session)) {
    std::printf("line reading failed\n");
    return 1;
  }
  return 0;
}
