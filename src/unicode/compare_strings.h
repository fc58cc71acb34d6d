// The comparison of wide string lists: case-insensitive in the user's locale
// (CompareStringW with NORM_IGNORECASE in the Windows build; towlower in a UTF-8 locale natively).
#pragma once

#include <string_view>

namespace unicode {

// -1, 0 or 1.
int CompareStringsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace unicode
