// THtmlEdit2 against the editor's own browser control: creation through DocumentComplete
// and readystatechange, the waits against loads that complete late or never (a message
// hook holds back the control's load message), the operations, and after each of them
// the view's text equal to the document's body text.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "htmledit/editor_module_win32.h"
#include "htmledit/engine_document_win32.h"
#include "htmledit/html_edit2_win32.h"
#include "htmledit/module_routines.h"
#include "htmledit/url_paths.h"
#include "htmledit/win32_test_support.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

using testing::Pump;
using testing::ReadBytes;
using testing::Scratch;
using testing::WriteBytes;

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }



// Holds back the control's load message: until releaseAt (re-posted meanwhile), or for ever.
std::atomic<DWORD> g_releaseAt{0};
std::atomic<bool> g_holdForever{false};
HHOOK g_hook = nullptr;

LRESULT CALLBACK HoldLoads(int code, WPARAM wp, LPARAM lp) {
  static const UINT loadMessage = RegisterWindowMessageW(kEngineLoadMessage);
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && msg->message == loadMessage) {
    if (g_holdForever) {
      msg->message = WM_NULL;
    } else if (static_cast<LONG>(GetTickCount() - g_releaseAt) < 0) {
      PostMessageW(msg->hwnd, loadMessage, msg->wParam, msg->lParam);
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

struct LoadHold {
  explicit LoadHold(DWORD delayMs, bool forever = false) {
    g_releaseAt = GetTickCount() + delayMs;
    g_holdForever = forever;
    g_hook = SetWindowsHookExW(WH_GETMESSAGE, HoldLoads, nullptr, GetCurrentThreadId());
  }
  ~LoadHold() {
    UnhookWindowsHookEx(g_hook);
    g_holdForever = false;
  }
};

std::u16string ViewText(HWND view) {
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT n = SendMessageW(view, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
  std::u16string text(static_cast<size_t>(n > 0 ? n : 0) + 1, u'\0');
  GETTEXTEX get{static_cast<DWORD>(text.size() * 2), GT_DEFAULT, 1200, nullptr, nullptr};
  LRESULT got = SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    StartEditorModule();
    form = CreateWindowExW(0, L"STATIC", L"\u7F16\u8F91\u5668", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    editor.OnCreate = [this](TCustomHtmlEdit&) { ++created; };
    editor.OnTimeout = [this](TCustomHtmlEdit&) { ++timeouts; };
    editor.OnLoadFromFile = [this](TCustomHtmlEdit&) { ++fileLoads; };
    editor.OnLoadURL = [this](TCustomHtmlEdit&) { ++urlLoads; };
    editor.OnLoadURLError = [this](TCustomHtmlEdit&) { ++urlErrors; };
    gui::ControlSpec bounds;
    bounds.left = 5;
    bounds.top = 5;
    bounds.width = 600;
    bounds.height = 400;
    editor.Create(form, bounds);
    EXPECT_EQ(editor.State(), kCreating);
    for (int i = 0; i < 200 && editor.State() != kIdle; ++i) Pump(10);
    ASSERT_EQ(editor.State(), kIdle);
  }
  void TearDown() override { DestroyWindow(form); }

  HWND View() {
    IEngineDocument* doc = nullptr;
    if (!editor.GetDocument(&doc)) return nullptr;
    HWND w = doc->DocumentWindow();
    doc->Release();
    return w;
  }
  // The view shows exactly the body text.
  void CheckView(const char* step) {
    EXPECT_EQ(unicode::Utf16ToUtf8(ViewText(View())), unicode::Utf16ToUtf8(editor.BodyTextOfDocument())) << step;
  }
  void Select(int start, int end) {
    IEngineDocument* doc = nullptr;
    ASSERT_TRUE(editor.GetDocument(&doc));
    doc->SetSelection(start, end);
    doc->Release();
  }
  IEngineBrowser* Browser() {
    IEngineBrowser* b = nullptr;
    editor.OleObject()->QueryInterface(IID_IEngineBrowser, reinterpret_cast<void**>(&b));
    return b;
  }

  HWND form = nullptr;
  THtmlEdit2 editor;
  int created = 0, timeouts = 0, fileLoads = 0, urlLoads = 0, urlErrors = 0;
};

TEST_F(Editor, CreationEndsAfterTheDesignModeReloadAndMeasuresTheVersion) {
  EXPECT_EQ(created, 1);
  EXPECT_FALSE(editor.GetBrowseMode());
  EXPECT_DOUBLE_EQ(IEVersion, 6.0);  // "MSIE 6.0;" in the navigator text
  EXPECT_EQ(editor.GetDocumentURL(), u"");
  EXPECT_FALSE(editor.GetModified());
  EXPECT_EQ(editor.ControlData().Version, 401u);
  EXPECT_EQ(editor.ControlData().EventCount, 35u);
  EXPECT_EQ(editor.ControlData().EventDispIDs[7], 250);
  EXPECT_EQ(GetParent(editor.ControlWindow()), editor.Handle());
  CheckView("created");
}

TEST_F(Editor, TheViewFollowsTheDocumentThroughEveryOperation) {
  int sourceSets = 0, changes = 0;
  editor.OnSetSource = [&](TCustomHtmlEdit&) { ++sourceSets; };
  editor.OnChange = [&](TCustomHtmlEdit&) { ++changes; };
  editor.SetSource(u"<p>\u4E2D\u6587 <b>bold</b></p><table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr>"
                   u"</table><p>end</p>");
  EXPECT_EQ(sourceSets, 1);
  EXPECT_FALSE(editor.GetModified());  // attaching leaves the new document unmodified
  CheckView("set source");
  const std::u16string text = editor.BodyTextOfDocument();
  const int cellA = static_cast<int>(text.find(u'a'));
  Select(cellA, cellA);
  EXPECT_TRUE(editor.IsInTable());
  EXPECT_TRUE(editor.CanInsertRow());
  auto inCellA = [&] {
    const int a = static_cast<int>(editor.BodyTextOfDocument().find(u'a'));
    Select(a, a + 1);
  };
  ASSERT_TRUE(editor.InsertRow());
  CheckView("insert row");
  inCellA();
  ASSERT_TRUE(editor.InsertColumn());
  CheckView("insert column");
  inCellA();
  ASSERT_TRUE(editor.SplitCell());
  CheckView("split cell");
  inCellA();
  ASSERT_TRUE(editor.DeleteRow());
  CheckView("delete row");
  const int c = static_cast<int>(editor.BodyTextOfDocument().find(u'c'));
  Select(c, c + 1);
  ASSERT_TRUE(editor.DeleteColumn());
  CheckView("delete column");
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(editor.GetModified());
  Select(0, 0);
  EXPECT_FALSE(editor.IsInTable());
  EXPECT_FALSE(editor.InsertRow());  // outside any table every action fails
  ASSERT_TRUE(editor.InsertTable(2, 3, u"\u6807\u9898"));
  CheckView("insert table");
  EXPECT_NE(editor.GetSource().find(u"<caption>\u6807\u9898</caption>"), std::u16string::npos);
  ASSERT_TRUE(editor.NewDocument());
  EXPECT_EQ(editor.BodyTextOfDocument(), u"");
  CheckView("new document");
}

TEST_F(Editor, SelectionSourceIsTheSelectedElementAndCanBeReplaced) {
  editor.SetSource(u"<p>one <b>two</b> three</p><table><tr><td>cell</td></tr></table>");
  const std::u16string text = editor.BodyTextOfDocument();
  const int two = static_cast<int>(text.find(u"two"));
  Select(two + 1, two + 2);
  EXPECT_EQ(editor.GetSelectionSource(), u"<b>two</b>");
  editor.SetSelectionSource(u"<i>2</i>");
  EXPECT_NE(editor.BodyTextOfDocument().find(u"one 2 three"), std::u16string::npos);
  CheckView("selection source set");
  editor.SourceCodePreservation = true;
  Select(two, two + 1);
  EXPECT_EQ(editor.GetSelectionSource(), u"<I>2</I>");
  // A cell keeps its source.
  const int cell = static_cast<int>(editor.BodyTextOfDocument().find(u"cell"));
  Select(cell + 1, cell + 2);
  const std::u16string before = editor.GetSource();
  editor.SetSelectionSource(u"<td>other</td>");
  EXPECT_EQ(editor.GetSource(), before);
}

TEST_F(Editor, ALateLoadIsWaitedFor) {
  const std::u16string file = Scratch(u"late.html");
  WriteBytes(file, "<html><body><p>late \xE6\x96\x87</p></body></html>");
  editor.SetTimeout(5);
  LoadHold hold(400);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(editor.OpenFile(file));
  EXPECT_GE(GetTickCount() - start, 380u);
  EXPECT_EQ(editor.State(), kIdle);
  EXPECT_EQ(fileLoads, 1);
  EXPECT_EQ(timeouts, 0);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"late \u6587");
  EXPECT_EQ(editor.GetDocumentURL(), file);
  CheckView("late load");
}

TEST_F(Editor, ALoadThatNeverCompletesTimesOutAfterMoreThanTheLimit) {
  editor.SetSource(u"<p>before</p>");
  const std::u16string file = Scratch(u"never.html");
  WriteBytes(file, "<p>never</p>");
  editor.SetTimeout(0.5);
  EXPECT_EQ(editor.Timeout(), 0.5);
  LoadHold hold(0, true);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(editor.OpenFile(file));
  const DWORD waited = GetTickCount() - start;
  EXPECT_GT(waited, 500u);
  EXPECT_LT(waited, 3000u);
  EXPECT_EQ(timeouts, 1);
  EXPECT_EQ(fileLoads, 0);
  EXPECT_EQ(editor.State(), kIdle);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"");  // a fresh empty document
  CheckView("after timeout");
  // The document works again after the timeout.
  editor.SetSource(u"<p>again</p>");
  EXPECT_EQ(editor.BodyTextOfDocument(), u"again");
}

TEST_F(Editor, WithoutOnTimeoutTheMessageIsShown) {
  editor.OnTimeout = nullptr;
  editor.SetTimeout(0.2);
  const std::u16string file = Scratch(u"never2.html");
  WriteBytes(file, "<p>x</p>");
  LoadHold hold(0, true);
  testing::DialogAnswerer answer({testing::DialogAnswer::Ok()});
  EXPECT_FALSE(editor.OpenFile(file));
  EXPECT_EQ(answer.Texts(), std::vector<std::wstring>{L"The operation timed out."});
  EXPECT_EQ(editor.State(), kIdle);
}

TEST_F(Editor, FromVersionSevenLoadsReturnAtOnceAndCompleteLater) {
  const std::u16string file = Scratch(u"v7.html");
  WriteBytes(file, "<p>seven</p>");
  IEVersion = 7.0;
  {
    LoadHold hold(0, true);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(editor.OpenFile(file));
    EXPECT_LT(GetTickCount() - start, 200u);
    EXPECT_EQ(editor.State(), kLoadingFile);
    EXPECT_FALSE(editor.GetReady());
    EXPECT_EQ(editor.GetSource(), u"BUSY");
  }
  IEVersion = 6.0;
  // The held message is gone: a new load of the same file ends the state.
  EXPECT_TRUE(editor.OpenFile(file));
  EXPECT_EQ(editor.State(), kIdle);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"seven");
}

