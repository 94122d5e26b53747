#pragma once
// The pixels of a bitmap: rows stored bottom-up (the first stored row is the image's bottom
// row), each padded to 4 bytes; 24- and 32-bit pixels blue, green, red(, 0); 1- and 8-bit
// pixels index the colour table. Pixels borrowed from a desktop window's surface are stored
// top-down, as that surface holds them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/graphics/palette.h"
#include "framework/graphics/pixel_buffer.h"

enum TPixelFormat { pf1bit, pf8bit, pf24bit, pf32bit };

int BitsPerPixelOf(TPixelFormat format);
// ((width * bpp + 31) div 32) * 4
int64_t BytesPerScanLine(int64_t width, int bitsPerPixel);

struct TBitmapImage {
  int Width = 0;
  int Height = 0;
  TPixelFormat Format = pf24bit;
  TPixelBuffer Bits;
  std::vector<TRGBQuad> ColorTable;
  bool TopDown = false;  // the first stored row is the top row

  int BitsPerPixel() const { return BitsPerPixelOf(Format); }
  int Stride() const { return int(BytesPerScanLine(Width, BitsPerPixel())); }
  // Row y counted from the top; the caller keeps y inside [0, Height).
  uint8_t* Row(int y) { return Bits.data() + size_t(TopDown ? y : Height - 1 - y) * size_t(Stride()); }
  const uint8_t* Row(int y) const { return Bits.data() + size_t(TopDown ? y : Height - 1 - y) * size_t(Stride()); }

  // Unchecked pixel access for the rasteriser: (x, y) must lie inside the image.
  // A pixel value is the RGB colour (0x00BBGGRR) for 24 and 32 bits, else a table index.
  uint32_t PixelValue(int x, int y) const;
  void SetPixelValue(int x, int y, uint32_t value);
  void FillSpan(int y, int x0, int x1, uint32_t value);
  // The RGB colour of a pixel value; indices past the table's end read as black.
  uint32_t ValueToRGB(uint32_t value) const;
  uint32_t RGBToValue(uint32_t rgb) const;
  uint32_t PixelRGB(int x, int y) const { return ValueToRGB(PixelValue(x, y)); }
};

// A 32-bit pixel in memory: blue, green, red, zero. Its value is the RGB colour (0x00BBGGRR).
inline uint32_t LoadPixel32(const uint8_t* p) { return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16; }
inline void StorePixel32(uint8_t* p, uint32_t value) {
  p[0] = uint8_t(value >> 16), p[1] = uint8_t(value >> 8), p[2] = uint8_t(value), p[3] = 0;
}

// Pixels and rows of one image larger than this are refused, so a corrupt header can never
// ask for an absurd allocation.
inline constexpr int64_t kMaxBitmapBytes = int64_t(256) << 20;
inline constexpr int kMaxBitmapExtent = 1 << 16;
