#include "app/snapshot/snapshot_stream.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "app/snapshot/snapshot_values.h"

namespace app {

namespace {

constexpr std::int32_t kHighestFormatId = 0xFFFF;

// Grows geometrically even when asked for exact room, so that many small records do not
// copy the buffer once each.
void MakeRoom(SnapshotBytes& bytes, std::size_t extra) {
  const std::size_t need = bytes.size() + extra;
  if (need > bytes.capacity()) bytes.reserve(std::max(need, bytes.capacity() * 2));
}

// At most the bytes a record takes: two 5-byte integers, a string tag with a 4-byte
// length, the name (UTF-8 takes at most 3 bytes for each 2-byte code page 936 character,
// or for each single byte that is not ASCII), the data.
std::size_t RecordBound(std::string_view ansi_name, std::span<const std::uint8_t> data) {
  return 15 + ansi_name.size() * 3 + data.size();
}

// Walks a stream once. `keep` receives each record; without it names are only checked,
// not converted, which is all that validation needs.
template <typename Keep>
std::size_t ParseSnapshot(std::span<const std::uint8_t> stream, Keep keep) {
  SnapshotValueReader reader(stream);
  if (reader.ReadByte() != kSnapshotListStart) throw SnapshotReadError(SnapshotReadError::Kind::kInvalidValue);
  while (reader.PeekByte() != kSnapshotListEnd) {
    SnapshotFormat record;
    record.id = reader.ReadInteger();
    if (record.id < 0 || record.id > kHighestFormatId)
      throw SnapshotReadError(SnapshotReadError::Kind::kInvalidValue);
    if constexpr (Keep::kWantsNames) {
      record.name = reader.ReadString();
    } else {
      reader.SkipString();
    }
    const std::int32_t count = reader.ReadInteger();
    if (count < 0) throw SnapshotReadError(SnapshotReadError::Kind::kInvalidValue);
    // ReadBytes checks the count against what is left before anything is kept.
    record.data = reader.ReadBytes(static_cast<std::size_t>(count));
    keep(std::move(record));
  }
  reader.ReadByte();
  return reader.position();
}

struct KeepRecords {
  static constexpr bool kWantsNames = true;
  std::vector<SnapshotFormat>* out;
  void operator()(SnapshotFormat&& record) const { out->push_back(std::move(record)); }
};

struct DropRecords {
  static constexpr bool kWantsNames = false;
  void operator()(SnapshotFormat&&) const {}
};

}  // namespace

SnapshotWriter::SnapshotWriter(std::size_t expected_bytes) {
  bytes_.reserve(std::max<std::size_t>(expected_bytes, 2));
  bytes_.push_back(kSnapshotListStart);
}

void SnapshotWriter::AddFormat(std::int32_t id, std::string_view ansi_name, std::span<const std::uint8_t> data) {
  if (data.empty()) return;
  // A longer block would need the 8-byte count, which no reader accepts.
  if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("Clipboard format too large for a snapshot");
  MakeRoom(bytes_, RecordBound(ansi_name, data));
  AppendTaggedInteger(bytes_, id);
  AppendTaggedString(bytes_, ansi_name);
  AppendTaggedInteger(bytes_, static_cast<std::int32_t>(data.size()));
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  ++format_count_;
}

SnapshotBytes SnapshotWriter::Finish() && {
  bytes_.push_back(kSnapshotListEnd);
  return std::move(bytes_);
}

SnapshotBytes EncodeSnapshot(std::span<const SnapshotFormat> formats) {
  std::size_t total = 2;
  for (const auto& format : formats) total += RecordBound(format.name, format.data);
  SnapshotWriter writer(total);
  for (const auto& format : formats) writer.AddFormat(format.id, format.name, format.data);
  return std::move(writer).Finish();
}

DecodedSnapshot DecodeSnapshot(std::span<const std::uint8_t> stream) {
  DecodedSnapshot decoded;
  decoded.length = ParseSnapshot(stream, KeepRecords{&decoded.formats});
  return decoded;
}

SnapshotCheck ValidateSnapshot(std::span<const std::uint8_t> stream) noexcept {
  SnapshotCheck check;
  try {
    check.length = ParseSnapshot(stream, DropRecords{});
    check.valid = true;
  } catch (const SnapshotReadError& error) {
    check.error = error.what();
  }
  return check;
}

}  // namespace app
