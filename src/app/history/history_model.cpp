#include "app/history/history_model.h"

#include <stdexcept>
#include <utility>

#include "app/history/history_captions.h"
#include "app/history/history_progress.h"

namespace app {

namespace {

constexpr std::u16string_view kMergeTooFewCaption = u"出错";
constexpr std::u16string_view kMergeTooFewMessage = u"选择的数目小于2条，无法合并";
constexpr std::u16string_view kDeleteAllFixedCaption = u"固定条目全部删除确认";
constexpr std::u16string_view kDeleteAllFixedQuestion = u"你确信全部删除固定条目（收藏夹）吗?";
constexpr std::u16string_view kReverseSound = u"鸟叫.wav";
constexpr std::u16string_view kDeleteAllSound = u"全部删除.wav";

}  // namespace

std::u16string FixedEntriesFile(std::u16string_view baseDir) {
  std::u16string path(baseDir);
  path += u"\\固定条目\\固定条目.txt";
  return path;
}

HistoryModel::HistoryModel(HistorySink& sink, std::u16string fixedEntriesFile)
    : sink_(sink), runHistory_(store_), fixedEntriesFile_(std::move(fixedEntriesFile)) {
  // Rows and run history both start empty, so the run history starts as the rows' mirror.
  // The captures of the history view then go to the rows alone, instead of into a second
  // list holding another reference to every text and snapshot, which the first command
  // would have to walk through and release.
  runHistory_.mirrorRows();
}

void HistoryModel::addRow(int row) {
  const std::u16string_view text = store_.EntryTexts(row);
  sink_.listInsertRow(row, ListRowCaption(text));
  sink_.trayInsertRow(row + TrayEntryBase, TrayRowCaption(text));
}

// Clears the list and deletes the tray entry rows from the last; the store is left alone.
void HistoryModel::clearRows(ProgressSteps* progress) {
  const int rows = store_.size();
  sink_.listClear();
  for (int i = rows - 1; i >= 0; --i) {
    sink_.trayDeleteRow(i + TrayEntryBase);
    if (progress) progress->row();
  }
}

void HistoryModel::saveFixedEntries() {
  Hourglass hourglass(sink_);
  sink_.saveAndReloadFixedEntries();
}

void HistoryModel::rebuildBookmarkMenu() {
  sink_.bookmarkMenuClear();
  const std::vector<int>& rows = bookmarks_.BookmarkRows;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int b = rows[k];
    const std::u16string_view text = b >= 0 && b < store_.size() ? store_.EntryTexts(b) : std::u16string_view();
    sink_.bookmarkMenuAddRow(BookmarkMenuCaption(static_cast<int>(k), text));
  }
  sink_.repaintBookmarks();
}

void HistoryModel::moveRow(int selected, MoveKind kind) {
  const int n = store_.size();
  const int from = selected;
  if (from < 0 || from >= n) return;
  int to = from;
  switch (kind) {
    case MoveKind::Up:
      if (from < 1) return;
      to = from - 1;
      break;
    case MoveKind::Down:
      if (from + 1 > n - 1) return;
      to = from + 1;
      break;
    case MoveKind::Top:
      if (from == 0) return;
      to = 0;
      break;
    case MoveKind::Bottom:
      if (from == n - 1) return;
      to = n - 1;
      break;
  }

  moveEntry(from, to);
}

void HistoryModel::moveEntry(int from, int to) {
  keepRunHistoryUnlessRefilled();
  store_.move(from, to);
  sink_.listMoveRow(from, to);
  sink_.listSelect(to);
  sink_.trayDeleteRow(from + TrayEntryBase);
  sink_.trayInsertRow(to + TrayEntryBase, TrayRowCaption(store_.EntryTexts(to)));

  if (!fixedView_) {
    runHistory_.mirrorRows();
  } else if (rowsAreFixedEntries()) {
    saveFixedEntries();
  }
  // Bookmarks belong to the history view.
  if (!fixedView_ && !bookmarks_.BookmarkRows.empty()) {
    RenumberBookmarksAfterMove(bookmarks_.BookmarkRows, from, to);
    sink_.repaintBookmarks();
  }
}

