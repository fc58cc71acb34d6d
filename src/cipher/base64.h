// Base64 text of byte strings (the RFC 4648 alphabet, "=" padding, no line breaks), and the
// lenient decoder the string decryption uses: it never rejects a text.
#pragma once

#include <string>
#include <string_view>

namespace cipher {

// (n + 2) / 3 * 4 characters for n bytes.
std::string Base64EncodeStr(std::string_view bytes);

// Reads whole groups of four only (a trailing partial group is ignored). "=" marks padding
// wherever it stands, and decoding goes on after a padded group. A character outside the
// alphabet counts as 0.
std::string Base64DecodeStr(std::string_view text);

}  // namespace cipher
