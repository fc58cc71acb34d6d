// A bounded reader of zip archives (the container of .xlsx): the central directory is read
// whole, a member is inflated through zlib only up to a limit, and every offset and size is
// checked against the archive's bytes. ZIP64, split and encrypted archives are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class ZipArchive {
 public:
  // Throws WorkbookFailure (Damaged) when the bytes are no zip archive this reader takes.
  explicit ZipArchive(std::string_view bytes);

  bool contains(std::string_view name) const { return find(name) != nullptr; }
  // The member's bytes; nothing when there is no such member. Throws WorkbookFailure:
  // TooLarge past maxBytes, Encrypted, Damaged (bad data, a wrong checksum).
  std::optional<std::string> read(std::string_view name, std::size_t maxBytes) const;

  static bool LooksLikeZip(std::string_view bytes);

 private:
  struct Member {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localOffset = 0;
  };
  const Member* find(std::string_view name) const;

  std::string_view bytes_;
  std::size_t directoryStart_ = 0;
  std::vector<Member> members_;
};

}  // namespace app
