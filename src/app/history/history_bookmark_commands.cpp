// The bookmark commands of the history model: set, remove all, jump, and the rows to mark.
#include <algorithm>

#include "app/history/history_captions.h"
#include "app/history/history_model.h"

namespace app {

namespace {
constexpr std::u16string_view kSetSound = u"设为书签.wav";
constexpr std::u16string_view kRemoveAllSound = u"撤销所有书签.wav";
constexpr std::u16string_view kRemoveAllCaption = u"撤销所有书签确认";
constexpr std::u16string_view kRemoveAllQuestion = u"你确信撤销所有书签吗?";
}  // namespace

HistoryModel::BookmarkSet HistoryModel::setBookmark(int selected) {
  if (selected < 0 || selected >= store_.size()) return BookmarkSet::Nothing;
  if (fixedView_) return BookmarkSet::FixedViewRefused;
  std::vector<int>& rows = bookmarks_.BookmarkRows;
  if (std::ranges::find(rows, selected) != rows.end()) return BookmarkSet::Nothing;
  if (store_.size() != runHistory_.RunHistoryCount()) {
    bookmarks_.BookmarkBackup.clear();
    runHistory_.mirrorRows();
    // The design empties the bookmark menu here but keeps BookmarkRows, after which the
    // menu rows would jump to the wrong bookmarks: the menu is built again from the rows.
    rebuildBookmarkMenu();
  }
  const int k = static_cast<int>(rows.size());
  rows.push_back(selected);
  sink_.bookmarkMenuAddRow(BookmarkMenuCaption(k, store_.EntryTexts(selected)));
  sink_.repaintBookmarks();
  sink_.playSound(kSetSound);
  return BookmarkSet::Set;
}

void HistoryModel::removeAllBookmarks() {
  BookmarkState& b = bookmarks_;
  const bool ask = b.BookmarkAskFlag;
  // The flag belongs to one removal, also when there was nothing to remove.
  b.BookmarkAskFlag = true;
  if (b.BookmarkRows.empty()) return;
  if (ask) {
    b.BookmarkBackupValid = false;
    if (fixedView_) return;
    if (!sink_.confirm(kRemoveAllCaption, kRemoveAllQuestion)) {
      sink_.repaintBookmarks();
      return;
    }
  }
  b.BookmarkBackup.clear();
  if (b.BookmarkBackupValid) {
    b.BookmarkBackup = b.BookmarkRows;
    b.BookmarkBackupValid = false;
  }
  b.BookmarkRows.clear();
  sink_.bookmarkMenuClear();
  sink_.repaintBookmarks();
  if (ask) sink_.playSound(kRemoveAllSound);
}

int HistoryModel::bookmarkJumpRow(int tag) const {
  const std::vector<int>& rows = bookmarks_.BookmarkRows;
  if (tag < 0 || tag >= static_cast<int>(rows.size())) return -1;
  const int b = rows[static_cast<std::size_t>(tag)];
  return b >= 0 && b < store_.size() ? b : -1;
}

std::vector<int> HistoryModel::bookmarkMarkRows() const {
  std::vector<int> marks;
  if (fixedView_) return marks;
  for (const int b : bookmarks_.BookmarkRows) {
    if (b >= 0 && b < store_.size()) marks.push_back(b);
  }
  return marks;
}

}  // namespace app
