#include "app/system/os_version.h"

namespace app {

namespace {
constexpr uint32_t kWin32s = 0;
constexpr uint32_t kWindows9x = 1;
constexpr uint32_t kWindowsNt = 2;

// The version as the decimal number that "major.minor" spells: 4.10 reads as 4.1 and 4.90
// as 4.9, so Windows 98 and Me are named by their tenths. Kept in hundredths to compare exactly.
int VersionHundredths(uint32_t major, uint32_t minor) {
  uint32_t scaled = minor;
  if (minor < 10) scaled = minor * 10;
  else while (scaled >= 100) scaled /= 10;  // only the first two decimals can matter here
  return static_cast<int>(major * 100 + scaled);
}
}  // namespace

std::string GetOSVersionName(const OsVersionInfo& v) {
  const int version = VersionHundredths(v.major, v.minor);
  std::string word;
  switch (v.platformId) {
    case kWin32s:
      word = "32";
      break;
    case kWindows9x:
      if (version == 400) word = "95";
      else if (version == 410) word = "98";
      else if (version == 490) word = "Me";
      else word = "9x";
      break;
    case kWindowsNt:
      if (version == 351) word = "NT 3.51";
      else if (version == 400) word = "NT 4.0";
      else if (version == 500) word = "2000";
      else if (version == 510) word = "XP";
      else if (version == 520) word = "2003";
      else if (version == 600) word = "Vista";
      else if (version == 610) word = "7";
      break;
    default:
      word = "??";
      break;
  }
  return "win" + word;
}

int GetWindowsVersionCode(const OsVersionInfo& v) {
  if (v.platformId == kWindowsNt) {
    switch (v.major) {
      case 3: return 5;
      case 4: return 6;
      case 5: return v.minor != 0 ? 9 : 7;
      default: return 0;
    }
  }
  if (v.platformId == kWindows9x && v.major == 4) {
    const char second = v.servicePack.size() >= 2 ? v.servicePack[1] : '\0';
    if (v.minor == 0) return second == 'B' ? 2 : 1;
    if (v.minor == 10) return second == 'A' ? 4 : 3;
    if (v.minor == 90) return 8;
  }
  return 0;
}

std::string WindowsVersionNameFor(int versionCode) { return versionCode == 0 ? "vista or win7" : std::string(); }

}  // namespace app
