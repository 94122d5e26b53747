#pragma once
// JPEG files made for the tests through the bare library, and the library's own decode of
// them to compare with.
#include <cstdint>
#include <functional>
#include <vector>

#include <cstdio>
#include <jpeglib.h>

#include "framework/core/stream.h"

using TBytes = std::vector<uint8_t>;

struct TJpegRecipe {
  int Width = 64;
  int Height = 48;
  bool Grey = false;
  bool Progressive = false;
  bool Cmyk = false;
  bool TwoComponents = false;  // no colour space: the library cannot make grey or colour of it
  int Quality = 90;
};

// A photograph-like picture: smooth gradients with some texture, so every block has detail.
uint8_t PatternSample(int x, int y, int component);
TBytes MakeJpeg(const TJpegRecipe& recipe);

// The library's decode: rows top first, each `output_width * output_components` bytes,
// blue-green-red for colour. `configure` runs after the header is read.
struct TLibraryImage {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  TBytes Samples;
  std::vector<std::vector<uint8_t>> ColorMap;  // component rows, when quantised
};
TLibraryImage LibraryDecode(const TBytes& file,
                            const std::function<void(jpeg_decompress_struct&)>& configure = {});

// The stored form: a 32-bit little-endian count, then the bytes.
TMemoryStream StoredValue(const TBytes& file);
TMemoryStream StreamOf(const TBytes& bytes);
