#include "app/listfile/listfile_recent.h"

#include <algorithm>

namespace app {

bool RecentFileList::Add(std::u16string_view file) {
  if (file.empty()) return false;
  const auto used = RecentFiles.begin() + std::clamp(RecentFileCount, 0, static_cast<int>(RecentFiles.size()));
  if (std::find(RecentFiles.begin(), used, file) != used) return false;
  if (RecentFileCount < 0 || RecentFileCount > MaxRecentFiles) return false;
  RecentFiles[RecentFileCount] = std::u16string(file);
  ++RecentFileCount;
  return true;
}

std::u16string RecentFileList::FileAtMenuRow(int k) const {
  const int index = k - kFixedMenuRows;
  if (index < 0 || index >= RecentFileCount || index >= static_cast<int>(RecentFiles.size())) return {};
  return RecentFiles[index];
}

std::u16string RecentFileList::RowCaption(std::u16string_view file) {
  const std::size_t cut = file.find_last_of(u"\\/:");
  return std::u16string(cut == std::u16string_view::npos ? file : file.substr(cut + 1));
}

}  // namespace app
