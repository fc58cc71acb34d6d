// What a click on a tray entry row opens after the entry went to the clipboard: in folder
// mode the folder the text names (or the computer), in web-address mode the web address.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace app {

enum class TrayOpenKind {
  Nothing,
  Computer,       // explorer.exe with the computer's folder
  Folder,         // Explorer.exe with ExplorerFolderArguments(text)
  FolderMissing,  // the message "文件夹路径不存在  " + text
  WebAddress,     // the text through the shell
};

struct TrayOpen {
  TrayOpenKind kind = TrayOpenKind::Nothing;
  std::u16string program;     // for Computer, Folder, WebAddress: what the shell opens
  std::u16string parameters;
  std::u16string message;     // for FolderMissing
};

// `folderExists` tells whether a folder of that name exists. The text is not trimmed, and
// files (as opposed to folders) are not opened. In web-address mode only a text that
// IsWebAddress accepts is opened: any other text would be run as a program.
TrayOpen DecideTrayOpen(std::u16string_view text, bool folderMode, bool webAddressMode,
                        const std::function<bool(const std::u16string&)>& folderExists);

}  // namespace app
