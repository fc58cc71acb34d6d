// Line-break normalisation for texts that go into a multi-line EDIT window.
#pragma once

#include <string>
#include <string_view>

namespace unicode {

// Every CR LF, lone CR and lone LF becomes CR LF (so LF CR becomes two breaks).
std::u16string AdjustLineBreaksToCrLf(std::u16string_view text);

}  // namespace unicode
