// The check of a device-independent bitmap as the clipboard hands it over (CF_DIB): its
// header, bit count, colour table, colour masks and the bytes of every row. Everything that
// reads or writes a picture goes through this check first, so no pixel is read past the
// block the clipboard gave.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace windows {

// No picture larger than this is kept: its 32-bit pixels, or its rows as stored, would need more.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t(256) << 20;

enum class DibError {
  None,
  TooShort,        // fewer bytes than a header
  BadHeader,       // a header size this check does not know
  BadSize,         // zero or negative width, zero height
  BadPlanes,
  BadBitCount,     // not 1, 4, 8, 16, 24 or 32
  BadCompression,  // compressed (RLE, JPEG, PNG) or bit fields where they cannot be
  BadColors,       // a colour table longer than the bit count allows
  Truncated,       // the colour table or the rows are not all there
  TooLarge,        // over kMaxPictureBytes
};

// The message shown for a picture that could not be used.
std::u16string DibErrorText(DibError error);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;

struct DibInfo {
  int width = 0;
  int height = 0;        // rows, always positive
  bool topDown = false;  // the header's height was negative
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::size_t headerSize = 0;
  std::size_t maskBytes = 0;    // colour masks stored after a 40-byte header
  std::array<std::uint32_t, 3> masks{};  // red, green, blue (16 and 32 bits)
  std::size_t colorCount = 0;   // entries of the colour table (4 bytes each)
  std::size_t colorOffset = 0;  // where the colour table starts
  std::size_t pixelOffset = 0;  // where the rows start
  std::size_t stride = 0;       // bytes per row, padded to 4
  std::size_t totalBytes = 0;   // header, masks, colours and rows: what the picture is made of
};

struct DibCheck {
  DibError error = DibError::None;
  DibInfo info;
  bool ok() const { return error == DibError::None; }
};

DibCheck CheckDib(std::span<const std::uint8_t> bytes);

// Row y counted from the top of the picture, as 8-bit red, green, blue triples (width * 3
// bytes). `dib` must have passed CheckDib with `info`.
void DibRowToRgb(std::span<const std::uint8_t> dib, const DibInfo& info, int y, std::uint8_t* rgb);

}  // namespace windows
