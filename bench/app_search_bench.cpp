// "查找" over a full list: a search that finds nothing in 100000 entries of about 200
// characters, beside the anchor, a bare loop of std::u16string_view::find over the same texts.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/reorder/entry_search.h"

namespace {

const std::vector<std::u16string>& Texts() {
  static const std::vector<std::u16string> texts = [] {
    std::vector<std::u16string> list;
    const std::u16string chinese = u"剪切板历史文本列表框单击为复制到剪切板双击为复制加隐藏";
    const std::u16string ascii = u"The quick brown fox jumps over the lazy dog 0123456789 ";
    for (int i = 0; i < 100000; ++i) {
      std::u16string t = chinese + ascii + chinese.substr(i % 11) + ascii + ascii.substr(i % 29) + chinese;
      list.push_back(t.substr(0, 200));
    }
    return list;
  }();
  return texts;
}

constexpr std::u16string_view kMissing = u"找不到的文本 xyz";

void BM_SearchMiss(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    app::FindState find;
    const app::FindOutcome outcome = app::FindEntry(find, kMissing, false, 0, static_cast<int>(texts.size()),
                                                    [&](int row) { return std::u16string_view(texts[row]); });
    benchmark::DoNotOptimize(outcome);
  }
}

void BM_BareFindMiss(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    int found = -1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (std::u16string_view(texts[i]).find(kMissing) != std::u16string_view::npos) {
        found = static_cast<int>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}

BENCHMARK(BM_SearchMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareFindMiss)->Unit(benchmark::kMillisecond);

}  // namespace
