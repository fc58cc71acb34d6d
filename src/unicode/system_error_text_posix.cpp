#include <cstring>

#include "unicode/codepage.h"
#include "unicode/system_error_text.h"

namespace unicode {

std::u16string PlatformErrorText(int error) { return Utf8ToUtf16(std::strerror(error)); }

}  // namespace unicode
