// The clipboard snapshot stream: every clipboard format present at one moment, as
//   0x01, { format id, format name, byte count, data bytes }*, 0x00
// built from tagged little-endian values (snapshot_values.h). It is what a history entry,
// the database column "liu" and ".liu" files hold.
//
// Built as an owned byte vector; once taken it is never changed, so entries share it as a
// SharedSnapshot (snapshot_buffer.h). Readers take any byte span and stop at the end
// marker: bytes behind it (as older files may carry) are not part of the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/snapshot/snapshot_buffer.h"  // SharedSnapshot
#include "app/snapshot/snapshot_values.h"  // SnapshotReadError

namespace app {

using SnapshotBytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kSnapshotListStart = 0x01;
inline constexpr std::uint8_t kSnapshotListEnd = 0x00;

// One format of a snapshot. When decoded, `data` views the decoded buffer, which must
// outlive the record.
struct SnapshotFormat {
  std::int32_t id = 0;                  // the clipboard format number at capture time
  std::string name;                     // registered name in code page 936; empty for predefined formats
  std::span<const std::uint8_t> data;   // the format's whole global memory block
};

// Writes a snapshot front to back: the list start at construction, one record per
// AddFormat, the list end in Finish.
class SnapshotWriter {
 public:
  // `expected_bytes`: room to reserve up front when the caller knows the total.
  explicit SnapshotWriter(std::size_t expected_bytes = 0);
  // Appends one record. Empty data gives no record (a format without data is not stored).
  // Throws std::length_error for data the stream cannot describe (above 2147483647 bytes).
  void AddFormat(std::int32_t id, std::string_view ansi_name, std::span<const std::uint8_t> data);
  std::size_t format_count() const { return format_count_; }
  // Ends the list and hands over the buffer; the writer is spent afterwards.
  SnapshotBytes Finish() &&;

 private:
  SnapshotBytes bytes_;
  std::size_t format_count_ = 0;
};

// Encodes whole records in one go (SnapshotWriter in a loop).
SnapshotBytes EncodeSnapshot(std::span<const SnapshotFormat> formats);

struct DecodedSnapshot {
  std::vector<SnapshotFormat> formats;  // in stream order; data views the input
  std::size_t length = 0;               // bytes up to and including the end marker
};

// Reads a whole snapshot; throws SnapshotReadError on a malformed
// stream. Allocates nothing in proportion to the counts it reads, only to the input.
DecodedSnapshot DecodeSnapshot(std::span<const std::uint8_t> stream);
// The records would view a buffer that dies at the end of the call's statement.
DecodedSnapshot DecodeSnapshot(SnapshotBytes&& stream) = delete;

struct SnapshotCheck {
  bool valid = false;
  std::string error;        // the read error's text when not valid
  std::size_t length = 0;   // as DecodedSnapshot::length when valid
};

// The same checks as DecodeSnapshot without keeping the records; never throws.
SnapshotCheck ValidateSnapshot(std::span<const std::uint8_t> stream) noexcept;

// The text a Unicode text control would paste from the snapshot: CF_UNICODETEXT, else
// CF_TEXT, else CF_OEMTEXT (code page 936), each up to its first terminating zero.
// No value when the snapshot holds no text format. Throws SnapshotReadError when the
// stream is malformed.
std::optional<std::u16string> SnapshotUnicodeText(std::span<const std::uint8_t> stream);

// The text of a CF_UNICODETEXT block (UTF-16, little-endian) up to its first terminating zero,
// or the whole block when it has none.
std::u16string UnicodeTextUpToZero(std::span<const std::uint8_t> block);

}  // namespace app
