#pragma once
// The stock push-button glyphs carried in the program: bitmap files of 32 x 16 pixels at
// 8 bits per pixel (enabled and disabled cell), found by resource name.
#include <cstdint>
#include <span>
#include <string_view>

// Empty when no glyph has that name.
std::span<const uint8_t> StockGlyphResource(std::string_view name);
