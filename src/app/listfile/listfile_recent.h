// The recent-files menu `menuzuijinwenjian` ("最近打开过的文件  "): its three fixed rows
// ("清空历史文件", a separator, "本次剪切板历史文本总集") are followed by one row per file,
// captioned with the file name without its folder. This is its model; the window adds and
// removes the rows as these calls say.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace app {

struct RecentFileList {
  static constexpr int MaxRecentFiles = 40;
  static constexpr int kFixedMenuRows = 3;

  std::array<std::u16string, 51> RecentFiles;
  int RecentFileCount = 0;

  // After a list was read completely or written: stores the file when it is not one of
  // the files listed now and RecentFileCount <= MaxRecentFiles. True means "add a menu
  // row captioned RowCaption(file)". Only the slots in use are compared: a slot left
  // over from before the list was emptied does not count.
  bool Add(std::u16string_view file);

  // `qinkonglisiwenClick`: the file rows go (from the last down to the fourth row).
  void Clear() { RecentFileCount = 0; }

  // `lastjianClick`: the file of the row at place k of the menu (RecentFiles[k - 3]),
  // or empty when k is not a file row.
  std::u16string FileAtMenuRow(int k) const;

  // The row caption: the file name without its folder.
  static std::u16string RowCaption(std::u16string_view file);
};

}  // namespace app
