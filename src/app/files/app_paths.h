// Every data file and folder of the program lies below the folder that is current at start.
#pragma once

#include <array>
#include <string>
#include <utility>

namespace app {

struct AppPaths {
  std::u16string BaseDir;
  std::u16string SoundDir;            // 音效
  std::u16string AutoSaveFile;        // 自动保存.txt
  std::u16string ExitDatabaseFile;    // 退出记录数据库.mdb
  std::u16string ShortcutDir;         // 程序快捷方式总集
  std::u16string DataBoxDir;          // 我的数据盒
  std::u16string TrayIconFile;        // 图标\系统托盘主图标.ico
  std::u16string ExitRecordFile;      // temp.txt
  std::u16string HookLibraryFile;     // SysHookDLL.dll
  std::u16string HookLibrarySpare;    // copy_Key.dll
  std::u16string HelpDir;             // 帮助
  std::array<std::u16string, 6> SampleTableFiles;
  // Sample tables renamed by later versions: old name, new name (both full paths).
  std::array<std::pair<std::u16string, std::u16string>, 4> SampleTableRenames;
};

// Builds every path from the start-up folder (no trailing backslash expected; one is tolerated).
AppPaths MakeAppPaths(std::u16string baseDir);

}  // namespace app
