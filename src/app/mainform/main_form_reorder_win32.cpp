// TForm1: moving an entry by dragging its row, and sorting the list.
#include <windows.h>

#include "app/mainform/main_form_win32.h"
#include "gui/gdi.h"

namespace app {

void TForm1::BindDragMove() {
  ListDragTracker::Handlers handlers;
  handlers.rowAt = [this](int x, int y, bool& onText) {
    const int row = CheckListBox1.ItemAtPos(POINT{x, y}, true);
    onText = row >= 0 && x - CheckListBox1.ItemRect(row).left >= CheckListBox1.CheckWidth();
    return row;
  };
  handlers.startDrag = [this](int row) { CheckListBox1StartDrag(row); };
  handlers.dragOver = [this](int x, int y) {
    CheckListBox1DragOver(x, y);
    return CheckListBox1.ItemAtPos(POINT{x, y}, true) >= 0;
  };
  handlers.dragDrop = [this](int x, int y) { CheckListBox1DragDrop(x, y); };
  dragTracker_ = std::make_unique<ListDragTracker>(CheckListBox1, std::move(handlers));
}

void TForm1::CheckListBox1StartDrag(int pressedRow) {
  // The row the button went down on: by the time the mouse has passed the drag distance
  // the cursor may be over the next row already.
  DragRow = pressedRow;
  HideClickHint(true);
  EraseHoverFrame();
}

void TForm1::CheckListBox1DragOver(int, int) {
  // The only source of a drag is the list itself, which accepts it over its rows.
}

void TForm1::CheckListBox1DragDrop(int x, int y) {
  const int from = DragRow;
  DragRow = -1;
  if (from < 0) return;
  // The design takes the selected row as the source; the row the drag started from is the
  // one the user moves, whatever the click on it did to the selection.
  const int to = CheckListBox1.ItemAtPos(POINT{x, y}, true);
  {
    const unicode::TUpdateScope update(CheckListBox1.Items());
    history_->dragMove(from, to);
  }
  InvalidateRect(CheckListBox1.Handle(), nullptr, FALSE);
}

void TForm1::N42Click() {
  if (history_->rowCount() == 0) return;
  const BusyScope busy(listBusy_);
  const unicode::TUpdateScope update(CheckListBox1.Items());
  history_->sortRows();
}

}  // namespace app
