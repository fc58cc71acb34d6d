#include "app/database/database_file.h"

namespace app {

namespace fs = std::filesystem;

bool ClearReadOnly(const fs::path& file) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (error || status.type() != fs::file_type::regular) return false;
  if ((status.permissions() & fs::perms::owner_write) != fs::perms::none) return false;
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
  return !error;
}

void SetReadOnly(const fs::path& file) {
  std::error_code error;
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove, error);
}

}  // namespace app
