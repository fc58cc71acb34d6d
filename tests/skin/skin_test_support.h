// Building blocks for the skin tests: bitmap files, archives and skin files made in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_archive_writer.h"
#include "skin/skin_colors.h"
#include "skin/skin_reader.h"
#include "unicode/codepage.h"
#include "unicode/stream.h"

namespace skin_test {

using Bytes = std::vector<uint8_t>;

#ifdef _WIN32
inline constexpr char16_t kSeparator = u'\\';
#else
inline constexpr char16_t kSeparator = u'/';
#endif

// A file in the tests' scratch folder, and a file below the shipped data folder.
inline std::u16string ScratchPath(std::u16string_view name) {
  return unicode::Utf8ToUtf16(QUILL_SCRATCH_DIR) + kSeparator + std::u16string(name);
}
inline std::u16string DataPath(std::u16string_view folder, std::u16string_view name) {
  return unicode::Utf8ToUtf16(QUILL_DATA_DIR) + kSeparator + std::u16string(folder) + kSeparator + std::u16string(name);
}

inline void PutU16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A bitmap file of width x height pixels at 24 or 32 bits, bottom-up unless topDown;
// colour(x, y) gives each pixel (x, y from the top).
inline Bytes BmpFile(int width, int height, const std::function<skin::TColor(int, int)>& colour, int bits = 24,
                     bool topDown = false) {
  const int pixel = bits / 8;
  const int stride = (width * pixel + 3) / 4 * 4;
  Bytes out = {'B', 'M'};
  PutU32(out, static_cast<uint32_t>(54 + stride * height));
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(topDown ? -height : height));
  PutU16(out, 1);
  PutU16(out, static_cast<uint32_t>(bits));
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const skin::TColor c = colour(x, y);
      out.push_back(static_cast<uint8_t>(skin::BlueOf(c)));
      out.push_back(static_cast<uint8_t>(skin::GreenOf(c)));
      out.push_back(static_cast<uint8_t>(skin::RedOf(c)));
      if (pixel == 4) out.push_back(0);
    }
    while (out.size() - start < static_cast<size_t>(stride)) out.push_back(0);
  }
  return out;
}

inline Bytes SolidBmp(int width, int height, skin::TColor colour) {
  return BmpFile(width, height, [colour](int, int) { return colour; });
}

inline Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A .skn file of the given entries (name, body), version 70000 unless said.
inline Bytes SkinFile(const std::vector<skin::SkinArchiveEntry>& entries, uint32_t version = 70000) {
  return skin::PackSkinFile(skin::BuildSkinArchive(version, entries));
}

// A .skn file of an INI text (entry "skin.ini", code page 936) and named bitmaps.
inline Bytes SkinFromIni(std::u16string_view ini, std::vector<skin::SkinArchiveEntry> images = {}) {
  const std::string bytes = unicode::Utf16ToAnsi(ini);
  images.insert(images.begin(), skin::SkinArchiveEntry{u"skin.ini", Bytes(bytes.begin(), bytes.end())});
  return SkinFile(images);
}

// An archive laid out by hand (fields as given, not checked), packed into a .skn file.
inline Bytes RawSkin(uint32_t version, std::string_view names, const std::vector<uint32_t>& sizes, std::string_view bodies,
                     int blockSize = -1, uint32_t nameListLength = UINT32_MAX) {
  Bytes archive;
  PutU32(archive, version);
  PutU32(archive, nameListLength == UINT32_MAX ? static_cast<uint32_t>(names.size()) : nameListLength);
  PutU32(archive, 0);
  PutU32(archive, 0);
  archive.insert(archive.end(), static_cast<size_t>(blockSize < 0 ? skin::SkinVersionBlockSize(version) : blockSize), 0);
  archive.insert(archive.end(), names.begin(), names.end());
  for (uint32_t s : sizes) PutU32(archive, s);
  archive.insert(archive.end(), bodies.begin(), bodies.end());
  return skin::PackSkinFile(archive);
}

inline bool Load(skin::TSkinReader& reader, const Bytes& file) {
  unicode::TMemoryStream stream(file);
  return reader.LoadFromStream(stream);
}

inline std::string Entry(const skin::TSkinReader& reader, std::u16string_view name) {
  unicode::TMemoryStream out;
  reader.GetEntry(name, out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

}  // namespace skin_test
