// What the user is told when one of the program's files cannot be written (or read): the
// file, why in the system's own words, and what was kept.
//
// The writers report an error as std::error_code. Those that go through the C++ streams
// carry the C runtime's number (generic category), those that call Windows directly carry
// Windows' own code (system category in the Windows build). Both are turned into the Windows
// code they stand for before the system is asked for its text: the runtime's 28 (no space)
// is Windows' "out of paper" when taken for a Windows code.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace app {

// Windows codes the runtime's numbers stand for.
namespace winerror {
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kNotEnoughMemory = 8;
inline constexpr int kWriteProtect = 19;
inline constexpr int kWriteFault = 29;
inline constexpr int kSharingViolation = 32;
inline constexpr int kLockViolation = 33;
inline constexpr int kFileExists = 80;
inline constexpr int kInvalidParameter = 87;
inline constexpr int kDiskFull = 112;
inline constexpr int kFilenameTooLong = 206;
inline constexpr int kFileTooLarge = 223;
}  // namespace winerror

// The Windows code an error stands for; 0 when it stands for none we know.
int WindowsErrorCodeFor(const std::error_code& error);

// Why, in the system's words (Windows' text for the code in the Windows build).
std::u16string FileErrorReason(const std::error_code& error);

// The files whose failed writes the program reports.
enum class WrittenFile { ExitRecord, ExitDatabase, Settings, ListFile, SingleEntry, FixedEntries };

// "<what>没有保存：<path>", the reason, and, when the file was there before the write, that
// it was kept as it was; the lines are separated by CR LF.
std::u16string WriteFailureText(WrittenFile file, std::u16string_view path, std::u16string_view reason,
                                bool previousKept);

}  // namespace app
