// The fixed entries (favourites, "固定条目（收藏夹）"): at most 512 texts kept in
// BaseDir + "\固定条目\固定条目.txt" in the entry-list text format, shown as menu rows and
// pasted with Alt+1..Alt+9. This file reads the file into the table, gives the menu rows'
// captions and appends an entry; the main window shows the messages and the menu.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/listfile/listfile_format.h"

namespace app {

inline constexpr int MaxFixedEntries = 512;

namespace fixedtext {
inline constexpr std::u16string_view kFriendlyCaption = u"友情提示";
// Followed by the path.
inline constexpr std::u16string_view kMissingFile = u"出错！文件不存在：";
inline constexpr std::u16string_view kUnknownFormat =
    u"出错！固定条目文件为未知格式，无法导入，请将文件转存为ANSI,Unicode,UTF-8格式中的一种";
inline constexpr std::u16string_view kTooMany = u"固定条目数太多，超过最大数512";
inline constexpr std::u16string_view kConvertToUtf8 = u"为了方便保存，固定条目（收藏夹）文件格式将转为utf-8 ";
}  // namespace fixedtext

// FixedEntryTexts[1..FixedEntryCount], in file order.
class FixedEntryTable {
 public:
  int FixedEntryCount() const { return static_cast<int>(texts_.size()); }
  // n counts from 1; an n outside the table gives an empty text.
  std::u16string_view FixedEntryTexts(int n) const;
  bool Full() const { return FixedEntryCount() >= MaxFixedEntries; }
  // Replaces the table (cut at 512).
  void Assign(std::vector<std::u16string> texts);
  // False (nothing added) when the table is full.
  bool Append(std::u16string text);

 private:
  std::vector<std::u16string> texts_;
};

enum class FixedLoadStatus {
  Loaded,         // entries and messages hold what was read
  Missing,        // no file: the table and the menu stay as they are
  UnknownFormat,  // a kind the reload does not read (UTF-16 big-endian): nothing changes
  FileError,      // could not be read: nothing changes
};

struct FixedLoadResult {
  FixedLoadStatus status = FixedLoadStatus::Loaded;
  TextFileFormat format = TextFileFormat::tfANSI;
  std::vector<std::u16string> entries;   // at most 512
  std::vector<std::u16string> messages;  // the marker and limit messages, in the order met
  std::error_code error;
};

// The reload over the file's bytes (`truncated`: only its first bytes were read).
FixedLoadResult ParseFixedEntries(std::string_view fileBytes, bool truncated = false);
// The reload of the file on disk (`suaxingudinClick`).
FixedLoadResult LoadFixedEntriesFile(const std::filesystem::path& file);

// A menu row: the text or its first 50 characters; rows 1 to 9 add "    （alt+n）".
std::u16string FixedMenuCaption(int n, std::u16string_view text);

// The bytes an append adds to a UTF-8 fixed-entry file: the text as one line, or between
// "[[begin]]" and "[[end]]" when it holds a line break of any kind; preceded by a line break
// when the file does not end with one, so that the entry never joins its last line.
std::string FixedAppendBytes(std::u16string_view text, std::string_view fileBytes);

// Appends the entry to the file: the whole file is rewritten beside it and replaces it only
// when written completely.
std::error_code AppendFixedEntry(const std::filesystem::path& file, std::u16string_view text);

}  // namespace app
