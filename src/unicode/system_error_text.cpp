#include "unicode/system_error_text.h"

#include "unicode/wide_exceptions.h"

namespace unicode {

std::u16string ComposeErrorText(std::u16string text, int error, std::u16string_view fallback) {
  const auto blank = [](char16_t c) { return c <= u' '; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  text.erase(0, start);
  if (!text.empty()) return text;
  std::u16string result(fallback);
  if (const size_t at = result.find(u"%d"); at != std::u16string::npos) result.replace(at, 2, IntToText(error));
  return result;
}

std::u16string SystemErrorText(int error, std::u16string_view fallback) {
  return ComposeErrorText(PlatformErrorText(error), error, fallback);
}

}  // namespace unicode
