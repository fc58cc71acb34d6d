#include "htmledit/preserved_source.h"

#include "unicode/codepage.h"

namespace htmledit {

std::u16string DecodePreservedSource(std::string_view bytes) {
  // A mark is read only from a stream long enough to hold it.
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    size_t units = bytes.size() / 2 - 1;
    std::u16string text(units, u'\0');
    for (size_t i = 0; i < units; ++i)
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                      (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
    return text;
  }
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
    return unicode::Utf8ToUtf16(bytes.substr(3));
  return unicode::AnsiToUtf16(bytes);
}

}  // namespace htmledit