void HistoryModel::reverseRows() {
  const int n = store_.size();
  if (n == 0) return;
  Hourglass hourglass(sink_);
  clearRows(nullptr);
  keepRunHistoryUnlessRefilled();
  store_.reverse();
  for (int i = 0; i < n; ++i) store_.setChecked(i, false);  // the rebuilt rows come unchecked
  for (int i = 0; i < n; ++i) addRow(i);
  // With the fixed entries shown the rows are not the history: the run history keeps the
  // session's captures instead of becoming a copy of the fixed entries.
  if (!fixedView_) runHistory_.mirrorRows();
  clearBookmarksWithoutAsking();
  sink_.playSound(kReverseSound);
}

void HistoryModel::deleteUncheckedRows() {
  const int n = store_.size();
  if (n == 0) return;
  {
    ProgressSteps progress(sink_, n);
    keepRunHistoryUnlessRefilled();
    const std::vector<int> removedAt = store_.removeUnchecked();
    // The walk from the first row: the r-th removed row was walked as row removedAt[r] + r.
    std::size_t r = 0;
    for (int walked = 0; walked < n; ++walked) {
      if (r < removedAt.size() && removedAt[r] + static_cast<int>(r) == walked) {
        sink_.listDeleteRow(removedAt[r]);
        sink_.trayDeleteRow(removedAt[r] + TrayEntryBase);
        ++r;
      }
      progress.row();
    }
  }
  if (!fixedView_) runHistory_.mirrorRows();
  clearBookmarksWithoutAsking();
  if (rowsAreFixedEntries()) saveFixedEntries();
}

void HistoryModel::deleteRow(int selected) {
  const int i = selected;
  if (i < 0 || i >= store_.size()) return;
  keepRunHistoryUnlessRefilled();
  store_.erase(i);
  sink_.listDeleteRow(i);
  sink_.trayDeleteRow(i + TrayEntryBase);
  if (!fixedView_) runHistory_.mirrorRows();
  if (i < store_.size()) sink_.listSelect(i);
  if (fixedView_ && rowsAreFixedEntries()) saveFixedEntries();

  // Bookmarks belong to the history view; the fixed view's row numbers must not shift them.
  if (fixedView_ || bookmarks_.BookmarkRows.empty()) return;
  const std::vector<int> removed = RenumberBookmarksAfterDelete(bookmarks_.BookmarkRows, i);
  for (const int k : removed) sink_.bookmarkMenuRemoveRow(k);
  if (!removed.empty()) {
    // The menu rows after a removed one changed their index: tags and captions follow.
    const std::vector<int>& rows = bookmarks_.BookmarkRows;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const int b = rows[k];
      const std::u16string_view text = b < store_.size() ? store_.EntryTexts(b) : std::u16string_view();
      sink_.bookmarkMenuSetRow(static_cast<int>(k), BookmarkMenuCaption(static_cast<int>(k), text));
    }
  }
  sink_.repaintBookmarks();
}

void HistoryModel::deleteAllRows() {
  const int n = store_.size();
  if (n == 0) return;
  if (fixedView_ && !sink_.confirm(kDeleteAllFixedCaption, kDeleteAllFixedQuestion)) return;
  Hourglass hourglass(sink_);
  keepRunHistoryUnlessRefilled();
  store_.clear();
  sink_.listClear();
  if (fixedView_ && rowsAreFixedEntries()) sink_.saveAndReloadFixedEntries();
  files_.AttachedListFile.clear();
  files_.CurrentListFile.clear();
  sink_.clearLastClipText();
  sink_.emptyClipboard();
  for (int i = n - 1; i >= 0; --i) sink_.trayDeleteRow(i + TrayEntryBase);
  // Outside the fixed view the run history goes with the rows. With the fixed entries shown
  // it keeps its captures and their snapshots: deleting the fixed entries must not take the
  // formatting away from the history the user returns to.
  if (!fixedView_) runHistory_.clear();
  clearBookmarksWithoutAsking();
  sink_.playSound(kDeleteAllSound);
}

