// The editor's repairs after the document has handled a key, and the tests that decide when
// they are due (the division mode that turns new paragraphs into DIVs, and the line-break mode
// that keeps the document free of P and DIV), and the rule of the caret position's count.
#pragma once

#include <string_view>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

// The selection test of the key handling: the range covers the whole body text, or a whole
// paragraph with something in it.
bool SelectionCoversBlock(const BodyText& layout, int start, int end);

// GetSelStart counts one less when the body's HTML is exactly an empty paragraph or division,
// or starts with an empty paragraph.
bool SelStartCountsOneLess(std::u16string_view bodyInnerHtml);

// The paragraph fix-up: when the body's HTML changed since `remembered` and holds "</P>", the
// P that holds the caret becomes a DIV. True when the tree changed.
bool ParagraphFixup(Document& doc, const BodyText& layout, int caret, std::u16string_view remembered);

// The division fix-up: from the element of the caret up to the first P or the body. A P is
// replaced by its content (an empty one goes whole); at the body, its P and DIV elements go (empty ones whole, others
// leaving their content; elements with attributes stay, so that no content changes its
// formatting). Outside the line-break mode (lineBreakMode false) only empty ones go, so that
// the document's paragraphs never run together. True when the tree changed.
bool DivisionFixup(Document& doc, const BodyText& layout, int caret, bool lineBreakMode);

}  // namespace htmledit
