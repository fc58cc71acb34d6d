// What a shortcut (.lnk) file points to, read through the shell link object without any user
// interface: the target, its arguments and its working folder.
#pragma once

#include <optional>
#include <string>

namespace app {

struct ShellLinkTarget {
  std::u16string path;
  std::u16string arguments;
  std::u16string workingDirectory;
};

// `GetShellLinkTarget`: nullopt when the file does not load as a shell link or names no path.
std::optional<ShellLinkTarget> GetShellLinkTarget(const std::u16string& linkFile);

}  // namespace app
