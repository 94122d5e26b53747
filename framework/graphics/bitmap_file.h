#pragma once
// The bitmap file format: a 14-byte file header starting "BM", a 40-byte information
// header (or a 12-byte core header), the colour table and the rows, bottom row first.
// Uncompressed images of 1, 4, 8, 24 and 32 bits per pixel are read; 4-bit images become
// 8-bit bitmaps with the same colour table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/graphics/bitmap_image.h"

// Raises EInvalidGraphic "Bitmap image is not valid" for anything malformed or unsupported;
// never reads outside [data, data + size).
TBitmapImage ReadBitmapFile(const uint8_t* data, size_t size);
std::vector<uint8_t> WriteBitmapFile(const TBitmapImage& image);
