// Restores a file from its spare copy without ever leaving a half-written file behind.
#pragma once

#include <filesystem>

namespace app {

// Copies spare to target through a temporary file beside target, renamed into place only
// when the copy is complete. False (and target untouched) when the spare is missing, larger
// than maxBytes, or anything fails.
bool RestoreFromSpareCopy(const std::filesystem::path& spare, const std::filesystem::path& target,
                          std::uintmax_t maxBytes = 64u << 20);

}  // namespace app
