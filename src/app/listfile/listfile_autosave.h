// The autosave file `AutoSaveFile` ("自动保存.txt" of `BaseDir`): every capture appends a
// record (the text in list form, then a line of 13 "="), and the file is read back like
// any list, the "=============" lines being entries of their own.
//
// Records are appended as UTF-8 without a mark, so the kind test alone takes the file for
// ANSI and would garble its Chinese: reading an unmarked file that is valid UTF-8 decodes it
// as UTF-8. A file given another encoding by hand (a mark, or code page 936) keeps it.
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

// Appends one record in the encoding the file already has (a new or unmarked file: UTF-8,
// no mark added), on a line of its own; a record that cannot be written whole leaves the
// file as it was.
std::error_code AppendAutoSaveRecord(const std::filesystem::path& file, std::u16string_view text);

// Reads the autosave file by kind, taking an unmarked file that is valid UTF-8 (and not
// plain ASCII) as UTF-8.
ListReadResult ReadAutoSaveFile(const std::filesystem::path& file);

// True when the bytes are well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace app
