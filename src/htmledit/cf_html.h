// The clipboard's "HTML Format" (CF_HTML): an exact writer and a tolerant reader.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmledit {

inline constexpr char16_t kCfHtmlFormatName[] = u"HTML Format";

// The bytes of an HTML Format block for a fragment: "Version:0.9", StartHTML, EndHTML,
// StartFragment and EndFragment as 10-digit byte offsets, optionally SourceURL, then the
// document with the fragment between its markers; UTF-8 throughout.
std::string WriteCfHtml(std::u16string_view fragmentHtml, std::u16string_view sourceUrl = {});

struct CfHtml {
  std::u16string html;       // the whole HTML part
  std::u16string fragment;   // the fragment (the whole part when none can be found)
  std::u16string sourceUrl;
};

// Reads an HTML Format block. Offsets are checked against the buffer; where the fragment
// markers disagree with them the markers win; bytes that are not UTF-8 are read in code
// page 936. Without a header the bytes are taken as HTML. nullopt for an empty block.
std::optional<CfHtml> ReadCfHtml(std::string_view bytes);

// Which clipboard format a paste takes: HTML Format, else Unicode text, else ANSI text.
enum class PasteSource { None, Html, UnicodeText, AnsiText };
PasteSource ChoosePasteSource(bool hasHtmlFormat, bool hasUnicodeText, bool hasAnsiText);

// Plain text as HTML to insert: escaped, line breaks as <BR>.
std::u16string TextToHtml(std::u16string_view text);

}  // namespace htmledit
