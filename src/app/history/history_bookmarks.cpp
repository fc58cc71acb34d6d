#include "app/history/history_bookmarks.h"

namespace app {

void RenumberBookmarksAfterMove(std::vector<int>& rows, int from, int to) {
  for (int& b : rows) {
    if (b == from) {
      b = to;
    } else if (from < b && b <= to) {
      --b;
    } else if (to <= b && b < from) {
      ++b;
    }
  }
}

std::vector<int> RenumberBookmarksAfterDelete(std::vector<int>& rows, int deleted) {
  std::vector<int> removed;
  for (int k = static_cast<int>(rows.size()) - 1; k >= 0; --k) {
    int& b = rows[static_cast<std::size_t>(k)];
    if (b == deleted) {
      removed.push_back(k);
      rows.erase(rows.begin() + k);
    } else if (b > deleted) {
      --b;
    }
  }
  return removed;
}

MarkRect BookmarkMarkRect(MarkRect itemRect, int checkWidth) {
  // Moving past the check box first changes nothing: the second step sets the edge anew.
  (void)checkWidth;
  MarkRect mark = itemRect;
  mark.left = mark.right - mark.right / 3;
  return mark;
}

}  // namespace app
