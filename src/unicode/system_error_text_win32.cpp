#include <windows.h>

#include "unicode/system_error_text.h"

namespace unicode {

std::u16string PlatformErrorText(int error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (buffer != nullptr) {
    text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
  }
  return text;
}

}  // namespace unicode
