// The file stream natively: open(2) on the file name in UTF-8. POSIX has no sharing
// modes, so the sharing bits of the mode word are accepted and have no effect here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "unicode/codepage.h"
#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
std::string NativeName(const std::u16string& fileName) { return Utf16ToUtf8(fileName); }

}  // namespace

TUniFileStream::TUniFileStream(const std::u16string& fileName, uint16_t mode) : fileName_(fileName), handle_(-1) {
  const std::string name = NativeName(fileName);
  if (mode == fmCreate) {
    handle_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (handle_ < 0) {
      const int error = errno;
      throw EWideFCreateError(FormatMessageText(u"Cannot create file \"%s\". %s", {fileName, SystemErrorText(error)}),
                              error);
    }
    return;
  }
  int flags = O_RDONLY;
  if ((mode & 3) == fmOpenWrite) flags = O_WRONLY;
  if ((mode & 3) == fmOpenReadWrite) flags = O_RDWR;
  handle_ = ::open(name.c_str(), flags | O_CLOEXEC);
  int error = errno;
  if (handle_ >= 0) {
    // open(2) succeeds on a folder; CreateFileW without backup semantics does not.
    struct stat info;
    if (::fstat(static_cast<int>(handle_), &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(static_cast<int>(handle_));
      handle_ = -1;
      error = EISDIR;
    }
  }
  if (handle_ < 0) {
    throw EWideFOpenError(FormatMessageText(u"Cannot open file \"%s\". %s", {fileName, SystemErrorText(error)}),
                          error);
  }
}

TUniFileStream::~TUniFileStream() { Close(); }

void TUniFileStream::Close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

size_t TUniFileStream::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (handle_ >= 0 && done < count) {
    const ssize_t n = ::read(static_cast<int>(handle_), static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

size_t TUniFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (handle_ >= 0 && done < count) {
    const ssize_t n = ::write(static_cast<int>(handle_), static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

int64_t TUniFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (handle_ < 0) return -1;
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
}

int ReplaceFileWith(const std::u16string& temporary, const std::u16string& fileName) {
  return ::rename(NativeName(temporary).c_str(), NativeName(fileName).c_str()) == 0 ? 0 : errno;
}

void DeleteFileQuietly(const std::u16string& fileName) { ::unlink(NativeName(fileName).c_str()); }

}  // namespace unicode
