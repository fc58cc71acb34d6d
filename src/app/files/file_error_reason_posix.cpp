#include "app/files/file_error.h"
#include "unicode/codepage.h"

namespace app {

std::u16string FileErrorReason(const std::error_code& error) { return unicode::Utf8ToUtf16(error.message()); }

}  // namespace app
