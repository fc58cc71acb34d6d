// Bookmark row numbers and how the history commands renumber them. A bookmark names a
// list row; when the commands move or delete rows, the bookmark follows its entry.
#pragma once

#include <vector>

namespace app {

struct BookmarkState {
  // BookmarkRows: the bookmarked rows in the order they were set; the k-th row of the
  // bookmark menu belongs to BookmarkRows[k].
  std::vector<int> BookmarkRows;
  // BookmarkBackup: the bookmarks a list load set aside; showing the run history takes them back.
  std::vector<int> BookmarkBackup;
  // BookmarkBackupValid: the next removal saves the bookmarks into BookmarkBackup first.
  bool BookmarkBackupValid = false;
  // BookmarkAskFlag: the removal asks and sounds; callers clear it around a removal that must not.
  bool BookmarkAskFlag = true;
  // ClearBookmarksOnLoad: a list load removes the bookmarks (setting them aside). The fixed
  // view's load and the return to the history view clear it before their load; every load
  // sets it again.
  bool ClearBookmarksOnLoad = true;
};

// A rectangle in the list's client coordinates.
struct MarkRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The teal mark of a bookmarked row: the row's rectangle with its left edge moved past the
// check box and then to Right - Right div 3 (the right third, measured from the list's
// left edge).
MarkRect BookmarkMarkRect(MarkRect itemRect, int checkWidth);

// The entry on row `from` went to row `to`; the rows between shifted one place towards `from`.
void RenumberBookmarksAfterMove(std::vector<int>& rows, int from, int to);

// Row `deleted` was removed and the rows after it moved up by one. A bookmark on the deleted
// row is removed; the indexes (into `rows` as it was) of the removed bookmarks are returned,
// from the last to the first.
std::vector<int> RenumberBookmarksAfterDelete(std::vector<int>& rows, int deleted);

}  // namespace app
