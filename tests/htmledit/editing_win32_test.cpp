// The editor's editing layer in a window of its own: keys and characters through the view
// into the document and the control's key events, the formatting commands, the context menu,
// the edit-control messages a spelling checker sends, and messages of other programs that
// would change the view's text.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "htmledit/editor_module_win32.h"
#include "htmledit/engine_document_win32.h"
#include "htmledit/html_edit2_win32.h"
#include "htmledit/win32_test_support.h"
#include "unicode/codepage.h"

namespace htmledit {
namespace {

using testing::Pump;

bool PutText(const std::u16string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool ok = true;
  if (!text.empty()) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * 2);
    GlobalUnlock(h);
    ok = SetClipboardData(CF_UNICODETEXT, h) != nullptr;
  }
  CloseClipboard();
  return ok;
}

class Editing : public ::testing::Test {
 protected:
  void SetUp() override {
    StartEditorModule();
    form = CreateWindowExW(0, L"STATIC", L"\u7F16\u8F91", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    gui::ControlSpec bounds;
    bounds.left = bounds.top = 5;
    bounds.width = 600;
    bounds.height = 400;
    editor.Create(form, bounds);
    for (int i = 0; i < 200 && editor.State() != kIdle; ++i) Pump(10);
    ASSERT_EQ(editor.State(), kIdle);
  }
  void TearDown() override { DestroyWindow(form); }

  IEngineDocument* Doc() {
    IEngineDocument* doc = nullptr;
    editor.GetDocument(&doc);
    doc->Release();  // the browser keeps it
    return doc;
  }
  EngineDocument* Engine() { return static_cast<EngineDocument*>(Doc()); }
  HWND View() { return Doc()->DocumentWindow(); }
  void Load(std::u16string_view html) {
    editor.SetSource(std::u16string(html));
    Pump(20);
  }
  std::string Body() { return unicode::Utf16ToUtf8(InnerHTML(Doc()->Dom().Body())); }
  std::u16string Text() { return Doc()->Layout().Text(); }
  void Select(int a, int b) { Doc()->SetSelection(a, b); }
  void Focus() {
    SetForegroundWindow(form);
    SetFocus(View());
    Pump(30);
  }
  // Real key input, as the user types it.
  static void Key(WORD vk, bool up) { keybd_event(static_cast<BYTE>(vk), 0, up ? KEYEVENTF_KEYUP : 0, 0); }
  static void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
    Pump(60);
  }
  int RedPixelsInView() {
    HWND v = View();
    RECT r{};
    GetClientRect(v, &r);
    HDC dc = GetDC(v);
    int red = 0;
    for (int y = 0; y < std::min<LONG>(r.bottom, 60); ++y)
      for (int x = 0; x < std::min<LONG>(r.right, 300); ++x) {
        COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60) ++red;
      }
    ReleaseDC(v, dc);
    return red;
  }

  HWND form = nullptr;
  THtmlEdit2 editor;
};

TEST_F(Editing, TypedKeysEditTheDocumentAndTheControlsKeyEventsSeeThem) {
  Load(u"<p>ab</p>");
  std::vector<WORD> downs;
  std::u16string pressed;
  editor.OnKeyDown = [&](TCustomHtmlEdit&, WORD& key, TShiftState) { downs.push_back(key); };
  editor.OnKeyPress = [&](TCustomHtmlEdit&, wchar_t& c) { pressed += static_cast<char16_t>(c); };
  Focus();
  Select(2, 2);
  Press('X');
  Press(VK_RETURN);
  Press('Y');
  EXPECT_EQ(Body(), "<P>abx</P>\r\n<P>y</P>");
  EXPECT_EQ(pressed, u"x\ry");
  ASSERT_GE(downs.size(), 3u);
  EXPECT_EQ(downs[0], 'X');
  EXPECT_EQ(downs[1], VK_RETURN);
  // The emptied paragraph keeps its line; Backspace at its start joins it to the one before;
  // Ctrl+Z takes the step back.
  Select(5, 5);
  Press(VK_BACK);
  EXPECT_EQ(Text(), u"abx\r\u00A0");
  Press(VK_BACK);
  EXPECT_EQ(Body(), "<P>abx</P>");
  Key(VK_CONTROL, false);
  Press('Z');
  Key(VK_CONTROL, true);
  Pump(30);
  EXPECT_EQ(Text(), u"abx\r\u00A0");
  EXPECT_TRUE(editor.GetModified());
}

