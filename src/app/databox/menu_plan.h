// The rows of the data-box menus and the program-shortcut menu, planned from a folder tree
// before any menu row is made: a sub-folder becomes a sub-menu row named after it, a text file
// (data box, caption with its extension) or a shortcut (caption without ".lnk") a file row.
// Every file and sub-menu row is followed by a separator; sub-menus stand above the files, the
// folder found last first. Each folder's names are taken in the order NTFS lists them, so the
// menus are the same on every file system. Every row keeps its full path: captions are names
// as they stand, never read back to find a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class MenuFileKind { DataBoxText, Shortcut };

struct MenuPlanRow {
  enum class Kind { Separator, Folder, File };
  Kind kind = Kind::Separator;
  std::u16string caption;
  std::u16string path;                // the file or folder; empty for a separator
  std::vector<MenuPlanRow> children;  // a folder's rows
  bool operator==(const MenuPlanRow&) const = default;
};

// The walk (`liecukeyiexezi`, `ScanShortcutFolder`) goes no deeper than this below its folder.
inline constexpr int kMaxMenuFolderDepth = 32;

// The sub-folder rows of a folder, each filled with its own files and sub-folders. A folder
// reached a second time (through a folder link) and folders deeper than the limit are left out.
std::vector<MenuPlanRow> PlanFolderRows(const std::u16string& folder, MenuFileKind kind);

// The file rows of the folder itself (`AddDataBoxTextItems`, `AddShortcutItems`), each
// followed by a separator.
std::vector<MenuPlanRow> PlanFileRows(const std::u16string& folder, MenuFileKind kind);

// NTFS's order of names: code unit by code unit after upper-casing.
bool NtfsNameLess(std::u16string_view a, std::u16string_view b);

// Whether the name ends with the extension (".txt", ".lnk"), in any case.
bool HasExtension(std::u16string_view name, std::u16string_view extension);

}  // namespace app
