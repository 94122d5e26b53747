// JPEG decode: the picture support's DecodeToBitmap against the bare library decoding the
// same file into a plain buffer, to show what the glue costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "pictures/jpeg_image.h"

namespace {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Smooth shading with fine grain, like a photograph of a circuit board, encoded at the
// default quality by the picture support's own encoder.
const std::vector<uint8_t>& PhotographFile() {
  static const std::vector<uint8_t> file = [] {
    TBitmap pixels;
    pixels.SetPixelFormat(pf24bit);
    pixels.SetSize(kWidth, kHeight);
    uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* row = pixels.ScanLine(y);
      for (int x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245u + 12345u;
        const int grain = int(seed >> 27) - 16;
        const double shade = 0.5 + 0.5 * std::sin(x * 0.013) * std::cos(y * 0.021);
        row[3 * x + 0] = uint8_t(std::clamp(int(60 + 120 * shade) + grain, 0, 255));
        row[3 * x + 1] = uint8_t(std::clamp(int(90 + 100 * (1 - shade) + (x ^ y) % 24) + grain, 0, 255));
        row[3 * x + 2] = uint8_t(std::clamp(int(40 + 180 * shade * shade) + grain, 0, 255));
      }
    }
    TJPEGImage image;
    image.CopyFrom(&pixels);
    TMemoryStream out;
    image.SaveToByteStream(out);
    return out.Bytes();
  }();
  return file;
}

void BM_DecodeToBitmap1024x768(benchmark::State& state) {
  const std::vector<uint8_t>& file = PhotographFile();
  for (auto _ : state) {
    state.PauseTiming();
    TReadOnlyMemoryStream stream(file.data(), file.size());
    TJPEGImage image;
    image.LoadFromByteStream(stream);
    state.ResumeTiming();
    benchmark::DoNotOptimize(image.DecodeToBitmap().Image().Bits.data());
  }
}
BENCHMARK(BM_DecodeToBitmap1024x768)->Unit(benchmark::kMillisecond);

void BM_LibraryDecode1024x768(benchmark::State& state) {
  const std::vector<uint8_t>& file = PhotographFile();
  std::vector<uint8_t> buffer(size_t(kWidth) * kHeight * 3);
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), (unsigned long)file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = buffer.data() + size_t(info.output_scanline) * kWidth * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_LibraryDecode1024x768)->Unit(benchmark::kMillisecond);
}  // namespace