TEST_F(Editing, AnOnKeyDownThatSetsTheKeyToZeroSwallowsIt) {
  Load(u"<p>abc</p>");
  editor.OnKeyDown = [](TCustomHtmlEdit&, WORD& key, TShiftState) {
    if (key == VK_BACK) key = 0;
  };
  Focus();
  Select(3, 3);
  Press(VK_BACK);
  EXPECT_EQ(Text(), u"abc");
  editor.OnKeyDown = nullptr;
  Press(VK_BACK);
  EXPECT_EQ(Text(), u"ab");
  // A key press changed by OnKeyPress types the new character.
  editor.OnKeyPress = [](TCustomHtmlEdit&, wchar_t& c) {
    if (c == u'q') c = u'Q';
  };
  Press('Q');
  EXPECT_EQ(Text(), u"abQ");
}

TEST_F(Editing, WithUseBrEnterGivesALineBreakAndTheSyntheticKeysMissOnKeyDown) {
  editor.UseBrOnCarriageReturn = true;
  Load(u"<p>one</p><ul><li>item</li></ul>");
  int downs = 0, ups = 0;
  editor.OnKeyDown = [&](TCustomHtmlEdit&, WORD&, TShiftState) { ++downs; };
  editor.OnKeyUp = [&](TCustomHtmlEdit&, WORD&, TShiftState) { ++ups; };
  Focus();
  Select(3, 3);
  Press(VK_RETURN);
  Pump(100);
  EXPECT_EQ(Body(), "<P>one<BR>&nbsp;</P>\r\n<UL>\r\n<LI>item</LI></UL>");
  EXPECT_EQ(downs, 1);  // the Enter the user pressed, not the Shift and Enter made for it
  EXPECT_EQ(ups, 1);
  // In a list item Enter still makes a new item.
  const int end = static_cast<int>(Text().size());
  Select(end, end);
  Press(VK_RETURN);
  Pump(100);
  EXPECT_EQ(Doc()->Dom().ElementsByTagId(TAGID_LI).size(), 2u);
}

TEST_F(Editing, BoldTwiceLeavesTheTextAsItWasAndTheQueriesTellMixedRanges) {
  Load(u"<p>one two</p>");
  const std::string before = Body();
  Select(0, 3);
  EXPECT_TRUE(editor.SetBold(true));
  EXPECT_EQ(Body(), "<P><B>one</B> two</P>");
  EXPECT_TRUE(editor.SetBold(true));
  EXPECT_EQ(Body(), before);
  // The False route goes through the command target and toggles alike.
  EXPECT_TRUE(editor.SetItalic(false));
  EXPECT_EQ(Body(), "<P><I>one</I> two</P>");
  Load(u"<p><font size=2 face=Arial>ab</font><font size=5>cd</font></p>");
  Select(0, 4);
  EXPECT_EQ(editor.GetFontSize(), 0);
  EXPECT_EQ(editor.GetFontName(), u"");
  Select(0, 2);
  EXPECT_EQ(editor.GetFontSize(), 2);
  EXPECT_EQ(editor.GetFontName(), u"Arial");
  editor.SetFontSize(6);
  EXPECT_EQ(editor.GetFontSize(), 6);
  editor.SetForeColor(0x0000FF);
  EXPECT_NE(Body().find("color=#FF0000"), std::string::npos) << Body();
  editor.SetForeColor(clNone);
  EXPECT_EQ(Body().find("color="), std::string::npos) << Body();
  // Block formats: our engine's names, the normal paragraph first.
  std::vector<std::u16string> formats;
  ASSERT_TRUE(editor.GetBlockFormats(formats));
  EXPECT_GE(formats.size(), 9u);
  EXPECT_TRUE(editor.IsNormalBlock());
  EXPECT_FALSE(editor.IsUnorderedList());
  Doc()->ExecCommand(u"InsertUnorderedList", nullptr);
  EXPECT_TRUE(editor.IsUnorderedList());
  EXPECT_FALSE(editor.IsNormalBlock());
}

