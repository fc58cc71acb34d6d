// What a copy of a selection puts on the clipboard: the range's HTML (with the inline
// formatting around it) and its plain text.
#pragma once

#include <string>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

// The HTML of [start, end): the whole body's inner HTML for the whole text; otherwise the
// nodes the range covers (cut at its ends), inside copies of the inline elements around them.
std::u16string RangeHtml(const Document& doc, const BodyText& layout, int start, int end);

// The text of [start, end) as plain text: line breaks as CR LF, embedded objects left out.
std::u16string RangeText(const BodyText& layout, int start, int end);

}  // namespace htmledit
