// Reverse, check marks, merge, the run history, the list modes, the capture's append and
// the loaders' replacement of the rows.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using apptest::ExpectRunHistoryMirrorsRows;
using apptest::ExpectScreenMatches;
using apptest::Fixture;
using apptest::MakeSnapshot;

namespace {
using Texts = std::vector<std::u16string>;
}

TEST(HistoryReverse, EveryEntryKeepsItsOwnSnapshot) {
  Fixture f(5);
  f.model.setEntryText(2, u"plain");  // a text-only entry in the middle
  f.model.userSetChecked(0, true);
  f.model.bookmarks().BookmarkRows = {1};
  f.model.reverseRows();
  EXPECT_EQ(f.texts(), (Texts{u"e4", u"e3", u"plain", u"e1", u"e0"}));
  EXPECT_EQ(f.snapshotText(0), "snap:e4");
  EXPECT_EQ(f.snapshotText(1), "snap:e3");
  EXPECT_FALSE(f.model.store().EntryHasSnapshot(2));
  EXPECT_EQ(f.snapshotText(4), "snap:e0");
  EXPECT_FALSE(f.model.store().checked(4));  // rebuilt rows come unchecked
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_EQ(f.sink.sounds, (Texts{u"鸟叫.wav"}));
  EXPECT_EQ(f.sink.hourglassDepth, 0);

  Fixture empty;
  empty.model.reverseRows();
  EXPECT_TRUE(empty.sink.events.empty());
}

TEST(HistoryReverse, TheFixedViewDoesNotOverwriteTheRunHistory) {
  Fixture f(3);
  f.showFixedEntries();
  f.model.reverseRows();
  EXPECT_EQ(f.texts(), (Texts{u"e2", u"e1", u"e0"}));
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e0");
}

TEST(HistoryMerge, NeedsTwoCheckedRows) {
  Fixture f(4);
  f.model.userSetChecked(2, true);
  const app::MergeOutcome one = f.model.mergeCheckedRows();
  EXPECT_FALSE(one.merged);
  EXPECT_TRUE(one.text.empty());
  EXPECT_EQ(one.caption, u"出错");
  EXPECT_EQ(one.message, u"选择的数目小于2条，无法合并");
  EXPECT_FALSE(f.model.mergeCheckedRows().text.size() > 0);

  f.model.setEntryText(3, u"x\r\ny");
  f.model.userSetChecked(3, true);
  f.model.userSetChecked(0, true);
  const app::MergeOutcome merged = f.model.mergeCheckedRows();
  ASSERT_TRUE(merged.merged);
  EXPECT_EQ(merged.text, u"e0\r\ne2\r\nx\r\ny\r\n");  // row order, each as a memo line

  Fixture none(2);
  EXPECT_FALSE(none.model.mergeCheckedRows().merged);
}

TEST(HistoryRunHistory, ShowingItReplacesTheRowsWithTheCaptures) {
  Fixture f(3);
  f.model.replaceAll({{u"file line", nullptr}});
  f.model.files().AttachedListFile = u"C:\\list.txt";
  f.model.files().CurrentListFile = u"C:\\list.txt";
  f.capture(3);  // captured while the file is shown: a row of the file list and a run record
  EXPECT_EQ(f.texts(), (Texts{u"file line", u"e3"}));
  ASSERT_EQ(f.model.runHistory().RunHistoryCount(), 4);

  f.model.showRunHistory();
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2", u"e3"}));
  EXPECT_EQ(f.snapshotText(3), "snap:e3");
  EXPECT_EQ(f.model.store().EntrySnapshots(0), f.model.runHistory().RunHistorySnapshots(0));
  ExpectScreenMatches(f.model, f.sink);
  EXPECT_TRUE(f.model.files().AttachedListFile.empty());
  EXPECT_TRUE(f.model.files().CurrentListFile.empty());
  EXPECT_FALSE(f.model.fixedView());
  EXPECT_EQ(f.sink.count("showHistoryView"), 1);
}

