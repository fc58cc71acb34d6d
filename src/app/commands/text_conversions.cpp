#include "app/commands/text_conversions.h"

#include "unicode/codepage.h"

namespace app {

namespace {
std::u16string Number(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string TabsToLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\t') out += u"\r\n";
    else out.push_back(c);
  }
  return out;
}

std::u16string LineBreaksToTabs(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      out.push_back(u'\t');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::u16string RemoveIdeographicSpaces(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u'\u3000') out.push_back(c);
  }
  return out;
}

std::u16string WordCountMessage(std::u16string_view text) {
  return u"按英文字符算字数为：" + Number(unicode::Utf16ToAnsi(text).size()) + u"\r按中文字符算字数为：" +
         Number(text.size());
}

}  // namespace app
