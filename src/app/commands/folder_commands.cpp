#include "app/commands/folder_commands.h"

namespace app {

namespace {
std::u16string Quoted(std::u16string_view path) { return u"\"" + std::u16string(path) + u"\""; }
}  // namespace

std::u16string ExplorerFolderArguments(std::u16string_view folder) { return u"/n," + Quoted(folder); }
std::u16string ExplorerSelectArguments(std::u16string_view file) { return u"/select," + Quoted(file); }

std::u16string TrimText(std::u16string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return std::u16string(text.substr(first, last - first));
}

BatchOpenPlan PlanBatchOpen(const std::vector<std::u16string>& texts, const std::vector<bool>& checked,
                            const std::function<bool(const std::u16string&)>& folderExists) {
  BatchOpenPlan plan;
  int failed = 0;
  for (std::size_t i = 0; i < texts.size() && i < checked.size(); ++i) {
    if (!checked[i]) continue;
    const std::u16string path = TrimText(texts[i]);
    if (folderExists(path)) {
      plan.folders.push_back(path);
    } else {
      plan.memoText += u"打开失败  " + path + u"\r\n";
      ++failed;
    }
  }
  // Nothing opened (also when no row was checked) is never "all opened".
  if (plan.folders.empty()) plan.message = u"一个都没打开";
  else if (failed == 0) plan.message = u"全部成功打开";
  else plan.message = u"打开有失败，请查看下方编辑框记录";
  return plan;
}

}  // namespace app
