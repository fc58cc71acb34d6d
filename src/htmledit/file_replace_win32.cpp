#include "htmledit/file_replace_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace htmledit {

namespace {
const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

bool WriteFileReplacing(const std::u16string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::u16string temp = path + u".tmp" + std::u16string(1, static_cast<char16_t>(u'0' + GetCurrentProcessId() % 10));
  HANDLE file = CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = FlushFileBuffers(file) && ok;
  CloseHandle(file);
  if (ok) ok = MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileW(W(temp));
  return ok;
}

bool ReadWholeFile(const std::u16string& path, std::string& bytes, size_t maxBytes, bool exclusive) {
  bytes.clear();
  HANDLE file = CreateFileW(W(path), GENERIC_READ, exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  // Only a file on a disk: a device (a console, a pipe) could keep the read waiting.
  bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            static_cast<uint64_t>(size.QuadPart) <= maxBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (ok && done < bytes.size()) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), read = 0;
      ok = ReadFile(file, bytes.data() + done, chunk, &read, nullptr) && read > 0;
      done += read;
    }
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace htmledit
