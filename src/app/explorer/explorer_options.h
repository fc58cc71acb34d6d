// The Explorer display options ("显示扩展名", "显示隐藏文件"): the registry values each
// switch writes, its failure message, and which top-level windows the refresh acts on.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::u16string_view kExplorerAdvancedKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
// WM_COMMAND that makes an Explorer window (and the desktop) read its settings again.
inline constexpr unsigned kExplorerRefreshCommand = 28931;  // 0x7103

struct RegistryDword {
  std::u16string_view name;
  std::uint32_t value;
};

enum class ExplorerOption { Extensions, HiddenFiles };

// Extensions shown: "HideFileExt" 0 (else 1). Hidden files shown: "Hidden" 1 and
// "ShowSuperHidden" 1 (else 2 and 0).
std::vector<RegistryDword> ExplorerOptionValues(ExplorerOption option, bool shown);
// The message when the key cannot be opened (captioned "出错").
std::u16string_view ExplorerKeyMissingMessage(ExplorerOption option);

// A top-level window as the walk sees it: its handle and class name.
struct TopWindow {
  std::uintptr_t handle;
  std::u16string className;
};

enum class RefreshAction {
  ShowAndPressF5,   // Windows 7: shown, brought to the front, F5 pressed (only when in front)
  PostRefresh,      // other systems: the refresh command posted
};

struct RefreshStep {
  std::uintptr_t handle;
  RefreshAction action;
};

// Every Explorer window ("CabinetWClass", any case, the class name read into 254
// characters) gets a step; an empty plan means no Explorer window was found.
std::vector<RefreshStep> PlanExplorerRefresh(std::span<const TopWindow> windows, bool win7);

// The shell's own frame (its task bars and the desktop's windows), which "show desktop"
// leaves in place: a minimised task bar would take the tray icon out of reach.
bool IsShellFrameWindow(const TopWindow& window);

}  // namespace app
