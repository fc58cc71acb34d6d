// The system's own text for an error number, trimmed of blanks and line breaks. Callers
// differ only in what they show for a number the system has no text for: a pattern whose
// "%d" becomes the number.
#pragma once

#include <string>
#include <string_view>

namespace unicode {

inline constexpr std::u16string_view kUnspecifiedSystemError = u"Unspecified error (%d) from system.";

// The raw text the platform gives for the number (FormatMessageW, strerror natively); empty
// when it has none.
std::u16string PlatformErrorText(int error);

// A platform text trimmed of blanks and line breaks; the fallback pattern with its "%d"
// replaced by the number when nothing is left.
std::u16string ComposeErrorText(std::u16string raw, int error, std::u16string_view fallback);

// ComposeErrorText of the platform's text for the number.
std::u16string SystemErrorText(int error, std::u16string_view fallback = kUnspecifiedSystemError);

}  // namespace unicode
