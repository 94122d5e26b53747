#include "framework/graphics/bitmap_file.h"

#include <cstring>

#include "framework/core/exceptions.h"

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;

[[noreturn]] void Invalid() { throw EInvalidGraphic(rs::SInvalidBitmap); }

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

struct THeader {
  int64_t Width = 0;
  int64_t Height = 0;  // negative: rows stored top row first
  uint32_t Bpp = 0;
  uint32_t ColorCount = 0;
  size_t TableEntrySize = 4;
};

THeader ParseInfoHeader(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize + 4) Invalid();
  const uint8_t* h = data + kFileHeaderSize;
  const uint32_t headerSize = U32(h);
  if ((headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) || size < kFileHeaderSize + headerSize)
    Invalid();
  THeader header;
  uint32_t planes = 0;
  if (headerSize == kCoreHeaderSize) {
    header.Width = U16(h + 4);
    header.Height = U16(h + 6);
    planes = U16(h + 8);
    header.Bpp = U16(h + 10);
    header.TableEntrySize = 3;
  } else {
    header.Width = int32_t(U32(h + 4));
    header.Height = int32_t(U32(h + 8));
    planes = U16(h + 12);
    header.Bpp = U16(h + 14);
    if (U32(h + 16) != 0) Invalid();  // compressed or bit-field images
    header.ColorCount = U32(h + 32);
  }
  const bool knownDepth = header.Bpp == 1 || header.Bpp == 4 || header.Bpp == 8 || header.Bpp == 24 || header.Bpp == 32;
  if (planes != 1 || !knownDepth) Invalid();
  if (header.Width <= 0 || header.Width > kMaxBitmapExtent || header.Height == 0 ||
      header.Height > kMaxBitmapExtent || header.Height < -kMaxBitmapExtent)
    Invalid();
  if (header.Bpp > 8) {
    header.ColorCount = 0;  // a table before true-colour rows is only a display hint
  } else if (header.ColorCount == 0) {
    header.ColorCount = 1u << header.Bpp;
  } else if (header.ColorCount > (1u << header.Bpp)) {
    Invalid();
  }
  return header;
}

std::vector<TRGBQuad> ReadColorTable(const uint8_t* p, const THeader& header) {
  std::vector<TRGBQuad> table(header.ColorCount);
  for (TRGBQuad& q : table) {
    q = {p[0], p[1], p[2], 0};
    p += header.TableEntrySize;
  }
  return table;
}

void ExpandNibbles(const uint8_t* from, uint8_t* to, int width) {
  for (int x = 0; x < width; ++x) to[x] = (x & 1) ? (from[x >> 1] & 0x0F) : (from[x >> 1] >> 4);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
}  // namespace

TBitmapImage ReadBitmapFile(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') Invalid();
  const THeader header = ParseInfoHeader(data, size);
  const size_t tableOffset = kFileHeaderSize + U32(data + kFileHeaderSize);
  const size_t tableEnd = tableOffset + size_t(header.ColorCount) * header.TableEntrySize;
  const int height = int(header.Height < 0 ? -header.Height : header.Height);
  const int64_t fileStride = BytesPerScanLine(header.Width, int(header.Bpp));
  const int64_t pixelBytes = fileStride * height;
  const uint64_t pixelOffset = U32(data + 10);
  if (pixelBytes > kMaxBitmapBytes || tableEnd > size || pixelOffset < tableEnd ||
      pixelOffset + uint64_t(pixelBytes) > size)
    Invalid();

  TBitmapImage image;
  image.Width = int(header.Width);
  image.Height = height;
  image.Format = header.Bpp == 1 ? pf1bit : header.Bpp <= 8 ? pf8bit : header.Bpp == 24 ? pf24bit : pf32bit;
  image.ColorTable = ReadColorTable(data + tableOffset, header);
  const size_t stride = size_t(image.Stride());
  image.Bits.assign(stride * size_t(height), 0);
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const uint8_t* from = data + pixelOffset + size_t(fileRow) * size_t(fileStride);
    // Stored row index counted from the bottom, as the file counts for bottom-up images.
    const int storedRow = header.Height < 0 ? height - 1 - fileRow : fileRow;
    uint8_t* to = image.Bits.data() + size_t(storedRow) * stride;
    if (header.Bpp == 4) ExpandNibbles(from, to, image.Width);
    else std::memcpy(to, from, stride);
  }
  return image;
}

std::vector<uint8_t> WriteBitmapFile(const TBitmapImage& image) {
  const bool indexed = image.Format == pf1bit || image.Format == pf8bit;
  const auto tableCount = uint32_t(indexed ? image.ColorTable.size() : 0);
  const uint32_t pixelOffset = uint32_t(kFileHeaderSize) + kInfoHeaderSize + 4 * tableCount;
  const auto pixelBytes = uint32_t(image.Bits.size());
  std::vector<uint8_t> out;
  out.reserve(pixelOffset + pixelBytes);
  out.insert(out.end(), {'B', 'M'});
  Put32(out, pixelOffset + pixelBytes);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, kInfoHeaderSize);
  Put32(out, uint32_t(image.Width));
  Put32(out, uint32_t(image.Height));
  Put16(out, 1);
  Put16(out, uint32_t(image.BitsPerPixel()));
  Put32(out, 0);  // uncompressed
  Put32(out, pixelBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, tableCount);
  Put32(out, 0);
  for (uint32_t i = 0; i < tableCount; ++i) {
    const TRGBQuad& q = image.ColorTable[i];
    out.insert(out.end(), {q.Blue, q.Green, q.Red, 0});
  }
  if (!image.TopDown) {
    out.insert(out.end(), image.Bits.begin(), image.Bits.end());
    return out;
  }
  for (int y = image.Height - 1; y >= 0; --y) out.insert(out.end(), image.Row(y), image.Row(y) + image.Stride());
  return out;
}
