#include "app/explorer/explorer_options.h"

namespace app {

std::vector<RegistryDword> ExplorerOptionValues(ExplorerOption option, bool shown) {
  if (option == ExplorerOption::Extensions) return {{u"HideFileExt", shown ? 0u : 1u}};
  return {{u"Hidden", shown ? 1u : 2u}, {u"ShowSuperHidden", shown ? 1u : 0u}};
}

std::u16string_view ExplorerKeyMissingMessage(ExplorerOption option) {
  return option == ExplorerOption::Extensions ? u"打开显示扩展名项失败,请检查项是否存在"
                                              : u"打开显示系统隐藏文件项失败,请检查项是否存在";
}

std::vector<RefreshStep> PlanExplorerRefresh(std::span<const TopWindow> windows, bool win7) {
  constexpr std::u16string_view kExplorerClass = u"cabinetwclass";
  constexpr std::size_t kClassBuffer = 254;  // the walk reads class names into 254 characters
  std::vector<RefreshStep> steps;
  for (const TopWindow& w : windows) {
    const std::u16string_view name = std::u16string_view(w.className).substr(0, kClassBuffer - 1);
    if (name.size() != kExplorerClass.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      char16_t c = name[i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      same = c == kExplorerClass[i];
    }
    if (same) steps.push_back({w.handle, win7 ? RefreshAction::ShowAndPressF5 : RefreshAction::PostRefresh});
  }
  return steps;
}

bool IsShellFrameWindow(const TopWindow& window) {
  static constexpr std::u16string_view kShellFrames[] = {u"Shell_TrayWnd", u"Shell_SecondaryTrayWnd", u"Progman",
                                                         u"WorkerW"};
  for (std::u16string_view name : kShellFrames)
    if (window.className == name) return true;
  return false;
}

}  // namespace app
