#include "app/listfile/listfile_format.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "unicode/codepage.h"

namespace app {

namespace {

constexpr std::string_view kBegin = "[[begin]]";
constexpr std::string_view kEnd = "[[end]]";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

template <typename Char>
constexpr bool IsBreak(Char c) {
  return c == Char('\r') || c == Char('\n');
}

template <typename Char>
constexpr bool IsBlank(Char c) {
  // Trimming takes every control character and the space, as the marker test always did.
  return static_cast<std::make_unsigned_t<Char>>(c) <= 0x20;
}

// The line's text with blanks trimmed at both ends equals the marker (ASCII).
template <typename Char>
bool IsMarker(std::basic_string_view<Char> line, std::string_view marker) {
  std::size_t first = 0;
  std::size_t last = line.size();
  while (first < last && IsBlank(line[first])) ++first;
  while (last > first && IsBlank(line[last - 1])) --last;
  if (last - first != marker.size()) return false;
  for (std::size_t i = 0; i < marker.size(); ++i) {
    if (line[first + i] != static_cast<Char>(marker[i])) return false;
  }
  return true;
}

// Lines end at CR LF, a lone CR or a lone LF; a text that ends with a break has no empty
// last line, as the memo and the line-by-line reader both see it.
template <typename Char>
class LineCursor {
 public:
  explicit LineCursor(std::basic_string_view<Char> text) : text_(text) {}

