// The reordering commands of the history model: the drag move and the sort.
#include "app/history/history_captions.h"
#include "app/history/history_model.h"
#include "app/history/history_progress.h"
#include "app/reorder/drag_move.h"
#include "app/reorder/list_sort.h"

namespace app {

void HistoryModel::dragMove(int dragRow, int dropRow) {
  const int n = store_.size();
  if (dragRow >= n || dropRow >= n) return;
  const int newIndex = DragMoveNewIndex(dragRow, dropRow);
  if (newIndex < 0) return;
  // The same steps as the move commands: the entry keeps its text, snapshot and check mark,
  // the tray row and the bookmarks follow it.
  moveEntry(dragRow, newIndex);
}

void HistoryModel::sortRows() {
  const int n = store_.size();
  if (n == 0) return;
  std::vector<std::u16string_view> captions;
  captions.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) captions.push_back(ListRowCaption(store_.EntryTexts(i)));
  // One stable permutation for every table: entries whose captions agree keep their order
  // and each keeps its own snapshot.
  const std::vector<int> order = CaptionSortOrder(captions);
  captions.clear();

  Hourglass hourglass(sink_);
  ProgressSteps progress(sink_, n);
  clearRows(nullptr);
  keepRunHistoryUnlessRefilled();
  store_.permute(order);
  for (int i = 0; i < n; ++i) {
    addRow(i);
    if (store_.checked(i)) sink_.listSetChecked(i, true);
    progress.row();
  }
  if (!fixedView_) {
    runHistory_.mirrorRows();
    if (!bookmarks_.BookmarkRows.empty()) {
      const std::vector<int> moved = InversePermutation(order);
      for (int& b : bookmarks_.BookmarkRows) {
        if (b >= 0 && b < n) b = moved[static_cast<std::size_t>(b)];
      }
      sink_.repaintBookmarks();
    }
  } else if (rowsAreFixedEntries()) {
    saveFixedEntries();
  }
}

}  // namespace app