TEST_F(Editing, PasteNeedsSomethingToPasteAndCopyPutsHtmlAndText) {
  Load(u"<p>ab</p>");
  ASSERT_TRUE(PutText(u""));
  Select(1, 1);
  EXPECT_FALSE(editor.Paste());
  EXPECT_EQ(Text(), u"ab");
  ASSERT_TRUE(PutText(u"\u4E2D"));
  EXPECT_TRUE(editor.Paste());
  EXPECT_EQ(Text(), u"a\u4E2Db");
  // Nothing selected: nothing copied.
  EXPECT_FALSE(editor.Copy());
  Load(u"<p><b>bold</b> text</p>");
  EXPECT_TRUE(editor.SelectAll());
  EXPECT_TRUE(editor.Copy());
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE html = GetClipboardData(RegisterClipboardFormatW(L"HTML Format"));
  HANDLE text = GetClipboardData(CF_UNICODETEXT);
  std::string htmlBytes = html ? std::string(static_cast<const char*>(GlobalLock(html))) : "";
  std::u16string textValue = text ? std::u16string(static_cast<const char16_t*>(GlobalLock(text))) : u"";
  CloseClipboard();
  EXPECT_NE(htmlBytes.find("<B>bold</B> text"), std::string::npos) << htmlBytes;
  EXPECT_EQ(textValue, u"bold text");
}

TEST_F(Editing, AContextMenuPasteFiresOnPasteButNotOnBeforePaste) {
  Load(u"<p>ab</p>");
  int before = 0, pasted = 0;
  editor.OnBeforePaste = [&](TCustomHtmlEdit&) { ++before; };
  editor.OnPaste = [&](TCustomHtmlEdit&) { ++pasted; };
  ASSERT_TRUE(PutText(u"z"));
  Focus();
  Select(2, 2);
  // Another thread clicks "Paste" (command 26) in the menu, as a user does.
  std::atomic<bool> clicked{false};
  std::thread user([&] {
    for (int i = 0; i < 200 && !clicked; ++i) {
      Sleep(20);
      HWND menuWindow = FindWindowW(L"#32768", nullptr);
      if (!menuWindow || !IsWindowVisible(menuWindow)) continue;
      HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
      for (int k = 0; menu && k < GetMenuItemCount(menu); ++k) {
        if (GetMenuItemID(menu, k) != 26) continue;
        RECT r{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(k), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Sleep(50);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        clicked = true;
      }
    }
  });
  const bool shown = editor.ShowContextMenu(20, 20);
  user.join();
  ASSERT_TRUE(shown);
  ASSERT_TRUE(clicked);
  Pump(30);
  EXPECT_EQ(Text(), u"abz");
  EXPECT_EQ(pasted, 1);
  EXPECT_EQ(before, 0);
  // A paste from the keyboard tells both.
  Select(0, 0);
  Key(VK_CONTROL, false);
  Press('V');
  Key(VK_CONTROL, true);
  Pump(30);
  EXPECT_EQ(Text(), u"zabz");
  EXPECT_EQ(pasted, 2);
  EXPECT_EQ(before, 1);
}

TEST_F(Editing, ClickAndMouseEventsReachTheControlButNotThroughIndexSeventeen) {
  Load(u"<p>click here</p>");
  int clicks = 0, downs = 0, ups = 0, doubles = 0;
  TMouseButton lastButton = TMouseButton::mbMiddle;
  editor.OnClick = [&](TCustomHtmlEdit&) { ++clicks; };
  editor.OnMouseDown = [&](TCustomHtmlEdit&, TMouseButton b, TShiftState, int, int) {
    ++downs;
    lastButton = b;
  };
  editor.OnMouseUp = [&](TCustomHtmlEdit&, TMouseButton, TShiftState, int, int) { ++ups; };
  editor.OnDblClick = [&](TCustomHtmlEdit&) { ++doubles; };
  editor.DispatchDocumentEvent(17);  // the document's onclick
  EXPECT_EQ(clicks, 0);
  HWND v = View();
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
  SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lastButton, TMouseButton::mbLeft);
  SendMessageW(v, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 8));
  EXPECT_EQ(doubles, 1);
  SendMessageW(v, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 8));
  EXPECT_EQ(lastButton, TMouseButton::mbRight);
}