TEST_F(Editor, NavigationRulesAndErrors) {
  editor.SetSource(u"<p>kept</p>");
  const std::u16string file = Scratch(u"nav.html");
  WriteBytes(file, "<p>navigated</p>");
  // A navigation the editor did not start (a clicked link) is cancelled.
  IEngineBrowser* browser = Browser();
  ASSERT_NE(browser, nullptr);
  browser->Navigate(file);
  Pump(200);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"kept");
  // The editor's own loads go through.
  EXPECT_TRUE(editor.OpenURL(CanonicalUrl(file)));
  EXPECT_EQ(urlLoads, 1);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"navigated");
  CheckView("navigated");
  // Nothing is fetched from outside: the load ends in OnLoadURLError.
  EXPECT_TRUE(editor.OpenURL(u"http://example.invalid/page.html"));
  EXPECT_EQ(urlErrors, 1);
  EXPECT_EQ(editor.State(), kIdle);
  EXPECT_NE(editor.GetTitle().find(u"\u65E0\u6CD5\u663E\u793A"), std::u16string::npos);
  browser->Release();
}

TEST_F(Editor, BrowseModeSwitchesOnceAndKeepsTheContent) {
  int switches = 0;
  editor.OnSetBrowseMode = [&](TCustomHtmlEdit&) { ++switches; };
  editor.SetSource(u"<p>content <a href=\"x.html\">link</a></p>");
  editor.SetBrowseMode(true);
  EXPECT_TRUE(editor.GetBrowseMode());
  EXPECT_EQ(switches, 1);
  editor.SetBrowseMode(true);  // already so: nothing
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"content link");
  EXPECT_FALSE(editor.CanInsertTable());  // not in browse mode
  editor.SetBrowseMode(false);
  EXPECT_FALSE(editor.GetBrowseMode());
  EXPECT_EQ(switches, 2);
  EXPECT_TRUE(editor.CanInsertTable());
  Pump(50);
  CheckView("browse mode");
}

