// Snapshot streams from files and the database are outside data: the decoder and the
// validator must agree on every input, and a decoded stream must re-encode to itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/snapshot/snapshot_stream.h"
#include "app/snapshot/snapshot_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  const app::SnapshotCheck check = app::ValidateSnapshot(input);
  try {
    const app::DecodedSnapshot decoded = app::DecodeSnapshot(input);
    if (!check.valid || check.length != decoded.length || decoded.length > size) std::abort();
    // Names and empty records may be written differently; the re-encoded stream must
    // still decode to the same records.
    const app::SnapshotBytes again = app::EncodeSnapshot(decoded.formats);
    const app::DecodedSnapshot twice = app::DecodeSnapshot(again);
    std::size_t kept = 0;
    for (const auto& f : decoded.formats) {
      if (f.data.empty()) continue;
      const auto& g = twice.formats.at(kept++);
      if (g.id != f.id || g.data.size() != f.data.size() || !std::equal(f.data.begin(), f.data.end(), g.data.begin()))
        std::abort();
    }
    if (kept != twice.formats.size()) std::abort();
    (void)app::SnapshotUnicodeText(input);
  } catch (const app::SnapshotReadError& error) {
    if (check.valid || check.error != error.what()) std::abort();
  }
  return 0;
}
