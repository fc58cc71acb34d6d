// Long run-time row lists in a menu, cut into pages: up to one page's worth the rows stand in
// the menu itself; above, each page of rows is a sub-menu of its own. Portable arithmetic, so
// that the places of rows can be checked natively.
#pragma once

namespace gui {

// Whether `count` rows are shown in pages of `pageSize` (0: never).
constexpr bool RowsArePaged(int count, int pageSize) { return pageSize > 0 && count > pageSize; }
constexpr int PageCount(int count, int pageSize) {
  return RowsArePaged(count, pageSize) ? (count + pageSize - 1) / pageSize : 0;
}
constexpr int PageOfRow(int row, int pageSize) { return pageSize > 0 ? row / pageSize : 0; }
constexpr int FirstRowOfPage(int page, int pageSize) { return page * pageSize; }
// One past the page's last row.
constexpr int EndRowOfPage(int page, int count, int pageSize) {
  return (page + 1) * pageSize < count ? (page + 1) * pageSize : count;
}

}  // namespace gui
