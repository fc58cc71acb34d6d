// The element the editor's selection stands on, and what the editor does with its source:
// the selection source (generated or as kept), replacing it, and the bytes a source file
// gets.
#pragma once

#include <string>
#include <string_view>

#include "htmledit/body_text.h"
#include "htmledit/source_generator.h"
#include "htmledit/table_editing.h"

namespace htmledit {

// A range over exactly one embedded object is a control selection of its element;
// otherwise the element is the innermost one holding the range.
TableSelection SelectionAt(const BodyText& layout, int start, int end);

// GetSelectionSource: the element's source (the generation walk), or with preservation its
// outer HTML without design-time attributes, trimmed. Empty without an element.
std::u16string SelectionSource(const Document& doc, const TableSelection& selection, bool preservation,
                               const SourceContext& ctx);

// SetSelectionSource: the element's outer HTML replaced by html, unless it is BODY, TD, TH
// or TR, and only when html differs. True when the document changed.
bool SetSelectionSource(Document& doc, const TableSelection& selection, std::u16string_view html);

// A source as a file holds it: ANSI text when it survives the round trip through the ANSI
// code page, else FF FE and UTF-16LE.
std::string EncodeSourceForFile(std::u16string_view source);

}  // namespace htmledit
