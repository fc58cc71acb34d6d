// Typing, deleting and breaking lines in the document tree. Each edit is addressed by the
// body-text positions of a layout of the tree as it was before the edit, and returns where
// the caret goes as a point of the changed tree (its position is read from the next layout).
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

// The tree point typed text goes to at pos: the end of the text just before it on the same
// line (text typed after a bold word is bold), else the point PointAt gives.
DomPoint InsertionPoint(const BodyText& layout, int pos);

// A caret point's position in a layout of the changed tree.
int PositionOfPoint(const BodyText& layout, const DomPoint& point);

// Deletes [start, end): text, line breaks and objects go; when the range crosses the end of a
// block, the line after it joins the block before (table cells are never joined). Returns the
// caret point (where start was).
DomPoint DeleteContent(Document& doc, const BodyText& layout, int start, int end);

// [start, end) replaced by typed text; line breaks in it become BR elements. A space that would
// collapse (at the start or end of a line, or beside another space) is typed as a no-break space,
// and a lone no-break space that holds an empty line open is replaced. Returns the caret after
// the text.
DomPoint InsertText(Document& doc, const BodyText& layout, int start, int end, std::u16string_view text);

// What Backspace (forward false) or Delete removes at a caret: one character (a surrogate pair
// whole), or with word the word beside the caret and the blanks between. An empty range at the
// edges of the text and at a table cell's boundary.
std::pair<int, int> DeletionRange(const BodyText& layout, int pos, bool forward, bool word);

// Enter: [start, end) deleted, then the block split at the caret. A list item gives a new item
// (an empty item leaves the list as a block of newBlockTag); a line directly in the body or in
// a cell becomes a block of newBlockTag (TAGID_P or TAGID_DIV) first; a half left empty holds a
// no-break space. Returns the caret at the start of the second half.
DomPoint SplitBlock(Document& doc, const BodyText& layout, int start, int end, int newBlockTag);

// Shift+Enter: [start, end) deleted and a BR inserted (a BR that ends its block is followed by
// a no-break space, so that the new line shows). Returns the caret after the BR.
DomPoint InsertLineBreak(Document& doc, const BodyText& layout, int start, int end);

// Pasting an HTML fragment: [start, end) deleted, the fragment's nodes inserted at the caret;
// block content splits the paragraph it lands in. Returns the caret after the pasted content,
// or a null point when the fragment held nothing.
DomPoint PasteFragment(Document& doc, const BodyText& layout, int start, int end, std::u16string_view html);

// The block that holds a node's line (the nearest block ancestor; BODY at the top).
Node* BlockOf(Node* node);

// Splits ancestor at the boundary (before `before`, a child of container, which lies inside
// ancestor; nullptr: at container's end): the content after it moves into a shallow copy of
// each element from container up to ancestor, inserted after the original. Returns the copy
// of ancestor.
Node* SplitElement(Document& doc, Node* ancestor, Node* container, Node* before);

// A copy of an element without its children.
Node* ShallowCopy(Document& doc, const Node* element);

// Whether a node shows nothing (no text but blanks, no line break, no object inside it).
bool ShowsNothing(const Node* node);

// Blocks whose lines are split, joined and formatted as they stand (P, headings, PRE, items,
// a DIV without blocks inside); other blocks hold lines that get a block of their own first.
bool IsLineBlock(const Node* node);
// Moves the line that holds a node (its inline neighbours between blocks) into a new block of
// tagId. Returns the new block.
Node* WrapLine(Document& doc, Node* node, int tagId);
// Replaces an element by a new one of tagId holding its children (and its attributes).
Node* Retag(Document& doc, Node* element, int tagId, bool keepAttributes);
// Takes a list item out of its list (splitting the list) as a block of tagId.
Node* LeaveList(Document& doc, Node* item, int tagId);
bool IsListElement(const Node* node);

}  // namespace htmledit
