// The two file forms a picture is saved in: a bitmap file (the DIB as it is, behind a file
// header) and a JPEG file made with libjpeg's default settings. Both take a DIB that passed
// CheckDib and return the file's bytes; writing them to disk is the caller's.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "windows/pictures/dib_check.h"

namespace windows {

// "BM", the file size, two reserved words, the offset of the rows; then the DIB's header,
// masks, colours and rows exactly as the picture holds them.
std::string BmpFileBytes(std::span<const std::uint8_t> dib, const DibInfo& info);

struct JpegResult {
  std::string bytes;  // empty on failure
  std::u16string error;
  bool ok() const { return error.empty(); }
};

// The picture as 24-bit colour through libjpeg with its defaults (quality 75).
JpegResult JpegFileBytes(std::span<const std::uint8_t> dib, const DibInfo& info);

// The same for pixels already in memory (width * 3 bytes per row, top row first).
JpegResult JpegFromRgb(const std::uint8_t* rgb, int width, int height);

}  // namespace windows
