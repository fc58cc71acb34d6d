#include "app/workbook/zip_archive.h"

#include <zlib.h>

#include <algorithm>

#include "app/workbook/workbook_error.h"

namespace app {

namespace {
constexpr std::uint32_t kEndOfDirectory = 0x06054B50;
constexpr std::uint32_t kDirectoryEntry = 0x02014B50;
constexpr std::uint32_t kLocalHeader = 0x04034B50;

std::uint32_t U32(std::string_view b, std::size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

[[noreturn]] void Fail(WorkbookError e) { throw WorkbookFailure(e); }

bool SameName(std::string_view a, std::string_view b) {
  // Part names of the package compare without regard to ASCII case.
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}
}  // namespace

bool ZipArchive::LooksLikeZip(std::string_view bytes) { return bytes.size() >= 4 && U32(bytes, 0) == kLocalHeader; }

ZipArchive::ZipArchive(std::string_view bytes) : bytes_(bytes) {
  if (bytes.size() < 22) Fail(WorkbookError::Damaged);
  // The end record is in the last 22 + 65535 bytes (its comment may be that long).
  std::size_t end = std::string_view::npos;
  const std::size_t lowest = bytes.size() > 22 + 65535 ? bytes.size() - 22 - 65535 : 0;
  for (std::size_t at = bytes.size() - 22 + 1; at-- > lowest;) {
    if (U32(bytes, at) == kEndOfDirectory && at + 22 + U16(bytes, at + 20) <= bytes.size()) {
      end = at;
      break;
    }
  }
  if (end == std::string_view::npos) Fail(WorkbookError::Damaged);
  const std::uint16_t disk = U16(bytes, end + 4), directoryDisk = U16(bytes, end + 6);
  const std::uint16_t count = U16(bytes, end + 10);
  const std::uint32_t directorySize = U32(bytes, end + 12), directoryOffset = U32(bytes, end + 16);
  if (disk != 0 || directoryDisk != 0) Fail(WorkbookError::Damaged);  // split archives
  if (count == 0xFFFF || directoryOffset == 0xFFFFFFFF) Fail(WorkbookError::Damaged);  // ZIP64
  if (directoryOffset > end || directorySize > end - directoryOffset) Fail(WorkbookError::Damaged);
  directoryStart_ = directoryOffset;

  std::size_t at = directoryOffset;
  const std::size_t stop = std::size_t(directoryOffset) + directorySize;
  members_.reserve(count);
  for (int i = 0; i < count; ++i) {
    if (at + 46 > stop || U32(bytes, at) != kDirectoryEntry) Fail(WorkbookError::Damaged);
    Member m;
    m.flags = U16(bytes, at + 8);
    m.method = U16(bytes, at + 10);
    m.crc = U32(bytes, at + 16);
    m.packedSize = U32(bytes, at + 20);
    m.size = U32(bytes, at + 24);
    const std::size_t nameLength = U16(bytes, at + 28), extra = U16(bytes, at + 30), comment = U16(bytes, at + 32);
    m.localOffset = U32(bytes, at + 42);
    if (at + 46 + nameLength + extra + comment > stop) Fail(WorkbookError::Damaged);
    m.name.assign(bytes.substr(at + 46, nameLength));
    members_.push_back(std::move(m));
    at += 46 + nameLength + extra + comment;
  }
}

const ZipArchive::Member* ZipArchive::find(std::string_view name) const {
  if (!name.empty() && name.front() == '/') name.remove_prefix(1);
  for (const Member& m : members_) {
    if (SameName(m.name, name)) return &m;
  }
  return nullptr;
}

std::optional<std::string> ZipArchive::read(std::string_view name, std::size_t maxBytes) const {
  const Member* m = find(name);
  if (!m) return std::nullopt;
  if (m->flags & 1) Fail(WorkbookError::Encrypted);
  // The member's data lies between its local header and the central directory.
  const std::size_t local = m->localOffset;
  if (local + 30 > directoryStart_ || U32(bytes_, local) != kLocalHeader) Fail(WorkbookError::Damaged);
  const std::size_t dataStart = local + 30 + U16(bytes_, local + 26) + U16(bytes_, local + 28);
  if (dataStart > directoryStart_ || m->packedSize > directoryStart_ - dataStart) Fail(WorkbookError::Damaged);
  const std::string_view packed = bytes_.substr(dataStart, m->packedSize);

  std::string out;
  if (m->method == 0) {
    if (packed.size() > maxBytes) Fail(WorkbookError::TooLarge);
    out.assign(packed);
  } else if (m->method == 8) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) Fail(WorkbookError::Damaged);
    struct End {
      z_stream& z;
      ~End() { inflateEnd(&z); }
    } end{z};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    // The declared size is only a hint: the output grows as it comes, never past the limit.
    out.resize(std::min<std::size_t>(std::max<std::size_t>(m->size, 4096), maxBytes + 1));
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
      if (z.total_out == out.size()) {
        if (out.size() > maxBytes) Fail(WorkbookError::TooLarge);
        out.resize(std::min(out.size() * 2, maxBytes + 1));
      }
      z.next_out = reinterpret_cast<Bytef*>(out.data() + z.total_out);
      z.avail_out = static_cast<uInt>(out.size() - z.total_out);
      rc = inflate(&z, Z_NO_FLUSH);
      // No progress with room left in the output: the data was cut short.
      if (rc == Z_BUF_ERROR && z.avail_out > 0) Fail(WorkbookError::Damaged);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) Fail(WorkbookError::Damaged);
    }
    if (z.total_out > maxBytes) Fail(WorkbookError::TooLarge);
    out.resize(z.total_out);
  } else {
    Fail(WorkbookError::Damaged);
  }
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()));
  if (crc != m->crc) Fail(WorkbookError::Damaged);
  return out;
}

}  // namespace app
