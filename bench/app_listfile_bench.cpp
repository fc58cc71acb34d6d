// Reading and writing a full history list (100000 entries, about 20 MB of UTF-8) as
// entry-list files, in memory and through the disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/listfile/listfile_io.h"

namespace {

// Entries of mixed Chinese and ASCII text, every tenth with line breaks, about 200 bytes
// of UTF-8 each.
const std::vector<std::u16string>& HistoryEntries() {
  static const std::vector<std::u16string> entries = [] {
    std::vector<std::u16string> list;
    list.reserve(100000);
    const std::u16string chinese = u"剪切板历史文本列表框单击为复制到剪切板双击为复制加隐藏";
    const std::u16string ascii = u"The quick brown fox jumps over the lazy dog 0123456789 ";
    for (int i = 0; i < 100000; ++i) {
      std::u16string entry = chinese.substr(0, 10 + i % 17);
      entry += ascii.substr(0, 40 + i % 13);
      entry += chinese.substr(i % 7, 20);
      entry += ascii;
      if (i % 10 == 0) entry += u"\r\n第二行 second line\r\n\r\n  第四行";
      list.push_back(std::move(entry));
    }
    return list;
  }();
  return entries;
}

// Reading is timed up to the loaded list; giving the previous list back to the allocator
// is not part of it.
template <typename Load>
void TimeLoads(benchmark::State& state, Load load) {
  std::optional<app::ListReadResult> result;
  for (auto _ : state) {
    result.emplace(load());
    if (result->entries.size() != 100000) state.SkipWithError("wrong entry count");
    benchmark::DoNotOptimize(result->entries.data());
    state.PauseTiming();
    result.reset();
    state.ResumeTiming();
  }
}

std::filesystem::path BenchFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("quillora_bench_") + name);
}

void BM_FormatUtf8List(benchmark::State& state) {
  const auto& entries = HistoryEntries();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = app::FormatUtf8List(entries);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_FormatUtf8List)->Unit(benchmark::kMillisecond);

void BM_ParseUtf8List(benchmark::State& state) {
  const std::string bytes = app::FormatUtf8List(HistoryEntries());
  TimeLoads(state, [&] { return app::ReadListBytes(bytes, app::ListReader::Utf8); });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseUtf8List)->Unit(benchmark::kMillisecond);

void BM_WriteUtf8ListFile(benchmark::State& state) {
  const auto& entries = HistoryEntries();
  const auto file = BenchFile("write.txt");
  for (auto _ : state) {
    if (app::WriteListFile(file, entries, app::ListWriterKind::Utf8)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(file)));
  std::filesystem::remove(file);
}
BENCHMARK(BM_WriteUtf8ListFile)->Unit(benchmark::kMillisecond);

void BM_ReadUtf8ListFile(benchmark::State& state) {
  const auto file = BenchFile("read.txt");
  if (app::WriteListFile(file, HistoryEntries(), app::ListWriterKind::Utf8)) state.SkipWithError("write failed");
  TimeLoads(state, [&] { return app::ReadListFileByKind(file); });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(file)));
  std::filesystem::remove(file);
}
BENCHMARK(BM_ReadUtf8ListFile)->Unit(benchmark::kMillisecond);

// The ANSI reader and writer for comparison (code page 936 through the C library natively).
void BM_FormatAnsiList(benchmark::State& state) {
  const auto& entries = HistoryEntries();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = app::FormatAnsiList(entries);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_FormatAnsiList)->Unit(benchmark::kMillisecond);

void BM_ParseAnsiList(benchmark::State& state) {
  const std::string bytes = app::FormatAnsiList(HistoryEntries());
  TimeLoads(state, [&] { return app::ReadListBytes(bytes, app::ListReader::Ansi); });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseAnsiList)->Unit(benchmark::kMillisecond);

}  // namespace
