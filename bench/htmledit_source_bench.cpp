// Loading a 2 MB document with tables and styles and generating its source, beside
// libxml2's HTML parse and dump of the same bytes (the anchor).
#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

#include <string>

#include "htmledit/html_parser.h"
#include "htmledit/source_generator.h"
#include "unicode/codepage.h"

namespace {

std::string MakeDocument(size_t targetBytes) {
  std::string html =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<html><head><title>"
      "\xE6\xB5\x8B\xE8\xAF\x95</title><style>p { color: red }</style></head><body>\r\n";
  int n = 0;
  while (html.size() < targetBytes) {
    ++n;
    html += "<h2 style=\"font-family: SimSun; color: #336699\">\xE7\xAB\xA0\xE8\x8A\x82 " + std::to_string(n) +
            "</h2>\r\n<p align=center style=\"font-size: 12pt\">Some <b>bold</b>, <i>italic</i> and "
            "<font color=red face=Arial>coloured</font> text &amp; a <a href=\"http://example.invalid/?a=1&amp;b=2\">"
            "link</a>, \xE4\xB8\xAD\xE6\x96\x87\xE6\x96\x87\xE5\xAD\x97&nbsp;here.</p>\r\n"
            "<table border=1 cellSpacing=1 cellPadding=1 width=75%><tbody>";
    for (int r = 0; r < 4; ++r) {
      html += "<tr>";
      for (int c = 0; c < 4; ++c)
        html += "<td width=25% bgcolor=\"#EEEEEE\" style=\"padding: 2px\">cell " + std::to_string(r) + "," +
                std::to_string(c) + "</td>";
      html += "</tr>\r\n";
    }
    html += "</tbody></table>\r\n<ul><li>one</li><li>two <span style=\"text-decoration: underline\">u</span></li></ul>\r\n";
  }
  html += "</body></html>\r\n";
  return html;
}

const std::string& Document2MB() {
  static const std::string doc = MakeDocument(2 << 20);
  return doc;
}

void BM_LoadAndGetSource(benchmark::State& state) {
  const std::string& bytes = Document2MB();
  htmledit::SourceContext ctx;
  for (auto _ : state) {
    std::u16string text = unicode::Utf8ToUtf16(bytes);
    htmledit::Document doc;
    htmledit::ParseDocument(doc, text);
    ctx.preservedSource = std::move(text);
    std::u16string source = htmledit::GetSourceText(doc, true, false, ctx);
    benchmark::DoNotOptimize(source.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadAndGetSource)->Unit(benchmark::kMillisecond);

void BM_Libxml2ParseAndDump(benchmark::State& state) {
  const std::string& bytes = Document2MB();
  for (auto _ : state) {
    htmlDocPtr doc = htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    xmlChar* out = nullptr;
    int size = 0;
    htmlDocDumpMemory(doc, &out, &size);
    benchmark::DoNotOptimize(out);
    xmlFree(out);
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_Libxml2ParseAndDump)->Unit(benchmark::kMillisecond);

}  // namespace
