#include "htmledit/table_editing.h"

#include <string>

#include "htmledit/body_text.h"
#include "htmledit/module_routines.h"
#include "htmledit/source_generator.h"

namespace htmledit {

namespace {

std::u16string Number(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

bool HasColor(TColor c) { return c != clNone && c != clDefault; }

// Attribute text for a value that goes between double quotes.
std::u16string Quoted(std::u16string_view v) {
  std::u16string out = u"\"";
  for (char16_t c : v) {
    if (c == u'"') out += u"&quot;";
    else if (c == u'&') out += u"&amp;";
    else if (c == u'<') out += u"&lt;";
    else out += c;
  }
  return out + u"\"";
}

constexpr std::u16string_view kCopiedAttributes[] = {u"rowSpan", u"colSpan", u"align", u"vAlign", u"bgColor",
                                                     u"noWrap", u"background", u"borderColor", u"borderColorLight",
                                                     u"borderColorDark", u"width", u"height"};

bool IsCell(const Node* n) { return n && (n->Is(TAGID_TD) || n->Is(TAGID_TH)); }

}  // namespace

std::u16string InsertTableHtml(int rows, int cols, std::u16string_view caption, const THtmlEditTableAttrs& t,
                               const THtmlEditTableCellAttrs& c, const SysColorResolver& sysColor) {
  std::u16string T = u"border=" + Number(t.BorderSize) + u" cellSpacing=" + Number(t.CellSpacing) +
                     u" cellPadding=" + Number(t.CellPadding) + u" width=" + Number(t.Width);
  if (t.WidthInPercent) T += u"%";
  if (HasColor(t.BgColor)) T += u" bgcolor=\"" + ColorToHTML(t.BgColor, sysColor) + u"\"";
  if (HasColor(t.BorderColor)) T += u" bordercolor=\"" + ColorToHTML(t.BorderColor, sysColor) + u"\"";
  T += kHorizontalAlignFragments[static_cast<int>(t.Align)];
  if (!t.Background.empty()) T += u" BACKGROUND=" + Quoted(t.Background);

  std::u16string C;
  if (HasColor(c.BgColor)) C += u" bgcolor=\"" + ColorToHTML(c.BgColor, sysColor) + u"\"";
  if (HasColor(c.BorderColor)) C += u" bordercolor=\"" + ColorToHTML(c.BorderColor, sysColor) + u"\"";
  if (c.NoWrap) C += u" nowrap";
  C += kHorizontalAlignFragments[static_cast<int>(c.Align)];
  C += kVerticalAlignFragments[static_cast<int>(c.VAlign)];
  if (!c.Background.empty()) C += u" BACKGROUND=" + Quoted(c.Background);
  if (c.Width != 0) C += u" width=" + Number(c.Width) + (c.WidthInPercent ? u"%" : u"");
  if (c.Height != 0) C += u" height=" + Number(c.Height) + (c.HeightInPercent ? u"%" : u"");
  if (!c.ObjectClass.empty()) C += u" CLASS=" + Quoted(c.ObjectClass);

  std::u16string html = u"<TABLE " + T + u">";
  if (!caption.empty()) html += u"<CAPTION>" + EscapeSourceText(caption, THtmlEditSourceCodeOptions::None().With(
                                                   THtmlEditSourceCodeOption::Preserve8BitCharacters)) + u"</CAPTION>";
  html += u"<TBODY>";
  for (int r = 0; r < rows; ++r) {
    html += u"<TR>";
    for (int k = 0; k < cols; ++k) html += u"<TD" + C + u"></TD>";
    html += u"</TR>";
  }
  html += u"</TBODY></TABLE>";
  return html;
}

std::vector<Node*> TableRows(const Node* table) {
  std::vector<Node*> rows;
  if (!table) return rows;
  // Rows of the table itself and of its sections, not of nested tables.
  for (Node* c = table->firstChild; c; c = c->next) {
    if (c->Is(TAGID_TR)) rows.push_back(c);
    else if (c->Is(TAGID_TBODY) || c->Is(TAGID_THEAD) || c->Is(TAGID_TFOOT))
      for (Node* r = c->firstChild; r; r = r->next)
        if (r->Is(TAGID_TR)) rows.push_back(r);
  }
  return rows;
}

std::vector<Node*> RowCells(const Node* row) {
  std::vector<Node*> cells;
  for (Node* c = row ? row->firstChild : nullptr; c; c = c->next)
    if (IsCell(c)) cells.push_back(c);
  return cells;
}

namespace {
Node* TableOf(const Node* row) {
  Node* p = row ? row->parent : nullptr;
  if (p && !p->Is(TAGID_TABLE)) p = p->parent;
  return p && p->Is(TAGID_TABLE) ? p : nullptr;
}
}  // namespace

int RowIndex(const Node* row) {
  std::vector<Node*> rows = TableRows(TableOf(row));
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i] == row) return static_cast<int>(i);
  return -1;
}

