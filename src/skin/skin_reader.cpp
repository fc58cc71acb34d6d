#include "skin/skin_reader.h"

#include <algorithm>
#include <new>

#include "skin/lzh.h"
#include "skin/skin_text.h"
#include "unicode/codepage.h"
#include "unicode/wide_exceptions.h"

namespace skin {

int SkinVersionBlockSize(uint32_t version) {
  switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
  }
}

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The archive as laid out in the unpacked bytes, checked against their length.
struct ArchiveLayout {
  std::array<uint32_t, 4> header{};
  std::vector<std::u16string> names;
  std::array<uint32_t, kMaxSkinEntries> sizes{};
  size_t bodiesAt = 0;
};

const char16_t* CheckLayout(const std::vector<uint8_t>& archive, ArchiveLayout& layout) {
  const uint64_t length = archive.size();
  const uint64_t block = static_cast<uint64_t>(SkinVersionBlockSize(layout.header[0]));
  const uint64_t namesAt = 16 + block;
  const uint64_t namesLength = layout.header[1];
  if (namesAt + namesLength > length) return u"条目名单超出了数据";
  const std::string_view nameBytes(reinterpret_cast<const char*>(archive.data() + namesAt), namesLength);
  layout.names = SplitTextLines(AsciiLower(unicode::AnsiToUtf16(nameBytes)));
  if (layout.names.size() > kMaxSkinEntries) return u"条目多于 1001 个";
  const uint64_t sizesAt = namesAt + namesLength;
  const uint64_t count = layout.names.size();
  if (sizesAt + 4 * count > length) return u"条目大小表超出了数据";
  uint64_t bodies = 0;
  for (size_t i = 0; i < count; ++i) {
    layout.sizes[i] = ReadU32(archive.data() + sizesAt + 4 * i);
    bodies += layout.sizes[i];
  }
  layout.bodiesAt = static_cast<size_t>(sizesAt + 4 * count);
  if (bodies > length - layout.bodiesAt) return u"条目内容超出了数据";
  return nullptr;
}

}  // namespace

void TSkinReader::Refuse(SkinReadStatus status, std::u16string message) {
  status_ = status;
  message_ = std::move(message);
}

bool TSkinReader::LoadFromStream(unicode::TStream& source) {
  std::vector<uint8_t> archive;
  try {
    source.SetPosition(0);
    uint8_t sizeField[4];
    if (source.Read(sizeField, 4) != 4) {
      Refuse(SkinReadStatus::Damaged, u"皮肤文件已损坏：文件太短");
      return false;
    }
    const uint32_t unpacked = ReadU32(sizeField);
    if (unpacked > kMaxUnpackedSkinSize) {
      Refuse(SkinReadStatus::Damaged, u"皮肤文件已损坏：解压后超过 64 MB");
      return false;
    }
    archive.reserve(std::min<size_t>(unpacked, 1u << 20));
    TLZH lzh;
    lzh.SetMissingInputLimit(kSkinMissingInputLimit);
    const bool whole = lzh.Unpack(
        unpacked, [&archive](const uint8_t* bytes, size_t count) { archive.insert(archive.end(), bytes, bytes + count); },
        [&source](uint8_t* buffer, size_t wanted) { return source.Read(buffer, wanted); });
    if (!whole) {
      Refuse(SkinReadStatus::Damaged, u"皮肤文件已损坏：压缩数据不完整");
      return false;
    }
  } catch (const unicode::WideException& e) {
    Refuse(SkinReadStatus::Damaged, u"皮肤文件读不出来：" + e.Message());
    return false;
  } catch (const std::bad_alloc&) {
    Refuse(SkinReadStatus::Damaged, u"皮肤文件读不出来：内存不足");
    return false;
  }

  ArchiveLayout layout;
  if (archive.size() < 16) {
    Refuse(SkinReadStatus::Damaged, u"皮肤文件已损坏：没有完整的文件头");
    return false;
  }
  for (int i = 0; i < 4; ++i) layout.header[i] = ReadU32(archive.data() + 4 * i);
  if (SkinVersionBlockSize(layout.header[0]) < 0) {
    Refuse(SkinReadStatus::UnknownVersion, kOlderSkinMessage);
    return false;
  }
  if (const char16_t* fault = CheckLayout(archive, layout)) {
    Refuse(SkinReadStatus::Damaged, std::u16string(u"皮肤文件已损坏：") + fault);
    return false;
  }

  header_ = layout.header;
  names_ = std::move(layout.names);
  sizes_ = layout.sizes;
  offsets_.assign(names_.size(), 0);
  uint64_t at = 0;
  for (size_t i = 0; i < names_.size(); ++i) {
    offsets_[i] = at;
    at += sizes_[i];
  }
  archive.erase(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(layout.bodiesAt));
  data_ = std::move(archive);
  status_ = SkinReadStatus::Read;
  message_.clear();
  return true;
}

void TSkinReader::CopyEntry(size_t index, unicode::TMemoryStream& dest) const {
  if (sizes_[index] != 0) dest.WriteBuffer(data_.data() + offsets_[index], sizes_[index]);
  dest.SetPosition(0);
}

void TSkinReader::GetEntry(std::u16string_view name, unicode::TMemoryStream& dest) const {
  dest.Clear();
  const std::u16string wanted = AsciiLower(name);
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) {
      CopyEntry(i, dest);
      return;
    }
  }
}

void TSkinReader::FindEntry(std::u16string_view part, unicode::TMemoryStream& dest, std::u16string& entryName) const {
  dest.Clear();
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(part) != std::u16string::npos) {
      CopyEntry(i, dest);
      entryName = names_[i];
      return;
    }
  }
}

}  // namespace skin
