#include <gtest/gtest.h>

#include "htmledit/body_text.h"
#include "htmledit/document_edits.h"
#include "htmledit/html_parser.h"
#include "htmledit/table_editing.h"

namespace htmledit {
namespace {

TEST(InsertTableHtml, DefaultExampleAndEveryAttribute) {
  THtmlEditTableAttrs t;
  THtmlEditTableCellAttrs c;
  EXPECT_EQ(InsertTableHtml(2, 1, u"", t, c),
            u"<TABLE border=1 cellSpacing=1 cellPadding=1 width=75%><TBODY><TR><TD></TD></TR><TR><TD></TD></TR>"
            u"</TBODY></TABLE>");
  t.Align = THTMLAlign::haCenter;
  t.Background = u"b\"g.gif";
  t.BgColor = 0x0000FF;
  t.BorderColor = 0x00FF00;
  t.BorderSize = 2;
  t.CellPadding = 3;
  t.CellSpacing = 4;
  t.Width = 500;
  t.WidthInPercent = false;
  c.Align = THTMLAlign::haRight;
  c.VAlign = THTMLVAlign::haBaseline;
  c.Background = u"c.gif";
  c.BgColor = 0xFF0000;
  c.BorderColor = clDefault;  // treated as none
  c.NoWrap = true;
  c.Width = 20;
  c.WidthInPercent = true;
  c.Height = 30;
  c.ObjectClass = u"k<1>";
  EXPECT_EQ(InsertTableHtml(1, 2, u"\u8868 & <x>", t, c),
            u"<TABLE border=2 cellSpacing=4 cellPadding=3 width=500 bgcolor=\"#FF0000\" bordercolor=\"#00FF00\""
            u" Align=\"center\" BACKGROUND=\"b&quot;g.gif\"><CAPTION>\u8868 &amp; &lt;x&gt;</CAPTION><TBODY><TR>"
            u"<TD bgcolor=\"#0000FF\" nowrap Align=\"right\" VAlign=\"baseline\" BACKGROUND=\"c.gif\" width=20%"
            u" height=30 CLASS=\"k&lt;1>\"></TD>"
            u"<TD bgcolor=\"#0000FF\" nowrap Align=\"right\" VAlign=\"baseline\" BACKGROUND=\"c.gif\" width=20%"
            u" height=30 CLASS=\"k&lt;1>\"></TD></TR></TBODY></TABLE>");
  EXPECT_EQ(InsertTableHtml(0, 3, u"", THtmlEditTableAttrs{}, THtmlEditTableCellAttrs{}),
            u"<TABLE border=1 cellSpacing=1 cellPadding=1 width=75%><TBODY></TBODY></TABLE>");
}

struct TableDoc {
  Document doc;
  explicit TableDoc(std::u16string_view html) { ParseDocument(doc, html); }
  Node* Cell(int row, int col) {
    Node* table = doc.ElementsByTagId(TAGID_TABLE).at(0);
    return RowCells(TableRows(table).at(row)).at(col);
  }
  TableSelection CaretIn(Node* element) {
    TableSelection s;
    s.element = element;
    BodyText layout = BodyText::Build(doc);
    s.start = s.end = layout.SpanOf(element).first;
    return s;
  }
  TableSelection Range(int start, int end) {
    BodyText layout = BodyText::Build(doc);
    TableSelection s;
    s.start = start;
    s.end = end;
    s.element = layout.CommonElement(start, end);
    return s;
  }
  std::u16string Text() { return BodyText::Build(doc).Text(); }
};

TEST(TableEditor, InsertRowCopiesSpansAndClass) {
  TableDoc d(u"<table><tr><td colspan=2 class=k bgcolor=red>a</td><td>b</td></tr></table>");
  TableEditor ed(d.doc);
  ASSERT_TRUE(ed.InsertRow(d.CaretIn(d.Cell(0, 1))));
  Node* newFirst = d.Cell(0, 0);
  EXPECT_EQ(*newFirst->GetAttribute(u"colSpan"), u"2");
  EXPECT_EQ(*newFirst->GetAttribute(u"class"), u"k");
  EXPECT_EQ(*newFirst->GetAttribute(u"bgColor"), u"red");
  EXPECT_EQ(TextContent(d.Cell(1, 0)), u"a");
  EXPECT_EQ(d.Text(), u"\t\ra\tb");
}

TEST(TableEditor, DeletingTheLastRowOrColumnRemovesTheTable) {
  TableDoc rows(u"x<table><tr><td>a</td></tr></table>y");
  TableEditor r(rows.doc);
  ASSERT_TRUE(r.DeleteRow(rows.CaretIn(rows.Cell(0, 0))));
  EXPECT_TRUE(rows.doc.ElementsByTagId(TAGID_TABLE).empty());
  TableDoc cols(u"<table><tr><td>a</td></tr><tr><td>b</td></tr></table>");
  TableEditor c(cols.doc);
  ASSERT_TRUE(c.DeleteColumn(cols.CaretIn(cols.Cell(0, 0))));
  EXPECT_TRUE(cols.doc.ElementsByTagId(TAGID_TABLE).empty());
}

TEST(TableEditor, OutsideATableEveryQueryAndActionIsFalse) {
  TableDoc d(u"<p>plain</p><table><tr><td>a</td></tr></table>");
  TableEditor ed(d.doc);
  TableSelection s = d.CaretIn(d.doc.Body()->firstChild);
  EXPECT_FALSE(ed.IsInTable(s));
  EXPECT_FALSE(ed.CanInsertRow(s) || ed.CanDeleteRow(s) || ed.CanInsertColumn(s) || ed.CanDeleteColumn(s) ||
               ed.CanInsertCell(s) || ed.CanDeleteCells(s) || ed.CanSplitCell(s) || ed.CanMergeCells(s));
  EXPECT_FALSE(ed.InsertRow(s) || ed.DeleteRow(s) || ed.InsertColumn(s) || ed.DeleteColumn(s) || ed.InsertCell(s) ||
               ed.DeleteCells(s) || ed.SplitCell(s) || ed.MergeCells(s));
  EXPECT_EQ(d.Text(), u"plain\ra");
  EXPECT_FALSE(ed.IsInTable(TableSelection{}));
}

TEST(TableEditor, SplitCellWidensTheCellAtThatColumnInOtherRows) {
  TableDoc d(u"<table><tr><td colspan=2>a</td><td>b</td></tr><tr><td>c</td><td>d</td><td>e</td></tr>"
             u"<tr><td colspan=3>f</td></tr></table>");
  TableEditor ed(d.doc);
  ASSERT_TRUE(ed.SplitCell(d.CaretIn(d.Cell(0, 1))));
  EXPECT_EQ(RowCells(TableRows(d.doc.ElementsByTagId(TAGID_TABLE)[0])[0]).size(), 3u);
  EXPECT_EQ(d.Cell(1, 2)->GetIntAttribute(u"colSpan", 1), 2);  // the cell starting at column 2
  EXPECT_EQ(d.Cell(1, 0)->GetIntAttribute(u"colSpan", 1), 1);
  EXPECT_EQ(d.Cell(2, 0)->GetIntAttribute(u"colSpan", 1), 3);  // no cell starts at 2: unchanged
  EXPECT_EQ(CellColumn(d.Cell(0, 1)), 2);
}

TEST(TableEditor, MergeThreeCellsJoinsTextAndSpans) {
  TableDoc d(u"<table><tr><td>x</td><td colspan=2>a</td><td><b>b</b></td><td>c</td><td>y</td></tr></table>");
  TableEditor ed(d.doc);
  // Text: "x\ta\tb\tc\ty"; select from a to c.
  TableSelection s = d.Range(2, 7);
  ASSERT_TRUE(s.element->Is(TAGID_TR));
  EXPECT_TRUE(ed.CanMergeCells(s));
  ASSERT_TRUE(ed.MergeCells(s));
  EXPECT_EQ(TextContent(d.Cell(0, 1)), u"abc");
  EXPECT_EQ(d.Cell(0, 1)->GetIntAttribute(u"colSpan", 1), 4);
  EXPECT_EQ(d.Text(), u"x\tabc\ty");
}

TEST(TableEditor, InsertAndDeleteColumnsCellsAndRanges) {
  TableDoc d(u"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>");
  TableEditor ed(d.doc);
  ASSERT_TRUE(ed.InsertColumn(d.CaretIn(d.Cell(0, 1))));
  EXPECT_EQ(d.Text(), u"a\t\tb\rc\t\td");
  ASSERT_TRUE(ed.InsertCell(d.CaretIn(d.Cell(1, 0))));
  EXPECT_EQ(d.Text(), u"a\t\tb\r\tc\t\td");
  ASSERT_TRUE(ed.DeleteCells(d.CaretIn(d.Cell(1, 0))));
  EXPECT_EQ(d.Text(), u"a\t\tb\rc\t\td");
  // A range over both rows deletes them, and the table with them.
  TableSelection all = d.Range(0, d.Text().size());
  EXPECT_TRUE(ed.CanDeleteCells(all));
  ASSERT_TRUE(ed.DeleteCells(all));
  EXPECT_TRUE(d.doc.ElementsByTagId(TAGID_TABLE).empty());
}

TEST(DocumentEdits, PasteHtmlReplacesTheRangeAndMovesBaseFont) {
  Document doc;
  ParseDocument(doc, u"<p>hello world</p>");
  ASSERT_TRUE(PasteHtmlAtRange(doc, 6, 11, u"<b>there</b><basefont size=4>"));
  EXPECT_EQ(BodyText::Build(doc).Text(), u"hello there");
  EXPECT_EQ(doc.ElementsByTagId(TAGID_BASEFONT).at(0)->parent, doc.Head());
  ASSERT_TRUE(PasteHtmlAtRange(doc, 0, 0, InsertTableHtml(1, 2, u"", {}, {})));
  EXPECT_EQ(BodyText::Build(doc).Text(), u"\t\rhello there");
}

}  // namespace
}  // namespace htmledit