TEST_F(Editing, EditMessagesReadLinesSelectReplaceAndMarkWords) {
  Load(u"<p>first line</p><p>second wrnog word</p>");
  HWND e = editor.Handle();
  EXPECT_EQ(SendMessageW(e, WM_GETTEXTLENGTH, 0, 0), 0);
  wchar_t none[8] = L"x";
  EXPECT_EQ(SendMessageW(e, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(none)), 0);
  ASSERT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 1, 0), 11);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 13, 0), 1);
  wchar_t line[64] = {};
  *reinterpret_cast<WORD*>(line) = 64;
  const LRESULT n = SendMessageW(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line));
  EXPECT_EQ(std::wstring(line, static_cast<size_t>(n)), L"second wrnog word");
  // A checker selects the misspelled word, asks where it is, replaces it.
  SendMessageW(e, EM_SETSEL, 18, 23);
  DWORD a = 0, b = 0;
  EXPECT_EQ(SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b)), 0);
  EXPECT_EQ(a, 18u);
  EXPECT_EQ(b, 23u);
  wchar_t selected[16] = {};
  EXPECT_EQ(SendMessageW(e, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected)), 5);
  EXPECT_EQ(std::wstring(selected), L"wrnog");
  // The mark: a red wave under the word until the next paint.
  Load(u"<p>wrnog first</p>");
  SendMessageW(e, EM_SETSEL, 0, 5);
  POINTL at{-1, -1};
  SendMessageW(e, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 0);
  EXPECT_GE(at.x, 0);
  EXPECT_EQ(Doc()->HighlightCount(), 1);
  UpdateWindow(View());
  EXPECT_GT(RedPixelsInView(), 3);
  EXPECT_EQ(Doc()->HighlightCount(), 0);  // taken away at the paint that showed it
  InvalidateRect(View(), nullptr, TRUE);
  UpdateWindow(View());
  EXPECT_EQ(RedPixelsInView(), 0);
  // A pointer that is no memory of this process (another program's) is answered with 0.
  EXPECT_EQ(SendMessageW(e, EM_POSFROMCHAR, 0x10, 0), 0);
  EXPECT_EQ(Doc()->HighlightCount(), 0);
  SendMessageW(e, EM_SETSEL, 0, 5);
  SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"wrong"));
  EXPECT_EQ(Body(), "<P>wrong first</P>");
}

TEST_F(Editing, MessagesThatWouldChangeTheViewGoToTheDocument) {
  Load(u"<p><b>keep</b> this</p>");
  HWND v = View();
  // Replacing a word inside bold text keeps it bold.
  SendMessageW(v, EM_SETSEL, 1, 3);
  SendMessageW(v, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"EE"));
  EXPECT_EQ(Body(), "<P><B>kEEp</B> this</P>");
  SendMessageW(v, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new\r\ntext"));
  EXPECT_EQ(Text(), u"new\rtext");
  SendMessageW(v, EM_SETSEL, 0, 3);
  SendMessageW(v, WM_CUT, 0, 0);
  EXPECT_EQ(Text(), u"\rtext");
  SendMessageW(v, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(), u"new\rtext");
  SendMessageW(v, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(), u"\rtext");
  // The view's own text always equals the document's.
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
  EXPECT_EQ(SendMessageW(v, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0), 5);
  // Another program's stream pointer is never called.
  EXPECT_EQ(SendMessageW(v, EM_STREAMIN, SF_TEXT, 0x20), 0);
  EXPECT_EQ(Text(), u"\rtext");
}

