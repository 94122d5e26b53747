#include "tools/assets/exact_jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace {
// A comment segment: marker (2 bytes), length (2 bytes, counting itself), payload.
constexpr size_t kSegmentHeader = 4;
constexpr size_t kMaxPayload = 65533;
constexpr int kLowestQuality = 10;
}  // namespace

std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height, int quality,
                                const std::vector<std::string>& comments) {
  if (rgb.size() != size_t(width) * size_t(height) * 3) throw std::invalid_argument("pixel count does not match");
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  // The library's own error exit ends the program with its message: a build tool has
  // nothing better to do with a failed encoding of pixels it made itself.
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);  // YCbCr with a JFIF header, sequential (baseline) scans
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  for (const std::string& c : comments)
    jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(c.data()), unsigned(c.size()));
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + size_t(info.next_scanline) * size_t(width) * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

std::vector<std::string> CommentSegments(const std::string& comment, size_t fill) {
  std::vector<std::string> segments;
  if (fill == 0) return segments;
  if (fill < kSegmentHeader) throw std::runtime_error("a comment segment needs at least 4 bytes");
  while (fill > 0) {
    size_t take = std::min(fill, kSegmentHeader + kMaxPayload);
    // Never leave a remainder too small for a segment of its own.
    if (fill - take > 0 && fill - take < kSegmentHeader) take -= kSegmentHeader;
    std::string payload = segments.empty() ? comment.substr(0, take - kSegmentHeader) : std::string();
    payload.resize(take - kSegmentHeader, ' ');
    segments.push_back(std::move(payload));
    fill -= take;
  }
  return segments;
}

TJpegFit EncodeExactJpeg(const std::vector<uint8_t>& rgb, int width, int height, size_t targetBytes,
                         const std::string& comment) {
  const size_t room = kSegmentHeader + comment.size();
  auto fits = [&](const std::vector<uint8_t>& file) { return file.size() + room <= targetBytes; };
  // File size grows with quality; find the highest quality that fits by bisection.
  int lo = kLowestQuality, hi = 100;
  std::vector<uint8_t> best = EncodeJpeg(rgb, width, height, lo, {});
  if (!fits(best)) throw std::runtime_error("the picture does not fit even at the lowest quality");
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    std::vector<uint8_t> file = EncodeJpeg(rgb, width, height, mid, {});
    if (fits(file)) {
      lo = mid;
      best = std::move(file);
    } else {
      hi = mid - 1;
    }
  }
  TJpegFit fit;
  fit.Quality = lo;
  fit.NaturalSize = best.size();
  fit.File = EncodeJpeg(rgb, width, height, lo, CommentSegments(comment, targetBytes - best.size()));
  if (fit.File.size() != targetBytes) throw std::runtime_error("comment filling missed the target size");
  return fit;
}
