#include "app/workbook/compound_file.h"

#include <algorithm>

#include "app/workbook/workbook_error.h"

namespace app {

namespace {
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::size_t kMiniSector = 64;
constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::uint32_t U32(std::string_view b, std::size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}
[[noreturn]] void Damaged() { throw WorkbookFailure(WorkbookError::Damaged); }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
}  // namespace

bool CompoundFile::LooksLikeCompoundFile(std::string_view bytes) {
  return bytes.size() >= 8 && std::equal(bytes.begin(), bytes.begin() + 8, kSignature,
                                         [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

std::string_view CompoundFile::sector(std::uint32_t index) const {
  if (index >= sectorCount_) Damaged();
  const std::size_t at = (std::size_t(index) + 1) * sectorSize_;
  return bytes_.substr(at, std::min(sectorSize_, bytes_.size() - at));
}

CompoundFile::CompoundFile(std::string_view bytes) : bytes_(bytes) {
  if (bytes.size() < 512 || !LooksLikeCompoundFile(bytes)) Damaged();
  const std::uint16_t shift = U16(bytes, 30);
  if (shift != 9 && shift != 12) Damaged();
  if (U16(bytes, 32) != 6) Damaged();  // 64-byte mini sectors
  sectorSize_ = std::size_t(1) << shift;
  if (bytes.size() < sectorSize_) Damaged();
  // A last sector cut short still counts; its missing bytes are never read.
  sectorCount_ = static_cast<std::uint32_t>((bytes.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_);
  const std::uint32_t fatSectors = U32(bytes, 44);
  const std::uint32_t directoryStart = U32(bytes, 48);
  miniCutoff_ = U32(bytes, 56);
  const std::uint32_t miniFatStart = U32(bytes, 60);
  const std::uint32_t miniFatSectors = U32(bytes, 64);
  std::uint32_t difatNext = U32(bytes, 68);
  const std::uint32_t difatSectors = U32(bytes, 72);
  if (fatSectors > sectorCount_ || miniFatSectors > sectorCount_ || difatSectors > sectorCount_) Damaged();

  // The sectors of the allocation table: 109 in the header, the rest in a chain of DIFAT sectors.
  std::vector<std::uint32_t> fatSectorList;
  for (std::size_t i = 0; i < 109 && fatSectorList.size() < fatSectors; ++i) {
    fatSectorList.push_back(U32(bytes, 76 + i * 4));
  }
  const std::size_t perSector = sectorSize_ / 4;
  for (std::uint32_t steps = 0; fatSectorList.size() < fatSectors; ++steps) {
    if (steps >= difatSectors || difatNext >= sectorCount_) Damaged();
    const std::string_view s = sector(difatNext);
    if (s.size() < sectorSize_) Damaged();
    for (std::size_t i = 0; i + 1 < perSector && fatSectorList.size() < fatSectors; ++i) {
      fatSectorList.push_back(U32(s, i * 4));
    }
    difatNext = U32(s, (perSector - 1) * 4);
  }
  fat_.reserve(fatSectorList.size() * perSector);
  for (std::uint32_t index : fatSectorList) {
    const std::string_view s = sector(index);
    if (s.size() < sectorSize_) Damaged();
    for (std::size_t i = 0; i < perSector; ++i) fat_.push_back(U32(s, i * 4));
  }

  // The directory: 128-byte entries.
  const std::string directory = chain(directoryStart, UINT64_MAX, false);
  for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
    const std::string_view e(directory.data() + at, 128);
    Entry entry;
    const std::size_t nameBytes = std::min<std::size_t>(U16(e, 64), 64);
    // The length counts the terminating zero.
    for (std::size_t i = 0; i + 2 < nameBytes; i += 2) entry.name.push_back(static_cast<char16_t>(U16(e, i)));
    entry.type = static_cast<std::uint8_t>(e[66]);
    entry.start = U32(e, 116);
    // Version 3 files keep only 32 bits of size; the high half may hold rubbish there.
    entry.size = shift == 9 ? U32(e, 120) : (std::uint64_t(U32(e, 124)) << 32 | U32(e, 120));
    entries_.push_back(std::move(entry));
  }
  if (entries_.empty() || entries_[0].type != 5) Damaged();

  // The mini stream lives in the root entry's chain; its table in a chain of its own.
  if (miniFatSectors > 0 && miniFatStart != kEndOfChain) {
    const std::string table = chain(miniFatStart, UINT64_MAX, false);
    for (std::size_t at = 0; at + 4 <= table.size(); at += 4) miniFat_.push_back(U32(table, at));
    const Entry& root = entries_[0];
    if (root.size > bytes.size()) Damaged();
    miniStream_ = chain(root.start, root.size, false);
  }
}

std::string CompoundFile::chain(std::uint32_t start, std::uint64_t size, bool mini) const {
  const std::vector<std::uint32_t>& table = mini ? miniFat_ : fat_;
  const std::size_t limit = mini ? miniStream_.size() / kMiniSector : sectorCount_;
  std::string out;
  if (size != UINT64_MAX) out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes_.size())));
  // A chain that comes back to a sector it passed is a loop: the file is damaged.
  std::vector<bool> visited(std::min(limit, table.size()));
  std::uint32_t index = start;
  while (index != kEndOfChain && out.size() < size) {
    if (index >= visited.size() || visited[index]) Damaged();
    visited[index] = true;
    if (mini) {
      if ((std::size_t(index) + 1) * kMiniSector > miniStream_.size()) Damaged();
      out.append(miniStream_, std::size_t(index) * kMiniSector, kMiniSector);
    } else {
      out.append(sector(index));
    }
    index = table[index];
  }
  if (size != UINT64_MAX) {
    if (out.size() < size) Damaged();
    out.resize(static_cast<std::size_t>(size));
  }
  return out;
}

const CompoundFile::Entry* CompoundFile::find(std::u16string_view name) const {
  for (const Entry& e : entries_) {
    if (e.type != 2 || e.name.size() != name.size()) continue;
    if (std::equal(e.name.begin(), e.name.end(), name.begin(),
                   [](char16_t a, char16_t b) { return Lower(a) == Lower(b); })) {
      return &e;
    }
  }
  return nullptr;
}

bool CompoundFile::hasStream(std::u16string_view name) const { return find(name) != nullptr; }

std::optional<std::string> CompoundFile::readStream(std::u16string_view name, std::size_t maxBytes) const {
  const Entry* e = find(name);
  if (!e) return std::nullopt;
  if (e->size > maxBytes) throw WorkbookFailure(WorkbookError::TooLarge);
  if (e->size > bytes_.size()) Damaged();
  return chain(e->start, e->size, e->size < miniCutoff_);
}

}  // namespace app