TEST_F(Editor, WriteSourceWritesAnsiOrUtf16AndNothingOnFailure) {
  const std::u16string ansiFile = Scratch(u"\u6E90\u4EE3\u7801.html");
  editor.SetSource(u"<p>\u4E2D\u6587</p>");
  ASSERT_TRUE(editor.WriteSource(ansiFile));
  std::string bytes = ReadBytes(ansiFile);
  EXPECT_NE(bytes.find("<p>\xD6\xD0\xCE\xC4</p>"), std::string::npos) << bytes;  // code page 936
  EXPECT_EQ(editor.GetDocumentURL(), ansiFile);  // the file is now the document's own

  // The generator writes characters outside the code page as references; the kept
  // source holds them as they are, and then the file is UTF-16.
  const std::u16string wideFile = Scratch(u"wide.html");
  editor.SourceCodePreservation = true;
  ASSERT_TRUE(editor.WriteSource(wideFile));  // a new name: the document is written out and becomes that file
  editor.SetSource(u"<p>\U0001F600</p>");
  ASSERT_TRUE(editor.WriteSource(wideFile));  // its own file: the kept source goes in
  bytes = ReadBytes(wideFile);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(bytes.find("\x3D\xD8\x00\xDE"), std::string::npos);  // the pair, as it is
  editor.SourceCodePreservation = false;

  EXPECT_FALSE(editor.WriteSource(Scratch(u"")));  // no file part
  // A document that cannot be walked writes nothing over the user's file.
  const std::u16string keep = Scratch(u"keep.html");
  WriteBytes(keep, "precious");
  IEngineDocument* doc = nullptr;
  ASSERT_TRUE(editor.GetDocument(&doc));
  doc->Dom().AppendChild(doc->Dom().Root(), doc->Dom().CreateElement(u"HTML"));
  doc->Release();
  EXPECT_EQ(editor.GetSource(), u"ERROR");
  EXPECT_FALSE(editor.WriteSource(keep));
  EXPECT_EQ(ReadBytes(keep), "precious");
  // Nor does a browse-mode switch write "ERROR" over the document.
  editor.SetBrowseMode(true);
  EXPECT_NE(editor.BodyTextOfDocument(), u"ERROR");
}

