#include "unicode/wide_exceptions.h"

#include "unicode/codepage.h"

namespace unicode {

WideException::WideException(std::u16string message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

EListError EListError::IndexOutOfBounds(int index) {
  return EListError(u"List index out of bounds (" + IntToText(index) + u")");
}

std::u16string FormatMessageText(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
  std::u16string out;
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::u16string IntToText(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace unicode
