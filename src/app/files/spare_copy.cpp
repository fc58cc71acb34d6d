#include "app/files/spare_copy.h"

#include "app/files/atomic_file.h"

namespace app {

bool RestoreFromSpareCopy(const std::filesystem::path& spare, const std::filesystem::path& target,
                          std::uintmax_t maxBytes) {
  const FileReadResult read = ReadFileBounded(spare, static_cast<std::size_t>(maxBytes));
  if (read.error || read.truncated) return false;
  return !WriteFileAtomically(target, read.bytes);
}

}  // namespace app
