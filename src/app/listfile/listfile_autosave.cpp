#include "app/listfile/listfile_autosave.h"

#include <algorithm>

#include "app/files/atomic_file.h"
#include "unicode/codepage.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::u16string RecordText(std::u16string_view text) {
  const bool block = NeedsBlock(text);
  std::u16string record;
  record.reserve(text.size() + 40);
  if (block) record += u"[[begin]]\r\n";
  record += text;
  record += u"\r\n";
  if (block) record += u"[[end]]\r\n";
  record += u"=============\r\n";
  return record;
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string FormatAutoSaveRecord(std::u16string_view text) { return unicode::Utf16ToUtf8(RecordText(text)); }

bool IsWellFormedUtf8(std::string_view bytes) {
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    char32_t cp;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) { length = 2; cp = b0 & 0x1F; minimum = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; cp = b0 & 0x0F; minimum = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; cp = b0 & 0x07; minimum = 0x10000; }
    else return false;
    if (n - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::error_code AppendAutoSaveRecord(const fs::path& file, std::u16string_view text) {
  const std::u16string record = RecordText(text);
  const FileReadResult head = ReadFileBounded(file, 3);
  if (head.missing || (!head.error && head.bytes.empty())) {
    std::string bytes(kUtf8Mark);
    bytes += unicode::Utf16ToUtf8(record);
    return WriteFileAtomically(file, bytes);
  }
  if (head.error) return head.error;
  switch (GetTextFileFormat(head.bytes)) {
    case TextFileFormat::tfUtf8:
      return AppendToFile(file, unicode::Utf16ToUtf8(record));
    case TextFileFormat::tfUnicode:
      return AppendToFile(file, Utf16Bytes(record, false));
    case TextFileFormat::tfUnicodeBigEndian:
      return AppendToFile(file, Utf16Bytes(record, true));
    case TextFileFormat::tfANSI:
      break;
  }
  const FileReadResult whole = ReadFileBounded(file, kMaxListFileBytes);
  if (whole.error) return whole.error;
  if (whole.truncated) {
    // Too large to rewrite here; go on as older versions did.
    return AppendToFile(file, unicode::Utf16ToUtf8(record));
  }
  if (IsWellFormedUtf8(whole.bytes)) {
    // An older version's unmarked UTF-8 (or plain ASCII): give it the mark once.
    std::string bytes;
    bytes.reserve(kUtf8Mark.size() + whole.bytes.size() + record.size() * 3);
    bytes += kUtf8Mark;
    bytes += whole.bytes;
    bytes += unicode::Utf16ToUtf8(record);
    return WriteFileAtomically(file, bytes);
  }
  // A code page 936 file (edited and saved as ANSI): keep it one encoding.
  return AppendToFile(file, unicode::Utf16ToAnsi(record));
}

ListReadResult ReadAutoSaveFile(const fs::path& file) {
  const FileReadResult read = ReadFileBounded(file, kMaxListFileBytes);
  if (read.error) {
    ListReadResult failure;
    failure.status = ListReadStatus::FileError;
    failure.missing = read.missing;
    failure.error = read.error;
    return failure;
  }
  const TextFileFormat format = GetTextFileFormat(read.bytes);
  std::string_view checked = read.bytes;
  if (read.truncated) checked = checked.substr(0, checked.find_last_of("\r\n") + 1);
  if (format == TextFileFormat::tfANSI && HasNonAscii(checked) && IsWellFormedUtf8(checked)) {
    return FromParse(ParseUtf8List(read.bytes, kListReadLimit, read.truncated), format);
  }
  return ReadListBytes(read.bytes, ReaderForFormat(format), read.truncated);
}

}  // namespace app