TEST(HistoryRunHistory, KeepsItsCopyWhateverHappensToTheRowsAfterwards) {
  // After a move the run history is a copy of the rows; later changes of the rows that do not
  // end in a copy (a load, the fixed view, an edit) must leave it as it was.
  Fixture f(3);
  f.model.moveRow(2, app::MoveKind::Top);  // e2 e0 e1
  f.model.replaceAll({{u"loaded", nullptr}});
  f.capture(3);
  ASSERT_EQ(f.model.runHistory().RunHistoryCount(), 4);
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e2");
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(3), u"e3");

  f.model.showRunHistory();
  EXPECT_EQ(f.texts(), (Texts{u"e2", u"e0", u"e1", u"e3"}));
  EXPECT_EQ(f.snapshotText(0), "snap:e2");
  ExpectScreenMatches(f.model, f.sink);

  f.showFixedEntries();  // the flag alone: the rows are still the history's
  f.model.deleteRow(0);
  f.model.setEntryText(0, u"edited");
  f.model.reverseRows();
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 4);
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e2");
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(1), u"e0");
  EXPECT_TRUE(f.model.runHistory().RunHistoryHasSnapshot(1));
}

TEST(HistoryRunHistory, BookmarksSetAsideByALoadComeBackWithTheirMenu) {
  Fixture f(4);
  f.model.bookmarks().BookmarkRows = {2, 0};
  f.model.bookmarks().BookmarkBackupValid = true;  // what a list load does before clearing
  f.model.clearBookmarksWithoutAsking();
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_EQ(f.model.bookmarks().BookmarkBackup, (std::vector<int>{2, 0}));
  f.model.replaceAll({{u"a", nullptr}, {u"b", nullptr}});

  f.model.showRunHistory();
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{2, 0}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--e2", u"1--e0"}));

  // Bookmarks set meanwhile win over the backup.
  f.model.bookmarks().BookmarkRows = {3};
  f.sink.bookmarkMenu = {u"0--e3"};
  f.model.showRunHistory();
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (std::vector<int>{3}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--e3"}));
}

TEST(HistoryPayload, PlainTextCopyLeavesTheSnapshotOut) {
  Fixture f(2);
  EXPECT_EQ(f.model.rowClickPayload(1, true).snapshot, f.model.store().EntrySnapshots(1));
  const app::ClipboardPayload plain = f.model.plainTextPayload(1);
  EXPECT_EQ(plain.text, u"e1");
  EXPECT_EQ(plain.snapshot, nullptr);
}

TEST(HistoryListModes, FolderAndWebAddressExcludeEachOther) {
  Fixture f;
  f.model.toggleFolderMode();
  EXPECT_TRUE(f.sink.modes.dakai);
  EXPECT_EQ(f.sink.modes.fontStyle, app::ListFontStyle::Bold);
  f.model.toggleWebAddressMode();
  EXPECT_FALSE(f.sink.modes.dakai);
  EXPECT_TRUE(f.sink.modes.menuinter);
  EXPECT_EQ(f.sink.modes.fontStyle, app::ListFontStyle::Underlined);
  f.model.toggleFolderMode();
  EXPECT_TRUE(f.sink.modes.dakai);
  EXPECT_FALSE(f.sink.modes.menuinter);
  f.model.toggleFolderMode();
  EXPECT_FALSE(f.sink.modes.dakai);
  EXPECT_FALSE(f.sink.modes.menuinter);
  EXPECT_EQ(f.sink.modes.fontStyle, app::ListFontStyle::Plain);

  f.model.toggleWebAddressMode();
  f.model.toggleStayOnTop();
  f.model.listModesOff();
  EXPECT_FALSE(f.sink.modes.menuinter);
  EXPECT_EQ(f.sink.modes.fontStyle, app::ListFontStyle::Plain);
  EXPECT_TRUE(f.sink.modes.menutop);  // not a list mode of the loaders
  EXPECT_TRUE(f.sink.stayOnTop);
  f.model.toggleStayOnTop();
  EXPECT_FALSE(f.sink.stayOnTop);
}

TEST(HistoryCapture, AddsRowTrayRowAndRunRecord) {
  Fixture f(1);
  const std::u16string longText(200, u'字');
  const app::CaptureAppend added = f.model.appendCapture(longText, MakeSnapshot("s"));
  EXPECT_TRUE(added.stored);
  EXPECT_EQ(added.row, 1);
  EXPECT_EQ(f.sink.selected, 1);
  EXPECT_EQ(f.sink.list[1].caption.size(), 150u);
  EXPECT_EQ(f.sink.tray[app::TrayEntryBase + 1].size(), 50u);
  EXPECT_EQ(f.model.store().EntryTexts(1), longText);
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);
  // The captures since start-up are the rows themselves: no second list of references.
  EXPECT_TRUE(f.model.runHistory().mirrorsRows());

  f.showFixedEntries();
  f.sink.events.clear();
  const app::CaptureAppend hidden = f.model.appendCapture(u"while fixed", MakeSnapshot("t"));
  EXPECT_TRUE(hidden.stored);
  EXPECT_EQ(hidden.row, -1);
  EXPECT_TRUE(f.sink.events.empty());
  EXPECT_EQ(f.model.rowCount(), 2);
  const app::RunHistoryStore& run = f.model.runHistory();
  EXPECT_FALSE(run.mirrorsRows());
  ASSERT_EQ(run.RunHistoryCount(), 3);
  EXPECT_EQ(run.RunHistoryTexts(0), u"e0");
  EXPECT_EQ(run.RunHistoryTexts(1), longText);
  EXPECT_EQ(run.RunHistorySnapshots(1), f.model.store().EntrySnapshots(1));
  EXPECT_EQ(run.RunHistoryTexts(2), u"while fixed");
}

