#include "gui/wide.h"

namespace gui {

bool FileExists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
std::u16string FullPath(const std::u16string& path) {
  const DWORD need = GetFullPathNameW(W(path), 0, nullptr, nullptr);
  if (need == 0) return path;
  std::wstring full(need, L'\0');
  const DWORD got = GetFullPathNameW(W(path), need, full.data(), nullptr);
  if (got == 0 || got >= need) return path;
  full.resize(got);
  return U(full);
}
}  // namespace

bool SameFile(const std::u16string& a, const std::u16string& b) {
  const std::u16string fullA = FullPath(a), fullB = FullPath(b);
  return CompareStringOrdinal(W(fullA), static_cast<int>(fullA.size()), W(fullB), static_cast<int>(fullB.size()),
                              TRUE) == CSTR_EQUAL;
}

std::u16string GetWindowTextU(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void SetWindowTextU(HWND hwnd, std::u16string_view text) {
  const std::u16string copy(text);
  SetWindowTextW(hwnd, W(copy));
}

}  // namespace gui