TEST_F(Editor, SaveAndOpenDialogs) {
  int opened = 0, cancelled = 0;
  editor.OnOpenDialog = [&](TCustomHtmlEdit&) { ++opened; };
  editor.OnOpenDialogCancel = [&](TCustomHtmlEdit&) { ++cancelled; };
  editor.SetSource(u"<p>saved \u4E2D\u6587</p>");
  const std::u16string saved = Scratch(u"dialog-saved.html");
  DeleteFileW(W(saved));
  std::u16string name = u"x";
  {
    testing::DialogAnswerer answer({testing::DialogAnswer::File(saved)});
    editor.SaveDialog(u"", name);
  }
  EXPECT_EQ(name, saved);
  EXPECT_NE(ReadBytes(saved).find("<p>saved \xD6\xD0\xCE\xC4</p>"), std::string::npos);
  {
    testing::DialogAnswerer answer({testing::DialogAnswer::Cancel()});
    editor.SaveDialog(u"", name);
  }
  EXPECT_EQ(name, u"");  // cancelled: no name
  editor.NewDocument();
  {
    testing::DialogAnswerer answer({testing::DialogAnswer::File(saved)});
    editor.OpenDialog(u"", name);
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(name, saved);
  EXPECT_EQ(editor.BodyTextOfDocument(), u"saved \u4E2D\u6587");
  CheckView("opened through the dialog");
  {
    testing::DialogAnswerer answer({testing::DialogAnswer::Cancel()});
    editor.OpenDialog(u"", name);
  }
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(name, saved);  // the document's own file
  // A document that cannot be walked: the chosen file keeps its bytes, the user is told.
  const std::u16string keep = Scratch(u"dialog-keep.html");
  WriteBytes(keep, "precious");
  IEngineDocument* doc = nullptr;
  ASSERT_TRUE(editor.GetDocument(&doc));
  doc->Dom().AppendChild(doc->Dom().Root(), doc->Dom().CreateElement(u"HTML"));
  doc->Release();
  // The file exists: the dialog asks whether to replace it (Yes), then the editor reports.
  testing::DialogAnswerer answer(
      {testing::DialogAnswer::File(keep), testing::DialogAnswer::Ok(), testing::DialogAnswer::Ok()});
  editor.SaveDialog(u"", name);
  EXPECT_EQ(name, u"");
  EXPECT_EQ(ReadBytes(keep), "precious");
  ASSERT_EQ(answer.Texts().size(), 3u);
  EXPECT_NE(answer.Texts()[2].find(L"\u6CA1\u6709\u4FDD\u5B58"), std::wstring::npos);  // "not saved"
}

TEST_F(Editor, WriteSourceWithoutAFolderGoesToTheProgramsFolder) {
  editor.SetSource(u"<p>here</p>");
  ASSERT_TRUE(editor.WriteSource(u"quill_write_source_test.html"));
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::u16string path(reinterpret_cast<const char16_t*>(exe));
  path = path.substr(0, path.find_last_of(u'\\') + 1) + u"quill_write_source_test.html";
  EXPECT_NE(ReadBytes(path).find("<p>here</p>"), std::string::npos);
  DeleteFileW(W(path));
}

TEST_F(Editor, OnChangeDoesNotReenterAndNeedsVersionFivePointFive) {
  int changes = 0, nested = 0;
  editor.SetSource(u"<p>one</p><p>two</p>");
  editor.OnChange = [&](TCustomHtmlEdit& e) {
    ++changes;
    IEngineDocument* doc = nullptr;
    if (!e.GetDocument(&doc)) return;
    // A handler that changes the document: its own change fires nothing.
    doc->Dom().SetAttribute(doc->Dom().Body(), u"title", u"t" + std::u16string(1, char16_t(u'0' + changes % 10)));
    ++nested;
    doc->Release();
  };
  Select(1, 1);
  editor.SetSelectionSource(u"<p>first</p>");
  EXPECT_GT(changes, 0);
  EXPECT_EQ(nested, changes);  // one nested change per outer change, none fired again
  EXPECT_NE(editor.BodyTextOfDocument().find(u"first"), std::u16string::npos);
  // Below 5.5 a new document gets no change notification.
  IEVersion = 5.0;
  editor.NewDocument();
  editor.SetSource(u"<p>x</p>");
  changes = 0;
  Select(0, 0);
  EXPECT_TRUE(editor.InsertTable(1, 1));
  EXPECT_EQ(changes, 0);
  IEVersion = 6.0;
}

TEST_F(Editor, DisplayUpdatesFocusAndTheAcceleratorPath) {
  int updates = 0;
  editor.OnDisplayChanged = [&](TCustomHtmlEdit&) { ++updates; };
  editor.SetSource(u"<p>x</p>");
  EXPECT_GT(updates, 0);
  int entered = 0, exited = 0;
  editor.OnEnter = [&](TCustomHtmlEdit&) { ++entered; };
  editor.OnExit = [&](TCustomHtmlEdit&) { ++exited; };
  SetFocus(form);
  SetFocus(View());
  EXPECT_TRUE(editor.Focused());
  EXPECT_EQ(entered, 1);
  SetFocus(form);
  EXPECT_FALSE(editor.Focused());
  EXPECT_EQ(exited, 1);
  SetFocus(editor.Handle());  // the host passes the focus on into the document: no second enter
  EXPECT_TRUE(editor.Focused());
  EXPECT_EQ(entered, 2);
  // Keys reach the in-place object before dialog navigation; Ctrl+N is the editor's own.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG ctrlN{View(), WM_KEYDOWN, 'N', 0};
  EXPECT_TRUE(OfferKeyToOleControl(ctrlN));
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  EXPECT_FALSE(OfferKeyToOleControl(ctrlN));  // Ctrl+Alt+N is left to the browser
  keys[VK_CONTROL] = keys[VK_MENU] = 0;
  SetKeyboardState(keys);
  EXPECT_FALSE(OfferKeyToOleControl(ctrlN));
}

// Notes the commands the document window receives.
std::vector<WPARAM> g_commands;
WNDPROC g_viewProc = nullptr;
LRESULT CALLBACK NoteCommands(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND) g_commands.push_back(w);
  return CallWindowProcW(g_viewProc, h, m, w, l);
}

