// Writes skin files: the archive of named entries, then the .skn around it. The program
// itself never writes skins; the packer in tools/ makes the shipped ones with this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

struct SkinArchiveEntry {
  std::u16string name;  // stored as given (code page 936); the reader compares it in lower case
  std::vector<uint8_t> body;
};

// The unpacked archive of one of the six versions: header, a zeroed version block, the names
// one a line (CR LF), the sizes, the bodies. Raises std::invalid_argument for an unknown
// version, a name holding a line break, more than 1001 entries, or more than the reader takes.
std::vector<uint8_t> BuildSkinArchive(uint32_t version, const std::vector<SkinArchiveEntry>& entries);

// A .skn file: the archive's size, then the archive LZHUF-packed.
std::vector<uint8_t> PackSkinFile(const std::vector<uint8_t>& archive);

}  // namespace skin
