#include "app/fixed/fixed_entries.h"

#include <algorithm>

#include "app/files/atomic_file.h"
#include "app/history/history_captions.h"
#include "app/listfile/listfile_io.h"
#include "unicode/codepage.h"

namespace app {

namespace {

constexpr std::size_t kMenuRowChars = 50;

std::u16string MessageText(ListMessage message) {
  switch (message) {
    case ListMessage::DuplicateBegin:
      return u"文件数据格式错误！多行数据格式标识符 [[begin]] 重复，显示可能不正确！";
    case ListMessage::MissingEnd:
      return u"文件数据格式错误！多行数据格式标识符 [[end]] 没找到，显示可能不正确！";
    case ListMessage::TooManyEntries:
    case ListMessage::UnknownFormat:
      break;
  }
  return std::u16string(fixedtext::kTooMany);
}

}  // namespace

std::u16string_view FixedEntryTable::FixedEntryTexts(int n) const {
  if (n < 1 || n > FixedEntryCount()) return {};
  return texts_[static_cast<std::size_t>(n - 1)];
}

void FixedEntryTable::Assign(std::vector<std::u16string> texts) {
  if (texts.size() > MaxFixedEntries) texts.resize(MaxFixedEntries);
  texts_ = std::move(texts);
}

bool FixedEntryTable::Append(std::u16string text) {
  if (Full()) return false;
  texts_.push_back(std::move(text));
  return true;
}

FixedLoadResult ParseFixedEntries(std::string_view fileBytes, bool truncated) {
  FixedLoadResult result;
  result.format = GetTextFileFormat(fileBytes);
  std::u16string text;
  switch (result.format) {
    case TextFileFormat::tfANSI: text = unicode::AnsiToUtf16(fileBytes); break;
    case TextFileFormat::tfUtf8: text = ReadUtf8File(fileBytes); break;
    case TextFileFormat::tfUnicode: text = ReadUnicodeFile(fileBytes, true); break;
    case TextFileFormat::tfUnicodeBigEndian:
      result.status = FixedLoadStatus::UnknownFormat;
      return result;
  }
  ListParseResult parsed = ParseUtf16Lines(text, MaxFixedEntries, truncated);
  result.entries = std::move(parsed.entries);
  for (ListMessage message : parsed.messages) result.messages.push_back(MessageText(message));
  return result;
}

FixedLoadResult LoadFixedEntriesFile(const std::filesystem::path& file) {
  const FileReadResult read = ReadFileBounded(file, kMaxListFileBytes);
  if (read.error) {
    FixedLoadResult result;
    result.status = read.missing ? FixedLoadStatus::Missing : FixedLoadStatus::FileError;
    result.error = read.error;
    return result;
  }
  return ParseFixedEntries(read.bytes, read.truncated);
}

std::u16string FixedMenuCaption(int n, std::u16string_view text) {
  std::u16string caption(FirstChars(text, kMenuRowChars));
  if (n >= 1 && n <= 9) caption += u"    （alt+" + std::u16string(1, static_cast<char16_t>(u'0' + n)) + u"）";
  return caption;
}

std::string FixedAppendBytes(std::u16string_view text, std::string_view fileBytes) {
  std::string bytes;
  std::string_view content = fileBytes;
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  if (!content.empty() && content.back() != '\n' && content.back() != '\r') bytes += "\r\n";
  const bool block = NeedsBlock(text);
  if (block) bytes += "[[begin]]\r\n";
  bytes += unicode::Utf16ToUtf8(text);
  bytes += "\r\n";
  if (block) bytes += "[[end]]\r\n";
  return bytes;
}

std::error_code AppendFixedEntry(const std::filesystem::path& file, std::u16string_view text) {
  FileReadResult read = ReadFileBounded(file, kMaxListFileBytes);
  if (read.error) return read.error;
  // Past the size the reload reads, an added entry could never be read back.
  if (read.truncated) return std::make_error_code(std::errc::file_too_large);
  read.bytes += FixedAppendBytes(text, read.bytes);
  return WriteFileAtomically(file, read.bytes);
}

}  // namespace app
