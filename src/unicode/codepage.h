// The one place where text crosses between UTF-16 and the byte encodings the program
// meets: the ANSI code page 936 of the Chinese system, and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace unicode {

// UTF-8 bytes to UTF-16. A malformed or overlong sequence, a surrogate code point or
// a code point above U+10FFFF decodes to one U+FFFD per bad byte; nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view bytes);

// UTF-16 to UTF-8. A lone surrogate is written as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Code page 936 bytes to UTF-16 (the system's ANSI code page on the target machines).
// A trailing lead byte without its second byte becomes U+FFFD; bytes that the code page
// does not map become U+FFFD.
std::u16string AnsiToUtf16(std::string_view bytes);

// UTF-16 to code page 936; a character the code page cannot hold becomes '?'.
std::string Utf16ToAnsi(std::u16string_view text);

// ANSI bytes to the OEM code page and back, byte for byte in length (the system's buffer
// conversions). On the Chinese systems the program runs on both code pages are 936, so
// text of that code page comes back unchanged.
std::string AnsiBytesToOem(std::string_view bytes);
std::string OemBytesToAnsi(std::string_view bytes);

}  // namespace unicode
