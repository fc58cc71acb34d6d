// The formatted view, driven as a user and other programs drive it: an entry copied as
// "HTML Format" opened from the list's context menu, read as another program reads an edit
// control, typed into, formatted with the buttons and the size box, saved back; saved and
// opened as HTML and ".liu" files; a spelling checker's messages; the first-start
// introduction; and input that must change nothing.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "app/snapshot/snapshot_stream.h"
#include "busy_copier.h"
#include "htmledit/cf_html.h"
#include "late_owner.h"
#include "program_fixture.h"
#include "screen_shot.h"
#include "unicode/codepage.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kViewCaption[] = L"用带格式的浏览器查看当前文本";
constexpr wchar_t kEntryHtml[] =
    L"<p>中文<b>粗体</b><font color=#FF0000>红色</font></p>"
    L"<table border=1><tr><td>甲</td><td>乙</td></tr><tr><td>丙</td><td>丁</td></tr></table>"
    L"<p><a href=\"http://example.invalid/\">链接</a></p>";

void Wait(std::chrono::milliseconds ms) {
  e2e::WaitUntil([] { return false; }, ms);
}

std::string HtmlFormat(const std::wstring& fragment) {
  return htmledit::WriteCfHtml(std::u16string(fragment.begin(), fragment.end())) + std::string(1, '\0');
}

std::string UnicodeBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// The editor's lines as another program reads an edit control's.
std::vector<std::wstring> EditorLines(HWND editor) {
  std::vector<std::wstring> lines;
  const LRESULT count = SendMessageW(editor, EM_GETLINECOUNT, 0, 0);
  for (LRESULT i = 0; i < count && i < 200; ++i) {
    std::vector<wchar_t> buffer(4096);
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(buffer.size() - 1);
    const LRESULT n = SendMessageW(editor, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    lines.emplace_back(buffer.data(), static_cast<size_t>(std::max<LRESULT>(0, n)));
  }
  return lines;
}

std::wstring FirstLine(HWND editor) {
  std::vector<std::wstring> lines = EditorLines(editor);
  return lines.empty() ? L"" : lines.front();
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2] = {};
    for (INPUT& i : input) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    Wait(120ms);
  }
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A saved HTML file as text: UTF-16 after its mark, else code page 936.
std::wstring HtmlFileText(const std::filesystem::path& file) {
  const std::string bytes = e2e::ReadFile(file);
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  const std::u16string text = unicode::AnsiToUtf16(bytes);
  return std::wstring(text.begin(), text.end());
}

