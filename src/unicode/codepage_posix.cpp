// Code page 936 through the C library's iconv (native build). The Windows build uses
// the system's own tables instead (codepage_win32.cpp); the tests hold both to the same results.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "unicode/codepage.h"

namespace unicode {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: code page 936 is not available");
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::u16string AnsiToUtf16(std::string_view bytes) {
  static thread_local Converter converter("UTF-16LE", "CP936");
  std::u16string out;
  out.reserve(bytes.size());
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char16_t buffer[1024];
  while (in_left > 0) {
    char* dst = reinterpret_cast<char*>(buffer);
    size_t dst_left = sizeof buffer;
    const size_t rc = iconv(converter.get(), &in, &in_left, &dst, &dst_left);
    out.append(buffer, reinterpret_cast<char16_t*>(dst) - buffer);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An unmapped byte or a lead byte cut off at the end: one replacement, go on after it.
      out.push_back(0xFFFD);
      ++in;
      --in_left;
      iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  static thread_local Converter converter("CP936", "UTF-16LE");
  std::string out;
  out.reserve(text.size() * 2);
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t in_left = text.size() * 2;
  char buffer[2048];
  while (in_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    const size_t rc = iconv(converter.get(), &in, &in_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // A character the code page cannot hold: '?' for each UTF-16 unit, as Windows writes
      // (a surrogate pair gives two).
      out.push_back('?');
      in += 2;
      in_left -= 2;
      iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

// The native build models the Chinese system, whose ANSI and OEM code pages are both 936.
std::string AnsiBytesToOem(std::string_view bytes) { return std::string(bytes); }
std::string OemBytesToAnsi(std::string_view bytes) { return std::string(bytes); }

}  // namespace unicode
