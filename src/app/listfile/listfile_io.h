// Reading and writing entry-list files on disk: the two readers with their file-kind
// test, the ANSI and UTF-8 writers, the exit record "temp.txt" and the autosave file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/listfile/listfile_format.h"
#include "app/snapshot/snapshot_buffer.h"

namespace app {

// No list file is read past this size: the history store could not hold more text,
// and a 32-bit process must not be asked to. A longer file loads what fits and says
// that there were too many entries.
inline constexpr std::size_t kMaxListFileBytes = std::size_t(128) << 20;

enum class ListReadStatus {
  Read,           // entries hold what was read (messages may say it was not all well)
  UnknownFormat,  // the UTF-8 reader refused the file kind: change nothing
  FileError,      // the file could not be read: change nothing, report `error`
};

struct ListReadResult {
  ListReadStatus status = ListReadStatus::Read;
  TextFileFormat format = TextFileFormat::tfANSI;  // the kind test's answer for the file
  std::vector<std::u16string> entries;
  // Each entry's snapshot, beside `entries` (database reads); empty for text files.
  std::vector<SharedSnapshot> snapshots;
  std::vector<ListMessage> messages;  // distinct, in the order met
  bool tooMany = false;               // stopped early: leave the recent files alone
  bool missing = false;               // FileError because there is no such file
  std::error_code error;
};

// The readers over a file's bytes (`truncated`: these are only the file's first bytes).
// A parse of list bytes as a read result of a file of the given kind.
ListReadResult FromParse(ListParseResult parsed, TextFileFormat format);
ListReadResult ReadListBytes(std::string_view fileBytes, ListReader reader, bool truncated = false,
                             std::size_t limit = kListReadLimit);

// `TForm1.GetTextFileFormat` of a file: its first two bytes.
TextFileFormat GetTextFileFormat(const std::filesystem::path& file, std::error_code& error);

// One reader on a file.
ListReadResult ReadListFile(const std::filesystem::path& file, ListReader reader,
                            std::size_t limit = kListReadLimit);

// "Read by kind", as the open, reload, recent-files, sample-table and exit-record
// commands do: "tfANSI" goes to the ANSI reader, every other kind to the UTF-8 reader.
ListReader ReaderForFormat(TextFileFormat format);
ListReadResult ReadListFileByKind(const std::filesystem::path& file, std::size_t limit = kListReadLimit);

enum class ListWriterKind { Ansi, Utf8 };

// `mybaocun` (ANSI) and `baocunutf8ziClick` (UTF-8): the whole list, replacing the file
// only when it was written completely.
std::error_code WriteListFile(const std::filesystem::path& file, std::span<const std::u16string> entries,
                              ListWriterKind kind);

// A single entry (`danxiangmybaocunClick`, `danxiangbaocunutf8ziClick`).
std::error_code WriteSingleEntryFile(const std::filesystem::path& file, std::u16string_view text,
                                     ListWriterKind kind);

// The exit record "temp.txt": written as UTF-8 at exit, read by kind at start. A missing
// exit record (a first start) reads as an empty list with `missing` set and no error.
std::error_code WriteExitRecord(const std::filesystem::path& file, std::span<const std::u16string> entries);
ListReadResult ReadExitRecord(const std::filesystem::path& file);

}  // namespace app
