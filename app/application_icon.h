#pragma once
// The program's icon: the 32 x 32 image of the icon file embedded as "MAINICON".
#include <cstdint>
#include <memory>
#include <span>

#include "framework/graphics/bitmap.h"

inline constexpr int kApplicationIconSize = 32;

// The `size` x `size` image of an icon file whose entries are 32-bit uncompressed device-
// independent bitmaps; empty when the file has no such entry or is cut short.
std::unique_ptr<TBitmap> ReadIconImage(std::span<const uint8_t> file, int size);
// The 32 x 32 image of the embedded "MAINICON"; empty when it is missing.
std::unique_ptr<TBitmap> ApplicationIconImage();
