#include "app/files/file_error.h"
#include "unicode/system_error_text.h"

namespace app {

std::u16string FileErrorReason(const std::error_code& error) {
  const int code = WindowsErrorCodeFor(error);
  if (code != 0) return unicode::SystemErrorText(code, u"文件读写出错（%d）");
  return unicode::ComposeErrorText(u"", error.value(), u"文件读写出错（%d）");
}

}  // namespace app