// The font size box: the combo box with the seven sizes.
BOOL CALLBACK FindSizeBox(HWND h, LPARAM lp) {
  if (e2e::WindowClass(h) != L"ComboBox" || SendMessageW(h, CB_GETCOUNT, 0, 0) != 7) return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

class FormattedView : public e2e::ProgramTest {
 protected:
  // Selects a row and opens the view from the row's context menu, as a user does.
  HWND OpenViewOn(int row) {
    e2e::OpenListRowMenu(list_, row);
    if (!e2e::ChooseContextMenuRow(main_, kViewCaption)) {
      ADD_FAILURE() << "the list's context menu did not open";
      return nullptr;
    }
    // The clicks were taken before the menu opened: the view shows the row they left selected.
    const int selected = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
    if (selected != row) ADD_FAILURE() << "the click on row " << row << " left row " << selected << " selected";
    return WaitForView();
  }
  HWND WaitForView() {
    HWND view = nullptr;
    e2e::WaitUntil([&] {
      view = e2e::FindProcessWindow(program_.ProcessId(), L"TForm6");
      return view && IsWindowVisible(view);
    }, 15s);
    // Out of the list's way: the tests click rows of it while the view stays open.
    if (view) SetWindowPos(view, nullptr, 560, 0, 700, 560, SWP_NOZORDER | SWP_NOACTIVATE);
    return view;
  }
  // An "HTML Format" entry copied (with its text) as a word processor copies it, the view
  // opened on its row and showing these lines.
  HWND OpenHtmlEntry(const std::wstring& html, const std::wstring& text, const std::vector<std::wstring>& shown) {
    const int rows = static_cast<int>(e2e::ListRows(list_).size());
    if (!e2e::SetClipboardFormats({{0, L"HTML Format", HtmlFormat(html)}, {CF_UNICODETEXT, L"", UnicodeBytes(text)}}) ||
        !e2e::WaitForRowCount(list_, rows + 1)) {
      ADD_FAILURE() << "the entry was not captured";
      return nullptr;
    }
    HWND view = OpenViewOn(rows);
    if (view && !e2e::WaitUntil([&] { return EditorLines(Editor(view)) == shown; }, 10s))
      ADD_FAILURE() << "the view shows " << e2e::Utf8(EditorLines(Editor(view)).empty() ? L"" : EditorLines(Editor(view))[0]);
    return view;
  }
  static HWND Editor(HWND view) { return e2e::ChildWindow(view, L"THtmlEdit2"); }
  // The text of an HTML file the view saves. The save writes the file twice (the engine's own
  // save, then the generated source), so it is read once the view is done.
  static std::wstring SavedHtml(HWND view, const std::filesystem::path& file) {
    if (!e2e::WaitUntil([&] { return std::filesystem::exists(file); }, 10s)) return L"";
    e2e::WaitForIdle(view, 10s);
    return HtmlFileText(file);
  }
  // A click on the first line of the document: the focus goes there.
  static void ClickInDocument(HWND document) {
    RECT r{};
    GetWindowRect(document, &r);
    e2e::ClickAt(POINT{r.left + 12, r.top + 10});
    Wait(200ms);
  }
  static HWND DocumentWindow(HWND view) { return e2e::ChildWindow(view, L"RichEdit50W"); }
  void ClickButton(HWND view, const std::wstring& caption) {
    HWND button = e2e::ChildWindow(view, L"Button", caption);
    ASSERT_NE(button, nullptr) << "no button";
    e2e::ClickAt(e2e::CentreOf(button));
    Wait(250ms);
  }
  // Chooses a row of the font size box with the mouse: the arrow, then the row in the list.
  void ChooseFontSize(HWND view, int index) {
    HWND sizes = nullptr;
    EnumChildWindows(view, FindSizeBox, reinterpret_cast<LPARAM>(&sizes));
    ASSERT_NE(sizes, nullptr);
    RECT box{};
    GetWindowRect(sizes, &box);
    e2e::ClickAt(POINT{box.right - 8, (box.top + box.bottom) / 2});
    HWND list = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
      list = e2e::FindProcessWindow(program_.ProcessId(), L"ComboLBox");
      return list && IsWindowVisible(list);
    }, 5s));
    RECT listBox{};
    GetWindowRect(list, &listBox);
    const int item = static_cast<int>(SendMessageW(sizes, CB_GETITEMHEIGHT, 0, 0));
    const POINT rowAt{(listBox.left + listBox.right) / 2, listBox.top + 1 + item * index + item / 2};
    e2e::ClickAt(rowAt);
    Wait(300ms);
    // Checked at the pick, where a wrong row can still be told apart from a list that moved.
    RECT listNow{};
    GetWindowRect(list, &listNow);
    EXPECT_EQ(SendMessageW(sizes, CB_GETCURSEL, 0, 0), index)
        << "clicked at y " << rowAt.y << ", the list's top was " << listBox.top << " and is " << listNow.top;
  }
  std::wstring ClipboardText() { return e2e::ReadClipboardText().value_or(L""); }
  std::string ClipboardHtml() { return e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"HTML Format")).value_or(""); }
};

using FormattedViewInEachLook = e2e::InEachLook<FormattedView>;
INSTANTIATE_TEST_SUITE_P(Looks, FormattedViewInEachLook, e2e::EachLook(), e2e::LookName);