int CellIndex(const Node* cell) {
  std::vector<Node*> cells = RowCells(cell ? cell->parent : nullptr);
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i] == cell) return static_cast<int>(i);
  return -1;
}

int CellColumn(const Node* cell) {
  const Node* row = cell;
  while (row && !row->Is(TAGID_TR)) row = row->parent;
  int column = 0;
  for (Node* c : RowCells(row)) {
    if (c == cell || Contains(c, cell)) break;
    column += c->GetIntAttribute(u"colSpan", 1);
  }
  return column;
}

int CellRow(const Node* cell) {
  const Node* row = cell;
  while (row && !row->Is(TAGID_TR)) row = row->parent;
  return row ? RowIndex(row) : -1;
}

bool IsFirstCellInRow(const Node* cell) { return CellIndex(cell) == 0; }
bool IsLastCellInRow(const Node* cell) {
  std::vector<Node*> cells = RowCells(cell ? cell->parent : nullptr);
  return !cells.empty() && cells.back() == cell;
}

TableEditor::Climb TableEditor::ClimbFrom(Node* element, bool stopAtTbody, bool toTop) const {
  Climb c;
  for (Node* n = element; n && n->type != NodeType::Document; n = n->parent) {
    if (!n->IsElement()) continue;
    if (IsCell(n) && !c.cell && !c.row) c.cell = n;
    else if (n->Is(TAGID_TR) && !c.row) c.row = n;
    if (stopAtTbody && n->Is(TAGID_TBODY) && !toTop) {
      c.stoppedAtTbody = true;
      c.table = TableOf(c.row ? c.row : n->firstChild);
      if (!c.table && n->parent && n->parent->Is(TAGID_TABLE)) c.table = n->parent;
      return c;
    }
    if (n->Is(TAGID_TABLE)) {
      c.table = n;
      if (!toTop) return c;
    }
  }
  return c;
}

bool TableEditor::Inside(const Node* node, const TableSelection& s) const {
  BodyText layout = BodyText::Build(doc_);
  auto [a, b] = layout.SpanOf(node);
  int start = std::min(s.start, s.end), end = std::max(s.start, s.end);
  return start <= a && b <= end;
}

Node* TableEditor::NewCellLike(const Node* model, bool withClass) {
  Node* cell = doc_.CreateElement(model && model->Is(TAGID_TH) ? u"th" : u"td");
  if (!model) return cell;
  for (std::u16string_view name : kCopiedAttributes)
    if (const std::u16string* v = model->GetAttribute(name)) cell->attributes.push_back({std::u16string(name), *v});
  if (withClass)
    if (const std::u16string* v = model->GetAttribute(u"class")) cell->attributes.push_back({u"class", *v});
  return cell;
}

bool TableEditor::IsInTable(const TableSelection& s) const {
  return s.element && ClimbFrom(s.element, false, false).table != nullptr;
}

bool TableEditor::CanInsertRow(const TableSelection& s) const {
  Climb c = ClimbFrom(s.element, false, false);
  return c.row && c.table;
}

bool TableEditor::CanInsertColumn(const TableSelection& s) const {
  Climb c = ClimbFrom(s.element, false, false);
  return c.cell && c.table;
}

bool TableEditor::CanInsertCell(const TableSelection& s) const {
  Climb c = ClimbFrom(s.element, false, false);
  return c.cell && c.row && c.table;
}

bool TableEditor::CanSplitCell(const TableSelection& s) const { return !s.control && CanInsertCell(s); }

bool TableEditor::CanMergeCells(const TableSelection& s) const {
  if (s.control || !s.element) return false;
  Climb c = ClimbFrom(s.element, true, false);
  return !c.cell && c.row != nullptr;
}

bool TableEditor::InsertRow(const TableSelection& s) {
  Climb c = ClimbFrom(s.element, false, false);
  if (!c.row || !c.table) return false;
  if (RowIndex(c.row) < 0) return false;
  Node* row = doc_.CreateElement(u"tr");
  for (Node* cell : RowCells(c.row)) doc_.AppendChild(row, NewCellLike(cell, true));
  doc_.InsertBefore(c.row->parent, row, c.row);
  return true;
}

bool TableEditor::DeleteRow(const TableSelection& s) {
  Climb c = ClimbFrom(s.element, false, false);
  if (!c.row || !c.table) return false;
  doc_.Remove(c.row);
  if (TableRows(c.table).empty()) doc_.Remove(c.table);
  return true;
}

