// Text rules shared by the archive's name list and the INI reader.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skin {

// Lines split at every CR or LF; after a line one CR and then one LF are skipped, so CR LF
// ends one line and a text ending in a break has no empty last line.
std::vector<std::u16string> SplitTextLines(std::u16string_view text);

// Removes every character up to the blank (controls and spaces) at both ends.
std::u16string_view TrimBlanks(std::u16string_view text);

// Letter case of A-Z only: other characters (Chinese among them) stay as they are.
std::u16string AsciiLower(std::u16string_view text);
std::u16string AsciiUpper(std::u16string_view text);
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace skin
