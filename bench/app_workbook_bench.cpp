// The workbook import's reader on a 100000-cell .xlsx (10000 rows x 10 columns, half numbers,
// half shared strings), beside zlib inflating the same parts alone (the anchor).
#include <benchmark/benchmark.h>

#include <zlib.h>

#include "../tests/app/workbook/zip_builder.h"
#include "app/workbook/workbook_reader.h"

namespace {

std::vector<app::test::ZipMember> Parts() {
  std::string sheet = "<worksheet><sheetData>";
  std::string strings = "<sst>";
  int stringIndex = 0;
  for (int r = 1; r <= 10000; ++r) {
    sheet += "<row r=\"" + std::to_string(r) + "\">";
    for (int c = 0; c < 10; ++c) {
      const std::string ref = std::string(1, char('A' + c)) + std::to_string(r);
      if (c % 2 == 0) {
        sheet += "<c r=\"" + ref + "\"><v>" + std::to_string(r * 10 + c) + ".25</v></c>";
      } else {
        sheet += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(stringIndex++) + "</v></c>";
        strings += "<si><t>文本" + std::to_string(r) + "-" + std::to_string(c) + "</t></si>";
      }
    }
    sheet += "</row>";
  }
  sheet += "</sheetData></worksheet>";
  strings += "</sst>";
  auto parts = app::test::XlsxParts("");
  parts[4].data = sheet;
  parts[3].data =
      "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/s.xml\"/>"
      "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
  parts.push_back({"xl/sharedStrings.xml", strings});
  return parts;
}

const std::string& Workbook() {
  static const std::string file = app::test::ZipOf(Parts());
  return file;
}

void ReadHundredThousandCells(benchmark::State& state) {
  app::WorkbookLimits limits;
  limits.maxCells = 100000;
  for (auto _ : state) {
    const app::WorkbookRead read = app::ReadWorkbook(Workbook(), limits);
    if (read.cells.size() != 100000) state.SkipWithError("wrong cell count");
    benchmark::DoNotOptimize(read.cells.data());
  }
}
BENCHMARK(ReadHundredThousandCells)->Unit(benchmark::kMillisecond);

// The anchor: inflating every part of the same file with zlib, nothing else.
void InflatePartsAlone(benchmark::State& state) {
  std::vector<std::pair<std::string, std::size_t>> packed;
  for (const auto& part : Parts()) packed.emplace_back(app::test::Deflate(part.data), part.data.size());
  std::string out;
  for (auto _ : state) {
    for (const auto& [data, size] : packed) {
      out.resize(size);
      z_stream z{};
      inflateInit2(&z, -MAX_WBITS);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
      z.avail_in = static_cast<uInt>(data.size());
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = static_cast<uInt>(out.size());
      inflate(&z, Z_FINISH);
      inflateEnd(&z);
      benchmark::DoNotOptimize(out.data());
    }
  }
}
BENCHMARK(InflatePartsAlone)->Unit(benchmark::kMillisecond);

}  // namespace