TEST_F(Editing, WantTabsDecidesWhetherTabStaysInTheDocument) {
  MSG tab{View(), WM_KEYDOWN, VK_TAB, 0};
  LRESULT code = SendMessageW(View(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
  EXPECT_EQ(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS), 0);
  EXPECT_NE(code & DLGC_WANTARROWS, 0);
  editor.WantTabs = true;
  code = SendMessageW(View(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
  EXPECT_NE(code & DLGC_WANTTAB, 0);
}

TEST_F(Editing, AColumnBorderDraggedWritesTheWidthsOfItsColumns) {
  Load(u"<table border=1><tr><td width=100>a</td><td width=100>b</td></tr><tr><td>c</td><td>d</td></tr></table>");
  Node* second = Doc()->Dom().ElementsByTagId(TAGID_TD).at(1);
  RECT box{};
  ASSERT_TRUE(Doc()->ElementRect(second, &box));
  HWND v = View();
  const int y = (box.top + box.bottom) / 2;
  SendMessageW(v, WM_MOUSEMOVE, 0, MAKELPARAM(box.left, y));
  EXPECT_TRUE(Engine()->CursorOverridden());
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.left, y));
  SendMessageW(v, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(box.left + 30, y));
  SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(box.left + 30, y));
  std::vector<Node*> cells = Doc()->Dom().ElementsByTagId(TAGID_TD);
  const int left = cells[0]->GetIntAttribute(u"width", 0);
  EXPECT_GT(left, 100);
  EXPECT_EQ(cells[2]->GetIntAttribute(u"width", 0), left);
  EXPECT_EQ(cells[3]->GetIntAttribute(u"width", 0), cells[1]->GetIntAttribute(u"width", 0));
  // Away from the border the cursor is the document's again.
  SendMessageW(v, WM_MOUSEMOVE, 0, MAKELPARAM(box.left + 60, y));
  EXPECT_FALSE(Engine()->CursorOverridden());
}

TEST_F(Editing, TheGlyphsAreResourcesOfTheProgramAndShowAtTheTags) {
  for (const wchar_t* name : {L"IDR_pbgn", L"IDR_pend", L"IDR_divbgn", L"IDR_divend", L"IDR_spanbgn", L"IDR_spanend",
                              L"IDR_formbgn", L"IDR_formend", L"IDR_comments", L"IDR_br", L"IDR_style",
                              L"IDR_clientsc", L"IDR_anchorwi"})
    EXPECT_NE(FindResourceW(nullptr, name, L"GIF"), nullptr) << name;
  Load(u"<p>x</p>");
  auto darkAtStart = [&] {
    HDC dc = GetDC(View());
    int dark = 0;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 20; ++x)
        if (GetPixel(dc, x, y) == RGB(128, 128, 128)) ++dark;
    ReleaseDC(View(), dc);
    return dark;
  };
  UpdateWindow(View());
  const int without = darkAtStart();
  editor.SetShowDetails(true);
  UpdateWindow(View());
  EXPECT_GT(darkAtStart(), without + 10);  // the glyph's grey frame
  editor.SetShowDetails(false);
  UpdateWindow(View());
  EXPECT_EQ(darkAtStart(), without);
}

// A table row's cells start at tab stops shared out over the view's width: a document laid out
// before its window took its size (the introduction is loaded while the view is hidden) gets
// them again when the view is resized.
TEST_F(Editing, TableCellsFollowTheViewsWidth) {
  Load(u"<table><tr><td>a</td><td>b</td></tr></table><p>after</p>");
  auto rowStop = [&] {
    Select(0, 0);
    PARAFORMAT2 pf{};
    pf.cbSize = sizeof pf;
    SendMessageW(View(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    return pf.cTabCount > 0 ? pf.rgxTabs[0] & 0xFFFFFF : -1;
  };
  const int wide = rowStop();
  ASSERT_GT(wide, 0);
  editor.SetWidth(300);
  Pump(50);
  const int narrow = rowStop();
  EXPECT_GT(narrow, 0);
  EXPECT_LT(narrow, wide * 2 / 3) << "the row kept the boundary of the wider view";
  EXPECT_EQ(Text().substr(0, 3), u"a\tb");
  // Back to the wide view: the same boundary as at first.
  editor.SetWidth(600);
  Pump(50);
  EXPECT_EQ(rowStop(), wide);
}

}  // namespace
}  // namespace htmledit

