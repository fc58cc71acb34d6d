#include "app/listfile/listfile_autosave.h"

#include <algorithm>

#include "app/files/atomic_file.h"
#include "unicode/codepage.h"

namespace app {

namespace fs = std::filesystem;

namespace {

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

namespace {

// How much of an unmarked file's end tells its encoding: a file is written in one encoding
// throughout (by this program, or saved whole by an editor), and reading it all for every
// capture would cost more the longer the program runs.
constexpr std::size_t kEncodingSample = 64 * 1024;

// The sample may begin inside a character and end inside one (a record cut by an older
// version): only what lies between is judged.
bool SampleLooksLikeUtf8(std::string_view sample) {
  std::size_t skip = 0;
  while (skip < 3 && skip < sample.size() && (static_cast<unsigned char>(sample[skip]) & 0xC0) == 0x80) ++skip;
  sample.remove_prefix(skip);
  for (std::size_t back = 1; back <= 3 && back <= sample.size(); ++back) {
    const unsigned char c = static_cast<unsigned char>(sample[sample.size() - back]);
    if ((c & 0xC0) == 0xC0) {
      sample.remove_suffix(back);
      break;
    }
    if ((c & 0x80) == 0) break;
  }
  return IsWellFormedUtf8(sample);
}

// A file that ends inside a record (cut by a failed write of an older version) gets its next
// record on a line of its own.
bool EndsInsideALine(std::string_view tail, TextFileFormat format, std::size_t markSize, std::uintmax_t fileSize) {
  if (fileSize <= markSize || tail.empty()) return false;
  switch (format) {
    case TextFileFormat::tfUnicode:
      return tail.size() < 2 || tail.substr(tail.size() - 2) != std::string_view("\n\0", 2);
    case TextFileFormat::tfUnicodeBigEndian:
      return tail.size() < 2 || tail.substr(tail.size() - 2) != std::string_view("\0\n", 2);
    default:
      return tail.back() != '\n';
  }
}

std::size_t MarkSize(TextFileFormat format) {
  switch (format) {
    case TextFileFormat::tfUtf8: return 3;
    case TextFileFormat::tfUnicode:
    case TextFileFormat::tfUnicodeBigEndian: return 2;
    case TextFileFormat::tfANSI: return 0;
  }
  return 0;
}

}  // namespace

std::error_code AppendAutoSaveRecord(const fs::path& file, std::u16string_view text) {
  std::u16string record = RecordText(text);
  const FileReadResult head = ReadFileBounded(file, 3);
  if (head.missing || (!head.error && head.bytes.empty())) {
    // A new file is UTF-8 without a mark, as every version has written it.
    return AppendToFile(file, unicode::Utf16ToUtf8(record));
  }
  if (head.error) return head.error;
  const TextFileFormat format = GetTextFileFormat(head.bytes);
  const FileTail end = ReadFileTail(file, kEncodingSample);
  const std::string& tail = end.bytes;
  if (EndsInsideALine(tail, format, MarkSize(format), end.fileSize)) record.insert(0, u"\r\n");
  switch (format) {
    case TextFileFormat::tfUtf8:
      return AppendToFile(file, unicode::Utf16ToUtf8(record));
    case TextFileFormat::tfUnicode:
      return AppendToFile(file, Utf16Bytes(record, false));
    case TextFileFormat::tfUnicodeBigEndian:
      return AppendToFile(file, Utf16Bytes(record, true));
    case TextFileFormat::tfANSI:
      break;
  }
  // Unmarked: UTF-8 as this program writes it (no mark is added), unless the file was saved
  // as code page 936 by hand, which keeps its one encoding.
  if (HasNonAscii(tail) && !SampleLooksLikeUtf8(tail)) return AppendToFile(file, unicode::Utf16ToAnsi(record));
  return AppendToFile(file, unicode::Utf16ToUtf8(record));
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