TEST_P(FormattedViewInEachLook, AnHtmlEntryIsReadEditedFormattedSavedAndWrittenToFiles) {
  SetMenuSwitch(L"支持带格式的文本（word、htm文本）", true);
  ASSERT_TRUE(e2e::SetClipboardFormats({{0, L"HTML Format", HtmlFormat(kEntryHtml)},
                                        {CF_UNICODETEXT, L"", UnicodeBytes(L"中文粗体红色 甲 乙 丙 丁 链接")}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));
  HWND view = OpenViewOn(1);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(e2e::WindowText(view), kViewCaption);
  HWND editor = Editor(view);
  HWND document = DocumentWindow(view);
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(document, nullptr);
  const std::vector<std::wstring> shown{L"中文粗体红色", L"甲\t乙", L"丙\t丁", L"链接"};
  ASSERT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor) == shown; }, 10s));
  wchar_t title[16] = L"x";
  EXPECT_EQ(SendMessageW(editor, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(title)), 0);
  e2e::ScreenShot::OfWindow(view).Save("formatted_view_opened");

  // Typed after the first two characters, with the caret put there as another program can.
  ClickInDocument(document);
  SendMessageW(editor, EM_SETSEL, 2, 2);
  TypeText(L"新");
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"中文新粗体红色"; }, 5s)) << e2e::Utf8(FirstLine(editor));
  // The first two characters bold and large, with the B button and the size box.
  SendMessageW(editor, EM_SETSEL, 0, 2);
  ClickButton(view, L"B");
  ChooseFontSize(view, 4);
  e2e::ScreenShot::OfWindow(view).Save("formatted_view_formatted");
  ClickButton(view, L"保存修改");
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_)[1].rfind(L"中文新粗体红色", 0) == 0; }, 10s));
  EXPECT_EQ(e2e::ListRows(list_).size(), 2u) << "the save's clipboard writes were captured";
  // The row now gives the edited content in every format.
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText().rfind(L"中文新粗体红色", 0) == 0; }, 10s));
  const std::string html = Lower(ClipboardHtml());
  EXPECT_NE(html.find("<b>"), std::string::npos) << html;
  EXPECT_NE(html.find("size=5"), std::string::npos) << html;
  EXPECT_NE(html.find(e2e::Utf8(L"新")), std::string::npos);
  EXPECT_EQ(e2e::ListRows(list_).size(), 2u);

  // An HTML file and a stream file; a change typed before the stream is saved goes into the
  // file, but the clipboard holds the entry as saved again afterwards.
  const std::filesystem::path htmlFile = folder_ / L"保存" / L"视图.html";
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"另存为 htm文件 。。。"));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), htmlFile.wstring()));
  const std::wstring saved = SavedHtml(view, htmlFile);
  ASSERT_FALSE(saved.empty()) << "no file";
  EXPECT_NE(saved.find(L"</font>新<b>粗体</b>"), std::wstring::npos) << e2e::Utf8(saved);
  EXPECT_NE(Lower(e2e::Utf8(saved)).find("<b>"), std::string::npos);
  const std::wstring lastLine = EditorLines(editor).back();
  ClickInDocument(document);
  const LRESULT end = SendMessageW(editor, EM_LINEINDEX, 3, 0) + static_cast<LRESULT>(lastLine.size());
  SendMessageW(editor, EM_SETSEL, end, end);
  TypeText(L"尾");
  ASSERT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor).back() == lastLine + L"尾"; }, 5s))
      << e2e::Utf8(EditorLines(editor).back()) << " / " << e2e::Utf8(lastLine) << " at " << end;
  const std::filesystem::path streamFile = folder_ / L"保存" / L"视图.liu";
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"另存为流文件。。。"));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), streamFile.wstring()));
  ASSERT_TRUE(e2e::WaitUntil([&] { return std::filesystem::exists(streamFile); }, 10s));
  const std::string stream = e2e::ReadFile(streamFile);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
  ASSERT_TRUE(app::ValidateSnapshot(bytes).valid);
  const app::DecodedSnapshot decoded = app::DecodeSnapshot(bytes);
  bool hasHtml = false;
  for (const app::SnapshotFormat& f : decoded.formats) {
    if (f.name != "HTML Format") continue;
    hasHtml = std::string(f.data.begin(), f.data.end()).find(e2e::Utf8(L"链接尾")) != std::string::npos;
  }
  EXPECT_TRUE(hasHtml);
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText().rfind(L"中文新粗体红色", 0) == 0; }, 10s));
  EXPECT_EQ(ClipboardText().find(L"尾"), std::wstring::npos);

  // Both files open again.
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"打开 htm文件 "));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), htmlFile.wstring()));
  ASSERT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor).back() == lastLine; }, 10s));
  EXPECT_EQ(FirstLine(editor), L"中文新粗体红色");
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"打开流文件"));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), streamFile.wstring()));
  ASSERT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor).back() == lastLine + L"尾"; }, 10s));
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText().rfind(L"中文新粗体红色", 0) == 0; }, 10s));
  EXPECT_EQ(ClipboardText().find(L"尾"), std::wstring::npos);
  EXPECT_EQ(e2e::ListRows(list_).size(), 2u);

  // A spelling checker replaces words, through the editor control and through the view alike.
  SendMessageW(editor, EM_SETSEL, 0, 2);
  DWORD from = 99, to = 99;
  SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 2u);
  SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"汉语"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"汉语新粗体红色"; }, 5s)) << e2e::Utf8(FirstLine(editor));
  SendMessageW(document, EM_SETSEL, 3, 5);
  from = to = 99;
  SendMessageW(document, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 3u);
  EXPECT_EQ(to, 5u);
  SendMessageW(document, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"黑体"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"汉语新黑体红色"; }, 5s)) << e2e::Utf8(FirstLine(editor));
  // A checker's point pointer is this process's memory, not the program's: answered with 0.
  POINTL point{-1, -1};
  EXPECT_EQ(SendMessageW(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), 0), 0);
  Wait(300ms);
  EXPECT_TRUE(e2e::MessageBoxTexts(program_.ProcessId()).empty());
  ClickButton(view, L"保存修改");
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText().rfind(L"汉语新黑体红色", 0) == 0; }, 10s));
  EXPECT_EQ(e2e::ListRows(list_).size(), 2u);
}

