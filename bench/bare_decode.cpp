#include "bench/bare_decode.h"

#include <stdexcept>
#include <utility>

#include <jpeglib.h>

namespace {
// The library's default error handler ends the process; these files are our own, valid ones.
struct TDecompressor {
  jpeg_decompress_struct Info{};
  jpeg_error_mgr Errors{};
  TDecompressor(const std::vector<uint8_t>& file) {
    Info.err = jpeg_std_error(&Errors);
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_EXT_BGR;
  }
  ~TDecompressor() { jpeg_destroy_decompress(&Info); }
};
}  // namespace

TBareDecodeAndScale::TBareDecodeAndScale(std::vector<uint8_t> file, int shownWidth, int shownHeight)
    : FFile(std::move(file)), FShownWidth(shownWidth), FShownHeight(shownHeight) {
  TDecompressor header(FFile);
  FWidth = int(header.Info.image_width);
  FHeight = int(header.Info.image_height);
  if (FWidth <= 0 || FHeight <= 0 || shownWidth <= 0 || shownHeight <= 0) throw std::invalid_argument("empty picture");
  FDecoded.resize(size_t(FWidth) * FHeight * 3);
  FShown.resize(size_t(shownWidth) * shownHeight);
}

void TBareDecodeAndScale::Decode() {
  TDecompressor d(FFile);
  jpeg_start_decompress(&d.Info);
  while (d.Info.output_scanline < d.Info.output_height) {
    JSAMPROW row = FDecoded.data() + size_t(d.Info.output_scanline) * FWidth * 3;
    jpeg_read_scanlines(&d.Info, &row, 1);
  }
  jpeg_finish_decompress(&d.Info);
}

void TBareDecodeAndScale::Scale() {
  for (int y = 0; y < FShownHeight; ++y) {
    const uint8_t* from = FDecoded.data() + size_t(y * FHeight / FShownHeight) * FWidth * 3;
    uint32_t* to = FShown.data() + size_t(y) * FShownWidth;
    for (int x = 0; x < FShownWidth; ++x) {
      const uint8_t* p = from + size_t(x * FWidth / FShownWidth) * 3;
      to[x] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
  }
}
