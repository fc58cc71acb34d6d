// The autosave file `AutoSaveFile` ("自动保存.txt" of `BaseDir`): every capture appends a
// record (the text in list form, then a line of 13 "="), and the file is read back like
// any list, the "=============" lines being entries of their own.
//
// Older versions appended UTF-8 without ever writing a mark, so the kind test took such
// a file for ANSI and the Chinese in it came back garbled. The file now carries the mark
// EF BB BF from its first record on, an unmarked file written by an older version is
// given the mark the next time a record is appended, and reading an unmarked file that is
// valid UTF-8 decodes it as UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/listfile/listfile_io.h"

namespace app {

// One record as UTF-8 bytes: "[[begin]]" (when the text holds a line break), the text,
// "[[end]]" (when "[[begin]]" was written), "=============", each line ended by CR LF.
std::string FormatAutoSaveRecord(std::u16string_view text);

// Appends one record in the encoding the file already has (a new or empty file gets the
// UTF-8 mark first; an unmarked UTF-8 file of an older version gets it now).
std::error_code AppendAutoSaveRecord(const std::filesystem::path& file, std::u16string_view text);

// Reads the autosave file by kind, taking an unmarked file that is valid UTF-8 (and not
// plain ASCII) as UTF-8.
ListReadResult ReadAutoSaveFile(const std::filesystem::path& file);

// True when the bytes are well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace app