void HistoryModel::checkAll() {
  for (int i = 0; i < store_.size(); ++i) {
    store_.setChecked(i, true);
    sink_.listSetChecked(i, true);
  }
}

void HistoryModel::invertChecks() {
  for (int i = 0; i < store_.size(); ++i) {
    const bool checked = !store_.checked(i);
    store_.setChecked(i, checked);
    sink_.listSetChecked(i, checked);
  }
}

MergeOutcome HistoryModel::mergeCheckedRows() const {
  // Each entry is added to the hidden memo as a line of its own, and a memo line always
  // ends in CR LF, the last one too.
  MergeOutcome outcome;
  int checked = 0;
  for (int i = 0; i < store_.size(); ++i) {
    if (!store_.checked(i)) continue;
    ++checked;
    outcome.text += store_.EntryTexts(i);
    outcome.text += u"\r\n";
  }
  if (checked >= 2) {
    outcome.merged = true;
  } else {
    outcome.text.clear();
    outcome.caption = kMergeTooFewCaption;
    outcome.message = kMergeTooFewMessage;
  }
  return outcome;
}

void HistoryModel::showRunHistory() {
  const bool takeBackBookmarks = bookmarks_.BookmarkRows.empty() && !bookmarks_.BookmarkBackup.empty();
  if (takeBackBookmarks) bookmarks_.BookmarkRows = bookmarks_.BookmarkBackup;
  fixedView_ = false;
  sink_.showHistoryView();
  {
    ProgressSteps progress(sink_, store_.size() + runHistory_.RunHistoryCount());
    clearRows(&progress);
    files_.AttachedListFile.clear();
    files_.CurrentListFile.clear();
    runHistory_.moveIntoRows(store_);
    for (int j = 0; j < store_.size(); ++j) store_.setChecked(j, false);
    for (int j = 0; j < store_.size(); ++j) {
      addRow(j);
      progress.row();
    }
  }
  // The bookmark menu was emptied when the bookmarks were set aside; it is built again so
  // that its rows and the bookmarks correspond one to one.
  if (takeBackBookmarks) rebuildBookmarkMenu();
}

ClipboardPayload HistoryModel::rowClickPayload(int row, bool allFormats) const {
  ClipboardPayload payload;
  payload.text = store_.EntryTexts(row);
  if (allFormats) payload.snapshot = store_.EntrySnapshots(row);
  return payload;
}

void HistoryModel::toggleFolderMode() {
  modes_.dakai = !modes_.dakai;
  modes_.fontStyle = ListFontStyle::Plain;
  if (modes_.dakai) {
    modes_.menuinter = false;
    modes_.fontStyle = ListFontStyle::Bold;
  }
  sink_.listModesChanged(modes_);
}

void HistoryModel::toggleWebAddressMode() {
  modes_.menuinter = !modes_.menuinter;
  if (!modes_.menuinter) {
    modes_.fontStyle = ListFontStyle::Plain;
  } else {
    modes_.dakai = false;
    modes_.fontStyle = ListFontStyle::Underlined;
  }
  sink_.listModesChanged(modes_);
}

void HistoryModel::toggleStayOnTop() {
  modes_.menutop = !modes_.menutop;
  sink_.listModesChanged(modes_);
  sink_.applyStayOnTop(modes_.menutop);
}

void HistoryModel::listModesOff() {
  modes_.dakai = false;
  modes_.menuinter = false;
  modes_.fontStyle = ListFontStyle::Plain;
  sink_.listModesChanged(modes_);
}