// Saved as HTML and read back from disk: comments, Word's list markers, style sheets and
// scripts come out as they went in, at every save; a link below a folder base is relative to
// that folder.
TEST_F(FormattedView, SavedHtmlKeepsCommentsRawTextAndFolderRelativeLinks) {
  SetMenuSwitch(L"支持带格式的文本（word、htm文本）", true);
  const std::wstring style = L"p > b {color:red}";
  const std::wstring script = L"if (1 < 2 && x) y = \"&amp;\";";
  const std::vector<std::wstring> shown{L"甲乙", L"1.列表"};
  HWND view = OpenHtmlEntry(L"<p>甲<!--abc-->乙</p><p><![if !supportLists]>1.<![endif]>列表</p><style>" + style +
                                L"</style><script>" + script + L"</script>",
                            L"甲乙 1.列表", shown);
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  // Saved twice (each save reloads the view from what it wrote): the same text both times.
  std::wstring saved[2];
  for (int i = 0; i < 2; ++i) {
    const std::filesystem::path file = folder_ / L"保存" / (L"注释" + std::to_wstring(i) + L".html");
    ASSERT_TRUE(e2e::ChooseMenuRow(view, L"另存为 htm文件 。。。"));
    ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), file.wstring()));
    saved[i] = SavedHtml(view, file);
    ASSERT_FALSE(saved[i].empty()) << "no file";
    EXPECT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor) == shown; }, 5s))
        << e2e::Utf8(EditorLines(editor).empty() ? L"" : EditorLines(editor).front());
  }
  const std::wstring& html = saved[0];
  EXPECT_NE(html.find(L"甲<!--abc-->乙"), std::wstring::npos) << e2e::Utf8(html);
  EXPECT_NE(html.find(L"<!--[if !supportLists]-->1.<!--[endif]-->列表"), std::wstring::npos) << e2e::Utf8(html);
  EXPECT_EQ(html.find(L"--&gt;"), std::wstring::npos);
  EXPECT_NE(html.find(style), std::wstring::npos) << e2e::Utf8(html);
  EXPECT_NE(html.find(script), std::wstring::npos) << e2e::Utf8(html);
  EXPECT_EQ(saved[1], saved[0]) << e2e::Utf8(saved[1]);
  ClickButton(view, L"保存修改");
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_)[1].rfind(L"甲乙", 0) == 0; }, 10s));
  EXPECT_EQ(e2e::ListRows(list_)[1].find(L"-->"), std::wstring::npos) << e2e::Utf8(e2e::ListRows(list_)[1]);

  // A page with a folder base, opened and saved under another name.
  const std::filesystem::path page = folder_ / L"保存" / L"基址.html";
  e2e::WriteFile(page, "<html><head><base href=\"file:///C:/x/\"></head><body>"
                       "<p><a href=\"file:///C:/x/sub/p.html\">link</a></p></body></html>");
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"打开 htm文件 "));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), page.wstring()));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"link"; }, 10s));
  const std::filesystem::path copy = folder_ / L"保存" / L"基址副本.html";
  ASSERT_TRUE(e2e::ChooseMenuRow(view, L"另存为 htm文件 。。。"));
  ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), copy.wstring()));
  const std::wstring linked = SavedHtml(view, copy);
  EXPECT_NE(linked.find(L"href=\"sub\\p.html\""), std::wstring::npos) << e2e::Utf8(linked);
}

