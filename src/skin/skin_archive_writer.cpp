#include "skin/skin_archive_writer.h"

#include <stdexcept>
#include <string>

#include "skin/lzh.h"
#include "skin/skin_reader.h"
#include "unicode/codepage.h"

namespace skin {

namespace {
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> BuildSkinArchive(uint32_t version, const std::vector<SkinArchiveEntry>& entries) {
  const int block = SkinVersionBlockSize(version);
  if (block < 0) throw std::invalid_argument("unknown skin version " + std::to_string(version));
  if (entries.size() > kMaxSkinEntries) throw std::invalid_argument("more than 1001 skin entries");
  std::string names;
  for (const SkinArchiveEntry& e : entries) {
    if (e.name.find_first_of(u"\r\n") != std::u16string::npos) throw std::invalid_argument("entry name with a line break");
    names += unicode::Utf16ToAnsi(e.name) + "\r\n";
  }
  std::vector<uint8_t> out;
  PutU32(out, version);
  PutU32(out, static_cast<uint32_t>(names.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  out.insert(out.end(), static_cast<size_t>(block), 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const SkinArchiveEntry& e : entries) PutU32(out, static_cast<uint32_t>(e.body.size()));
  for (const SkinArchiveEntry& e : entries) out.insert(out.end(), e.body.begin(), e.body.end());
  if (out.size() > kMaxUnpackedSkinSize) throw std::invalid_argument("skin archive larger than 64 MB");
  return out;
}

std::vector<uint8_t> PackSkinFile(const std::vector<uint8_t>& archive) {
  std::vector<uint8_t> file;
  PutU32(file, static_cast<uint32_t>(archive.size()));
  const std::vector<uint8_t> packed = LzhPack(archive.data(), archive.size());
  file.insert(file.end(), packed.begin(), packed.end());
  return file;
}

}  // namespace skin
