// Writing a whole file safely: the bytes go to a temporary file beside the target, which
// replaces the target only when everything was written. A failure leaves the old file.
#pragma once

#include <string>
#include <string_view>

namespace htmledit {

bool WriteFileReplacing(const std::u16string& path, std::string_view bytes);

// Reads a whole file of at most maxBytes; false when it cannot be read or is larger.
// Exclusive: no other program may have it open meanwhile (nor write it while it is read).
bool ReadWholeFile(const std::u16string& path, std::string& bytes, size_t maxBytes, bool exclusive = false);

}  // namespace htmledit