bool TableEditor::InsertColumn(const TableSelection& s) {
  Climb c = ClimbFrom(s.element, false, false);
  if (!c.cell || !c.table) return false;
  int index = CellIndex(c.cell);
  if (index < 0) return false;
  for (Node* row : TableRows(c.table)) {
    std::vector<Node*> cells = RowCells(row);
    // A row shorter than the column gets its new cell at its end.
    Node* at = index < static_cast<int>(cells.size()) ? cells[index] : nullptr;
    doc_.InsertBefore(row, NewCellLike(at, true), at);
  }
  return true;
}

bool TableEditor::DeleteColumn(const TableSelection& s) {
  Climb c = ClimbFrom(s.element, false, false);
  if (!c.cell || !c.table) return false;
  int index = CellIndex(c.cell);
  if (index < 0) return false;
  bool anyCell = false;
  for (Node* row : TableRows(c.table)) {
    std::vector<Node*> cells = RowCells(row);
    if (index < static_cast<int>(cells.size())) doc_.Remove(cells[index]);
  }
  for (Node* row : TableRows(c.table)) anyCell = anyCell || !RowCells(row).empty();
  if (!anyCell) doc_.Remove(c.table);
  return true;
}

bool TableEditor::InsertCell(const TableSelection& s) {
  Climb c = ClimbFrom(s.element, false, false);
  if (!c.cell || !c.row || !c.table) return false;
  doc_.InsertBefore(c.cell->parent, NewCellLike(c.cell, false), c.cell);
  return true;
}

bool TableEditor::CanDeleteCells(const TableSelection& s) const {
  return const_cast<TableEditor*>(this)->DeleteCellsImpl(s, false);
}

bool TableEditor::DeleteCells(const TableSelection& s) { return DeleteCellsImpl(s, true); }

bool TableEditor::DeleteCellsImpl(const TableSelection& s, bool apply) {
  if (s.control || !s.element) return false;
  Climb c = ClimbFrom(s.element, false, true);
  if (c.cell) {
    if (!apply) return true;
    Node* row = c.cell->parent;
    doc_.Remove(c.cell);
    if (row && RowCells(row).empty()) doc_.Remove(row);
    return true;
  }
  if (c.row) {
    std::vector<Node*> doomed;
    for (Node* cell : RowCells(c.row))
      if (Inside(cell, s)) doomed.push_back(cell);
    if (doomed.empty() || !apply) return !doomed.empty();
    for (Node* cell : doomed) doc_.Remove(cell);
    if (RowCells(c.row).empty()) doc_.Remove(c.row);
    return true;
  }
  if (c.table) {
    std::vector<Node*> doomed;
    for (Node* row : TableRows(c.table))
      if (Inside(row, s)) doomed.push_back(row);
    if (doomed.empty() || !apply) return !doomed.empty();
    for (Node* row : doomed) doc_.Remove(row);
    for (Node* row : TableRows(c.table))
      if (RowCells(row).empty()) doc_.Remove(row);
    if (TableRows(c.table).empty()) doc_.Remove(c.table);
    return true;
  }
  return false;
}

bool TableEditor::SplitCell(const TableSelection& s) {
  if (!CanSplitCell(s)) return false;
  Climb c = ClimbFrom(s.element, false, false);
  Node* row = c.cell->parent;
  doc_.InsertBefore(row, NewCellLike(c.cell, false), c.cell->next);
  int pos = 0;
  for (Node* cell : RowCells(row)) {
    if (cell == c.cell) break;
    pos += cell->GetIntAttribute(u"colSpan", 1);
  }
  for (Node* other : TableRows(c.table)) {
    if (other == row) continue;
    int sum = 0;
    for (Node* cell : RowCells(other)) {
      if (sum == pos) {
        doc_.SetAttribute(cell, u"colSpan", Number(cell->GetIntAttribute(u"colSpan", 1) + 1));
        break;
      }
      sum += cell->GetIntAttribute(u"colSpan", 1);
    }
  }
  return true;
}

bool TableEditor::MergeCells(const TableSelection& s) {
  if (!CanMergeCells(s)) return false;
  Climb c = ClimbFrom(s.element, true, false);
  Node* target = nullptr;
  bool merged = false;
  std::vector<Node*> inside;
  for (Node* cell : RowCells(c.row))
    if (Inside(cell, s)) inside.push_back(cell);
  for (Node* cell : inside) {
    if (!target) {
      target = cell;
      continue;
    }
    // Plain text: the formatting of the merged cells is not kept.
    std::u16string text = TextContent(target) + TextContent(cell);
    doc_.RemoveChildren(target);
    if (!text.empty()) doc_.AppendChild(target, doc_.CreateText(text));
    doc_.Remove(cell);
    doc_.SetAttribute(target, u"colSpan", Number(target->GetIntAttribute(u"colSpan", 1) + 1));
    merged = true;
  }
  return merged;
}

}  // namespace htmledit
