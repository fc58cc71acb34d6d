// A stand-in for the main window: it keeps the screen that the history model's requests
// build (list rows, tray rows, bookmark menu) and records the other requests, so that tests
// can compare the screen with the stores and check what was asked.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/history/history_captions.h"
#include "app/history/history_model.h"

namespace apptest {

class RecordingSink : public app::HistorySink {
 public:
  struct Row {
    std::u16string caption;
    bool checked = false;
  };

  RecordingSink() : tray(app::TrayEntryBase, u"(fixed row)") {}

  // The screen.
  std::vector<Row> list;
  int selected = -1;
  std::vector<std::u16string> tray;
  std::vector<std::u16string> bookmarkMenu;
  app::ListModes modes;
  bool stayOnTop = false;

  // What else was asked, in order.
  std::vector<std::string> events;
  std::vector<std::u16string> sounds;
  std::vector<std::u16string> questions;  // caption + "|" + text
  bool confirmAnswer = true;
  int hourglassDepth = 0;
  int progressSteps = 0;
  int progressMax = -1;
  bool progressVisible = false;
  // The rows as the fixed-entries save saw them (the model is read back at that moment).
  const app::HistoryModel* model = nullptr;
  std::vector<std::vector<std::u16string>> fixedSaves;
  bool hourglassDuringSave = false;

  int count(const std::string& event) const {
    int n = 0;
    for (const auto& e : events) n += e == event;
    return n;
  }

  void listInsertRow(int row, std::u16string_view caption) override {
    ASSERT_LE(row, static_cast<int>(list.size()));
    list.insert(list.begin() + row, Row{std::u16string(caption), false});
    events.push_back("listInsertRow");
  }
  void listDeleteRow(int row) override {
    ASSERT_LT(row, static_cast<int>(list.size()));
    list.erase(list.begin() + row);
    events.push_back("listDeleteRow");
  }
  void listMoveRow(int from, int to) override {
    ASSERT_LT(from, static_cast<int>(list.size()));
    ASSERT_LT(to, static_cast<int>(list.size()));
    Row row = list[from];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, row);
    events.push_back("listMoveRow");
  }
  void listSetCaption(int row, std::u16string_view caption) override {
    list.at(row).caption = caption;
    events.push_back("listSetCaption");
  }
  void listClear() override {
    list.clear();
    selected = -1;
    events.push_back("listClear");
  }
  void listSelect(int row) override {
    ASSERT_LT(row, static_cast<int>(list.size()));
    selected = row;
    events.push_back("listSelect");
  }
  void listSetChecked(int row, bool checked) override {
    list.at(row).checked = checked;
    events.push_back("listSetChecked");
  }
  void trayInsertRow(int menuIndex, std::u16string_view caption) override {
    ASSERT_GE(menuIndex, app::TrayEntryBase);
    ASSERT_LE(menuIndex, static_cast<int>(tray.size()));
    tray.insert(tray.begin() + menuIndex, std::u16string(caption));
    events.push_back("trayInsertRow");
  }
  void trayDeleteRow(int menuIndex) override {
    ASSERT_GE(menuIndex, app::TrayEntryBase);
    ASSERT_LT(menuIndex, static_cast<int>(tray.size()));
    tray.erase(tray.begin() + menuIndex);
    events.push_back("trayDeleteRow");
  }
  void traySetCaption(int menuIndex, std::u16string_view caption) override {
    ASSERT_GE(menuIndex, app::TrayEntryBase);
    tray.at(menuIndex) = caption;
    events.push_back("traySetCaption");
  }
  void bookmarkMenuClear() override {
    bookmarkMenu.clear();
    events.push_back("bookmarkMenuClear");
  }
  void bookmarkMenuAddRow(std::u16string_view caption) override {
    bookmarkMenu.emplace_back(caption);
    events.push_back("bookmarkMenuAddRow");
  }
  void bookmarkMenuRemoveRow(int k) override {
    ASSERT_LT(k, static_cast<int>(bookmarkMenu.size()));
    bookmarkMenu.erase(bookmarkMenu.begin() + k);
    events.push_back("bookmarkMenuRemoveRow");
  }
  void bookmarkMenuSetRow(int k, std::u16string_view caption) override {
    bookmarkMenu.at(k) = caption;
    events.push_back("bookmarkMenuSetRow");
  }
  void repaintBookmarks() override { events.push_back("repaintBookmarks"); }
  void playSound(std::u16string_view fileName) override {
    sounds.emplace_back(fileName);
    events.push_back("playSound");
  }
  void setHourglass(bool on) override {
    hourglassDepth += on ? 1 : -1;
    events.push_back(on ? "hourglassOn" : "hourglassOff");
  }
  void progressShow(int steps) override {
    progressVisible = true;
    progressMax = steps;
    progressSteps = 0;
    events.push_back("progressShow");
  }
  void progressStep() override {
    EXPECT_TRUE(progressVisible);
    ++progressSteps;
  }
  void progressHide() override {
    progressVisible = false;
    events.push_back("progressHide");
  }
  bool confirm(std::u16string_view caption, std::u16string_view text) override {
    questions.push_back(std::u16string(caption) + u"|" + std::u16string(text));
    events.push_back("confirm");
    return confirmAnswer;
  }
  void saveAndReloadFixedEntries() override {
    events.push_back("saveAndReloadFixedEntries");
    hourglassDuringSave = hourglassDepth > 0;
    std::vector<std::u16string> rows;
    if (model) {
      for (int i = 0; i < model->rowCount(); ++i) rows.emplace_back(model->store().EntryTexts(i));
    }
    fixedSaves.push_back(rows);
  }
  void showHistoryView() override { events.push_back("showHistoryView"); }
  void clearLastClipText() override { events.push_back("clearLastClipText"); }
  void emptyClipboard() override { events.push_back("emptyClipboard"); }
  void listModesChanged(const app::ListModes& m) override {
    modes = m;
    events.push_back("listModesChanged");
  }
  void applyStayOnTop(bool onTop) override {
    stayOnTop = onTop;
    events.push_back("applyStayOnTop");
  }
};

