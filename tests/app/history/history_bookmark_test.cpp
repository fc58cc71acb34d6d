// The bookmark commands: set, remove all (asked or not), jump, the marks, and how list
// loads set the bookmarks aside.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using apptest::Fixture;

namespace {
using Texts = std::vector<std::u16string>;
using Rows = std::vector<int>;
using Set = app::HistoryModel::BookmarkSet;
}  // namespace

TEST(HistoryBookmarks, SetAddsOneMenuRowPerRowWithItsSound) {
  Fixture f(12);
  EXPECT_EQ(f.model.setBookmark(10), Set::Set);
  EXPECT_EQ(f.model.setBookmark(3), Set::Set);
  EXPECT_EQ(f.model.setBookmark(10), Set::Nothing);  // twice on one row: one menu row
  EXPECT_EQ(f.model.setBookmark(-1), Set::Nothing);
  EXPECT_EQ(f.model.setBookmark(12), Set::Nothing);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{10, 3}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--e10", u"1--e3"}));
  EXPECT_EQ(f.sink.sounds, (Texts{u"设为书签.wav", u"设为书签.wav"}));
  EXPECT_EQ(f.model.bookmarkJumpRow(0), 10);
  EXPECT_EQ(f.model.bookmarkJumpRow(1), 3);
  EXPECT_EQ(f.model.bookmarkJumpRow(2), -1);
  EXPECT_EQ(f.model.bookmarkMarkRows(), (Rows{10, 3}));

  // A bookmark beyond the rows is neither marked nor jumped to.
  f.model.bookmarks().BookmarkRows.push_back(40);
  EXPECT_EQ(f.model.bookmarkJumpRow(2), -1);
  EXPECT_EQ(f.model.bookmarkMarkRows(), (Rows{10, 3}));
}

TEST(HistoryBookmarks, TheFixedViewRefusesAndShowsNoMarks) {
  Fixture f(3);
  f.model.setBookmark(1);
  f.showFixedEntries();
  EXPECT_EQ(f.model.setBookmark(2), Set::FixedViewRefused);
  EXPECT_TRUE(f.model.bookmarkMarkRows().empty());
  // Remove all in the fixed view does nothing, and asks nothing.
  f.model.removeAllBookmarks();
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{1}));
  EXPECT_TRUE(f.sink.questions.empty());
}

TEST(HistoryBookmarks, RemoveAllAsksCancelKeepsAndOkRemovesWithItsSound) {
  Fixture f(4);
  f.model.setBookmark(2);
  f.model.setBookmark(0);
  f.sink.sounds.clear();
  f.sink.confirmAnswer = false;
  f.model.removeAllBookmarks();
  EXPECT_EQ(f.sink.questions, Texts{u"撤销所有书签确认|你确信撤销所有书签吗?"});
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{2, 0}));
  EXPECT_EQ(f.sink.bookmarkMenu.size(), 2u);
  EXPECT_TRUE(f.sink.sounds.empty());

  f.sink.confirmAnswer = true;
  f.model.removeAllBookmarks();
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_TRUE(f.sink.bookmarkMenu.empty());
  EXPECT_TRUE(f.model.bookmarks().BookmarkBackup.empty());
  EXPECT_EQ(f.sink.sounds, Texts{u"撤销所有书签.wav"});
  // Nothing left: no question.
  f.model.removeAllBookmarks();
  EXPECT_EQ(f.sink.questions.size(), 2u);
}

TEST(HistoryBookmarks, AListLoadSetsThemAsideAndTheRunHistoryBringsThemBack) {
  Fixture f(4);
  f.model.setBookmark(3);
  f.model.setBookmark(1);
  f.sink.sounds.clear();
  f.model.bookmarksBeforeListLoad();
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_TRUE(f.sink.bookmarkMenu.empty());
  EXPECT_TRUE(f.sink.questions.empty());  // no question, no sound
  EXPECT_TRUE(f.sink.sounds.empty());
  f.model.replaceAll({{u"loaded", nullptr}});
  EXPECT_TRUE(f.model.bookmarkMarkRows().empty());

  f.model.showRunHistory();
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{3, 1}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--e3", u"1--e1"}));

  // A load that keeps the bookmarks (the fixed view's) clears the switch for itself only.
  f.model.bookmarks().ClearBookmarksOnLoad = false;
  f.model.bookmarksBeforeListLoad();
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{3, 1}));
  EXPECT_TRUE(f.model.bookmarks().ClearBookmarksOnLoad);
}

TEST(HistoryBookmarks, SettingAfterALoadRebuildsTheMenuFromTheBookmarks) {
  Fixture f(3);
  f.model.setBookmark(2);
  f.model.bookmarks().ClearBookmarksOnLoad = false;  // a load that keeps them
  f.model.bookmarksBeforeListLoad();
  f.model.replaceAll({{u"a", nullptr}, {u"b", nullptr}, {u"c", nullptr}, {u"d", nullptr}, {u"e", nullptr}});
  f.sink.bookmarkMenu.clear();  // the menu got out of step meanwhile
  // The rows differ from the run history: it becomes a copy of them, and the menu is built again.
  EXPECT_EQ(f.model.setBookmark(4), Set::Set);
  apptest::ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_EQ(f.model.bookmarks().BookmarkRows, (Rows{2, 4}));
  EXPECT_EQ(f.sink.bookmarkMenu, (Texts{u"0--c", u"1--e"}));
  EXPECT_EQ(f.model.bookmarkJumpRow(1), 4);
}

TEST(HistoryBookmarks, TheMarkIsTheRightThirdOfTheRow) {
  const app::MarkRect mark = app::BookmarkMarkRect({0, 19, 300, 38}, 15);
  EXPECT_EQ(mark.left, 200);
  EXPECT_EQ(mark.right, 300);
  EXPECT_EQ(mark.top, 19);
  EXPECT_EQ(mark.bottom, 38);
}
