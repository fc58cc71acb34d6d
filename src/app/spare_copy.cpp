#include "app/spare_copy.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace app {

bool RestoreFromSpareCopy(const std::filesystem::path& spare, const std::filesystem::path& target,
                          std::uintmax_t maxBytes) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(spare, ec);
  if (ec || size > maxBytes) return false;
  std::filesystem::path temporary = target;
  temporary += ".part";
  {
    std::ifstream in(spare, std::ios::binary);
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    std::vector<char> block(64 * 1024);
    std::uintmax_t copied = 0;
    while (in) {
      in.read(block.data(), static_cast<std::streamsize>(block.size()));
      const std::streamsize got = in.gcount();
      if (got <= 0) break;
      out.write(block.data(), got);
      if (!out) break;
      copied += static_cast<std::uintmax_t>(got);
    }
    out.close();
    if (!out || copied != size) {
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace app
