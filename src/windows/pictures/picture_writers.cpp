#include "windows/pictures/picture_writers.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace windows {

namespace {
void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

// libjpeg reports a failure by calling error_exit, which must not return: it jumps back to
// the encoder, whose frame holds nothing that needs a destructor after setjmp.
struct JpegError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<JpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, error->message);
  std::longjmp(error->jump, 1);
}

void NoJpegOutput(j_common_ptr) {}

using RowSource = std::function<void(int y, std::uint8_t* rgb)>;

// Encodes rows into a memory block of libjpeg's; false with the library's message on failure.
bool Encode(int width, int height, const RowSource& rows, std::uint8_t* rowBuffer, unsigned char** out,
            unsigned long* outSize, JpegError& error) {
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = OnJpegError;
  error.base.output_message = NoJpegOutput;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, outSize);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  JSAMPROW row[1] = {rowBuffer};
  while (cinfo.next_scanline < cinfo.image_height) {
    rows(static_cast<int>(cinfo.next_scanline), rowBuffer);
    jpeg_write_scanlines(&cinfo, row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

JpegResult EncodeRows(int width, int height, const RowSource& rows) {
  JpegResult result;
  if (width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) {
    result.error = u"图片尺寸超出JPEG格式的范围";
    return result;
  }
  std::vector<std::uint8_t> rowBuffer(std::size_t(width) * 3);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  JpegError error{};
  const bool ok = Encode(width, height, rows, rowBuffer.data(), &out, &outSize, error);
  if (ok && out) result.bytes.assign(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  if (!ok || result.bytes.empty()) {
    result.bytes.clear();
    result.error = u"JPEG压缩失败";
  }
  return result;
}
}  // namespace

std::string BmpFileBytes(std::span<const std::uint8_t> dib, const DibInfo& info) {
  constexpr std::uint32_t kFileHeader = 14;
  std::string out;
  out.reserve(kFileHeader + info.totalBytes);
  out += "BM";
  PutU32(out, static_cast<std::uint32_t>(kFileHeader + info.totalBytes));
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, static_cast<std::uint32_t>(kFileHeader + info.pixelOffset));
  out.append(reinterpret_cast<const char*>(dib.data()), info.totalBytes);
  return out;
}

JpegResult JpegFileBytes(std::span<const std::uint8_t> dib, const DibInfo& info) {
  return EncodeRows(info.width, info.height, [&](int y, std::uint8_t* rgb) { DibRowToRgb(dib, info, y, rgb); });
}

JpegResult JpegFromRgb(const std::uint8_t* rgb, int width, int height) {
  const std::size_t rowBytes = std::size_t(width > 0 ? width : 0) * 3;
  return EncodeRows(width, height, [&](int y, std::uint8_t* row) {
    std::copy_n(rgb + std::size_t(y) * rowBytes, rowBytes, row);
  });
}

}  // namespace windows
