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
};

// The entry on row `from` went to row `to`; the rows between shifted one place towards `from`.
void RenumberBookmarksAfterMove(std::vector<int>& rows, int from, int to);

// Row `deleted` was removed and the rows after it moved up by one. A bookmark on the deleted
// row is removed; the indexes (into `rows` as it was) of the removed bookmarks are returned,
// from the last to the first.
std::vector<int> RenumberBookmarksAfterDelete(std::vector<int>& rows, int deleted);

}  // namespace app
