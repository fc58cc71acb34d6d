// One million single-byte edits and then the undo of every step the storage kept: with the
// default MaxUndo (1 MiB, trimmed as it fills, never exceeded) beside a MaxUndo so large that
// nothing is ever trimmed. Trimming drops the oldest record without moving the rest each
// time, so the bounded run must cost no more than about the unbounded one.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "hexedit/custom_hex_editor.h"

namespace {

constexpr int kEdits = 1000000;
constexpr std::size_t kDataSize = 64 * 1024;

void Edits(benchmark::State& state, std::size_t maxUndo) {
  for (auto _ : state) {
    hexedit::TCustomHexEditor editor;
    editor.LoadFromBuffer(hexedit::Bytes(kDataSize, 0));
    editor.SetMaxUndo(maxUndo);
    std::size_t largest = 0;
    for (int i = 0; i < kEdits; ++i) {
      editor.ChangeBytes(static_cast<std::int64_t>(i % kDataSize), hexedit::Bytes{static_cast<std::uint8_t>(i)});
      if (editor.UndoStorage().StorageSize() > largest) largest = editor.UndoStorage().StorageSize();
    }
    if (largest > maxUndo) state.SkipWithError("the undo storage grew beyond MaxUndo");
    int undone = 0;
    while (editor.Undo()) ++undone;
    state.counters["kept_steps"] = undone;
    state.counters["largest_storage_bytes"] = static_cast<double>(largest);
  }
}

void BM_EditsThenUndo_DefaultMaxUndo(benchmark::State& state) { Edits(state, hexedit::kDefaultMaxUndo); }
void BM_EditsThenUndo_NeverTrimmed(benchmark::State& state) { Edits(state, std::size_t{1} << 40); }

// The edits alone, with the default MaxUndo: what typing a million bytes costs.
void BM_EditsOnly_DefaultMaxUndo(benchmark::State& state) {
  for (auto _ : state) {
    hexedit::TCustomHexEditor editor;
    editor.LoadFromBuffer(hexedit::Bytes(kDataSize, 0));
    for (int i = 0; i < kEdits; ++i) {
      editor.ChangeBytes(static_cast<std::int64_t>(i % kDataSize), hexedit::Bytes{static_cast<std::uint8_t>(i)});
    }
    benchmark::DoNotOptimize(editor.DataSize());
  }
}

BENCHMARK(BM_EditsThenUndo_DefaultMaxUndo)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditsThenUndo_NeverTrimmed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditsOnly_DefaultMaxUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
