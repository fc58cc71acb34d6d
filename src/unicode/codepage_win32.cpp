// Code page 936 through the system's own conversion tables (Windows build).
#include <windows.h>

#include "unicode/codepage.h"

namespace unicode {

namespace {
constexpr UINT kChineseCodePage = 936;
}

std::u16string AnsiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  // Done in pieces so that very large texts do not overflow the int sizes of the API;
  // a piece never ends inside a two-byte character.
  std::u16string out;
  out.reserve(bytes.size());
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = std::min(bytes.size(), start + (1u << 24));
    if (end < bytes.size()) {
      size_t k = start;
      while (k < end) k += IsDBCSLeadByteEx(kChineseCodePage, static_cast<BYTE>(bytes[k])) ? 2 : 1;
      end = std::min(k, bytes.size());
    }
    const int in_len = static_cast<int>(end - start);
    const int need = MultiByteToWideChar(kChineseCodePage, 0, bytes.data() + start, in_len, nullptr, 0);
    const size_t old = out.size();
    out.resize(old + need);
    MultiByteToWideChar(kChineseCodePage, 0, bytes.data() + start, in_len,
                        reinterpret_cast<wchar_t*>(out.data() + old), need);
    start = end;
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  std::string out;
  out.reserve(text.size() * 2);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.size(), start + (1u << 23));
    if (end < text.size() && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
    const int in_len = static_cast<int>(end - start);
    const wchar_t* in = reinterpret_cast<const wchar_t*>(text.data() + start);
    const int need = WideCharToMultiByte(kChineseCodePage, 0, in, in_len, nullptr, 0, nullptr, nullptr);
    const size_t old = out.size();
    out.resize(old + need);
    WideCharToMultiByte(kChineseCodePage, 0, in, in_len, out.data() + old, need, nullptr, nullptr);
    start = end;
  }
  return out;
}

namespace {
// The buffer conversions take a DWORD length: large buffers go in pieces that never end
// inside a two-byte character of the source code page.
template <typename Convert>
std::string ConvertInPieces(std::string_view bytes, UINT sourceCodePage, Convert convert) {
  std::string out(bytes);
  size_t start = 0;
  while (start < out.size()) {
    size_t end = std::min(out.size(), start + (1u << 24));
    if (end < out.size()) {
      size_t k = start;
      while (k < end) k += IsDBCSLeadByteEx(sourceCodePage, static_cast<BYTE>(out[k])) ? 2 : 1;
      end = std::min(k, out.size());
    }
    convert(out.data() + start, static_cast<DWORD>(end - start));
    start = end;
  }
  return out;
}
}  // namespace

std::string AnsiBytesToOem(std::string_view bytes) {
  return ConvertInPieces(bytes, CP_ACP, [](char* p, DWORD n) { CharToOemBuffA(p, p, n); });
}

std::string OemBytesToAnsi(std::string_view bytes) {
  return ConvertInPieces(bytes, CP_OEMCP, [](char* p, DWORD n) { OemToCharBuffA(p, p, n); });
}

}  // namespace unicode
