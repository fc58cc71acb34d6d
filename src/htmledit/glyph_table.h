// The glyph table the editor hands the document when tags are shown: fourteen entries,
// each naming a tag, the picture that marks its start or end, and the glyph's fields.
#pragma once

#include <string>
#include <string_view>

namespace htmledit {

// modulePath is the program's full file name (the pictures are its resources).
std::u16string GlyphTableText(std::u16string_view modulePath);

}  // namespace htmledit