// A word processor's HTML Format refers to its pictures as local files; they show at their
// size or the size the page gives them, a data: address too; a damaged or missing file keeps
// its placeholder.
TEST_F(FormattedView, LocalPicturesAndDataAddressesShowAtTheirSize) {
  SetMenuSwitch(L"支持带格式的文本（word、htm文本）", true);
  const std::filesystem::path clips = folder_ / L"msohtmlclip1" / L"01";
  std::filesystem::create_directories(clips);
  const std::filesystem::path fixtures = std::filesystem::path(QUILL_TESTDATA_DIR) / "pictures";
  for (const char* name : {"clip_image001.png", "clip_image002.jpg", "clip_image003.gif", "clip_image004.bmp",
                           "clip_image005.png"})
    e2e::WriteFile(clips / name, e2e::ReadFile(fixtures / name));
  e2e::WriteFile(clips / "clip_image006.png", e2e::ReadFile(fixtures / "damaged.png").substr(0, 60));
  std::wstring url = L"file:///" + clips.wstring() + L"/";
  std::replace(url.begin(), url.end(), L'\\', L'/');
  auto img = [&](const std::wstring& name, const std::wstring& size = L"") {
    return L"<img " + size + L" src=\"" + url + name + L"\">";
  };
  const std::wstring html =
      L"<p>图片" + img(L"clip_image001.png", L"width=40 height=30") + img(L"clip_image002.jpg") +
      img(L"clip_image003.gif") + img(L"clip_image004.bmp") + L"</p><p>" + img(L"clip_image005.png", L"width=60") +
      L"<img src=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABgAAAAQAQMAAAA26i3WAAAAA1BMVEUQwMDrwotUAAAADElEQVQI12NgoAwAAABAAAFmF2OwAAAAAElFTkSuQmCC\">" +
      img(L"clip_image006.png") + img(L"clip_image007.png") + L"尾</p>";
  HWND view = OpenHtmlEntry(html, L"图片 尾", {L"图片\uFFFC\uFFFC\uFFFC\uFFFC", L"\uFFFC\uFFFC\uFFFC\uFFFC尾"});
  ASSERT_NE(view, nullptr);
  HWND document = DocumentWindow(view);
  // Each picture is a block of its own colour: its size on the screen is the block's.
  struct Block {
    const char* name;
    COLORREF color;
    int width, height;
  };
  const Block blocks[] = {{"png", RGB(0x12, 0xAB, 0x34), 40, 30}, {"jpeg", RGB(0x20, 0x40, 0xC0), 36, 24},
                          {"gif", RGB(0xC0, 0x20, 0x80), 30, 20},  {"bmp", RGB(0xE0, 0xA0, 0x10), 28, 18},
                          {"png at width 60", RGB(0x70, 0x30, 0xF0), 60, 30},
                          {"data:", RGB(0x10, 0xC0, 0xC0), 24, 16}, {"damaged", RGB(0xF0, 0x60, 0x60), 0, 0}};
  auto similar = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 && std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
  };
  auto measure = [&](const e2e::ScreenShot& shot, COLORREF color) {
    RECT box{shot.Width(), shot.Height(), -1, -1};
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x)
        if (similar(shot.At(x, y), color)) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.right < 0 ? SIZE{0, 0} : SIZE{box.right - box.left, box.bottom - box.top};
  };
  e2e::ScreenShot shot = e2e::ScreenShot::OfClient(document);
  e2e::WaitUntil([&] {
    shot = e2e::ScreenShot::OfClient(document);
    return measure(shot, blocks[0].color).cx > 0;
  }, 5s);
  shot.Save("formatted_view_pictures");
  for (const Block& b : blocks) {
    const SIZE size = measure(shot, b.color);
    EXPECT_EQ(size.cx, b.width) << b.name;
    EXPECT_EQ(size.cy, b.height) << b.name;
  }
  EXPECT_TRUE(e2e::MessageBoxTexts(program_.ProcessId()).empty());
  EXPECT_TRUE(e2e::WaitUntil([&] { return SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr) != 0; }, 10s));
}

