#include "app/files/file_error.h"

#include <cerrno>

namespace app {

namespace {

int WindowsCodeForErrno(int value) {
  switch (value) {
    case ENOSPC: return winerror::kDiskFull;
#ifdef EDQUOT
    case EDQUOT: return winerror::kDiskFull;
#endif
    case EACCES:
    case EPERM:
    case EISDIR: return winerror::kAccessDenied;
    case EROFS: return winerror::kWriteProtect;
    case ENOENT: return winerror::kPathNotFound;
    case EEXIST: return winerror::kFileExists;
    case EMFILE: return winerror::kTooManyOpenFiles;
    case ENOMEM: return winerror::kNotEnoughMemory;
    case EFBIG: return winerror::kFileTooLarge;
    case EIO: return winerror::kWriteFault;
    case EBUSY: return winerror::kSharingViolation;
    case ENAMETOOLONG: return winerror::kFilenameTooLong;
    case EINVAL: return winerror::kInvalidParameter;
    default: return 0;
  }
}

struct WrittenFileWords {
  std::u16string_view what;
  std::u16string_view kept;
};

WrittenFileWords WordsFor(WrittenFile file) {
  switch (file) {
    case WrittenFile::ExitRecord: return {u"退出记录", u"上次的退出记录保留未动。"};
    case WrittenFile::ExitDatabase: return {u"退出记录数据库", u"上次的退出记录数据库保留未动。"};
    case WrittenFile::Settings: return {u"设置", u"上次保存的设置保留未动。"};
    case WrittenFile::ListFile: return {u"列表", u"原来的文件保留未动。"};
    case WrittenFile::SingleEntry: return {u"条目", u"原来的文件保留未动。"};
    case WrittenFile::FixedEntries: return {u"固定条目", u"原来的固定条目文件保留未动。"};
  }
  return {u"文件", u"原来的文件保留未动。"};
}

}  // namespace

int WindowsErrorCodeFor(const std::error_code& error) {
  if (!error) return 0;
#ifdef _WIN32
  // In the Windows build the system category holds Windows' own codes.
  if (error.category() == std::system_category()) return error.value();
#endif
  return WindowsCodeForErrno(error.value());
}

std::u16string WriteFailureText(WrittenFile file, std::u16string_view path, std::u16string_view reason,
                                bool previousKept) {
  const WrittenFileWords words = WordsFor(file);
  std::u16string text;
  text.reserve(path.size() + reason.size() + 40);
  text += words.what;
  text += u"没有保存：";
  text += path;
  text += u"\r\n";
  text += reason;
  if (previousKept) {
    text += u"\r\n";
    text += words.kept;
  }
  return text;
}

}  // namespace app
