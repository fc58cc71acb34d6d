// The four move commands, with the rows, tray rows, run history and bookmarks that follow.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using app::MoveKind;
using apptest::ExpectRunHistoryMirrorsRows;
using apptest::ExpectScreenMatches;
using apptest::Fixture;

namespace {
using Texts = std::vector<std::u16string>;
}

TEST(HistoryMove, EachDirectionMovesTheEntryWithItsSnapshotAndCheck) {
  Fixture f(5);
  f.model.userSetChecked(3, true);
  f.sink.list[3].checked = true;
  const app::Snapshot moving = f.model.store().EntrySnapshots(3);

  f.model.moveRow(3, MoveKind::Up);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e3", u"e2", u"e4"}));
  EXPECT_EQ(f.sink.selected, 2);
  EXPECT_TRUE(f.model.store().checked(2));
  EXPECT_EQ(f.model.store().EntrySnapshots(2), moving);  // the same stream, not a copy
  ExpectScreenMatches(f.model, f.sink);

  f.model.moveRow(2, MoveKind::Bottom);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2", u"e4", u"e3"}));
  EXPECT_EQ(f.sink.selected, 4);
  f.model.moveRow(4, MoveKind::Top);
  EXPECT_EQ(f.texts(), (Texts{u"e3", u"e0", u"e1", u"e2", u"e4"}));
  f.model.moveRow(0, MoveKind::Down);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e3", u"e1", u"e2", u"e4"}));
  ExpectScreenMatches(f.model, f.sink);
  const Texts texts = f.texts();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(f.snapshotText(i), "snap:" + std::string(texts[i].begin(), texts[i].end()));
  }
  EXPECT_TRUE(f.model.store().checked(1));
  EXPECT_EQ(f.model.store().checked(0) + f.model.store().checked(2) + f.model.store().checked(3), 0);
  ExpectRunHistoryMirrorsRows(f.model);
}

TEST(HistoryMove, NextToLastGoesDownToTheEndAndTheEndsDoNotMove) {
  Fixture f(4);
  f.model.moveRow(2, MoveKind::Down);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e3", u"e2"}));
  EXPECT_EQ(f.sink.selected, 3);

  f.sink.events.clear();
  f.model.moveRow(3, MoveKind::Down);
  f.model.moveRow(3, MoveKind::Bottom);
  f.model.moveRow(0, MoveKind::Up);
  f.model.moveRow(0, MoveKind::Top);
  f.model.moveRow(-1, MoveKind::Top);  // no row selected
  f.model.moveRow(4, MoveKind::Up);    // past the end
  EXPECT_TRUE(f.sink.events.empty());
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e3", u"e2"}));

  Fixture one(1);
  one.model.moveRow(0, MoveKind::Down);
  one.model.moveRow(0, MoveKind::Bottom);
  EXPECT_TRUE(one.sink.events.empty());
}

TEST(HistoryMove, TheTrayRowOfTheMovedEntryFollowsIt) {
  Fixture f(4);
  f.model.moveRow(3, MoveKind::Top);
  EXPECT_EQ(f.sink.tray[app::TrayEntryBase], u"e3");
  EXPECT_EQ(f.sink.tray[app::TrayEntryBase + 1], u"e0");
  EXPECT_EQ(f.sink.count("trayDeleteRow"), 1);
  EXPECT_EQ(f.sink.count("trayInsertRow"), 1);
}

TEST(HistoryMove, BookmarksFollowTheirEntries) {
  Fixture f(8);
  f.model.bookmarks().BookmarkRows = {3, 0, 1, 2, 5};
  f.model.moveRow(3, MoveKind::Top);
  // The bookmark on row 3 goes with its entry to row 0; rows 0 to 2 each moved down one.
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{0, 1, 2, 3, 5}));
  EXPECT_EQ(f.sink.count("repaintBookmarks"), 1);

  f.model.bookmarks().BookmarkRows = {1, 2, 4, 6, 7};
  std::vector<std::u16string> named;
  for (const int b : f.model.bookmarks().BookmarkRows) named.emplace_back(f.model.store().EntryTexts(b));
  f.model.moveRow(1, MoveKind::Bottom);  // rows 2..7 move up one
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{7, 1, 3, 5, 6}));
  // Every bookmark still names the entry it named before the move.
  for (std::size_t k = 0; k < named.size(); ++k) {
    EXPECT_EQ(f.model.store().EntryTexts(f.model.bookmarks().BookmarkRows[k]), named[k]);
  }
}

TEST(HistoryMove, TheFixedViewSavesTheFixedEntriesAndLeavesHistoryAlone) {
  Fixture f(3);
  const int runBefore = f.model.runHistory().RunHistoryCount();
  f.model.bookmarks().BookmarkRows = {0, 2};
  f.showFixedEntries();
  f.model.moveRow(0, MoveKind::Bottom);
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_EQ(f.sink.fixedSaves[0], (Texts{u"e1", u"e2", u"e0"}));  // saved after the move
  EXPECT_TRUE(f.sink.hourglassDuringSave);
  EXPECT_EQ(f.sink.hourglassDepth, 0);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{0, 2}));
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e0");
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), runBefore);

  // Rows from some other file in the fixed view: nothing to save.
  f.model.files().AttachedListFile = u"C:\\other.txt";
  f.model.moveRow(0, MoveKind::Down);
  EXPECT_EQ(f.sink.fixedSaves.size(), 1u);
}
