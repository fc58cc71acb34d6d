#include "app/mainform/list_interaction.h"

#include <algorithm>


namespace app {

std::u16string ClickHintText(std::u16string_view entryText) {
  if (entryText.size() <= 255) return std::u16string(entryText);
  return std::u16string(entryText.substr(0, 255)) + u" 。。。。。。";
}

std::u16string ClickHintCaption(int row, std::u16string_view entryText) {
  std::u16string number, count;
  for (char c : std::to_string(row + 1)) number.push_back(static_cast<char16_t>(c));
  for (char c : std::to_string(entryText.size())) count.push_back(static_cast<char16_t>(c));
  return u"【当前行号=" + number + u"，字符数=" + count + u"】\r\n\r\n" + ClickHintText(entryText);
}

std::vector<int> RangeChecker::ClickCheck(int row, bool checked) {
  if (!shiftPending_) {
    anchor_ = checked ? row : 0;
    return {};
  }
  if (!checked) return {};
  std::vector<int> rows;
  for (int r = std::min(row, anchor_); r <= std::max(row, anchor_); ++r) rows.push_back(r);
  shiftPending_ = false;
  return rows;
}

std::u16string TrimBlanks(std::u16string_view text) {
  // As the window framework trims: control characters and blanks (up to U+0020) at both ends.
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return std::u16string(text.substr(begin, end - begin));
}

namespace {
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}
bool HostChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' ||
         c >= 0x80;  // internationalised host names
}
}  // namespace

bool IsWebAddress(std::u16string_view raw) {
  const std::u16string text = TrimBlanks(raw);
  // No blanks or quotes inside: the shell would take the rest as arguments.
  if (text.empty() || text.find_first_of(u" \t\r\n\"") != std::u16string::npos) return false;
  size_t host = 0;
  for (std::u16string_view scheme : {u"http://", u"https://", u"ftp://"}) {
    if (StartsWithNoCase(text, scheme)) host = scheme.size();
  }
  if (host == 0 && !StartsWithNoCase(text, u"www.")) return false;
  size_t end = host;
  while (end < text.size() && HostChar(text[end])) ++end;
  const std::u16string_view name(text.data() + host, end - host);
  if (name.empty() || name.find(u'.') == std::u16string_view::npos || name.front() == u'.' || name.back() == u'.') {
    return false;
  }
  // After the host only a port, a path, a query or a fragment may follow.
  return end == text.size() || text[end] == u'/' || text[end] == u':' || text[end] == u'?' || text[end] == u'#';
}

}  // namespace app
