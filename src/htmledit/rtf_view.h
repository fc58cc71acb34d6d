// The view's content as one RTF stream: exactly the body text, with face, size, colour,
// bold, italic, underline, alignment, list marks (paragraph numbering, not text) and, for
// table rows, tab stops at the cell boundaries.
#pragma once

#include <string>

#include "htmledit/body_text.h"

namespace htmledit {

std::string BodyTextToRtf(const BodyText& layout, std::u16string_view defaultFace = u"SimSun", int defaultHalfPoints = 21);

}  // namespace htmledit
