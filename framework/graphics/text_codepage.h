#pragma once
// Text in the system is 8-bit; bytes 128 to 255 are Western (cp1252) characters.
#include <cstdint>

// The Unicode code point of an 8-bit character. The five bytes cp1252 leaves undefined map
// to the control code of the same value.
char32_t DecodeTextByte(uint8_t byte);
