// The plain text of an RTF stream, for RTF that another program streams into the editor's
// view: what it would show, as text, with paragraphs as "\r". The input is hostile: read once,
// group nesting capped, the output never longer than the input.
#pragma once

#include <string>
#include <string_view>

namespace htmledit {

std::u16string RtfToText(std::string_view rtf);

}  // namespace htmledit
