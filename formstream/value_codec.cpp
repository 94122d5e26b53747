#include "formstream/value_codec.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int kExtendedBias = 16383;

// cp1252 bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t AnsiCharToWide(uint8_t c) {
  if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] != 0) return kCp1252High[c - 0x80];
  return char16_t(c);
}

char WideCharToAnsi(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c < 0x100)) return char(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c && c != 0) return char(0x80 + i);
  return '?';
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(char16_t(cp));
  } else {
    cp -= 0x10000;
    out.push_back(char16_t(0xD800 + (cp >> 10)));
    out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
  }
}
}  // namespace

double ExtendedToDouble(const TExtended80& bytes) {
  uint64_t mantissa;
  std::memcpy(&mantissa, bytes.data(), 8);  // little-endian host, as the stream
  int exponent = (bytes[8] | (bytes[9] << 8)) & 0x7FFF;
  bool negative = (bytes[9] & 0x80) != 0;
  double magnitude;
  if (exponent == 0x7FFF) {
    bool isInfinity = (mantissa << 1) == 0;
    magnitude = isInfinity ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
  } else {
    magnitude = std::ldexp(double(mantissa), exponent - kExtendedBias - 63);
  }
  return negative ? -magnitude : magnitude;
}

TExtended80 DoubleToExtended(double value) {
  TExtended80 out{};
  uint64_t mantissa = 0;
  int exponent = 0;
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    mantissa = 0xC000000000000000ull;
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    mantissa = 0x8000000000000000ull;
  } else if (value != 0) {
    int e;
    double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1): the integer bit lands on bit 63
    mantissa = uint64_t(std::ldexp(m, 64));
    exponent = e - 1 + kExtendedBias;
  }
  std::memcpy(out.data(), &mantissa, 8);
  out[8] = uint8_t(exponent & 0xFF);
  out[9] = uint8_t((exponent >> 8) | (std::signbit(value) ? 0x80 : 0));
  return out;
}

std::u16string AnsiToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(AnsiCharToWide(uint8_t(c)));
  return out;
}

std::string WideToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pair) ++i;  // outside cp1252 in any case
    out.push_back(pair ? '?' : WideCharToAnsi(c));
  }
  return out;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    uint8_t lead = uint8_t(text[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    char32_t cp = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    bool valid = extra >= 0;
    for (int k = 1; valid && k <= extra; ++k) {
      if (i + size_t(k) >= text.size() || (uint8_t(text[i + size_t(k)]) & 0xC0) != 0x80) valid = false;
      else cp = (cp << 6) | (uint8_t(text[i + size_t(k)]) & 0x3F);
    }
    if (!valid || cp > 0x10FFFF) {
      out.push_back(u'\xFFFD');  // a malformed sequence costs one byte
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += size_t(extra) + 1;
  }
  return out;
}
