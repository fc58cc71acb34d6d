// Writing a 1920 x 1080 picture as JPEG: the picture writer on a 32-bit clipboard DIB, beside
// bare libjpeg compressing the same pixels already in RGB rows (the anchor).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "windows/pictures/dib_check.h"
#include "windows/pictures/picture_writers.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

std::uint8_t Shade(int x, int y, int channel) { return static_cast<std::uint8_t>((x * (channel + 1) + y * 3) & 0xFF); }

std::vector<std::uint8_t> Dib() {
  std::vector<std::uint8_t> dib(40 + std::size_t(kWidth) * kHeight * 4);
  const std::int32_t header[] = {40, kWidth, -kHeight};
  std::memcpy(dib.data(), header, sizeof header);
  dib[12] = 1;   // planes
  dib[14] = 32;  // bits
  std::uint8_t* p = dib.data() + 40;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x, p += 4) {
      p[0] = Shade(x, y, 2);
      p[1] = Shade(x, y, 1);
      p[2] = Shade(x, y, 0);
    }
  }
  return dib;
}

void PictureWriterJpeg(benchmark::State& state) {
  const std::vector<std::uint8_t> dib = Dib();
  const windows::DibCheck check = windows::CheckDib(dib);
  if (!check.ok()) state.SkipWithError("bad DIB");
  for (auto _ : state) {
    const windows::JpegResult jpeg = windows::JpegFileBytes(dib, check.info);
    benchmark::DoNotOptimize(jpeg.bytes.data());
  }
}
BENCHMARK(PictureWriterJpeg)->Unit(benchmark::kMillisecond);

void BareLibjpeg(benchmark::State& state) {
  std::vector<std::uint8_t> rgb(std::size_t(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < 3; ++c) rgb[(std::size_t(y) * kWidth + x) * 3 + c] = Shade(x, y, c);
    }
  }
  for (auto _ : state) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = rgb.data() + std::size_t(cinfo.next_scanline) * kWidth * 3;
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    benchmark::DoNotOptimize(out);
    std::free(out);
  }
}
BENCHMARK(BareLibjpeg)->Unit(benchmark::kMillisecond);

}  // namespace
