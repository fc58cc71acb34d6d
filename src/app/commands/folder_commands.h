// "批量打开文件夹": which checked rows open, what goes to the edit box, what the user is told;
// and the arguments every folder opened in Explorer gets.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Explorer's arguments for a folder opened in a window of its own ("/n,") and for a file
// shown selected in its folder ("/select,"). Every path given to Explorer goes through
// these: in quotes, so that a path with blanks or commas stays one path.
std::u16string ExplorerFolderArguments(std::u16string_view folder);
std::u16string ExplorerSelectArguments(std::u16string_view file);

// The text without leading and trailing characters up to the blank (control characters too).
std::u16string TrimText(std::u16string_view text);

struct BatchOpenPlan {
  std::vector<std::u16string> folders;  // to open, in row order
  std::u16string memoText;              // "打开失败  " + path + CR LF for each missing one
  std::u16string message;               // for the box captioned "批量打开文件夹记录"
};

// texts/checked: the rows; folderExists tells which trimmed paths are folders.
BatchOpenPlan PlanBatchOpen(const std::vector<std::u16string>& texts, const std::vector<bool>& checked,
                            const std::function<bool(const std::u16string&)>& folderExists);

}  // namespace app
