// The drag move and the sort: every table of the store follows one order, and so do the
// tray rows, the check marks, the run history and the bookmarks.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using apptest::ExpectRunHistoryMirrorsRows;
using apptest::ExpectScreenMatches;
using apptest::Fixture;

namespace {
using Texts = std::vector<std::u16string>;
using Rows = std::vector<int>;
}  // namespace

TEST(HistoryDrag, DownLandsAboveTheDropRowUpLandsOnItAndBookmarksFollow) {
  Fixture f(7);
  f.model.bookmarks().BookmarkRows = {3, 4, 2, 6};
  f.model.userSetChecked(2, true);
  f.sink.list[2].checked = true;
  f.model.dragMove(2, 5);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e3", u"e4", u"e2", u"e5", u"e6"}));
  EXPECT_EQ(f.sink.selected, 4);
  EXPECT_TRUE(f.model.store().checked(4));  // the moved row keeps its check mark
  EXPECT_EQ(f.snapshotText(4), "snap:e2");
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{2, 3, 4, 6}));
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);

  f.model.dragMove(4, 1);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e2", u"e1", u"e3", u"e4", u"e5", u"e6"}));
  EXPECT_EQ(f.sink.selected, 1);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{3, 4, 1, 6}));
  ExpectScreenMatches(f.model, f.sink);
}

TEST(HistoryDrag, DropsThatMoveNothingChangeNothing) {
  Fixture f(4);
  for (const auto& [from, to] : std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, -1}, {-1, 2}, {1, 9}, {9, 1}}) {
    f.model.dragMove(from, to);
  }
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2", u"e3"}));
  EXPECT_TRUE(f.sink.events.empty());
}

TEST(HistoryDrag, InTheFixedViewTheFileIsSavedAndHistoryBookmarksStay) {
  Fixture f;
  f.model.replaceAll({{u"a", nullptr}, {u"b", nullptr}, {u"c", nullptr}});
  f.showFixedEntries();
  f.model.bookmarks().BookmarkRows = {0};
  f.model.dragMove(0, 2);
  EXPECT_EQ(f.texts(), (Texts{u"b", u"a", u"c"}));
  EXPECT_EQ(f.sink.fixedSaves, (std::vector<Texts>{{u"b", u"a", u"c"}}));
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{0}));
}

TEST(HistorySort, EqualCaptionsKeepTheirOrderAndEveryEntryItsOwnSnapshot) {
  Fixture f;
  // Two entries whose first 150 characters agree: their captions are equal.
  const std::u16string common(150, u'x');
  const std::vector<std::pair<std::u16string, std::string>> entries = {
      {u"banana", "s-banana"}, {common + u"-first", "s-first"}, {u"Apple", "s-apple"},
      {common + u"-second", "s-second"}, {u"apple", "s-apple2"}, {u"cherry", "s-cherry"}};
  for (const auto& [text, snap] : entries) f.model.appendCapture(text, apptest::MakeSnapshot(snap));
  f.model.userSetChecked(0, true);  // banana
  f.sink.list[0].checked = true;
  f.model.bookmarks().BookmarkRows = {5, 1};  // cherry, common-first
  f.sink.events.clear();

  f.model.sortRows();
  EXPECT_EQ(f.texts(), (Texts{u"Apple", u"apple", u"banana", u"cherry", common + u"-first", common + u"-second"}));
  const std::vector<std::string> snaps = {"s-apple", "s-apple2", "s-banana", "s-cherry", "s-first", "s-second"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.snapshotText(i), snaps[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(f.model.store().checked(2));
  EXPECT_FALSE(f.model.store().checked(0));
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{3, 4}));
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);
  // The payload of a click is the row's own snapshot.
  EXPECT_EQ(f.model.rowClickPayload(5, true).snapshot, f.model.store().EntrySnapshots(5));
  EXPECT_EQ(f.sink.count("progressShow"), 0);  // few rows: no progress bar
}

TEST(HistorySort, ManyRowsShowTheProgressBar) {
  Fixture f(450);
  f.model.sortRows();
  EXPECT_EQ(f.sink.count("progressShow"), 1);
  EXPECT_FALSE(f.sink.progressVisible);
  EXPECT_EQ(f.sink.progressSteps, 4);
  EXPECT_EQ(f.texts()[0], u"e0");
  EXPECT_EQ(f.texts()[1], u"e1");
  EXPECT_EQ(f.texts()[2], u"e10");
  ExpectScreenMatches(f.model, f.sink);
}