  bool Next(std::basic_string_view<Char>& line) {
    const std::size_t n = text_.size();
    if (pos_ >= n) return false;
    std::size_t end = FindBreak();
    line = text_.substr(pos_, end - pos_);
    if (end < n && text_[end] == Char('\r')) ++end;
    if (end < n && text_[end] == Char('\n')) ++end;
    pos_ = end;
    return true;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  static constexpr std::size_t kUnknown = std::size_t(-1);

  // The first CR or LF at or after pos_, or the end. Bytes are searched with memchr, many
  // times faster than a loop over long lists; each found place is kept until the cursor
  // passes it, so that no byte is searched twice (a file of CRs only stays linear).
  std::size_t FindBreak() {
    if constexpr (sizeof(Char) == 1) {
      return std::min(NextOf('\n', nextLf_), NextOf('\r', nextCr_));
    } else {
      std::size_t end = pos_;
      while (end < text_.size() && !IsBreak(text_[end])) ++end;
      return end;
    }
  }

  std::size_t NextOf(char c, std::size_t& cached) {
    if (cached != kUnknown && cached >= pos_) return cached;
    const void* found = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
    cached = found ? static_cast<std::size_t>(static_cast<const Char*>(found) - text_.data()) : text_.size();
    return cached;
  }

  std::basic_string_view<Char> text_;
  std::size_t pos_ = 0;
  std::size_t nextLf_ = kUnknown;
  std::size_t nextCr_ = kUnknown;
};

void Note(ListParseResult& result, ListMessage message) {
  if (std::find(result.messages.begin(), result.messages.end(), message) == result.messages.end()) {
    result.messages.push_back(message);
  }
}

// The walk shared by both readers. `lastBeginIsEntry`: the UTF-8 reader takes a
// "[[begin]]" on the last line as an ordinary entry; the ANSI reader opens a block there.
template <typename Char, typename Decode>
ListParseResult Walk(std::basic_string_view<Char> text, std::size_t limit, bool inputCut,
                     bool lastBeginIsEntry, Decode decode) {
  using View = std::basic_string_view<Char>;
  ListParseResult result;
  if (inputCut) {
    // Keep whole lines only: the part after the last break belongs to a line we did not get.
    std::size_t keep = text.size();
    while (keep > 0 && !IsBreak(text[keep - 1])) --keep;
    text = text.substr(0, keep);
  }
  LineCursor<Char> cursor(text);
  View line;
  while (!cursor.AtEnd()) {
    if (result.entries.size() >= limit) {
      result.tooMany = true;
      Note(result, ListMessage::TooManyEntries);
      return result;
    }
    cursor.Next(line);
    const bool isLast = cursor.AtEnd() && !inputCut;
    if (!IsMarker(line, kBegin) || (lastBeginIsEntry && isLast)) {
      result.entries.push_back(decode(line));
      continue;
    }
    std::u16string entry;
    bool firstLine = true;
    bool ended = false;
    bool duplicate = false;
    while (cursor.Next(line)) {
      if (IsMarker(line, kBegin)) {
        duplicate = true;
        break;
      }
      if (IsMarker(line, kEnd)) {
        ended = true;
        break;
      }
      // Every line of the block counts, empty ones at its start too, so that an entry
      // beginning with a line break comes back as it was written.
      if (!firstLine) entry += u"\r\n";
      entry += decode(line);
      firstLine = false;
    }
    if (!ended && !duplicate && inputCut) {
      // The block runs past the part of the file we took: leave it out.
      result.tooMany = true;
      Note(result, ListMessage::TooManyEntries);
      return result;
    }
    if (duplicate) Note(result, ListMessage::DuplicateBegin);
    if (!ended) Note(result, ListMessage::MissingEnd);
    result.entries.push_back(std::move(entry));
  }
  if (inputCut) {
    result.tooMany = true;
    Note(result, ListMessage::TooManyEntries);
  }
  return result;
}

template <typename Encode>
std::string FormatList(std::span<const std::u16string> entries, std::string start, Encode encode) {
  std::size_t estimate = start.size();
  for (const auto& entry : entries) estimate += entry.size() + 2;
  std::string out = std::move(start);
  out.reserve(estimate + estimate / 4);
  for (const auto& entry : entries) {
    const bool block = NeedsBlock(entry);
    if (block) {
      out += kBegin;
      out += "\r\n";
    }
    out += encode(entry);
    out += "\r\n";
    if (block) {
      out += kEnd;
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace

std::string_view TextFileFormatName(TextFileFormat format) {
  switch (format) {
    case TextFileFormat::tfUnicode: return "tfUnicode";
    case TextFileFormat::tfUnicodeBigEndian: return "tfUnicodeBigEndian";
    case TextFileFormat::tfUtf8: return "tfUtf8";
    case TextFileFormat::tfANSI: break;
  }
  return "tfANSI";
}

TextFileFormat GetTextFileFormat(std::string_view firstBytes) {
  if (firstBytes.size() < 2) return TextFileFormat::tfANSI;
  const unsigned value = static_cast<unsigned char>(firstBytes[0]) * 256u + static_cast<unsigned char>(firstBytes[1]);
  switch (value) {
    case 0xFFFE: return TextFileFormat::tfUnicode;
    case 0xFEFF: return TextFileFormat::tfUnicodeBigEndian;
    case 0xEFBB: return TextFileFormat::tfUtf8;
    default: return TextFileFormat::tfANSI;
  }
}

ListParseResult ParseAnsiList(std::string_view ansiBytes, std::size_t limit, bool inputCut) {
  return Walk<char>(ansiBytes, limit, inputCut, false,
                    [](std::string_view line) { return unicode::AnsiToUtf16(line); });
}

ListParseResult ParseUtf8List(std::string_view utf8Bytes, std::size_t limit, bool inputCut) {
  return Walk<char>(utf8Bytes, limit, inputCut, true,
                    [](std::string_view line) { return unicode::Utf8ToUtf16(line); });
}

ListParseResult ParseUtf16List(std::u16string_view text, std::size_t limit, bool inputCut) {
  return Walk<char16_t>(text, limit, inputCut, true,
                        [](std::u16string_view line) { return std::u16string(line); });
}

ListParseResult ParseUtf16Lines(std::u16string_view text, std::size_t limit, bool inputCut) {
  return Walk<char16_t>(text, limit, inputCut, false,
                        [](std::u16string_view line) { return std::u16string(line); });
}

std::u16string ReadUtf8File(std::string_view fileBytes) {
  if (fileBytes.starts_with(kUtf8Mark)) fileBytes.remove_prefix(kUtf8Mark.size());
  return unicode::Utf8ToUtf16(fileBytes);
}

std::u16string ReadUnicodeFile(std::string_view fileBytes, bool hasBom) {
  if (hasBom) {
    if (!fileBytes.starts_with("\xFF\xFE")) return {};
    fileBytes.remove_prefix(2);
  }
  std::u16string text(fileBytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(fileBytes[2 * i]) |
                                    (static_cast<unsigned char>(fileBytes[2 * i + 1]) << 8));
  }
  return text;
}

std::string Utf8FileBytes(std::u16string_view text) {
  std::string out(kUtf8Mark);
  out += unicode::Utf16ToUtf8(text);
  return out;
}

bool NeedsBlock(std::u16string_view entry) {
  return std::any_of(entry.begin(), entry.end(), [](char16_t c) { return IsBreak(c); });
}

std::string FormatAnsiList(std::span<const std::u16string> entries) {
  return FormatList(entries, std::string(),
                    [](const std::u16string& entry) { return unicode::Utf16ToAnsi(entry); });
}

std::string FormatUtf8List(std::span<const std::u16string> entries) {
  return FormatList(entries, std::string(kUtf8Mark),
                    [](const std::u16string& entry) { return unicode::Utf16ToUtf8(entry); });
}

std::string FormatSingleEntryAnsi(std::u16string_view text) {
  std::string out = unicode::Utf16ToAnsi(text);
  out += "\r\n";
  return out;
}

std::string FormatSingleEntryUtf8(std::u16string_view text) { return Utf8FileBytes(text); }

}  // namespace app
