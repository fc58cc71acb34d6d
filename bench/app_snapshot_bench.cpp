// Encoding and decoding one 10 MB clipboard format (a large picture or document), and
// reading the text of a snapshot whose Unicode text is 10 MB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "app/snapshot/snapshot_stream.h"

namespace {

constexpr std::size_t kFormatBytes = 10 * 1000 * 1000;

std::vector<std::uint8_t> BigBlock() {
  std::vector<std::uint8_t> block(kFormatBytes);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 131 + 7);
  return block;
}

void BM_EncodeTenMegabyteFormat(benchmark::State& state) {
  const auto block = BigBlock();
  const app::SnapshotFormat formats[] = {{8, "", block}, {0xC0A5, "HTML Format", {block.data(), 1000}}};
  for (auto _ : state) {
    auto stream = app::EncodeSnapshot(formats);
    benchmark::DoNotOptimize(stream.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (kFormatBytes + 1000));
}
BENCHMARK(BM_EncodeTenMegabyteFormat);

// Decoding to the records, then copying the big format out as an entry would own it.
void BM_DecodeTenMegabyteFormat(benchmark::State& state) {
  const auto block = BigBlock();
  const app::SnapshotFormat formats[] = {{8, "", block}, {0xC0A5, "HTML Format", {block.data(), 1000}}};
  const auto stream = app::EncodeSnapshot(formats);
  for (auto _ : state) {
    const auto decoded = app::DecodeSnapshot(stream);
    std::vector<std::uint8_t> owned(decoded.formats[0].data.begin(), decoded.formats[0].data.end());
    benchmark::DoNotOptimize(owned.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_DecodeTenMegabyteFormat);

void BM_ValidateTenMegabyteFormat(benchmark::State& state) {
  const auto block = BigBlock();
  const app::SnapshotFormat format{8, "", block};
  const auto stream = app::EncodeSnapshot({&format, 1});
  for (auto _ : state) benchmark::DoNotOptimize(app::ValidateSnapshot(stream).length);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_ValidateTenMegabyteFormat);

void BM_UnicodeTextOfTenMegabytes(benchmark::State& state) {
  std::vector<std::uint8_t> wide(kFormatBytes);
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    wide[i] = static_cast<std::uint8_t>('a' + (i / 2) % 26);
    wide[i + 1] = 0;
  }
  const app::SnapshotFormat format{13, "", wide};
  const auto stream = app::EncodeSnapshot({&format, 1});
  for (auto _ : state) {
    auto text = app::SnapshotUnicodeText(stream);
    benchmark::DoNotOptimize(text->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_UnicodeTextOfTenMegabytes);

}  // namespace