CaptureAppend HistoryModel::appendCapture(std::u16string_view text, Snapshot snapshot) {
  CaptureAppend result;
  const int n = store_.size();
  if (n >= MaxEntries) return result;
  SharedText shared(text);
  if (!fixedView_) {
    // A run history that mirrors the rows records the capture with its new row.
    if (!runHistory_.mirrorsRows()) runHistory_.recordCapture(shared, snapshot);
    store_.append(HistoryEntry{shared, std::move(snapshot), false});
    sink_.listInsertRow(n, ListRowCaption(shared));
    sink_.listSelect(n);
    sink_.trayInsertRow(n + TrayEntryBase, TrayRowCaption(shared));
    result.row = n;
  } else {
    runHistory_.recordCapture(std::move(shared), std::move(snapshot));
  }
  result.stored = true;
  return result;
}

void HistoryModel::beginReplace() {
  ProgressSteps progress(sink_, store_.size());
  clearRows(&progress);
  runHistory_.takeOverRows(store_);  // a load leaves the run history as it is
}

bool HistoryModel::appendLoaded(std::u16string_view text, Snapshot snapshot) {
  const int r = store_.size();
  runHistory_.detach();
  if (!store_.append(HistoryEntry{SharedText(text), std::move(snapshot), false})) return false;
  addRow(r);
  return true;
}

int HistoryModel::replaceAll(std::vector<LoadedEntry> entries) {
  beginReplace();
  int taken = 0;
  for (LoadedEntry& e : entries) {
    if (!appendLoaded(e.text, std::move(e.snapshot))) break;
    ++taken;
  }
  return taken;
}

void HistoryModel::rewriteEntry(int row, std::u16string_view text) {
  store_.setText(row, text);
  store_.setSnapshot(row, nullptr);
  const std::u16string_view stored = store_.EntryTexts(row);
  sink_.listSetCaption(row, ListRowCaption(stored));
  sink_.traySetCaption(row + TrayEntryBase, TrayRowCaption(stored));
}

void HistoryModel::setEntryText(int row, std::u16string_view text) {
  store_.entry(row);  // a bad row changes nothing
  runHistory_.detach();
  rewriteEntry(row, text);
}

void HistoryModel::changeEntryTexts(std::vector<EntryTextChange> changes) {
  if (changes.empty()) return;
  // Everything that can fail comes first: the rows are checked and the new texts allocated
  // before any entry changes, so that a failure leaves every entry as it was.
  std::vector<SharedText> texts;
  texts.reserve(changes.size());
  for (std::size_t k = 0; k < changes.size(); ++k) {
    const int row = changes[k].row;
    store_.entry(row);
    if (k > 0 && row <= changes[k - 1].row) throw std::out_of_range("entry text changes out of order");
    texts.emplace_back(changes[k].text);
  }
  std::vector<std::pair<int, std::u16string_view>> captions;
  captions.reserve(changes.size());
  keepRunHistoryUnlessRefilled();
  for (std::size_t k = 0; k < changes.size(); ++k) {
    const int row = changes[k].row;
    store_.setText(row, std::move(texts[k]));
    store_.setSnapshot(row, changes[k].snapshot);
    captions.emplace_back(row, ListRowCaption(store_.EntryTexts(row)));
  }
  sink_.listSetCaptions(captions);
  for (const EntryTextChange& change : changes) {
    sink_.traySetCaption(change.row + TrayEntryBase, TrayRowCaption(store_.EntryTexts(change.row)));
  }
  if (!fixedView_) {
    runHistory_.mirrorRows();
  } else if (rowsAreFixedEntries()) {
    saveFixedEntries();
  }
}

void HistoryModel::keepRunHistoryUnlessRefilled() {
  // Outside the fixed view the commands end by making the run history a copy of the rows;
  // with the fixed entries shown it must keep the captures.
  if (fixedView_) runHistory_.detach();
}

void HistoryModel::clearBookmarksWithoutAsking() {
  bookmarks_.BookmarkAskFlag = false;
  removeAllBookmarks();
}

void HistoryModel::bookmarksBeforeListLoad() {
  bookmarks_.BookmarkBackupValid = true;
  if (bookmarks_.ClearBookmarksOnLoad) clearBookmarksWithoutAsking();
  bookmarks_.ClearBookmarksOnLoad = true;
}

}  // namespace app
