#pragma once
// Conversions between the stream's value encodings and the program's own: the 80-bit
// extended float, and 8-bit text (cp1252) to and from UTF-16 and UTF-8.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using TExtended80 = std::array<uint8_t, 10>;

double ExtendedToDouble(const TExtended80& bytes);
TExtended80 DoubleToExtended(double value);

// 8-bit text is cp1252; a character it cannot hold becomes '?'.
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);
std::u16string Utf8ToWide(std::string_view text);
