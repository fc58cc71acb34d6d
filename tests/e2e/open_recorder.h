// Stands in for the programs the shell opens things with: the recorder tool registered as the
// "open" command of a class (a URL scheme, "txtfile"), so that a test reads what was opened.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace e2e {

inline std::filesystem::path ExeFolder() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  return std::filesystem::path(exe).parent_path();
}

// Makes the recorder the scheme's handler for the prefix (this Wine reads classes from the
// machine's part only); the handler before it comes back on destruction.
class SchemeRecorder {
 public:
  SchemeRecorder(const std::wstring& scheme, const std::filesystem::path& record)
      : key_(scheme + L"\\shell\\open\\command") {
    const std::filesystem::path recorder = ExeFolder().parent_path() / "tools" / "windows_open_recorder_win32.exe";
    const std::wstring command = L"\"" + recorder.wstring() + L"\" \"" + record.wstring() + L"\" \"%1\"";
    wchar_t old[1024] = {};
    DWORD size = sizeof old - sizeof(wchar_t);
    had_ = RegGetValueW(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
    old_ = old;
    Set(command);
  }
  ~SchemeRecorder() {
    if (had_) {
      Set(old_);
    } else {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, key_.c_str());
    }
  }

 private:
  void Set(const std::wstring& command) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  std::wstring key_, old_;
  bool had_ = false;
};

}  // namespace e2e
