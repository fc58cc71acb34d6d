// Free routines the editor classes share: browser version, colour text, case-blind
// string search and replacement, and the ANSI round trip test.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace htmledit {

// TColor: 0x00BBGGRR; values with the high byte 0x80 are system colours (index in the low
// byte); 0x1FFFFFFF is clNone and 0x20000000 clDefault.
using TColor = int32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The number after "MSIE " up to the next ";" of a user agent text; 0 when either is
// missing or the text between is no number.
double GetIEVersion(std::u16string_view userAgent);

// Resolves a system colour (0x80000000 | index) to RGB; the Win32 build passes GetSysColor.
using SysColorResolver = std::function<uint32_t(int index)>;
// "#RRGGBB" of a colour, system colours resolved first.
std::u16string ColorToHTML(TColor color, const SysColorResolver& sysColor = {});

// Case-blind comparison (-1, 0, 1) and equality.
int HtmlCompareText(std::u16string_view a, std::u16string_view b);
bool HtmlSameText(std::u16string_view a, std::u16string_view b);
// 1-based positions, 0 when absent. From 1 or less searches the whole string.
int HtmlPosText(std::u16string_view sub, std::u16string_view s);
int HtmlPosFrom(std::u16string_view sub, std::u16string_view s, int from);
int HtmlPosTextFrom(std::u16string_view sub, std::u16string_view s, int from);
// Replaces the first (or every) occurrence of oldText by newText. An empty oldText
// matches nothing: the text comes back as it was.
std::u16string HtmlReplaceText(std::u16string_view s, std::u16string_view oldText, std::u16string_view newText,
                               bool replaceAll, bool ignoreCase);
std::u16string HtmlLowerCase(std::u16string_view s);
std::u16string HtmlUpperCase(std::u16string_view s);
char16_t HtmlLowerChar(char16_t c);
char16_t HtmlUpperChar(char16_t c);

// LOCALE_IDEFAULTANSICODEPAGE of the user's locale; 1252 when it cannot be read.
int AnsiCodePageOf();
// c converted to the ANSI code page and back is unchanged.
bool RoundTripsAnsi(char16_t c);

}  // namespace htmledit
