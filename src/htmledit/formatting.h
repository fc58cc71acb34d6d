// The formatting commands on the document tree: inline styles (bold, italic, underline), FONT
// attributes (face, size, colour), block formats, lists and alignment, and the queries behind
// the editor's formatting boxes. Ranges are body-text positions of a layout of the tree as it
// was before the change; an empty range asks about the character the caret continues.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

enum class InlineStyle { Bold, Italic, Underline };
enum class FontAttribute { Face, Size, Color };

// Whether every character of the range shows the style.
bool HasInlineStyle(const BodyText& layout, int start, int end, InlineStyle style);

// Applies the style (B, I or U elements around the text), or removes it: the B and STRONG
// (I and EM, U) elements over the range are split at its ends and the part inside unwrapped.
// What comes from elsewhere (a heading's weight, a link's underline, a style attribute) stays.
void SetInlineStyle(Document& doc, const BodyText& layout, int start, int end, InlineStyle style, bool on);

// Sets a FONT attribute ("face", "size" or "color") over the range; an empty value removes it.
// Inner FONT elements lose the attribute, so that the new value shows everywhere in the range.
void SetFontAttribute(Document& doc, const BodyText& layout, int start, int end, FontAttribute attribute,
                      std::u16string_view value);

// The face the whole range shows (empty: the view's default face), nullopt for several.
std::optional<std::u16string> CommonFace(const BodyText& layout, int start, int end);
// The HTML font size (1 to 7) the whole range shows, nullopt for several.
std::optional<int> CommonFontSize(const BodyText& layout, int start, int end);

// The block formats by our engine's names, the normal paragraph first.
const std::vector<std::u16string>& BlockFormatNames();
// The name of the block format at a position.
std::u16string BlockFormatAt(const BodyText& layout, int pos);
// Gives the blocks of the range a format by name; false for an unknown name.
bool SetBlockFormat(Document& doc, const BodyText& layout, int start, int end, std::u16string_view name);

// Whether the position lies in an ordered (OL) or unordered (UL) list.
bool IsInList(const BodyText& layout, int pos, bool ordered);
// Makes the blocks of the range items of a list of the kind, or, when they all are, paragraphs.
void ToggleList(Document& doc, const BodyText& layout, int start, int end, bool ordered);
// Sets the alignment ("left", "center", "right", "justify"; empty removes it) of the blocks.
void SetAlignment(Document& doc, const BodyText& layout, int start, int end, std::u16string_view align);

// The blocks that hold the lines of a range; a line directly in the body, a cell or another
// container is wrapped into a new block of wrapTag first.
std::vector<Node*> LineBlocksInRange(Document& doc, const BodyText& layout, int start, int end, int wrapTag);

}  // namespace htmledit
