// Builds small compound files and BIFF8 record streams byte by byte for the .xls tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace app::test {

inline void Put16(std::string& b, std::uint16_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8));
}
inline void Put32(std::string& b, std::uint32_t v) {
  Put16(b, static_cast<std::uint16_t>(v));
  Put16(b, static_cast<std::uint16_t>(v >> 16));
}
inline void PutF64(std::string& b, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  Put32(b, static_cast<std::uint32_t>(bits));
  Put32(b, static_cast<std::uint32_t>(bits >> 32));
}

inline std::string Record(std::uint16_t id, const std::string& data) {
  std::string r;
  Put16(r, id);
  Put16(r, static_cast<std::uint16_t>(data.size()));
  return r + data;
}

struct Stream {
  std::u16string name;
  std::string bytes;
};

// A version 3 compound file (512-byte sectors) whose streams all lie in regular sectors (each
// padded to at least 4096 bytes so none belongs in the mini stream). With loopChain, the third
// sector of the first stream points back to its first one.
inline std::string CompoundFileOf(std::vector<Stream> streams, bool loopChain = false) {
  constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;
  std::vector<std::uint32_t> fat{kFatSector, kEnd};  // sector 0: the table, 1: the directory
  std::string sectors(1024, '\0');
  std::vector<std::uint32_t> starts;
  for (Stream& s : streams) {
    if (s.bytes.size() < 4096) s.bytes.resize(4096, '\0');
    const std::uint32_t first = static_cast<std::uint32_t>(fat.size());
    starts.push_back(first);
    const std::size_t count = (s.bytes.size() + 511) / 512;
    for (std::size_t i = 0; i < count; ++i) fat.push_back(i + 1 < count ? first + i + 1 : kEnd);
    if (loopChain && starts.size() == 1 && count > 3) fat[first + 2] = first;
    std::string data = s.bytes;
    data.resize(count * 512, '\0');
    sectors += data;
  }
  if (fat.size() > 128) throw std::length_error("one table sector only");
  std::string table;
  for (std::size_t i = 0; i < 128; ++i) Put32(table, i < fat.size() ? fat[i] : kFree);
  sectors.replace(0, 512, table);
  std::string directory;
  auto entry = [&](std::u16string name, std::uint8_t type, std::uint32_t start, std::uint32_t size,
                   std::uint32_t child, std::uint32_t right) {
    std::string e(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
      e[i * 2] = static_cast<char>(name[i] & 0xFF);
      e[i * 2 + 1] = static_cast<char>(name[i] >> 8);
    }
    const std::uint16_t nameBytes = static_cast<std::uint16_t>((name.size() + 1) * 2);
    e[64] = static_cast<char>(nameBytes);
    e[66] = static_cast<char>(type);
    std::string tail;
    Put32(tail, 0xFFFFFFFF);  // left
    Put32(tail, right);
    Put32(tail, child);
    e.replace(68, 12, tail);
    std::string where;
    Put32(where, start);
    Put32(where, size);
    e.replace(116, 8, where);
    directory += e;
  };
  entry(u"Root Entry", 5, kEnd, 0, streams.empty() ? 0xFFFFFFFF : 1, 0xFFFFFFFF);
  for (std::size_t i = 0; i < streams.size(); ++i) {
    entry(streams[i].name, 2, starts[i], static_cast<std::uint32_t>(streams[i].bytes.size()), 0xFFFFFFFF,
          i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : 0xFFFFFFFF);
  }
  directory.resize(512, '\0');
  sectors.replace(512, 512, directory);

  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header.resize(24, '\0');
  Put16(header, 0x3E);
  Put16(header, 3);
  Put16(header, 0xFFFE);
  Put16(header, 9);
  Put16(header, 6);
  header.resize(44, '\0');
  Put32(header, 1);       // table sectors
  Put32(header, 1);       // first directory sector
  Put32(header, 0);
  Put32(header, 4096);    // mini stream cutoff
  Put32(header, kEnd);    // mini table
  Put32(header, 0);
  Put32(header, kEnd);    // DIFAT
  Put32(header, 0);
  Put32(header, 0);       // the table is sector 0
  while (header.size() < 512) Put32(header, kFree);
  return header + sectors;
}

}  // namespace app::test
