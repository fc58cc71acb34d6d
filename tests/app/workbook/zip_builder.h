// Builds zip archives byte by byte for the .xlsx tests.
#pragma once

#include <zlib.h>

#include <string>
#include <vector>

#include "compound_builder.h"

namespace app::test {

struct ZipMember {
  std::string name;
  std::string data;
  bool deflate = true;
  std::uint16_t flags = 0;
  std::uint32_t declaredSize = 0;  // 0: the real size
};

inline std::string Deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string ZipOf(const std::vector<ZipMember>& members) {
  std::string file, directory;
  for (const ZipMember& m : members) {
    const std::string packed = m.deflate ? Deflate(m.data) : m.data;
    const std::uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size()));
    const std::uint32_t size = m.declaredSize ? m.declaredSize : static_cast<std::uint32_t>(m.data.size());
    auto common = [&](std::string& h) {
      Put16(h, 20);
      Put16(h, m.flags);
      Put16(h, m.deflate ? 8 : 0);
      Put32(h, 0);
      Put32(h, crc);
      Put32(h, static_cast<std::uint32_t>(packed.size()));
      Put32(h, size);
      Put16(h, static_cast<std::uint16_t>(m.name.size()));
      Put16(h, 0);
    };
    std::string local;
    Put32(local, 0x04034B50);
    common(local);
    std::string entry;
    Put32(entry, 0x02014B50);
    Put16(entry, 20);
    common(entry);
    Put16(entry, 0);
    Put16(entry, 0);
    Put16(entry, 0);
    Put32(entry, 0);
    Put32(entry, static_cast<std::uint32_t>(file.size()));
    directory += entry + m.name;
    file += local + m.name + packed;
  }
  std::string end;
  Put32(end, 0x06054B50);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<std::uint16_t>(members.size()));
  Put16(end, static_cast<std::uint16_t>(members.size()));
  Put32(end, static_cast<std::uint32_t>(directory.size()));
  Put32(end, static_cast<std::uint32_t>(file.size()));
  Put16(end, 0);
  return file + directory + end;
}

// A workbook of one sheet whose <sheetData> is given.
inline std::vector<ZipMember> XlsxParts(const std::string& sheetData) {
  return {
      {"[Content_Types].xml", "<Types/>"},
      {"_rels/.rels",
       "<Relationships><Relationship Id=\"r1\" Type=\"http://x/officeDocument\" Target=\"xl/workbook.xml\"/>"
       "</Relationships>"},
      {"xl/workbook.xml", "<workbook><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" Target=\"/xl/worksheets/../worksheets/s.xml\"/>"
       "</Relationships>"},
      {"xl/worksheets/s.xml", "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
  };
}

}  // namespace app::test
