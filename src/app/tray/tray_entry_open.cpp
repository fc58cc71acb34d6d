#include "app/tray/tray_entry_open.h"

#include "app/commands/folder_commands.h"
#include "app/mainform/list_interaction.h"

namespace app {

TrayOpen DecideTrayOpen(std::u16string_view text, bool folderMode, bool webAddressMode,
                        const std::function<bool(const std::u16string&)>& folderExists) {
  const std::u16string entry(text);
  if (folderMode) {
    if (entry == u"我的电脑" || entry == u"计算机") {
      return {TrayOpenKind::Computer, u"explorer.exe", u"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", {}};
    }
    if (folderExists(entry)) return {TrayOpenKind::Folder, u"Explorer.exe", ExplorerFolderArguments(entry), {}};
    return {TrayOpenKind::FolderMissing, {}, {}, u"文件夹路径不存在  " + entry};
  }
  if (webAddressMode && IsWebAddress(entry)) return {TrayOpenKind::WebAddress, TrimBlanks(entry), {}, {}};
  return {};
}

}  // namespace app
