// Loading a skin: the largest shipped skin read whole into the model, and the LZHUF
// decoder on 1 MB of skin data, with zlib's inflate of the same data beside it as anchor.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "skin/lzh.h"
#include "skin/skin_data.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::vector<Bytes> ShippedSkins() {
  std::vector<Bytes> files;
  for (const auto& entry : fs::directory_iterator(fs::path(QUILL_DATA_DIR) / u8"皮肤")) {
    std::ifstream in(entry.path(), std::ios::binary);
    files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (files.empty()) throw std::runtime_error("no shipped skins");
  return files;
}

// 1 MB of skin data: the unpacked archives (INI text and bitmaps) of the shipped skins,
// one after another, repeated as needed.
const Bytes& SkinLikeMegabyte() {
  static const Bytes data = [] {
    Bytes all;
    std::vector<Bytes> archives;
    for (const Bytes& file : ShippedSkins()) {
      const uint32_t size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
      Bytes archive;
      skin::LzhUnpack(file.data() + 4, file.size() - 4, size, archive);
      archives.push_back(std::move(archive));
    }
    while (all.size() < (1u << 20)) {
      for (const Bytes& a : archives) all.insert(all.end(), a.begin(), a.end());
    }
    all.resize(1u << 20);
    return all;
  }();
  return data;
}

void BM_LoadLargestShippedSkin(benchmark::State& state) {
  std::vector<Bytes> files = ShippedSkins();
  const Bytes largest = *std::max_element(files.begin(), files.end(),
                                          [](const Bytes& a, const Bytes& b) { return a.size() < b.size(); });
  for (auto _ : state) {
    skin::TSkinData data;
    data.SkinStream = unicode::TMemoryStream(largest);
    if (!data.ReadSkin()) state.SkipWithError("the skin did not load");
    benchmark::DoNotOptimize(data.Model().Top.Bitmap.Bytes().data());
  }
  state.counters["file_bytes"] = static_cast<double>(largest.size());
}
BENCHMARK(BM_LoadLargestShippedSkin)->Unit(benchmark::kMillisecond);

void BM_LzhDecodeSkinData(benchmark::State& state) {
  const Bytes& data = SkinLikeMegabyte();
  const Bytes packed = skin::LzhPack(data.data(), data.size());
  Bytes out;
  out.reserve(data.size());
  for (auto _ : state) {
    out.clear();
    skin::LzhUnpack(packed.data(), packed.size(), data.size(), out);
    benchmark::DoNotOptimize(out.data());
  }
  if (out != data) state.SkipWithError("round trip differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
}
BENCHMARK(BM_LzhDecodeSkinData)->Unit(benchmark::kMillisecond);

void BM_ZlibInflateSkinData(benchmark::State& state) {
  const Bytes& data = SkinLikeMegabyte();
  uLongf packedSize = compressBound(data.size());
  Bytes packed(packedSize);
  compress2(packed.data(), &packedSize, data.data(), data.size(), Z_DEFAULT_COMPRESSION);
  packed.resize(packedSize);
  Bytes out(data.size());
  for (auto _ : state) {
    uLongf outSize = out.size();
    uncompress(out.data(), &outSize, packed.data(), packed.size());
    benchmark::DoNotOptimize(out.data());
  }
  if (out != data) state.SkipWithError("round trip differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
}
BENCHMARK(BM_ZlibInflateSkinData)->Unit(benchmark::kMillisecond);

void BM_LzhPackSkinData(benchmark::State& state) {
  const Bytes& data = SkinLikeMegabyte();
  for (auto _ : state) benchmark::DoNotOptimize(skin::LzhPack(data.data(), data.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_LzhPackSkinData)->Unit(benchmark::kMillisecond);

}  // namespace
