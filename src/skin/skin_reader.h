// The skin archive (.skn): a 32-bit unpacked size, then an LZHUF stream of
//   version, name-list length, two unread words, a version block, the entry names (one a
//   line), one 32-bit size per entry, and the entry bodies back to back.
// TSkinReader unpacks it and serves entries by name. Every size in the file is checked
// against the data before it is used; a damaged file is refused whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "unicode/stream.h"

namespace skin {

inline constexpr std::array<uint32_t, 6> kSkinVersions = {20000, 30000, 40000, 50000, 60000, 70000};
// Bytes of the version block after the 16-byte header; -1 for an unknown version.
int SkinVersionBlockSize(uint32_t version);

inline constexpr size_t kMaxSkinEntries = 1001;
inline constexpr uint64_t kMaxUnpackedSkinSize = 64u << 20;
// Input bytes that may be missing at the end of a stream (read as zeros) before it counts
// as damaged; a whole stream needs at most two beyond its last byte.
inline constexpr uint64_t kSkinMissingInputLimit = 64;

inline constexpr char16_t kOlderSkinMessage[] = u"This is Older Skin File\rPlease update to new version !";

enum class SkinReadStatus { Read, UnknownVersion, Damaged };

class TSkinReader {
 public:
  // Unpacks source from its start and takes the archive in. True when it was read. An
  // unknown version (Message() is kOlderSkinMessage) or a damaged file answers false and
  // leaves Names, Count, Sizes and Data as they were.
  bool LoadFromStream(unicode::TStream& source);

  // Empties dest and writes into it the body of the first entry named name (compared in
  // lower case); dest is left at position 0. No such entry leaves dest empty.
  void GetEntry(std::u16string_view name, unicode::TMemoryStream& dest) const;
  // The same for the first entry whose name contains part (compared as given, so callers
  // write it in lower case); entryName gets that entry's name and is untouched on no match.
  void FindEntry(std::u16string_view part, unicode::TMemoryStream& dest, std::u16string& entryName) const;

  const std::vector<std::u16string>& Names() const { return names_; }  // lower-cased
  int Count() const { return static_cast<int>(names_.size()); }
  const std::array<uint32_t, kMaxSkinEntries>& Sizes() const { return sizes_; }
  const std::vector<uint8_t>& Data() const { return data_; }
  const std::array<uint32_t, 4>& Header() const { return header_; }

  SkinReadStatus Status() const { return status_; }
  // Why the last load failed: kOlderSkinMessage, or a Chinese text for damage.
  const std::u16string& Message() const { return message_; }

 private:
  void Refuse(SkinReadStatus status, std::u16string message);
  void CopyEntry(size_t index, unicode::TMemoryStream& dest) const;

  std::vector<std::u16string> names_;
  std::array<uint32_t, kMaxSkinEntries> sizes_{};
  std::vector<uint64_t> offsets_;  // where each body starts in data_
  std::vector<uint8_t> data_;
  std::array<uint32_t, 4> header_{};
  SkinReadStatus status_ = SkinReadStatus::Read;
  std::u16string message_;
};

}  // namespace skin
