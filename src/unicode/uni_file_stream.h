// A file stream opened by a UTF-16 file name: CreateFileW in the Windows build,
// open(2) on the UTF-8 name natively (uni_file_stream_win32.cpp, uni_file_stream_posix.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "unicode/stream.h"
#include "unicode/system_error_text.h"

namespace unicode {

// Mode words: fmCreate alone, or one access value combined with one sharing value.
inline constexpr uint16_t fmCreate = 0xFFFF;
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

class TUniFileStream : public TStream {
 public:
  // fmCreate creates or truncates the file (read and write, no sharing) and raises
  // EWideFCreateError on failure; any other mode opens an existing file with the access
  // of the low two bits and the sharing of bits 4-7, raising EWideFOpenError on failure.
  TUniFileStream(const std::u16string& fileName, uint16_t mode);
  ~TUniFileStream() override;
  TUniFileStream(const TUniFileStream&) = delete;
  TUniFileStream& operator=(const TUniFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

  const std::u16string& FileName() const { return fileName_; }
  // Closes the file now (the destructor would otherwise); further access fails.
  void Close();

 private:
  std::u16string fileName_;
  intptr_t handle_;  // a HANDLE or a file descriptor; -1 when closed
};


// A file written safely: the content goes to a temporary file beside the target, which
// replaces the target only on Commit; without Commit (an error on the way) the temporary
// file is removed and the target is untouched. Creation and replacement failures raise
// EWideFCreateError naming the target.
class TReplacingFile {
 public:
  explicit TReplacingFile(const std::u16string& fileName);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  TStream& Stream() { return *stream_; }
  void Commit();

 private:
  std::u16string fileName_;
  std::u16string temporary_;
  TUniFileStream* stream_ = nullptr;
  bool committed_ = false;
};

// The file system steps under TReplacingFile (per platform). ReplaceFileWith returns the
// error number, 0 on success.
int ReplaceFileWith(const std::u16string& temporary, const std::u16string& fileName);
void DeleteFileQuietly(const std::u16string& fileName);

}  // namespace unicode
