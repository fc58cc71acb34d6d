// Whole-file access shared by every writer and reader of the program's own files:
// a writer never truncates the file it replaces before the new contents are safely
// on disk beside it, and a reader never takes more than it asked for.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace app {

// Writes bytes to a temporary file in the target's folder and renames it over the
// target only when every byte was written (a busy target is waited for, as below). On
// failure the target is untouched, the temporary file removed, and the error returned.
// File names are UTF-16 paths on Windows (std::filesystem::path), so Chinese names work
// in both builds.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Windows refuses to replace a file that someone holds open or is replacing at that moment:
// two instances of the program saving "set" together, a reader of the file. Such a refusal
// passes within moments; a replace refused so is tried again for this long before it is
// reported.
inline constexpr std::chrono::milliseconds kBusyFilePatience{2000};

// True for a refusal that may pass once another holder lets go of the file (access denied,
// sharing or lock violation).
bool IsBusyRefusal(const std::error_code& error);

// Runs a replace until it succeeds, fails for another reason than a busy file, or the
// patience is spent; returns its last result. `target` is the file replaced: a read-only
// file or a folder in its place refuses for good and is not waited for.
std::error_code ReplaceWhenNotBusy(const std::filesystem::path& target, const std::function<std::error_code()>& replace,
                                   std::chrono::milliseconds patience = kBusyFilePatience);

// A name beside the file that no other writer of the same target is using at this moment.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path);

// Appends bytes at the end of an existing file (or creates it) with one write. A write that
// cannot be made whole (a disk that fills on the way) is taken back: the file is cut back to
// its former length (or removed when the append created it), so that no cut piece is left
// for the next append to be glued onto.
std::error_code AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// The last bytes of a file (at most maxBytes) and its whole size; empty when it has none or
// cannot be read.
struct FileTail {
  std::string bytes;
  std::uintmax_t fileSize = 0;
};
FileTail ReadFileTail(const std::filesystem::path& path, std::size_t maxBytes);

// Removes what an interrupted write of this program left beside the file: its temporary
// files ("<name>.<number>.tmp", the database's "<name>.<number>.tmp.<number>.tmp", the
// stream writer's "<name>.tmp~"), and nothing else. A temporary file that a running write
// still holds open cannot be removed (the writers share no delete access) and stays. This
// runs before every write of the file and at start, possibly while another instance writes
// the same file: a temporary file written in the last minute is left alone, as it may be that
// instance's, closed and about to replace its target (or waiting for it, as above).
void RemoveStaleTemporaries(const std::filesystem::path& path);
// At start, for several files of one folder, in one look at the folder.
void RemoveStaleTemporaries(const std::filesystem::path& folder, std::span<const std::u16string> fileNames);

// How old a temporary file must be before it is taken for stale. A writer holds its file open
// until it replaces the target, and waits for a busy target for kBusyFilePatience at most.
inline constexpr std::chrono::minutes kTemporaryInUseAge{1};

// True for the name of one of those temporary files of the file named `target`.
bool IsTemporaryNameOf(std::u16string_view name, std::u16string_view target);

struct FileReadResult {
  std::string bytes;       // at most the limit asked for
  bool truncated = false;  // the file holds more than the limit
  bool missing = false;    // no such file (error is set too)
  std::error_code error;
};

// Reads a file's first maxBytes bytes; the caller decides what a longer file means.
FileReadResult ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace app
