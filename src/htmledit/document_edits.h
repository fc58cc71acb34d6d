// Edits of the document tree addressed by body-text positions: the primitives the table
// insertion uses now and typing and paste will use (the editing layer routes input here).
#pragma once

#include <string_view>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

// Splits a text node at offset; the second half follows it. Returns the second half.
Node* SplitText(Document& doc, Node* text, int offset);

// Removes the text, line breaks and objects in [start, end) (block structure stays).
void DeleteRange(Document& doc, const BodyText& layout, int start, int end);

// Parses html as a fragment and inserts its nodes at position pos. Returns the first
// inserted node (nullptr when the fragment was empty).
Node* InsertHtmlAt(Document& doc, const BodyText& layout, int pos, std::u16string_view html);

// PasteHTMLAtSelection for a text selection: the range replaced by html when its HTML differs,
// then a lone BASEFONT of the document moved into a lone HEAD. False when nothing was inserted.
bool PasteHtmlAtRange(Document& doc, int start, int end, std::u16string_view html);

// The same for a control selection: the element's outer HTML replaced when it differs.
bool ReplaceElementHtml(Document& doc, Node* element, std::u16string_view html);

}  // namespace htmledit
