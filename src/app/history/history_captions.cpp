#include "app/history/history_captions.h"

namespace app {

namespace {
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
}  // namespace

std::u16string_view FirstChars(std::u16string_view text, std::size_t count) {
  if (text.size() <= count) return text;
  if (count > 0 && IsHighSurrogate(text[count - 1]) && IsLowSurrogate(text[count])) --count;
  return text.substr(0, count);
}

std::u16string BookmarkMenuCaption(int k, std::u16string_view entryText) {
  std::u16string caption;
  const std::string digits = std::to_string(k);
  caption.assign(digits.begin(), digits.end());
  caption += u"--";
  caption += FirstChars(entryText, BookmarkRowChars);
  return caption;
}

}  // namespace app