TEST_F(FormattedView, AnEmptiedViewSavesAnEmptyTextEntryAndAGoneEntryIsNotWritten) {
  SetMenuSwitch(L"支持带格式的文本（word、htm文本）", true);
  ASSERT_TRUE(e2e::SetClipboardFormats({{0, L"HTML Format", HtmlFormat(L"<p><b>要删掉的</b>文字</p>")},
                                        {CF_UNICODETEXT, L"", UnicodeBytes(L"要删掉的文字")}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));
  HWND view = OpenViewOn(1);
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"要删掉的文字"; }, 10s));
  // Everything taken out, as another program can: the save gives an empty entry.
  SendMessageW(editor, EM_SETSEL, 0, -1);
  SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor).empty(); }, 5s));
  ClickButton(view, L"保存修改");
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).size() == 2 && e2e::ListRows(list_)[1].empty(); }, 10s))
      << e2e::Utf8(e2e::ListRows(list_)[1]);
  EXPECT_TRUE(e2e::MessageBoxTexts(program_.ProcessId()).empty());

  // The row is deleted while the view is open: saving says so, and no entry changes.
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"单项删除"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 1));
  SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"新的文字"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"新的文字"; }, 5s));
  ClickButton(view, L"保存修改");
  ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 10s));
  EXPECT_NE(e2e::MessageBoxTexts(program_.ProcessId())[0].find(L"已被删除"), std::wstring::npos);
  EXPECT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"已被删除", IDOK));
  EXPECT_EQ(e2e::ListRows(list_), std::vector<std::wstring>{kFirstEntry});
  // Opened again on the remaining row, the view saves into that one.
  view = OpenViewOn(0);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == kFirstEntry; }, 10s));
}

TEST_F(FormattedView, SavesWhileAnotherProgramCopiesBecomeNoRowsAndTakeNoneOfItsCopies) {
  for (const wchar_t* text : {L"查看 甲", L"查看 乙", L"查看 丙"}) Copy(text);
  HWND view = OpenViewOn(3);
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"查看 丙"; }, 10s));
  HWND save = e2e::ChildWindow(view, L"Button", L"保存修改");
  ASSERT_NE(save, nullptr);
  e2e::BusyCopier other(L"他人复制 ", program_.ProcessId());
  std::wstring saved;
  for (int edit = 1; edit <= 40; ++edit) {
    saved = L"查看 丙 格式改 " + std::to_wstring(edit);
    SendMessageW(editor, EM_SETSEL, 0, -1);
    SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(saved.c_str()));
    ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == saved; }, 5s));
    // A copy that lands between the save's write and its read is reported, and saved again.
    for (int attempt = 0; attempt < 3 && e2e::ListRow(list_, 3).rfind(saved, 0) != 0; ++attempt) {
      // Posted to the button: a capture's focus on the list, which activates the main window,
      // would take a real click's press from it.
      PostMessageW(save, BM_CLICK, 0, 0);
      e2e::WaitUntil([&] {
        return e2e::ListRow(list_, 3).rfind(saved, 0) == 0 || !e2e::MessageBoxTexts(program_.ProcessId()).empty();
      }, 10s);
      e2e::AnswerMessageBox(program_.ProcessId(), L"", IDOK);
    }
    ASSERT_EQ(e2e::ListRow(list_, 3).rfind(saved, 0), 0u) << e2e::Utf8(e2e::ListRow(list_, 3));
    Wait(std::chrono::milliseconds(40 + edit * 37 % 120));  // the saves fall at every point of the copies' rhythm
  }
  other.Stop();
  const std::vector<std::wstring> copied = other.Copied();
  ASSERT_FALSE(copied.empty());
  e2e::WaitUntil([&] {
    const int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    return e2e::ListRow(list_, count - 1) == copied.back();
  }, 10s);
  const std::vector<std::wstring> rows = e2e::ListRows(list_);
  EXPECT_EQ(rows[3].rfind(saved, 0), 0u);
  // Every copy of the other program is a row, in order, and nothing else is; one that a save
  // replaced at once may have come after the program's last look, and been there for no one to read.
  const std::vector<std::wstring> replaced = other.ReplacedAtOnce();
  const std::vector<std::wstring> after(rows.begin() + 4, rows.end());
  std::string extra, lost;
  for (const std::wstring& row : after) {
    if (std::find(copied.begin(), copied.end(), row) == copied.end()) extra += " [" + e2e::Utf8(row) + "]";
  }
  std::vector<std::wstring> kept;
  for (const std::wstring& copy : copied) {
    if (std::find(after.begin(), after.end(), copy) != after.end()) kept.push_back(copy);
    else if (std::find(replaced.begin(), replaced.end(), copy) == replaced.end()) lost += " [" + e2e::Utf8(copy) + "]";
  }
  EXPECT_EQ(extra, "") << "rows that are no copy of the other program";
  EXPECT_EQ(lost, "") << "copies of the other program without a row";
  EXPECT_EQ(after, kept) << "the copies' rows are out of order";
  std::printf("%zu copies, %zu replaced at once by a save, %zu of those without a row\n", copied.size(),
              replaced.size(), copied.size() - kept.size());
}

