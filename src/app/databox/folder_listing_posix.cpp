#include "app/databox/folder_listing.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "unicode/codepage.h"

namespace app {

namespace fs = std::filesystem;

std::vector<FolderEntry> ListFolder(const std::u16string& folder) {
  std::vector<FolderEntry> entries;
  std::error_code error;
  fs::directory_iterator it(fs::path(unicode::Utf16ToUtf8(folder)), error);
  if (error) return entries;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::error_code kindError;
    entries.push_back({unicode::Utf8ToUtf16(it->path().filename().string()), it->is_directory(kindError)});
  }
  return entries;
}

std::u16string FolderIdentity(const std::u16string& folder) {
  struct stat info {};
  if (stat(unicode::Utf16ToUtf8(folder).c_str(), &info) != 0) return {};
  const std::string id = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return std::u16string(id.begin(), id.end());
}

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && folder.back() == u'/') return folder + name;
  return folder + u"/" + name;
}

}  // namespace app
