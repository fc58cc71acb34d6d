// The clipboard DIB check as hostile input: a picture that passes can be read row by row and
// written as a bitmap file without reading past the bytes given.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "windows/pictures/dib_check.h"
#include "windows/pictures/picture_writers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The bytes in a block of their own size, so that a read past them is caught.
  const std::vector<std::uint8_t> dib(data, data + size);
  const windows::DibCheck check = windows::CheckDib(dib);
  if (!check.ok()) {
    if (windows::DibErrorText(check.error).empty()) std::abort();
    return 0;
  }
  if (check.info.totalBytes > dib.size()) std::abort();
  // Rows of small pictures only: the check allows 256 MB, more than a fuzz run should touch.
  if (std::uint64_t(check.info.width) * check.info.height <= (1u << 20)) {
    std::vector<std::uint8_t> rgb(std::size_t(check.info.width) * 3);
    for (int y = 0; y < check.info.height; ++y) windows::DibRowToRgb(dib, check.info, y, rgb.data());
  }
  const std::string file = windows::BmpFileBytes(dib, check.info);
  if (file.size() != 14 + check.info.totalBytes) std::abort();
  return 0;
}