namespace htmledit {
namespace {

TEST_F(Editing, PastingTheHtmlAlreadyThereOrInBrowseModeChangesNothing) {
  Load(u"<p>ab<b>cd</b></p>");
  Select(2, 4);
  const uint64_t before = Doc()->Dom().ChangeCount();
  EXPECT_TRUE(editor.PasteHTMLAtSelection(u"<B>cd</B>"));
  EXPECT_EQ(Doc()->Dom().ChangeCount(), before);
  EXPECT_TRUE(editor.PasteHTMLAtSelection(u"<I>cd</I>"));
  EXPECT_NE(Body().find("ab<I>cd</I>"), std::string::npos) << Body();
  editor.SetBrowseMode(true);
  ASSERT_TRUE(editor.BrowseMode());
  const std::string browsed = Body();
  Select(0, 1);
  EXPECT_FALSE(editor.PasteHTMLAtSelection(u"<U>x</U>"));
  EXPECT_EQ(Body(), browsed);
}

// A checker that reads lines and asks where a word is, without selecting it, gets the mark on
// that word; a position between words marks nothing.
TEST_F(Editing, ALineReadThenAWordPositionMarksThatWord) {
  Load(u"<p>first wrnog</p>");
  HWND e = editor.Handle();
  wchar_t line[32] = {};
  *reinterpret_cast<WORD*>(line) = 32;
  ASSERT_EQ(SendMessageW(e, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 11);
  POINTL at{-1, -1};
  SendMessageW(e, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 5);
  EXPECT_EQ(Doc()->HighlightCount(), 0);
  SendMessageW(e, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 6);
  EXPECT_EQ(Doc()->HighlightCount(), 1);
  SendMessageW(e, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 8);  // inside the marked word
  EXPECT_EQ(Doc()->HighlightCount(), 1);
  UpdateWindow(View());
  EXPECT_GT(RedPixelsInView(), 3);
}

// The framework's context-menu and drag events of the control: a right click in the document
// asks OnContextPopup; a drag over it asks OnDragOver (which may refuse it), a drop tells
// OnDragDrop after the document took the text.
TEST_F(Editing, ContextPopupDragOverAndDragDropAreRaised) {
  Load(u"<p>ab</p>");
  POINT asked{-1, -1};
  editor.OnContextPopup = [&](TCustomHtmlEdit&, POINT at, bool& handled) {
    asked = at;
    handled = true;
  };
  POINT screen{30, 12};
  ClientToScreen(View(), &screen);
  SendMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View()), MAKELPARAM(screen.x, screen.y));
  POINT expected = screen;
  ScreenToClient(editor.Handle(), &expected);
  EXPECT_EQ(asked.x, expected.x);
  EXPECT_EQ(asked.y, expected.y);

  std::vector<TDragState> states;
  bool refuse = false;
  int drops = 0;
  editor.OnDragOver = [&](TCustomHtmlEdit&, void* source, int, int, TDragState state, bool& accept) {
    EXPECT_NE(source, nullptr);
    states.push_back(state);
    if (refuse) accept = false;
  };
  editor.OnDragDrop = [&](TCustomHtmlEdit&, void*, int x, int y) {
    ++drops;
    EXPECT_EQ(x, expected.x);
    EXPECT_EQ(y, expected.y);
  };
  auto* target = static_cast<IDropTarget*>(GetPropW(View(), L"OleDropTargetInterface"));
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(PutText(u"X"));
  IDataObject* data = nullptr;
  ASSERT_EQ(OleGetClipboard(&data), S_OK);
  const POINTL point{screen.x, screen.y};
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(data, 0, point, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  target->DragOver(0, point, &effect);
  target->Drop(data, 0, point, &effect);
  EXPECT_EQ(states, (std::vector<TDragState>{TDragState::dsDragEnter, TDragState::dsDragMove}));
  EXPECT_EQ(drops, 1);
  EXPECT_NE(Text().find(u'X'), std::u16string::npos);
  // Refused by the handler: no drop.
  refuse = true;
  effect = DROPEFFECT_COPY;
  target->DragEnter(data, 0, point, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  target->DragLeave();
  EXPECT_EQ(states.back(), TDragState::dsDragLeave);
  const std::u16string text = Text();
  target->Drop(data, 0, point, &effect);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(Text(), text);
  data->Release();
}

}  // namespace
}  // namespace htmledit