TEST_P(FormattedViewInEachLook, ASaveWhileAReadIsHeldInAHungOwnerSaysSoAndChangesNothing) {
  // The save writes the view to the clipboard and reads it back; while a read given up stays in
  // a hung owner's render nothing can be read. It said "Stream read error" after replacing the
  // clipboard. Now it says why before it writes anything; once the owner is gone it saves.
  Copy(L"格式视图里的条目");
  HWND view = OpenViewOn(1);
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"格式视图里的条目"; }, 10s));
  SendMessageW(editor, EM_SETSEL, 0, -1);
  SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"改过的条目"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"改过的条目"; }, 5s));

  const std::wstring hung = L"保存时挂起的程序复制的文本";
  e2e::LateOwner owner(hung, e2e::LateOwner::Stall::HangsInSecondRender);
  ASSERT_TRUE(owner.WaitForCopy());
  ASSERT_TRUE(owner.WaitForRender(5s)) << "the capture did not ask for the promised formats";
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 3)) << "no row for the hung owner's text";
  Wait(300ms);  // the capture gave its read up at the deadline: it stays in the render

  PostMessageW(e2e::ChildWindow(view, L"Button", L"保存修改"), BM_CLICK, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 10s)) << "no box";
  const std::wstring said = e2e::MessageBoxTexts(program_.ProcessId())[0];
  EXPECT_NE(said.find(L"没有响应"), std::wstring::npos) << e2e::Utf8(said);
  EXPECT_EQ(said.find(L"内部错误"), std::wstring::npos) << e2e::Utf8(said);
  EXPECT_EQ(ClipboardText(), hung) << "the save replaced the clipboard";
  EXPECT_EQ(e2e::ListRow(list_, 1), L"格式视图里的条目");
  e2e::AnswerMessageBox(program_.ProcessId(), L"", IDOK);

  owner.End();
  Wait(1500ms);  // the read comes back from the render
  PostMessageW(e2e::ChildWindow(view, L"Button", L"保存修改"), BM_CLICK, 0, 0);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRow(list_, 1).rfind(L"改过的条目", 0) == 0; }, 10s))
      << e2e::Utf8(e2e::ListRow(list_, 1));
  EXPECT_TRUE(e2e::MessageBoxTexts(program_.ProcessId()).empty());
}

TEST_F(FormattedView, TheIntroductionOpensWithSavingOffAndWithoutItsFileAMessage) {
  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText() == kFirstEntry; }, 10s));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"首次启动介绍"));
  HWND view = WaitForView();
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == L"欢迎使用 Quillora12.6"; }, 10s))
      << e2e::Utf8(FirstLine(editor)) << " " << EditorLines(editor).size() << " visible " << IsWindowVisible(view)
      << " boxes " << (e2e::MessageBoxTexts(program_.ProcessId()).empty() ? "" : e2e::Utf8(e2e::MessageBoxTexts(program_.ProcessId())[0]));
  e2e::ScreenShot::OfWindow(view).Save("formatted_view_introduction");
  EXPECT_FALSE(IsWindowEnabled(e2e::ChildWindow(view, L"Button", L"保存修改")));
  const std::vector<e2e::MenuRowInfo> menu = e2e::ReadMenuBar(view);
  const e2e::MenuRowInfo* file = e2e::FindMenuRow(menu, L"  文件  ");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->greyed);
  // The clipboard holds the current entry again, and nothing new was captured.
  ASSERT_TRUE(e2e::WaitUntil([&] { return ClipboardText() == kFirstEntry; }, 10s));
  EXPECT_EQ(e2e::ListRows(list_).size(), 1u);
  // Closed, the view saves and opens files again.
  PostMessageW(view, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(view); }, 10s));
  EXPECT_TRUE(IsWindowEnabled(e2e::ChildWindow(view, L"Button", L"保存修改")));
  EXPECT_FALSE(e2e::FindMenuRow(e2e::ReadMenuBar(view), L"  文件  ")->greyed);
  // Without its file: the message, and nothing opens.
  std::filesystem::remove(folder_ / L"首次启动介绍.liu");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"首次启动介绍"));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    for (const std::wstring& text : e2e::MessageBoxTexts(program_.ProcessId()))
      if (text.find(L"首次启动介绍.liu 这个文件不存在，无法调入！") != std::wstring::npos) return true;
    return false;
  }, 10s));
  EXPECT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"这个文件不存在", IDOK));
  EXPECT_FALSE(IsWindowVisible(view));
}

