// What the menu builders read of a folder: its entries, and an identity that is the same for
// every path to one folder, so that a walk through folder links never enters a folder twice.
// Twins: folder_listing_win32.cpp (FindFirstFileW) and folder_listing_posix.cpp.
#pragma once

#include <string>
#include <vector>

namespace app {

struct FolderEntry {
  std::u16string name;
  bool folder = false;
};

// The entries of a folder, "." and ".." left out, in the order the file system gives them;
// empty when the folder is missing or cannot be read.
std::vector<FolderEntry> ListFolder(const std::u16string& folder);

// The folder's identity (volume and file index, or device and inode); empty when unknown.
std::u16string FolderIdentity(const std::u16string& folder);

// folder + separator + name; no second separator when the folder ends with one.
std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

}  // namespace app
