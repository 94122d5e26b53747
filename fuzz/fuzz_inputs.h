#pragma once
// One function per reader of outside bytes, run on one input. The libFuzzer targets call
// them, and so does the regression test of the normal suite on every input that ever made
// one of them fail: a fault shows as a sanitiser report or a trap, never as a result.
#include <cstddef>
#include <cstdint>

// A form description read into a window with every streamable class of the system known.
void FuzzFormReader(const uint8_t* data, size_t size);
// A bitmap file.
void FuzzBitmapFile(const uint8_t* data, size_t size);
// A bitmap's stored value (Glyph.Data): a 32-bit count, then a bitmap file.
void FuzzGlyphBitmap(const uint8_t* data, size_t size);
// A settings byte, then a JPEG file: loaded, copied, decoded.
void FuzzJpeg(const uint8_t* data, size_t size);
