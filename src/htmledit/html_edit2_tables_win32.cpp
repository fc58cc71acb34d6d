// THtmlEdit2's table operations: each runs on the document tree from the current
// selection and mirrors the change into the view.
#include "htmledit/html_edit2_win32.h"

namespace htmledit {

template <class Op>
bool THtmlEdit2::TableOperation(Op op, bool change) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  bool result = false;
  try {
    TableEditor editor(doc->Dom());
    result = op(editor, CurrentSelection(doc));
    if (change && result) doc->ContentChanged();
  } catch (...) {
    result = false;  // a partly done operation is not undone
  }
  doc->Release();
  return result;
}

bool THtmlEdit2::CanInsertTable() {
  if (!GetReady() || GetBrowseMode()) return false;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  doc->Release();
  return true;
}

bool THtmlEdit2::InsertTable(int rows, int cols, const std::u16string& caption) {
  if (!CanInsertTable()) return false;
  return PasteHTMLAtSelection(InsertTableHtml(rows, cols, caption, TableAttrs(), TableCellAttrs(),
                                              [](int index) { return static_cast<uint32_t>(GetSysColor(index)); }));
}

#define QUILL_TABLE_QUERY(Name) \
  bool THtmlEdit2::Name() { return TableOperation([](TableEditor& e, const TableSelection& s) { return e.Name(s); }, false); }
#define QUILL_TABLE_ACTION(Name) \
  bool THtmlEdit2::Name() { return TableOperation([](TableEditor& e, const TableSelection& s) { return e.Name(s); }, true); }

QUILL_TABLE_QUERY(IsInTable)
QUILL_TABLE_QUERY(CanInsertRow)
QUILL_TABLE_QUERY(CanDeleteRow)
QUILL_TABLE_QUERY(CanInsertColumn)
QUILL_TABLE_QUERY(CanDeleteColumn)
QUILL_TABLE_QUERY(CanInsertCell)
QUILL_TABLE_QUERY(CanDeleteCells)
QUILL_TABLE_QUERY(CanSplitCell)
QUILL_TABLE_QUERY(CanMergeCells)
QUILL_TABLE_ACTION(InsertRow)
QUILL_TABLE_ACTION(DeleteRow)
QUILL_TABLE_ACTION(InsertColumn)
QUILL_TABLE_ACTION(DeleteColumn)
QUILL_TABLE_ACTION(InsertCell)
QUILL_TABLE_ACTION(DeleteCells)
QUILL_TABLE_ACTION(SplitCell)
QUILL_TABLE_ACTION(MergeCells)

#undef QUILL_TABLE_QUERY
#undef QUILL_TABLE_ACTION

bool THtmlEdit2::ShowContextMenu(int x, int y) {
  // A paste from the browser's own menu fires OnPaste but not OnBeforePaste.
  TNotifyEvent saved = std::move(OnBeforePaste);
  OnBeforePaste = nullptr;
  bool shown = TCustomHtmlEdit::ShowContextMenu(x, y);
  OnBeforePaste = std::move(saved);
  return shown;
}

}  // namespace htmledit
