// Deleting one row, the unchecked rows and all rows, in the history view and the fixed view.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using apptest::ExpectRunHistoryMirrorsRows;
using apptest::ExpectScreenMatches;
using apptest::Fixture;

namespace {
using Texts = std::vector<std::u16string>;

void Check(Fixture& f, int row) {
  f.model.userSetChecked(row, true);
  f.sink.list[row].checked = true;
}
}  // namespace

TEST(HistoryDeleteOne, LaterEntriesMoveUpWithTheirSnapshotsAndTheRowStaysSelected) {
  Fixture f(4);
  f.model.deleteRow(1);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e2", u"e3"}));
  EXPECT_EQ(f.snapshotText(1), "snap:e2");
  EXPECT_EQ(f.sink.selected, 1);
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);

  f.sink.selected = -1;
  f.model.deleteRow(2);  // the last row: nothing left to select there
  EXPECT_EQ(f.sink.selected, -1);
  f.sink.events.clear();
  f.model.deleteRow(-1);
  f.model.deleteRow(2);
  EXPECT_TRUE(f.sink.events.empty());
}

TEST(HistoryDeleteOne, BookmarksAreRemovedOrRenumberedAndTheMenuFollows) {
  Fixture f(6);
  f.model.bookmarks().BookmarkRows = {4, 2, 0, 5};
  f.sink.bookmarkMenu = {u"0--e4", u"1--e2", u"2--e0", u"3--e5"};
  f.model.deleteRow(2);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{3, 0, 4}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--e4", u"1--e0", u"2--e5"}));
  EXPECT_EQ(f.sink.count("repaintBookmarks"), 1);

  // A row with no bookmark: the others shift, the menu keeps its rows.
  f.model.deleteRow(1);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{2, 0, 3}));
  EXPECT_EQ(f.sink.count("bookmarkMenuRemoveRow"), 1);
}

TEST(HistoryDeleteOne, TheFixedViewSavesTheFileAndKeepsTheHistoryBookmarks) {
  Fixture f(3);
  f.model.bookmarks().BookmarkRows = {0, 2};
  f.showFixedEntries();
  f.model.deleteRow(0);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{0, 2}));
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_EQ(f.sink.fixedSaves[0], (Texts{u"e1", u"e2"}));
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 3);
}

TEST(HistoryDeleteUnchecked, CheckedEntriesStayInOrderWithTheirSnapshots) {
  Fixture f(6);
  Check(f, 1);
  Check(f, 4);
  Check(f, 5);
  f.model.bookmarks().BookmarkRows = {1};
  f.model.deleteUncheckedRows();
  EXPECT_EQ(f.texts(), (Texts{u"e1", u"e4", u"e5"}));
  EXPECT_EQ(f.snapshotText(0), "snap:e1");
  EXPECT_EQ(f.snapshotText(2), "snap:e5");
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_EQ(f.sink.count("progressShow"), 0);
  EXPECT_TRUE(f.sink.fixedSaves.empty());
}

TEST(HistoryDeleteUnchecked, ProgressAbove200RowsAndTheFixedEntriesSaved) {
  Fixture small(200);
  small.model.deleteUncheckedRows();
  EXPECT_EQ(small.sink.count("progressShow"), 0);
  EXPECT_EQ(small.model.rowCount(), 0);

  Fixture f(1000);
  for (int i = 0; i < 1000; i += 3) Check(f, i);
  f.showFixedEntries();
  f.model.deleteUncheckedRows();
  EXPECT_EQ(f.model.rowCount(), 334);
  EXPECT_EQ(f.model.store().EntryTexts(333), u"e999");
  ExpectScreenMatches(f.model, f.sink);
  EXPECT_EQ(f.sink.count("progressShow"), 1);
  EXPECT_EQ(f.sink.progressSteps, 10);
  EXPECT_FALSE(f.sink.progressVisible);
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_EQ(f.sink.fixedSaves[0].size(), 334u);
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 1000);  // the fixed view leaves it alone
}

TEST(HistoryDeleteAll, TheHistoryViewEmptiesEverything) {
  Fixture f(3);
  f.model.files().AttachedListFile = u"C:\\a.txt";
  f.model.files().CurrentListFile = u"C:\\a.txt";
  f.model.bookmarks().BookmarkRows = {1};
  f.sink.bookmarkMenu = {u"0--e1"};
  f.model.deleteAllRows();
  EXPECT_EQ(f.model.rowCount(), 0);
  ExpectScreenMatches(f.model, f.sink);
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 0);
  EXPECT_TRUE(f.model.files().AttachedListFile.empty());
  EXPECT_TRUE(f.model.files().CurrentListFile.empty());
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_TRUE(f.sink.bookmarkMenu.empty());
  EXPECT_EQ(f.sink.count("emptyClipboard"), 1);
  EXPECT_EQ(f.sink.count("clearLastClipText"), 1);
  EXPECT_EQ(f.sink.count("confirm"), 0);
  EXPECT_EQ(f.sink.sounds, (Texts{u"全部删除.wav"}));
  EXPECT_EQ(f.sink.hourglassDepth, 0);
}

TEST(HistoryDeleteAll, TheFixedViewAsksAndCancelChangesNothing) {
  Fixture f(3);
  f.showFixedEntries();
  f.sink.confirmAnswer = false;
  f.model.deleteAllRows();
  ASSERT_EQ(f.sink.questions.size(), 1u);
  EXPECT_EQ(f.sink.questions[0], u"固定条目全部删除确认|你确信全部删除固定条目（收藏夹）吗?");
  EXPECT_EQ(f.sink.events, (std::vector<std::string>{"confirm"}));
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2"}));
  EXPECT_EQ(f.model.files().AttachedListFile, f.model.fixedEntriesFile());
}

TEST(HistoryDeleteAll, TheFixedViewWithOkSavesTheEmptyFileAndKeepsTheRunHistory) {
  Fixture f(3);
  f.showFixedEntries();
  f.model.deleteAllRows();
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_TRUE(f.sink.fixedSaves[0].empty());
  EXPECT_EQ(f.model.rowCount(), 0);
  ExpectScreenMatches(f.model, f.sink);
  // The captures and their snapshots survive for the return to the history view.
  ASSERT_EQ(f.model.runHistory().RunHistoryCount(), 3);
  EXPECT_TRUE(f.model.runHistory().RunHistoryHasSnapshot(2));
  f.model.showRunHistory();
  EXPECT_EQ(f.snapshotText(2), "snap:e2");

  Fixture empty;
  empty.model.deleteAllRows();
  EXPECT_TRUE(empty.sink.events.empty());
}
