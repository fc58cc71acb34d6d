// HTML source of a document: either the text as loaded, patched, or generated afresh by
// walking the tree under the sixteen source code options.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "htmledit/dom.h"
#include "htmledit/editor_attributes.h"

namespace htmledit {

struct SourceContext {
  THtmlEditSourceCodeOptions options = THtmlEditSourceCodeOptions::All();
  std::u16string doctype;          // the DOCTYPE property (empty by default)
  std::u16string preservedSource;  // the document's text as loaded
  std::u16string baseUrl;          // GetBaseURL
  THtmlEditTagsSubstitution substitutions;
  int ansiCodePage = 936;          // for the charset of Preserve8BitCharacters
};

// The generation walk from the document's one HTML element, with the prefix; "ERROR"
// when there is not exactly one HTML element.
std::u16string GenerateSource(const Document& doc, const SourceContext& ctx);

// The source of one element (the walk at level 0, no prefix).
std::u16string GenerateElementSource(const Document& doc, const Node* element, const SourceContext& ctx);

// GetSource: "BUSY" when not ready; the preserved text patched (stray content into the
// body, the current title, link addresses) or the generated text with the head scripts
// of the preserved text restored.
std::u16string GetSourceText(const Document& doc, bool ready, bool preservation, const SourceContext& ctx);

// Text escaping of the generator: every line break as one CR LF, entity names, numeric
// references (one per code point) above 127 unless kept as 8-bit characters.
std::u16string EscapeSourceText(std::u16string_view text, THtmlEditSourceCodeOptions options);

// An attribute value as it goes into a tag: quoted when asked or when it needs quotes,
// with & and " escaped.
std::u16string QuoteAttributeValue(std::u16string_view value, bool alwaysQuote);

// Removes every DESIGNTIMEURL and DESIGNTIMESP attribute (blank before the name through
// the closing quote) and trims the text.
std::u16string StripDesignTimeAttributes(std::u16string_view html);

// The preserved-source patches of GetSource (steps 4 to 7), exposed for tests.
std::u16string MoveStrayContentIntoBody(std::u16string_view preserved);
std::u16string ReplaceTitle(std::u16string_view source, std::u16string_view title);
std::u16string UnescapeHrefAmpersands(std::u16string_view source);
std::u16string RestoreHeadScripts(std::u16string_view preserved, std::u16string_view generated);

}  // namespace htmledit
