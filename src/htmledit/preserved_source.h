// The document's own source text from the bytes its stream holds: UTF-16LE after an
// FF FE mark, UTF-8 after EF BB BF, else the ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace htmledit {

std::u16string DecodePreservedSource(std::string_view bytes);

}  // namespace htmledit
