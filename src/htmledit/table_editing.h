// Table insertion and editing on the document tree: every action with its query, each
// starting from the current selection (a control selection's element, or the element
// that holds a text range).
#pragma once

#include <string>

#include "htmledit/dom.h"
#include "htmledit/editor_attributes.h"

namespace htmledit {

struct TableSelection {
  bool control = false;    // a control (element) selection
  Node* element = nullptr; // the selected element, or the range's parent element
  int start = 0, end = 0;  // the text range in body-text positions (text selections)
};

// The HTML text of a new table from the attributes of new tables and cells. Caption,
// Background and ObjectClass are escaped.
std::u16string InsertTableHtml(int rows, int cols, std::u16string_view caption, const THtmlEditTableAttrs& table,
                               const THtmlEditTableCellAttrs& cell, const SysColorResolver& sysColor = {});

// MSHTML-style rowIndex (among all rows of the table) and cellIndex.
int RowIndex(const Node* row);
int CellIndex(const Node* cell);
std::vector<Node*> TableRows(const Node* table);
std::vector<Node*> RowCells(const Node* row);
// The visual column of a cell (sum of the colSpans before it), its row's index, and
// whether it is the first or the last cell of its row.
int CellColumn(const Node* cell);
int CellRow(const Node* cell);
bool IsFirstCellInRow(const Node* cell);
bool IsLastCellInRow(const Node* cell);

class TableEditor {
 public:
  explicit TableEditor(Document& doc) : doc_(doc) {}

  bool IsInTable(const TableSelection& s) const;
  bool CanInsertRow(const TableSelection& s) const;
  bool CanDeleteRow(const TableSelection& s) const { return CanInsertRow(s); }
  bool CanInsertColumn(const TableSelection& s) const;
  bool CanDeleteColumn(const TableSelection& s) const { return CanInsertColumn(s); }
  bool CanInsertCell(const TableSelection& s) const;
  bool CanDeleteCells(const TableSelection& s) const;
  bool CanSplitCell(const TableSelection& s) const;
  bool CanMergeCells(const TableSelection& s) const;

  bool InsertRow(const TableSelection& s);
  bool DeleteRow(const TableSelection& s);
  bool InsertColumn(const TableSelection& s);
  bool DeleteColumn(const TableSelection& s);
  bool InsertCell(const TableSelection& s);
  bool DeleteCells(const TableSelection& s);
  bool SplitCell(const TableSelection& s);
  bool MergeCells(const TableSelection& s);

 private:
  struct Climb {
    Node* cell = nullptr;
    Node* row = nullptr;
    Node* table = nullptr;
    bool stoppedAtTbody = false;
  };
  Climb ClimbFrom(Node* element, bool stopAtTbody, bool toTop) const;
  bool Inside(const Node* node, const TableSelection& s) const;
  Node* NewCellLike(const Node* model, bool withClass);
  bool DeleteCellsImpl(const TableSelection& s, bool apply);

  Document& doc_;
};

}  // namespace htmledit