TEST_F(FormattedView, BadStreamFilesAndHostileHtmlChangeNothingAndFetchNothing) {
  HWND view = OpenViewOn(0);
  ASSERT_NE(view, nullptr);
  HWND editor = Editor(view);
  ASSERT_TRUE(e2e::WaitUntil([&] { return FirstLine(editor) == kFirstEntry; }, 10s));
  // An empty, a cut and a junk stream file: a message each, the view and the clipboard as they were.
  std::string good;
  {
    const std::string html = HtmlFormat(L"<p>x</p>");
    app::SnapshotWriter writer;
    writer.AddFormat(0xC0FE, "HTML Format", std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()));
    const app::SnapshotBytes b = std::move(writer).Finish();
    good.assign(b.begin(), b.end());
  }
  const std::pair<const char*, std::string> files[] = {
      {"empty.liu", ""}, {"cut.liu", good.substr(0, good.size() / 2)}, {"junk.liu", std::string(3000, '\x7F')}};
  for (const auto& [name, bytes] : files) {
    e2e::WriteFile(folder_ / L"保存" / name, bytes);
    ASSERT_TRUE(e2e::ChooseMenuRow(view, L"打开流文件"));
    ASSERT_TRUE(e2e::FillFileDialog(program_.ProcessId(), (folder_ / L"保存" / name).wstring()));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 10s)) << name;
    EXPECT_NE(e2e::MessageBoxTexts(program_.ProcessId())[0].find(L"不是一个有效的流文件"), std::wstring::npos) << name;
    EXPECT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"流文件", IDOK));
    EXPECT_EQ(FirstLine(editor), kFirstEntry) << name;
    EXPECT_EQ(ClipboardText(), kFirstEntry) << name;
  }
  PostMessageW(view, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(view); }, 10s));

  // Scripts, frames and pictures from a server: the text shows, nothing runs and nothing is fetched.
  WSADATA wsa{};
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  SOCKET server = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  int length = sizeof address;
  getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);
  listen(server, 4);
  u_long nonBlocking = 1;
  ioctlsocket(server, FIONBIO, &nonBlocking);
  const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/";
  const std::wstring hostile = L"<script>document.write('脚本运行了')</script><iframe src=\"" + url + L"frame\"></iframe>"
                               L"<img src=\"" + url + L"picture.png\"><p>可见的文字</p>"
                               L"<object data=\"" + url + L"object\"></object><style>p{color:red}</style>";
  ASSERT_TRUE(e2e::SetClipboardFormats({{0, L"HTML Format", HtmlFormat(hostile)}, {CF_UNICODETEXT, L"", UnicodeBytes(L"可见的文字")}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));
  view = OpenViewOn(1);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    for (const std::wstring& line : EditorLines(editor))
      if (line.find(L"可见的文字") != std::wstring::npos) return true;
    return false;
  }, 10s));
  Wait(1000ms);
  for (const std::wstring& line : EditorLines(editor)) EXPECT_EQ(line.find(L"脚本"), std::wstring::npos);
  EXPECT_EQ(accept(server, nullptr, nullptr), INVALID_SOCKET) << "the view fetched something";
  closesocket(server);
  WSACleanup();
  PostMessageW(view, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(view); }, 10s));

  // A 5 MB "HTML Format" of a word processor's kind: it opens, and the program answers again.
  std::wstring big = L"<p>";
  while (big.size() < 4'800'000)
    big += L"<span style='font-size:10.5pt;font-family:宋体;mso-ascii-font-family:Calibri;mso-hansi-font-family:Calibri'>"
           L"大段的文字</span>";
  big += L"</p><p>结尾</p>";
  const std::string bigHtml = HtmlFormat(big);
  ASSERT_GT(bigHtml.size(), 5'000'000u);
  ASSERT_TRUE(e2e::SetClipboardFormats({{0, L"HTML Format", bigHtml}, {CF_UNICODETEXT, L"", UnicodeBytes(L"大段的文字")}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 3));
  view = OpenViewOn(2);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(e2e::WaitUntil([&] { return EditorLines(editor).size() > 1 && EditorLines(editor).back() == L"结尾"; }, 60s));
  EXPECT_TRUE(e2e::WaitUntil([&] { return SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr) != 0; }, 10s));
  EXPECT_EQ(e2e::ListRows(list_).size(), 3u);
}

}  // namespace
