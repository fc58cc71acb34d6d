// std::u16string and the wide Win32 API hold the same UTF-16 bytes on Windows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace gui {

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string U(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }
inline std::u16string U(const std::wstring& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size()); }
inline std::wstring Wstr(std::u16string_view s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size()); }

// Whether a path names an existing file (not a folder), or an existing folder.
bool FileExists(const std::u16string& path);
bool FolderExists(const std::u16string& path);
// Whether two paths name the same file: their full paths compared as the file system compares
// names, ignoring case.
bool SameFile(const std::u16string& a, const std::u16string& b);

// The whole text of a window (any length).
std::u16string GetWindowTextU(HWND hwnd);
void SetWindowTextU(HWND hwnd, std::u16string_view text);

}  // namespace gui
