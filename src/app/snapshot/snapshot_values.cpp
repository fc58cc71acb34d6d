#include "app/snapshot/snapshot_values.h"

#include <algorithm>
#include <limits>

#include "unicode/codepage.h"

namespace app {

namespace {

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool IsPlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

[[noreturn]] void InvalidValue() { throw SnapshotReadError(SnapshotReadError::Kind::kInvalidValue); }
[[noreturn]] void ReadPastEnd() { throw SnapshotReadError(SnapshotReadError::Kind::kReadPastEnd); }

}  // namespace

void AppendTaggedInteger(std::vector<std::uint8_t>& out, std::int32_t value) {
  if (value >= -128 && value <= 127) {
    out.push_back(kTagInt8);
    AppendLittleEndian(out, static_cast<std::uint32_t>(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    out.push_back(kTagInt16);
    AppendLittleEndian(out, static_cast<std::uint32_t>(value), 2);
  } else {
    out.push_back(kTagInt32);
    AppendLittleEndian(out, static_cast<std::uint32_t>(value), 4);
  }
}

void AppendTaggedString(std::vector<std::uint8_t>& out, std::string_view ansi) {
  std::string utf8;
  std::string_view body = ansi;
  if (IsPlainAscii(ansi)) {
    if (ansi.size() <= 255) {
      out.push_back(kTagString);
      AppendLittleEndian(out, static_cast<std::uint32_t>(ansi.size()), 1);
    } else {
      out.push_back(kTagLongString);
      AppendLittleEndian(out, static_cast<std::uint32_t>(ansi.size()), 4);
    }
  } else {
    utf8 = unicode::Utf16ToUtf8(unicode::AnsiToUtf16(ansi));
    body = utf8;
    out.push_back(kTagUtf8String);
    AppendLittleEndian(out, static_cast<std::uint32_t>(utf8.size()), 4);
  }
  out.insert(out.end(), body.begin(), body.end());
}

std::uint8_t SnapshotValueReader::ReadByte() {
  if (pos_ >= bytes_.size()) ReadPastEnd();
  return bytes_[pos_++];
}

std::uint8_t SnapshotValueReader::PeekByte() const {
  if (pos_ >= bytes_.size()) ReadPastEnd();
  return bytes_[pos_];
}

std::uint32_t SnapshotValueReader::ReadLittleEndian(std::size_t width) {
  if (remaining() < width) ReadPastEnd();
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes_[pos_ + i]) << (8 * i);
  pos_ += width;
  return value;
}

std::int32_t SnapshotValueReader::ReadInteger() {
  switch (ReadByte()) {
    case kTagInt8:
      return static_cast<std::int8_t>(ReadLittleEndian(1));
    case kTagInt16:
      return static_cast<std::int16_t>(ReadLittleEndian(2));
    case kTagInt32:
      return static_cast<std::int32_t>(ReadLittleEndian(4));
    default:
      InvalidValue();
  }
}

std::span<const std::uint8_t> SnapshotValueReader::ReadBytes(std::size_t count) {
  if (remaining() < count) ReadPastEnd();
  const auto view = bytes_.subspan(pos_, count);
  pos_ += count;
  return view;
}

std::span<const std::uint8_t> SnapshotValueReader::ReadStringBytes(bool& utf16, bool& utf8) {
  utf16 = false;
  utf8 = false;
  std::size_t length = 0;
  const std::uint8_t tag = ReadByte();
  switch (tag) {
    case kTagString:
      length = ReadLittleEndian(1);
      break;
    case kTagLongString:
    case kTagUtf8String:
    case kTagWideString: {
      const std::uint32_t raw = ReadLittleEndian(4);
      // The length is a signed 32-bit count: a negative one is no length at all.
      if (raw > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) InvalidValue();
      length = raw;
      if (tag == kTagWideString) {
        utf16 = true;
        // Checked before doubling, so that no count can wrap around the size type.
        if (length > remaining() / 2) ReadPastEnd();
        length *= 2;
      }
      utf8 = tag == kTagUtf8String;
      break;
    }
    default:
      InvalidValue();
  }
  return ReadBytes(length);
}

std::string SnapshotValueReader::ReadString() {
  bool utf16 = false;
  bool utf8 = false;
  const auto raw = ReadStringBytes(utf16, utf8);
  if (utf16) {
    std::u16string text(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    return unicode::Utf16ToAnsi(text);
  }
  const std::string_view bytes(reinterpret_cast<const char*>(raw.data()), raw.size());
  if (utf8 && !IsPlainAscii(bytes)) return unicode::Utf16ToAnsi(unicode::Utf8ToUtf16(bytes));
  return std::string(bytes);
}

void SnapshotValueReader::SkipString() {
  bool utf16 = false;
  bool utf8 = false;
  ReadStringBytes(utf16, utf8);
}

}  // namespace app
