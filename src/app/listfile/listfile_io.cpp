#include "app/listfile/listfile_io.h"

#include "app/files/atomic_file.h"

namespace app {

namespace fs = std::filesystem;

ListReadResult FromParse(ListParseResult parsed, TextFileFormat format) {
  ListReadResult result;
  result.format = format;
  result.entries = std::move(parsed.entries);
  result.messages = std::move(parsed.messages);
  result.tooMany = parsed.tooMany;
  return result;
}

namespace {

ListReadResult FileFailure(const FileReadResult& read) {
  ListReadResult result;
  result.status = ListReadStatus::FileError;
  result.missing = read.missing;
  result.error = read.error;
  return result;
}

}  // namespace

ListReadResult ReadListBytes(std::string_view fileBytes, ListReader reader, bool truncated, std::size_t limit) {
  const TextFileFormat format = GetTextFileFormat(fileBytes);
  if (reader == ListReader::Ansi) return FromParse(ParseAnsiList(fileBytes, limit, truncated), format);
  switch (format) {
    case TextFileFormat::tfUtf8: {
      std::string_view body = fileBytes;
      if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
      return FromParse(ParseUtf8List(body, limit, truncated), format);
    }
    case TextFileFormat::tfUnicode: {
      // Cut at a whole character: a truncated file may end inside one.
      std::string_view body = fileBytes;
      if (truncated && body.size() % 2 != 0) body.remove_suffix(1);
      return FromParse(ParseUtf16List(ReadUnicodeFile(body, true), limit, truncated), format);
    }
    case TextFileFormat::tfUnicodeBigEndian:
    case TextFileFormat::tfANSI:
      break;
  }
  ListReadResult refused;
  refused.status = ListReadStatus::UnknownFormat;
  refused.format = format;
  refused.messages.push_back(ListMessage::UnknownFormat);
  return refused;
}

TextFileFormat GetTextFileFormat(const fs::path& file, std::error_code& error) {
  const FileReadResult read = ReadFileBounded(file, 2);
  error = read.error;
  return GetTextFileFormat(read.bytes);
}

ListReadResult ReadListFile(const fs::path& file, ListReader reader, std::size_t limit) {
  const FileReadResult read = ReadFileBounded(file, kMaxListFileBytes);
  if (read.error) return FileFailure(read);
  return ReadListBytes(read.bytes, reader, read.truncated, limit);
}

ListReader ReaderForFormat(TextFileFormat format) {
  return format == TextFileFormat::tfANSI ? ListReader::Ansi : ListReader::Utf8;
}

ListReadResult ReadListFileByKind(const fs::path& file, std::size_t limit) {
  const FileReadResult read = ReadFileBounded(file, kMaxListFileBytes);
  if (read.error) return FileFailure(read);
  return ReadListBytes(read.bytes, ReaderForFormat(GetTextFileFormat(read.bytes)), read.truncated, limit);
}

std::error_code WriteListFile(const fs::path& file, std::span<const std::u16string> entries, ListWriterKind kind) {
  return WriteFileAtomically(file, kind == ListWriterKind::Ansi ? FormatAnsiList(entries) : FormatUtf8List(entries));
}

std::error_code WriteSingleEntryFile(const fs::path& file, std::u16string_view text, ListWriterKind kind) {
  return WriteFileAtomically(file, kind == ListWriterKind::Ansi ? FormatSingleEntryAnsi(text)
                                                                : FormatSingleEntryUtf8(text));
}

std::error_code WriteExitRecord(const fs::path& file, std::span<const std::u16string> entries) {
  return WriteListFile(file, entries, ListWriterKind::Utf8);
}

ListReadResult ReadExitRecord(const fs::path& file) {
  ListReadResult result = ReadListFileByKind(file);
  if (result.missing) {
    result.status = ListReadStatus::Read;
    result.error.clear();
  }
  return result;
}

}  // namespace app
