// The file stream in the Windows build: CreateFileW, so that any UTF-16 file name opens.
#include <windows.h>

#include <algorithm>

#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
const intptr_t kClosed = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);

}  // namespace

TUniFileStream::TUniFileStream(const std::u16string& fileName, uint16_t mode) : fileName_(fileName), handle_(kClosed) {
  if (mode == fmCreate) {
    HANDLE h = CreateFileW(W(fileName), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const int error = static_cast<int>(GetLastError());
      throw EWideFCreateError(FormatMessageText(u"Cannot create file \"%s\". %s", {fileName, SystemErrorText(error)}),
                              error);
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    return;
  }
  static const DWORD kAccess[4] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
  static const DWORD kShare[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned shareIndex = (mode & 0xF0) >> 4;
  HANDLE h = CreateFileW(W(fileName), kAccess[mode & 3], shareIndex < 5 ? kShare[shareIndex] : 0, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const int error = static_cast<int>(GetLastError());
    throw EWideFOpenError(FormatMessageText(u"Cannot open file \"%s\". %s", {fileName, SystemErrorText(error)}),
                          error);
  }
  handle_ = reinterpret_cast<intptr_t>(h);
}

TUniFileStream::~TUniFileStream() { Close(); }

void TUniFileStream::Close() {
  if (handle_ != kClosed) CloseHandle(H(handle_));
  handle_ = kClosed;
}

size_t TUniFileStream::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (handle_ != kClosed && done < count) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(H(handle_), static_cast<char*>(buffer) + done, piece, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

size_t TUniFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (handle_ != kClosed && done < count) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(H(handle_), static_cast<const char*>(buffer) + done, piece, &put, nullptr) || put == 0) break;
    done += put;
  }
  return done;
}

int64_t TUniFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (handle_ == kClosed) return -1;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result;
  const DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN : origin == TSeekOrigin::soCurrent ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(H(handle_), distance, &result, method)) return -1;
  return result.QuadPart;
}

int ReplaceFileWith(const std::u16string& temporary, const std::u16string& fileName) {
  if (MoveFileExW(W(temporary), W(fileName), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return static_cast<int>(GetLastError());
}

void DeleteFileQuietly(const std::u16string& fileName) { DeleteFileW(W(fileName)); }

}  // namespace unicode
