// UTF-7 (RFC 2152) between UTF-16 and 7-bit bytes.
#pragma once

#include <string>
#include <string_view>

namespace unicode {

// Directly written: A-Z a-z 0-9 ' ( ) , - . / : ? space tab CR LF. The optional direct
// characters ! " # $ % & * ; < = > @ [ ] ^ _ ` { | } are written directly unless
// encodeOptional is set. "+" becomes "+-"; everything else goes into Base64 runs
// (alphabet A-Z a-z 0-9 + /, no padding), each closed with "-" when the next character
// could be read as part of the run.
std::string Utf16ToUtf7(std::u16string_view text, bool encodeOptional = false);

// Raises WideException "Invalid UTF7" for a byte above 0x7F, a "+" that starts no run,
// or a run whose leftover bits are not a zero padding of less than six bits.
std::u16string Utf7ToUtf16(std::string_view bytes);

}  // namespace unicode
