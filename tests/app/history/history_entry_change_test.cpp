// The entry-changed step for several entries at once.
#include <gtest/gtest.h>

#include "history_recording_sink.h"

using apptest::ExpectRunHistoryMirrorsRows;
using apptest::ExpectScreenMatches;
using apptest::Fixture;

namespace {

using Texts = std::vector<std::u16string>;

TEST(HistoryEntryChange, ManyEntriesInOneStep) {
  Fixture f(5);
  f.model.userSetChecked(3, true);  // the control shows the user's click already
  f.sink.list[3].checked = true;
  f.model.changeEntryTexts({{0, u"zero"}, {2, std::u16string(200, u'字')}, {3, u"three"}});
  EXPECT_EQ(f.texts(), (Texts{u"zero", u"e1", std::u16string(200, u'字'), u"three", u"e4"}));
  EXPECT_FALSE(f.model.store().EntryHasSnapshot(0));
  EXPECT_EQ(f.snapshotText(1), "snap:e1");  // unchanged entries keep their snapshots
  EXPECT_FALSE(f.model.store().EntryHasSnapshot(2));
  EXPECT_TRUE(f.model.store().checked(3));  // a rewritten row keeps its check mark
  ExpectScreenMatches(f.model, f.sink);
  ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_EQ(f.sink.list[2].caption.size(), 150u);
  EXPECT_EQ(f.sink.tray[2 + app::TrayEntryBase].size(), 50u);
  EXPECT_EQ(f.sink.count("traySetCaption"), 3);
  EXPECT_EQ(f.sink.count("saveAndReloadFixedEntries"), 0);
}

TEST(HistoryEntryChange, TheFixedEntriesAreSavedOnceAndTheRunHistoryKept) {
  Fixture f(3);
  f.showFixedEntries();
  f.model.replaceAll({{u"f0", nullptr}, {u"f1", nullptr}});
  f.sink.events.clear();
  f.model.changeEntryTexts({{0, u"F0"}, {1, u"F1"}});
  ASSERT_EQ(f.sink.fixedSaves.size(), 1u);
  EXPECT_EQ(f.sink.fixedSaves[0], (Texts{u"F0", u"F1"}));
  EXPECT_TRUE(f.sink.hourglassDuringSave);
  // The captures of the session stay, with their snapshots.
  ASSERT_EQ(f.model.runHistory().RunHistoryCount(), 3);
  EXPECT_EQ(f.model.runHistory().RunHistoryTexts(0), u"e0");
  EXPECT_TRUE(f.model.runHistory().RunHistoryHasSnapshot(1));
}

TEST(HistoryEntryChange, ABadChangeChangesNothing) {
  Fixture f(3);
  EXPECT_THROW(f.model.changeEntryTexts({{0, u"a"}, {3, u"b"}}), std::out_of_range);
  EXPECT_THROW(f.model.changeEntryTexts({{1, u"a"}, {1, u"b"}}), std::out_of_range);
  EXPECT_THROW(f.model.changeEntryTexts({{-1, u"a"}}), std::out_of_range);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2"}));
  EXPECT_EQ(f.snapshotText(0), "snap:e0");
  f.model.changeEntryTexts({});
  EXPECT_TRUE(f.sink.events.empty());
}

TEST(HistoryEntryChange, TheFormattedViewsSaveSetsTextAndSnapshotTogether) {
  Fixture f(3);
  const app::Snapshot formatted = app::SnapshotBuffer::Make(std::vector<std::uint8_t>{'f', 'm', 't'});
  f.model.changeEntryTexts({{1, u"formatted text", formatted}});
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"formatted text", u"e2"}));
  EXPECT_EQ(f.model.store().EntrySnapshots(1), formatted);
  EXPECT_EQ(f.sink.list[1].caption, u"formatted text");
  ExpectScreenMatches(f.model, f.sink);
  // The run history is a copy of the rows: the click on the run history's row gives it too.
  ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_EQ(f.model.runHistory().RunHistorySnapshots(1), formatted);
  // A row click with all formats puts the snapshot on the clipboard, without it the text.
  EXPECT_EQ(f.model.rowClickPayload(1, true).snapshot, formatted);
  EXPECT_EQ(f.model.rowClickPayload(1, false).snapshot, nullptr);
}

// A list control that rewrites many rows in one pass is asked once.
class BatchSink : public apptest::RecordingSink {
 public:
  int batches = 0;
  void listSetCaptions(const std::vector<std::pair<int, std::u16string_view>>& rows) override {
    ++batches;
    RecordingSink::listSetCaptions(rows);
  }
};

TEST(HistoryEntryChange, TheListRowsAreRewrittenInOnePass) {
  BatchSink sink;
  app::HistoryModel model(sink, app::FixedEntriesFile(u"C:\\Q"));
  for (int i = 0; i < 1000; ++i) model.appendCapture(u"entry", nullptr);
  std::vector<app::EntryTextChange> changes;
  for (int i = 0; i < 1000; ++i) changes.push_back({i, u"new " + std::u16string(1, char16_t(u'a' + i % 26))});
  model.changeEntryTexts(std::move(changes));
  EXPECT_EQ(sink.batches, 1);
  ExpectScreenMatches(model, sink);
}

}  // namespace
