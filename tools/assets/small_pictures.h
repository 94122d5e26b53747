#pragma once
// The small pictures of the program: the two button glyphs and the application icon.
#include <cstdint>
#include <string>
#include <vector>

// The glyphs' transparent colour: their bottom-left pixel, and every background pixel.
inline constexpr uint8_t kGlyphBackground[3] = {236, 233, 216};

enum TGlyphKind { gkClose, gkAbout };

// A 32 x 16 bitmap file, 8 bits per pixel with a 256-entry colour table: the normal cell
// on the left, the disabled cell on the right.
std::vector<uint8_t> MakeGlyphFile(TGlyphKind kind);

// An icon file holding a 32 x 32 and a 16 x 16 image at 32 bits per pixel.
std::vector<uint8_t> MakeIconFile();

// The icon's picture at `size` pixels as a PNG with an alpha channel, for the desktop's icon theme.
void SaveIconPng(int size, const std::string& path);

// The icon's red, green, blue and alpha bytes at `size` pixels, top row first: what
// SaveIconPng writes.
std::vector<uint8_t> IconPixels(int size);

// The same picture drawn with shapes, for the icon theme's scalable size.
std::string MakeIconSvg();

// The pixel sizes of the icon theme's fixed-size folders.
inline constexpr int kThemeIconSizes[] = {16, 32, 48, 64, 128, 256};
