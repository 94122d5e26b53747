#include "framework/graphics/bitmap_image.h"

#include <algorithm>
#include <bit>
#include <cstring>

int BitsPerPixelOf(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 1;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pf32bit: return 32;
  }
  return 32;
}

int64_t BytesPerScanLine(int64_t width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

uint32_t TBitmapImage::PixelValue(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (Format) {
    case pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case pf8bit: return row[x];
    case pf24bit: {
      const uint8_t* p = row + 3 * size_t(x);
      return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
    }
    case pf32bit: return LoadPixel32(row + 4 * size_t(x));
  }
  return 0;
}

void TBitmapImage::SetPixelValue(int x, int y, uint32_t value) {
  uint8_t* row = Row(y);
  switch (Format) {
    case pf1bit: {
      const auto mask = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = value != 0 ? uint8_t(row[x >> 3] | mask) : uint8_t(row[x >> 3] & ~mask);
      break;
    }
    case pf8bit: row[x] = uint8_t(value); break;
    case pf24bit: {
      uint8_t* p = row + 3 * size_t(x);
      p[0] = uint8_t(value >> 16), p[1] = uint8_t(value >> 8), p[2] = uint8_t(value);
      break;
    }
    case pf32bit: StorePixel32(row + 4 * size_t(x), value); break;
  }
}

void TBitmapImage::FillSpan(int y, int x0, int x1, uint32_t value) {
  if (Format == pf32bit) {
    // One word per pixel: blue, green, red, 0 in memory.
    static_assert(std::endian::native == std::endian::little, "pixel words are assembled little-endian");
    const uint32_t word = (value & 0xFF) << 16 | (value & 0xFF00) | ((value >> 16) & 0xFF);
    if (x1 <= x0) return;
    uint8_t* p = Row(y) + 4 * size_t(x0);
    // The first pixel, then the filled part copied onto what follows it, doubling each time.
    const size_t bytes = 4 * size_t(x1 - x0);
    std::memcpy(p, &word, 4);
    for (size_t done = 4; done < bytes; done *= 2) std::memcpy(p + done, p, std::min(done, bytes - done));
    return;
  }
  for (int x = x0; x < x1; ++x) SetPixelValue(x, y, value);
}

uint32_t TBitmapImage::ValueToRGB(uint32_t value) const {
  if (Format == pf24bit || Format == pf32bit) return value;
  if (value >= ColorTable.size()) return 0;
  const TRGBQuad& q = ColorTable[value];
  return uint32_t(q.Red) | uint32_t(q.Green) << 8 | uint32_t(q.Blue) << 16;
}

uint32_t TBitmapImage::RGBToValue(uint32_t rgb) const {
  if (Format == pf24bit || Format == pf32bit) return rgb & 0xFFFFFF;
  return uint32_t(NearestColorIndex(ColorTable, rgb));
}
