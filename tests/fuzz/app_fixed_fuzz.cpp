// The fixed-entry file as hostile input: the reload keeps at most 512 entries, says at most
// three things, and an entry appended to what it read comes back as the last entry.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/fixed/fixed_entries.h"

using namespace app;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const bool truncated : {false, true}) {
    const FixedLoadResult read = ParseFixedEntries(bytes, truncated);
    Require(read.entries.size() <= static_cast<size_t>(MaxFixedEntries));
    Require(read.messages.size() <= 3);
    if (read.status != FixedLoadStatus::Loaded) Require(read.entries.empty());
  }
  // Appending to a UTF-8 file: the new entry is read back last, whatever the file held.
  const FixedLoadResult before = ParseFixedEntries(bytes);
  if (before.status == FixedLoadStatus::Loaded && before.format == TextFileFormat::tfUtf8 &&
      before.entries.size() < static_cast<size_t>(MaxFixedEntries) - 1 && before.messages.empty()) {
    const std::u16string entry = u"追加\r\n第二行";
    const std::string after = std::string(bytes) + FixedAppendBytes(entry, bytes);
    const FixedLoadResult read = ParseFixedEntries(after);
    Require(!read.entries.empty() && read.entries.back() == entry);
  }
  return 0;
}
