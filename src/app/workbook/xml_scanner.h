// A small pull scanner for the XML parts of a workbook: start and end tags with their
// attributes, and text. Names are matched by their local part (prefixes dropped). Entities
// are the five predefined ones and character references; a document type declaration is
// skipped and never expanded, so no outside or recursive entity is ever read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

class XmlScanner {
 public:
  enum class Token { StartTag, EndTag, Text, End };

  explicit XmlScanner(std::string_view xml) : xml_(xml) {}

  // The next token; throws WorkbookFailure (Damaged) on malformed markup.
  Token next();
  // For tags: the local name. A self-closing tag is reported as StartTag with selfClosing()
  // and then as EndTag.
  std::string_view name() const { return name_; }
  bool selfClosing() const { return selfClosing_; }
  // An attribute of the current start tag by its local name, entities decoded.
  std::optional<std::string> attribute(std::string_view localName) const;
  // The current text (entities decoded); CDATA sections come as text too.
  std::string text() const;

 private:
  std::string_view xml_;
  std::size_t pos_ = 0;
  std::string_view name_;
  std::string_view attributes_;
  std::string_view text_;
  bool textIsRaw_ = false;
  bool selfClosing_ = false;
  bool pendingEnd_ = false;
};

// Decodes &lt; &gt; &amp; &quot; &apos; and &#N; / &#xN; (UTF-8 out). An unknown entity is kept
// as it stands.
std::string DecodeXmlText(std::string_view raw);

}  // namespace app
