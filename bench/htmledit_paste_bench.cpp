// Pasting a word processor's fragment into an empty document, as the formatted view opens an
// entry: the fragment's paragraphs (styled spans, bold, colour), by paragraph count, in the
// steps the view takes (paste into the tree, lay out, RTF for the view).
#include <benchmark/benchmark.h>

#include <string>

#include "htmledit/body_text.h"
#include "htmledit/html_parser.h"
#include "htmledit/rtf_view.h"
#include "htmledit/text_editing.h"

namespace {

std::u16string Fragment(int paragraphs) {
  std::u16string html;
  for (int i = 0; i < paragraphs; ++i) {
    const std::string n = std::to_string(i);
    html += u"<p style='margin:0'><span style='font-size:10.5pt;font-family:\u5B8B\u4F53'>\u7B2C" +
            std::u16string(n.begin(), n.end()) +
            u"\u6BB5\uFF1A\u526A\u8D34\u677F</span><b>\u7C97\u4F53</b><font color=#C00000>\u7EA2\u8272</font> text</p>";
  }
  return html;
}

void BM_PasteFragment(benchmark::State& state) {
  const std::u16string fragment = Fragment(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    htmledit::Document doc;
    htmledit::ParseDocument(doc, u"");
    const htmledit::BodyText empty = htmledit::BodyText::Build(doc);
    benchmark::DoNotOptimize(htmledit::PasteFragment(doc, empty, 0, 0, fragment));
  }
  state.SetLabel(std::to_string(fragment.size() * 2 / 1024) + " KB");
}
BENCHMARK(BM_PasteFragment)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_LayoutAndRtf(benchmark::State& state) {
  htmledit::Document doc;
  htmledit::ParseDocument(doc, u"<body>" + Fragment(static_cast<int>(state.range(0))) + u"</body>");
  for (auto _ : state) {
    const htmledit::BodyText layout = htmledit::BodyText::Build(doc);
    benchmark::DoNotOptimize(htmledit::BodyTextToRtf(layout));
  }
}
BENCHMARK(BM_LayoutAndRtf)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace
