// A bounded reader of compound files (the container of Excel 97-2003 .xls): the sector
// allocation table, the directory and the mini stream. Every chain is followed at most as
// many steps as the file has sectors, so a chain that loops is reported, not followed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class CompoundFile {
 public:
  // Throws WorkbookFailure (Damaged) when the header or the tables do not hold together.
  explicit CompoundFile(std::string_view bytes);

  static bool LooksLikeCompoundFile(std::string_view bytes);

  // A stream of the root storage by name (ASCII case ignored); nothing when absent.
  // Throws WorkbookFailure: Damaged, TooLarge past maxBytes.
  std::optional<std::string> readStream(std::u16string_view name, std::size_t maxBytes) const;
  bool hasStream(std::u16string_view name) const;

 private:
  struct Entry {
    std::u16string name;
    std::uint8_t type = 0;  // 1 storage, 2 stream, 5 root
    std::uint32_t start = 0;
    std::uint64_t size = 0;
  };
  std::string chain(std::uint32_t start, std::uint64_t size, bool mini) const;
  std::string_view sector(std::uint32_t index) const;
  const Entry* find(std::u16string_view name) const;

  std::string_view bytes_;
  std::size_t sectorSize_ = 512;
  std::uint32_t sectorCount_ = 0;
  std::uint32_t miniCutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> miniFat_;
  std::vector<Entry> entries_;
  std::string miniStream_;
};

}  // namespace app