TEST(HistoryCapture, AFullListStoresNothingAndTheRunHistoryNeverPassesItsSlots) {
  Fixture f;
  std::vector<app::LoadedEntry> rows(app::MaxEntries);
  f.model.replaceAll(std::move(rows));
  ASSERT_EQ(f.model.rowCount(), app::MaxEntries);
  EXPECT_FALSE(f.model.appendCapture(u"one too many", nullptr).stored);
  EXPECT_EQ(f.model.rowCount(), app::MaxEntries);
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 0);

  // In the fixed view the rows do not grow, but the run history does: it stops at
  // MaxEntries records, the oldest giving way to the newest.
  Fixture g;
  g.showFixedEntries();
  for (int i = 0; i < app::MaxEntries + 5; ++i) {
    g.model.appendCapture(i == 0 ? u"first" : u"x", nullptr);
  }
  g.model.appendCapture(u"last", nullptr);
  const app::RunHistoryStore& run = g.model.runHistory();
  EXPECT_EQ(run.RunHistoryCount(), app::MaxEntries);
  EXPECT_EQ(run.RunHistoryTexts(app::MaxEntries - 1), u"last");
  EXPECT_NE(run.RunHistoryTexts(0), u"first");

  // A copy of a list loaded up to slot 100000 holds 100001 records; a capture made then
  // brings the run history back to MaxEntries records.
  Fixture h;
  h.model.replaceAll(std::vector<app::LoadedEntry>(app::StoreSlots, app::LoadedEntry{u"row", nullptr}));
  h.model.refillRunHistory();
  EXPECT_EQ(h.model.runHistory().RunHistoryCount(), app::StoreSlots);
  h.showFixedEntries();
  h.model.replaceAll({{u"a fixed entry", nullptr}});
  EXPECT_EQ(h.model.runHistory().RunHistoryCount(), app::StoreSlots);
  EXPECT_TRUE(h.model.appendCapture(u"new", nullptr).stored);
  EXPECT_EQ(h.model.runHistory().RunHistoryCount(), app::MaxEntries);
  EXPECT_EQ(h.model.runHistory().RunHistoryTexts(app::MaxEntries - 1), u"new");
}

TEST(HistoryReplace, LoadsFromSlotZeroUpToSlot100000) {
  Fixture f(3);
  f.sink.selected = 2;
  std::vector<app::LoadedEntry> loaded(app::StoreSlots + 2, app::LoadedEntry{u"line", nullptr});
  loaded[0] = {u"first", MakeSnapshot("db")};
  const int taken = f.model.replaceAll(std::move(loaded));
  EXPECT_EQ(taken, app::StoreSlots);  // the entry that would take slot 100001 stops the load
  EXPECT_EQ(f.model.rowCount(), app::StoreSlots);
  EXPECT_EQ(f.model.store().EntryTexts(0), u"first");
  EXPECT_EQ(f.snapshotText(0), "db");
  EXPECT_FALSE(f.model.store().EntryHasSnapshot(1));
  ExpectScreenMatches(f.model, f.sink);
  EXPECT_EQ(f.model.runHistory().RunHistoryCount(), 3);  // loads leave the run history alone
  EXPECT_EQ(f.sink.count("progressShow"), 0);            // three rows cleared: no progress bar
}

TEST(HistoryEntryChange, TextOnlyFromNowOnAndMirrored) {
  Fixture f(3);
  f.model.changeEntryText(1, u"edited");
  EXPECT_FALSE(f.model.store().EntryHasSnapshot(1));
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);

  f.showFixedEntries();
  f.model.changeEntryText(0, u"fixed edit");
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_EQ(f.sink.fixedSaves[0][0], u"fixed edit");
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e0");
}
