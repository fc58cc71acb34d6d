// The text of a snapshot, read straight from its text records rather than through the
// clipboard, so that loading an entry needs no clipboard round trip.
#include <algorithm>

#include "app/snapshot/snapshot_formats.h"
#include "app/snapshot/snapshot_stream.h"
#include "unicode/codepage.h"

namespace app {

namespace {

const SnapshotFormat* FindPredefined(const DecodedSnapshot& snapshot, std::uint32_t id) {
  for (const auto& format : snapshot.formats)
    if (format.name.empty() && static_cast<std::uint32_t>(format.id) == id) return &format;
  return nullptr;
}

std::u16string AnsiTextUpToZero(std::span<const std::uint8_t> data) {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return unicode::AnsiToUtf16(
      std::string_view(reinterpret_cast<const char*>(data.data()), static_cast<std::size_t>(end - data.begin())));
}

}  // namespace

std::u16string UnicodeTextUpToZero(std::span<const std::uint8_t> block) {
  std::u16string text;
  text.reserve(block.size() / 2);
  for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(block[i] | (block[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

std::optional<std::u16string> SnapshotUnicodeText(std::span<const std::uint8_t> stream) {
  const DecodedSnapshot snapshot = DecodeSnapshot(stream);
  if (const auto* wide = FindPredefined(snapshot, clipformat::kUnicodeText)) return UnicodeTextUpToZero(wide->data);
  // On the target systems both the ANSI and the OEM code page are 936.
  for (const std::uint32_t id : {clipformat::kText, clipformat::kOemText})
    if (const auto* ansi = FindPredefined(snapshot, id)) return AnsiTextUpToZero(ansi->data);
  return std::nullopt;
}

}  // namespace app
