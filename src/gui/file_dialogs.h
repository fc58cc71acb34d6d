// The common open and save dialogs, described the way the window designs give them: a
// filter text "name|pattern|name|pattern", a filter index counting from 1, an initial folder.
#pragma once

#include <windows.h>

#include <string>

namespace gui {

struct FileDialogSpec {
  std::u16string filter;
  int filterIndex = 1;
  std::u16string initialDir;
  std::u16string fileName;
  std::u16string defaultExtension;  // without the dot
  std::u16string title;
};

struct FileDialogResult {
  bool ok = false;
  std::u16string file;
  int filterIndex = 1;  // the filter chosen when the dialog closed
};

FileDialogResult OpenFileDialog(HWND owner, const FileDialogSpec& desc);
FileDialogResult SaveFileDialog(HWND owner, const FileDialogSpec& desc);

// The shell's folder dialog (file-system folders only, new dialog style), with title as its
// text and initialFolder selected when it is not empty. folder receives the chosen path, or
// the empty text on Cancel or for an item without a path.
void BrowseForFolder(HWND owner, std::u16string_view title, std::u16string_view initialFolder,
                     std::u16string& folder);

}  // namespace gui
