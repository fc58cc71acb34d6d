// The file-system steps of the database writer.
#pragma once

#include <filesystem>
#include <string>

namespace app {

// Clears the read-only state of an existing file (the read-only attribute on Windows, the
// missing write permission elsewhere); true when it was set. A file replaced by a rename
// must not be read-only on Windows.
bool ClearReadOnly(const std::filesystem::path& file);
void SetReadOnly(const std::filesystem::path& file);

}  // namespace app
