// The entry-order commands on a full list: 100000 entries, each with a 4 KB snapshot.
// They move and share ownership of texts and snapshots, so their cost must not grow with
// the snapshot size.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/history/history_model.h"

namespace {

constexpr int kEntries = 100000;
constexpr std::size_t kSnapshotBytes = 4096;

class NullSink : public app::HistorySink {
 public:
  void listInsertRow(int, std::u16string_view) override {}
  void listDeleteRow(int) override {}
  void listMoveRow(int, int) override {}
  void listSetCaption(int, std::u16string_view) override {}
  void listClear() override {}
  void listSelect(int) override {}
  void listSetChecked(int, bool) override {}
  void trayInsertRow(int, std::u16string_view) override {}
  void trayDeleteRow(int) override {}
  void traySetCaption(int, std::u16string_view) override {}
  void bookmarkMenuClear() override {}
  void bookmarkMenuAddRow(std::u16string_view) override {}
  void bookmarkMenuRemoveRow(int) override {}
  void bookmarkMenuSetRow(int, std::u16string_view) override {}
  void repaintBookmarks() override {}
  void playSound(std::u16string_view) override {}
  void setHourglass(bool) override {}
  void progressShow(int) override {}
  void progressStep() override {}
  void progressHide() override {}
  bool confirm(std::u16string_view, std::u16string_view) override { return true; }
  void saveAndReloadFixedEntries() override {}
  void showHistoryView() override {}
  void clearLastClipText() override {}
  void emptyClipboard() override {}
  void listModesChanged(const app::ListModes&) override {}
  void applyStayOnTop(bool) override {}
};

std::u16string EntryText(int i) {
  const std::string n = std::to_string(i);
  return u"剪切板历史文本 entry number " + std::u16string(n.begin(), n.end()) + u" with some more words after it";
}

// A history view whose rows came one capture at a time, each with a 4 KB snapshot of its
// own, so that texts and snapshots lie in memory as they do after a long session.
struct FullList {
  NullSink sink;
  app::HistoryModel model{sink, app::FixedEntriesFile(u"C:\\Quillora")};
  FullList() {
    for (int i = 0; i < kEntries; ++i) {
      const std::vector<std::uint8_t> stream(kSnapshotBytes, static_cast<std::uint8_t>(i));
      model.appendCapture(EntryText(i), app::SnapshotBuffer::Make(stream));
    }
  }
};

void BM_MoveTop(benchmark::State& state) {
  FullList list;
  for (auto _ : state) {
    list.model.moveRow(kEntries - 1, app::MoveKind::Top);
  }
}
BENCHMARK(BM_MoveTop)->Unit(benchmark::kMillisecond);

void BM_MoveBottom(benchmark::State& state) {
  FullList list;
  for (auto _ : state) {
    list.model.moveRow(0, app::MoveKind::Bottom);
  }
}
BENCHMARK(BM_MoveBottom)->Unit(benchmark::kMillisecond);

void BM_Reverse(benchmark::State& state) {
  FullList list;
  for (auto _ : state) {
    list.model.reverseRows();
  }
}
BENCHMARK(BM_Reverse)->Unit(benchmark::kMillisecond);

// Every other row checked: half the entries go (their texts and snapshots are released),
// and every kept one moves.
void BM_DeleteUnchecked(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<FullList>();
    for (int i = 0; i < kEntries; i += 2) list->model.userSetChecked(i, true);
    state.ResumeTiming();
    list->model.deleteUncheckedRows();
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteUnchecked)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same with the deleted entries still owned elsewhere: the command's own work, without
// the C library releasing 50000 texts and snapshots.
void BM_DeleteUncheckedWithoutRelease(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<FullList>();
    std::vector<app::HistoryEntry> held;
    for (int i = 0; i < kEntries; ++i) held.push_back(list->model.store().entry(i));
    for (int i = 0; i < kEntries; i += 2) list->model.userSetChecked(i, true);
    state.ResumeTiming();
    list->model.deleteUncheckedRows();
    state.PauseTiming();
    list.reset();
    held = std::vector<app::HistoryEntry>();  // its buffer too: nothing of the set-up is freed while timed
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteUncheckedWithoutRelease)->Unit(benchmark::kMillisecond)->Iterations(20);

// Back from a loaded file: the rows are rebuilt from the run history, sharing its data.
void BM_ShowRunHistory(benchmark::State& state) {
  FullList list;
  for (auto _ : state) {
    state.PauseTiming();
    list.model.replaceAll({{u"a loaded line", nullptr}});
    state.ResumeTiming();
    list.model.showRunHistory();
  }
}
BENCHMARK(BM_ShowRunHistory)->Unit(benchmark::kMillisecond);

}  // namespace