TEST_F(Editor, ALinkInBrowseModeIsCancelledAndTheDocumentWindowTold) {
  editor.SetSource(u"<p><a href=\"other.html\">link</a></p>");
  editor.SetBrowseMode(true);
  HWND view = View();
  g_commands.clear();
  g_viewProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteCommands)));
  IEngineBrowser* browser = Browser();
  browser->Navigate(Scratch(u"other.html"));
  browser->Release();
  Pump(100);
  SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_viewProc));
  EXPECT_EQ(g_commands, std::vector<WPARAM>{2137});
  EXPECT_EQ(editor.BodyTextOfDocument(), u"link");
}

TEST_F(Editor, RedrawAndTheGlyphDisplay) {
  editor.SetSource(u"<p>x</p>");
  HWND view = View();
  UpdateWindow(view);
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(view, &dirty, FALSE));
  SendMessageW(editor.Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(editor.Handle(), WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(GetUpdateRect(view, &dirty, FALSE));  // switching redraw on repaints the document
  IEngineDocument* doc = nullptr;
  ASSERT_TRUE(editor.GetDocument(&doc));
  auto* engineDoc = static_cast<EngineDocument*>(doc);
  editor.SetShowDetails(true);
  EXPECT_TRUE(engineDoc->GlyphsShown());
  EXPECT_NE(engineDoc->GlyphTable().find(u"/GIF/IDR_pbgn^^"), std::u16string::npos);
  editor.SetShowDetails(false);
  EXPECT_EQ(engineDoc->GlyphTable(), u"");
  editor.SetShowBorders(true);
  EXPECT_TRUE(editor.ShowBorders());
  EXPECT_TRUE(engineDoc->ZeroBordersShown());
  doc->Release();
  EXPECT_EQ(editor.GetAbout().rfind(u"v2.0.3.7", 0), 0u);
}

TEST_F(Editor, BaseUrlIsSetInTheOneBaseElement) {
  int set = 0;
  editor.OnSetBaseURL = [&](TCustomHtmlEdit&) { ++set; };
  editor.SetSource(u"<html><head><title>t</title></head><body><p>x</p></body></html>");
  EXPECT_EQ(editor.GetBaseURL(), u"");
  editor.SetBaseURL(u"file:///C:/base/");
  EXPECT_EQ(editor.GetBaseURL(), u"file:///C:/base/");
  editor.SetBaseURL(u"file:///D:/other/");
  EXPECT_EQ(editor.GetBaseURL(), u"file:///D:/other/");
  editor.SetBaseURL(u"file:///D:/other/");  // the same: nothing
  EXPECT_EQ(set, 2);
  IEngineDocument* doc = nullptr;
  ASSERT_TRUE(editor.GetDocument(&doc));
  EXPECT_EQ(doc->Dom().ElementsByTagId(TAGID_BASE).size(), 1u);
  EXPECT_EQ(doc->Title(), u"t");
  doc->Release();
  EXPECT_EQ(editor.BodyTextOfDocument(), u"x");
  CheckView("base url");
}

TEST_F(Editor, HostInformationFlags) {
  EXPECT_EQ(editor.HostInfoFlags(), static_cast<DWORD>(DOCHOSTUIFLAG_THEME));
  editor.ScrollBars = false;
  editor.Flat = true;
  EXPECT_EQ(editor.HostInfoFlags(),
            static_cast<DWORD>(DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_NO3DBORDER));
}

}  // namespace
}  // namespace htmledit