inline app::Snapshot MakeSnapshot(const std::string& bytes) {
  const std::vector<std::uint8_t> stream(bytes.begin(), bytes.end());
  return app::SnapshotBuffer::Make(stream);
}

// The rows, checks and tray rows on the screen agree with the history store.
inline void ExpectScreenMatches(const app::HistoryModel& model, const RecordingSink& sink) {
  const app::HistoryStore& store = model.store();
  ASSERT_EQ(static_cast<int>(sink.list.size()), store.size());
  ASSERT_EQ(static_cast<int>(sink.tray.size()), store.size() + app::TrayEntryBase);
  for (int i = 0; i < store.size(); ++i) {
    EXPECT_EQ(sink.list[i].caption, app::ListRowCaption(store.EntryTexts(i))) << "list row " << i;
    EXPECT_EQ(sink.list[i].checked, store.checked(i)) << "check of row " << i;
    EXPECT_EQ(sink.tray[i + app::TrayEntryBase], app::TrayRowCaption(store.EntryTexts(i))) << "tray row " << i;
  }
}

// The run history store is a copy of the rows, sharing their snapshots.
inline void ExpectRunHistoryMirrorsRows(const app::HistoryModel& model) {
  const app::HistoryStore& store = model.store();
  const app::RunHistoryStore& run = model.runHistory();
  ASSERT_EQ(run.RunHistoryCount(), store.size());
  for (int i = 0; i < store.size(); ++i) {
    EXPECT_EQ(run.RunHistoryTexts(i), store.EntryTexts(i));
    EXPECT_EQ(run.RunHistorySnapshots(i), store.EntrySnapshots(i));
    EXPECT_EQ(run.RunHistoryHasSnapshot(i), store.EntryHasSnapshot(i));
  }
}

// A model in the history view with `n` captured entries "e0".."e<n-1>", each with the
// snapshot "snap:e<i>".
struct Fixture {
  RecordingSink sink;
  app::HistoryModel model{sink, app::FixedEntriesFile(u"C:\\Quillora")};

  explicit Fixture(int n = 0) {
    sink.model = &model;
    for (int i = 0; i < n; ++i) capture(i);
    sink.events.clear();
    sink.sounds.clear();
  }
  void capture(int i) {
    const std::string name = "e" + std::to_string(i);
    model.appendCapture(std::u16string(name.begin(), name.end()), MakeSnapshot("snap:" + name));
  }
  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> out;
    for (int i = 0; i < model.rowCount(); ++i) out.emplace_back(model.store().EntryTexts(i));
    return out;
  }
  std::string snapshotText(int row) const {
    const app::Snapshot& s = model.store().EntrySnapshots(row);
    return s ? std::string(s->begin(), s->end()) : std::string("(none)");
  }
  void showFixedEntries() {
    model.setFixedView(true);
    model.files().AttachedListFile = model.fixedEntriesFile();
    model.files().CurrentListFile = model.fixedEntriesFile();
  }
};

}  // namespace apptest
