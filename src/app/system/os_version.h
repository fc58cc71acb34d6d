// Names and codes of the Windows version, from the fields of the version record.
#pragma once

#include <cstdint>
#include <string>

namespace app {

struct OsVersionInfo {
  uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string servicePack;  // the service-pack text (szCSDVersion)
};

// "win" + a word for the platform and version: "winXP", "win7", "win98", "win??" ...
std::string GetOSVersionName(const OsVersionInfo& v);

// The numeric code of the Windows version (0 for anything after Windows 2000/XP on NT).
int GetWindowsVersionCode(const OsVersionInfo& v);

// "vista or win7" when the code is 0, else empty.
std::string WindowsVersionNameFor(int versionCode);

}  // namespace app
