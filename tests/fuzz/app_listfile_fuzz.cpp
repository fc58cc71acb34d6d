// Entry-list files as hostile input: both readers on whole and cut files, and the UTF-8
// writer giving back exactly what the UTF-8 reader read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/listfile/listfile_autosave.h"
#include "app/listfile/listfile_io.h"

using namespace app;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  constexpr std::size_t kLimit = 500;

  for (const bool truncated : {false, true}) {
    for (const ListReader reader : {ListReader::Ansi, ListReader::Utf8}) {
      const ListReadResult result = ReadListBytes(bytes, reader, truncated, kLimit);
      Require(result.entries.size() <= kLimit);
      Require(result.messages.size() <= 4);
      if (result.status == ListReadStatus::UnknownFormat) Require(result.entries.empty());
    }
  }
  IsWellFormedUtf8(bytes);

  // Every entry the UTF-8 reader produces survives the UTF-8 writer unchanged.
  const ListParseResult first = ParseUtf8List(bytes, kLimit);
  const std::string written = FormatUtf8List(first.entries);
  const ListParseResult second = ParseUtf8List(std::string_view(written).substr(3), kLimit);
  Require(second.entries == first.entries);
  Require(second.messages.empty());
  return 0;
}
