#pragma once
// JPEG files of an exact byte count: baseline, three components, a JFIF header. The
// quality is the highest whose file leaves room for `comment`; the remaining bytes are
// filled with comment segments, which every decoder skips.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct TJpegFit {
  std::vector<uint8_t> File;
  int Quality = 0;      // 1..100, as libjpeg's quality scale reads it
  size_t NaturalSize = 0;  // the file without the filling comment
};

// `rgb` holds width * height red, green, blue bytes, top row first. Raises
// std::runtime_error when even the lowest quality does not fit in `targetBytes`.
TJpegFit EncodeExactJpeg(const std::vector<uint8_t>& rgb, int width, int height, size_t targetBytes,
                         const std::string& comment);

// One encoding at `quality` with the given comment segments (each at most 65533 bytes).
std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height, int quality,
                                const std::vector<std::string>& comments);

// Splits `fill` bytes (segment headers included) into comment payloads that start with
// `comment`; answers an empty list for 0 and raises for 1 to 3, which no segment can take.
std::vector<std::string> CommentSegments(const std::string& comment, size_t fill);
