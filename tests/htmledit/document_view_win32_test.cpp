// The RichEdit view mirrors the document: after every operation its text is exactly the
// body text, formatting included, under Wine's msftedit.
#include <windows.h>

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "htmledit/body_text.h"
#include "htmledit/document_edits.h"
#include "htmledit/document_view_win32.h"
#include "htmledit/html_parser.h"
#include "htmledit/table_editing.h"

namespace htmledit {
namespace {

class ViewWindow {
 public:
  ViewWindow() {
    hwnd = CreateWindowExW(0, L"STATIC", L"\u89C6\u56FE", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~ViewWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

std::string Visible(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c == u'\r') out += "\\r";
    else if (c == u'\t') out += "\\t";
    else if (c == u'\v') out += "\\v";
    else if (c < 0x80) out += static_cast<char>(c);
    else out += "<" + std::to_string(static_cast<int>(c)) + ">";
  }
  return out;
}

struct Mirror {
  ViewWindow window;
  DocumentView view;
  Document doc;
  Mirror() {
    RECT rc{0, 0, 600, 400};
    EXPECT_TRUE(view.Create(window.hwnd, rc));
  }
  // Lays the document out again, mirrors it and checks the view against the body text.
  void Check(const char* step) {
    BodyText layout = BodyText::Build(doc, view.WidthTwips());
    ASSERT_TRUE(view.Mirror(layout)) << step;
    EXPECT_EQ(Visible(view.Text()), Visible(layout.Text())) << step;
  }
};

TEST(DocumentView, TextEqualsTheBodyTextAfterEveryOperation) {
  Mirror m;
  ASSERT_NE(m.view.Handle(), nullptr);
  ParseDocument(m.doc,
                u"<h1 align=center>\u6807\u9898</h1><p>Some <b>bold</b> <i>italic</i> <u>under</u> "
                u"<font face=Arial size=5 color=red>big red</font> \U0001F600 {braces} \\slash</p>"
                u"<ul><li>one<li>two</ul><ol start=3><li>three</ol>"
                u"<table><tr><td width=100>a</td><td>b<br>c</td></tr><tr><td>d</td><td><img src=x.gif></td></tr></table>"
                u"<pre>line 1\n  line 2</pre><p>end&nbsp;</p>");
  m.Check("load");
  TableEditor editor(m.doc);
  auto cell = [&](int r, int c) {
    Node* table = m.doc.ElementsByTagId(TAGID_TABLE).at(0);
    return RowCells(TableRows(table).at(r)).at(c);
  };
  TableSelection s;
  s.element = cell(0, 0);
  ASSERT_TRUE(editor.InsertRow(s));
  m.Check("insert row");
  s.element = cell(1, 1);
  ASSERT_TRUE(editor.InsertColumn(s));
  m.Check("insert column");
  ASSERT_TRUE(editor.SplitCell(s));
  m.Check("split cell");
  s.element = cell(0, 0);
  ASSERT_TRUE(editor.DeleteRow(s));
  m.Check("delete row");
  ASSERT_TRUE(PasteHtmlAtRange(m.doc, 2, 4, u"<b>\u4E2D</b>"));
  m.Check("paste");
  ASSERT_TRUE(PasteHtmlAtRange(m.doc, 0, 0, u""
                                           u"<table><tr><td>x</td></tr></table>") ||
              true);
  m.Check("paste table");
  s.element = m.doc.ElementsByTagId(TAGID_TD).at(0);
  ASSERT_TRUE(editor.DeleteColumn(s));
  m.Check("delete column");
  ParseDocument(m.doc, u"");
  m.Check("empty");
}

TEST(DocumentView, SelectionSurvivesAMirrorAndStaysInRange) {
  Mirror m;
  ParseDocument(m.doc, u"<p>hello world</p>");
  m.Check("load");
  m.view.SetSelection(6, 11);
  ParseDocument(m.doc, u"<p>hello</p>");
  m.Check("shorter");
  int a = -1, b = -1;
  m.view.GetSelection(a, b);
  EXPECT_LE(b, 5);
  EXPECT_GE(a, 0);
}

bool HasVerticalBar(HWND view) { return (GetWindowLongPtrW(view, GWL_STYLE) & WS_VSCROLL) != 0; }

std::u16string Paragraphs(int count, int from = 0) {
  std::u16string html;
  for (int i = from; i < from + count; ++i) {
    const std::string n = std::to_string(i);
    html += u"<p>\u6BB5" + std::u16string(n.begin(), n.end()) + u" <b>bold</b></p>";
  }
  return html;
}

// The vertical bar shows exactly when the text is taller than the view, whichever way the
// text came in, and the control scrolls with it.
TEST(DocumentView, VerticalBarFollowsTheTextHeight) {
  Mirror m;
  HWND view = m.view.Handle();
  ParseDocument(m.doc, Paragraphs(3));
  m.Check("short");
  EXPECT_FALSE(HasVerticalBar(view));

  ParseDocument(m.doc, Paragraphs(1200));
  m.Check("long");
  EXPECT_TRUE(HasVerticalBar(view));
  SendMessageW(view, EM_SCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SCROLLINFO si{sizeof si, SIF_POS};
  ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &si));
  EXPECT_GT(si.nPos, 0);

  // Shorter again in the same control, then in a fresh one: the control takes the bar away.
  ParseDocument(m.doc, Paragraphs(2));
  m.Check("short again");
  EXPECT_FALSE(HasVerticalBar(view));
  ParseDocument(m.doc, Paragraphs(3000));
  m.Check("longer");
  ParseDocument(m.doc, Paragraphs(4, 7));
  m.Check("short after a fresh control");
  EXPECT_FALSE(HasVerticalBar(m.view.Handle()));

  // A host without scroll bars gets none, however long the text.
  m.view.SetVerticalScrollBar(false);
  ParseDocument(m.doc, Paragraphs(1500));
  m.Check("long without bar");
  EXPECT_FALSE(HasVerticalBar(m.view.Handle()));
  ParseDocument(m.doc, Paragraphs(3000, 1));
  m.Check("fresh control without bar");
  EXPECT_FALSE(HasVerticalBar(m.view.Handle()));
}

}  // namespace
}  // namespace htmledit
