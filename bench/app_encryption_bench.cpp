// The encryption command over a full list: 100000 entries of 10 to 120 characters, mixed
// Chinese and ASCII, enciphered by the command's portable core (code page 936 conversion and
// its check, triple-DES 8-bit CFB, Base64). In the same run the openssl tool enciphers a file of
// the same bytes in the same mode (wall time of the process), as the anchor:
// openssl_over_ours = openssl's time / ours.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/encryption/encryption_commands.h"
#include "unicode/codepage.h"

namespace {

const std::vector<std::u16string>& Entries() {
  static const std::vector<std::u16string> entries = [] {
    std::mt19937 rng(42);
    const std::u16string ascii = u"The quick brown fox jumps over the lazy dog 0123456789 ,.;";
    std::vector<std::u16string> list;
    list.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
      const int length = 10 + static_cast<int>(rng() % 111);
      std::u16string entry;
      for (int k = 0; k < length; ++k) {
        // About one character in five Chinese.
        entry += rng() % 5 == 0 ? static_cast<char16_t>(0x4E00 + rng() % 20902) : ascii[rng() % ascii.size()];
      }
      list.push_back(std::move(entry));
    }
    return list;
  }();
  return entries;
}

std::vector<std::u16string_view> Views() {
  const auto& entries = Entries();
  return {entries.begin(), entries.end()};
}

double g_oursSeconds = 0;

void BM_EncryptHundredThousandEntries(benchmark::State& state) {
  const std::vector<std::u16string_view> texts = Views();
  std::size_t bytes = 0;
  for (const auto& t : texts) bytes += unicode::Utf16ToAnsi(t).size();
  cipher::TCph_3des cipher;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const app::CipherOutcome out = app::EncryptEntryTexts(cipher, texts, u"口令 password");
    g_oursSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!out.ok) state.SkipWithError("refused");
    benchmark::DoNotOptimize(out.texts.data());
  }
  state.counters["cp936_MB"] = static_cast<double>(bytes) / 1e6;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_EncryptHundredThousandEntries)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpensslSameBytes(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path in = fs::temp_directory_path() / "quillora_bench_encryption.in";
  const fs::path out = fs::temp_directory_path() / "quillora_bench_encryption.out";
  std::size_t bytes = 0;
  {
    std::ofstream file(in, std::ios::binary | std::ios::trunc);
    for (const auto& t : Entries()) {
      const std::string b = unicode::Utf16ToAnsi(t);
      bytes += b.size();
      file << b;
    }
  }
  const std::string command = "openssl enc -des-ede3-cfb8 -K 0123456789abcdef0123456789abcdef0123456789abcdef "
                              "-iv 0011223344556677 -in " + in.string() + " -out " + out.string();
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("openssl failed");
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  if (g_oursSeconds > 0) state.counters["openssl_over_ours"] = seconds / g_oursSeconds;
  fs::remove(in);
  fs::remove(out);
}
BENCHMARK(BM_OpensslSameBytes)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
