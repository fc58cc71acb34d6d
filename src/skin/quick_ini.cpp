#include "skin/quick_ini.h"

#include <cstdint>

#include "skin/skin_text.h"
#include "unicode/codepage.h"

namespace skin {

void TQuickIni::LoadFromStream(unicode::TStream& stream) {
  std::string bytes;
  char chunk[4096];
  for (size_t n; (n = stream.Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
  LoadFromText(unicode::AnsiToUtf16(bytes));
}

void TQuickIni::LoadFromText(std::u16string_view text) {
  lines_.clear();
  sections_.clear();
  for (const std::u16string& raw : SplitTextLines(text)) {
    const std::u16string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == u';') continue;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      sections_.push_back({std::u16string(line), static_cast<int>(lines_.size())});
    }
    lines_.emplace_back(line);
  }
}

int TQuickIni::SectionIndex(std::u16string_view section) const {
  const std::u16string wanted = u"[" + std::u16string(section) + u"]";
  for (const Section& s : sections_) {
    if (SameTextIgnoringCase(s.line, wanted)) return s.index;
  }
  return -1;
}

std::u16string TQuickIni::ReadString(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view defaultValue) const {
  const int at = SectionIndex(section);
  if (at < 0) return std::u16string(defaultValue);
  const std::u16string wanted = AsciiLower(key);
  for (size_t i = static_cast<size_t>(at) + 1; i < lines_.size(); ++i) {
    const std::u16string& line = lines_[i];
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') break;
    const size_t equals = line.find(u'=');
    const std::u16string_view name =
        equals == std::u16string::npos ? std::u16string_view() : std::u16string_view(line).substr(0, equals);
    if (AsciiLower(TrimBlanks(name)) != wanted) continue;
    const std::u16string_view value =
        TrimBlanks(std::u16string_view(line).substr(equals == std::u16string::npos ? 0 : equals + 1));
    return value.empty() ? std::u16string(defaultValue) : std::u16string(value);
  }
  return std::u16string(defaultValue);
}

bool ParseInteger(std::u16string_view text, int& value) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
  bool hex = false;
  if (at < text.size() && text[at] == u'$') {
    hex = true;
    ++at;
  }
  if (at == text.size()) return false;
  uint64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const char16_t c = text[at];
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (hex && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (hex && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return false;
    }
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    value = static_cast<int>(negative ? 0u - bits : bits);
    return true;
  }
  if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  value = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return true;
}

int TQuickIni::ReadInteger(std::u16string_view section, std::u16string_view key, int defaultValue) const {
  const std::u16string text = ReadString(section, key, u"");
  int value = defaultValue;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    const std::u16string_view digits = std::u16string_view(text).substr(2);
    if (digits.front() == u'+' || digits.front() == u'-' || digits.front() == u'$') return defaultValue;
    return ParseInteger(u"$" + std::u16string(digits), value) ? value : defaultValue;
  }
  return ParseInteger(text, value) ? value : defaultValue;
}

std::vector<std::u16string> TQuickIni::ReadSections() const {
  std::vector<std::u16string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) names.emplace_back(TrimBlanks(std::u16string_view(s.line).substr(1, s.line.size() - 2)));
  return names;
}

}  // namespace skin
