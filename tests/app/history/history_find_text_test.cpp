// Finding an entry again by its text's identity, as the entry viewer does before it saves:
// the entry is followed when it moves, and is gone after a delete, a reload or a new text.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using app::MoveKind;
using apptest::Fixture;

TEST(HistoryFindText, FollowsAMovedEntryAndMissesAReplacedOne) {
  Fixture f(4);
  const auto viewed = f.model.store().entry(1).text.identity();
  EXPECT_EQ(f.model.store().findText(1, viewed), 1);
  f.model.moveRow(1, MoveKind::Bottom);
  EXPECT_EQ(f.model.store().findText(1, viewed), 3);
  f.model.changeEntryText(3, u"e1");  // the same characters, written anew
  EXPECT_EQ(f.model.store().findText(3, viewed), -1);
  const auto rewritten = f.model.store().entry(3).text.identity();
  f.model.deleteRow(3);
  EXPECT_EQ(f.model.store().findText(3, rewritten), -1);
}

TEST(HistoryFindText, AReloadOfTheSameTextsIsNotTheSameEntry) {
  Fixture f(2);
  const auto viewed = f.model.store().entry(0).text.identity();
  std::vector<app::LoadedEntry> reloaded(2);
  reloaded[0].text = u"e0";
  reloaded[1].text = u"e1";
  f.model.replaceAll(std::move(reloaded));
  ASSERT_EQ(f.model.store().EntryTexts(0), u"e0");
  EXPECT_EQ(f.model.store().findText(0, viewed), -1);
}

TEST(HistoryFindText, AnEmptyTextIsFoundOnlyAtItsOwnRow) {
  Fixture f(1);
  f.model.changeEntryText(0, u"");
  f.model.appendCapture(u"", nullptr);
  const auto empty = f.model.store().entry(0).text.identity();
  EXPECT_EQ(empty, nullptr);
  EXPECT_EQ(f.model.store().findText(0, empty), 0);
  EXPECT_EQ(f.model.store().findText(5, empty), -1);
  EXPECT_EQ(f.model.store().findText(-1, f.model.store().entry(0).text.identity()), -1);
}
