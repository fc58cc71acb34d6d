#include "app/workbook/xml_scanner.h"

#include <cstdint>

#include "app/workbook/workbook_error.h"

namespace app {

namespace {
[[noreturn]] void Damaged() { throw WorkbookFailure(WorkbookError::Damaged); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view LocalName(std::string_view qualified) {
  const std::size_t colon = qualified.rfind(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::optional<std::uint32_t> CharacterReference(std::string_view body) {
  // body is what stands between "&#" and ";".
  int base = 10;
  if (!body.empty() && (body[0] == 'x' || body[0] == 'X')) {
    base = 16;
    body.remove_prefix(1);
  }
  if (body.empty() || body.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : body) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * base + digit;
  }
  return value;
}
}  // namespace

std::string DecodeXmlText(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size();) {
    if (raw[i] != '&') {
      out.push_back(raw[i++]);
      continue;
    }
    const std::size_t semi = raw.find(';', i);
    if (semi == std::string_view::npos || semi - i > 12) {
      out.push_back(raw[i++]);
      continue;
    }
    const std::string_view entity = raw.substr(i + 1, semi - i - 1);
    if (entity == "lt") out.push_back('<');
    else if (entity == "gt") out.push_back('>');
    else if (entity == "amp") out.push_back('&');
    else if (entity == "quot") out.push_back('"');
    else if (entity == "apos") out.push_back('\'');
    else if (!entity.empty() && entity[0] == '#') {
      const auto cp = CharacterReference(entity.substr(1));
      if (!cp) {
        out.append(raw.substr(i, semi - i + 1));
      } else {
        AppendUtf8(out, *cp);
      }
    } else {
      out.append(raw.substr(i, semi - i + 1));
    }
    i = semi + 1;
  }
  return out;
}

XmlScanner::Token XmlScanner::next() {
  if (pendingEnd_) {
    pendingEnd_ = false;
    selfClosing_ = false;
    return Token::EndTag;
  }
  for (;;) {
    if (pos_ >= xml_.size()) return Token::End;
    if (xml_[pos_] != '<') {
      const std::size_t lt = xml_.find('<', pos_);
      const std::size_t stop = lt == std::string_view::npos ? xml_.size() : lt;
      text_ = xml_.substr(pos_, stop - pos_);
      textIsRaw_ = false;
      pos_ = stop;
      return Token::Text;
    }
    const std::string_view rest = xml_.substr(pos_);
    if (rest.starts_with("<?")) {
      const std::size_t close = xml_.find("?>", pos_ + 2);
      if (close == std::string_view::npos) Damaged();
      pos_ = close + 2;
      continue;
    }
    if (rest.starts_with("<!--")) {
      const std::size_t close = xml_.find("-->", pos_ + 4);
      if (close == std::string_view::npos) Damaged();
      pos_ = close + 3;
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      const std::size_t close = xml_.find("]]>", pos_ + 9);
      if (close == std::string_view::npos) Damaged();
      text_ = xml_.substr(pos_ + 9, close - pos_ - 9);
      textIsRaw_ = true;
      pos_ = close + 3;
      return Token::Text;
    }
    if (rest.starts_with("<!")) {
      // A document type declaration, with an internal subset in brackets: skipped whole.
      std::size_t i = pos_ + 2;
      int depth = 0;
      for (; i < xml_.size(); ++i) {
        if (xml_[i] == '[') ++depth;
        else if (xml_[i] == ']') --depth;
        else if (xml_[i] == '>' && depth <= 0) break;
      }
      if (i >= xml_.size()) Damaged();
      pos_ = i + 1;
      continue;
    }
    // A tag: find its end outside quoted attribute values.
    std::size_t i = pos_ + 1;
    char quote = 0;
    for (; i < xml_.size(); ++i) {
      const char c = xml_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (i >= xml_.size()) Damaged();
    std::string_view tag = xml_.substr(pos_ + 1, i - pos_ - 1);
    pos_ = i + 1;
    const bool end = !tag.empty() && tag.front() == '/';
    if (end) tag.remove_prefix(1);
    selfClosing_ = !end && !tag.empty() && tag.back() == '/';
    if (selfClosing_) tag.remove_suffix(1);
    std::size_t nameEnd = 0;
    while (nameEnd < tag.size() && !IsSpace(tag[nameEnd])) ++nameEnd;
    if (nameEnd == 0 || tag.substr(0, nameEnd).find('<') != std::string_view::npos) Damaged();
    name_ = LocalName(tag.substr(0, nameEnd));
    attributes_ = tag.substr(nameEnd);
    if (end) return Token::EndTag;
    pendingEnd_ = selfClosing_;
    return Token::StartTag;
  }
}

std::optional<std::string> XmlScanner::attribute(std::string_view localName) const {
  std::string_view rest = attributes_;
  while (!rest.empty()) {
    while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
    const std::size_t eq = rest.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view name = rest.substr(0, eq);
    while (!name.empty() && IsSpace(name.back())) name.remove_suffix(1);
    rest.remove_prefix(eq + 1);
    while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
    if (rest.empty() || (rest.front() != '"' && rest.front() != '\'')) return std::nullopt;
    const char quote = rest.front();
    const std::size_t close = rest.find(quote, 1);
    if (close == std::string_view::npos) return std::nullopt;
    if (LocalName(name) == localName) return DecodeXmlText(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
  }
  return std::nullopt;
}

std::string XmlScanner::text() const { return textIsRaw_ ? std::string(text_) : DecodeXmlText(text_); }

}  // namespace app
