#include "platform/sdl/sdl_text.h"

#include <cstdint>

#include "framework/graphics/text_codepage.h"

namespace {
// The 8-bit character of a code point, or -1.
int EncodeTextByte(char32_t c) {
  if (c < 0x80) return int(c);
  for (int b = 0x80; b <= 0xFF; ++b)
    if (DecodeTextByte(uint8_t(b)) == c) return b;
  return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// Length of the sequence a lead byte starts, 0 for a byte that cannot start one.
size_t SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}
}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (char ch : text)
    AppendUtf8(out, DecodeTextByte(uint8_t(ch)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = SequenceLength(uint8_t(text[i]));
    if (length == 0 || i + length > text.size()) {
      ++i;
      continue;
    }
    char32_t c = length == 1 ? uint8_t(text[i]) : uint8_t(text[i]) & (0x7F >> length);
    bool wellFormed = true;
    for (size_t k = 1; k < length; ++k) {
      const uint8_t b = uint8_t(text[i + k]);
      wellFormed = wellFormed && (b & 0xC0) == 0x80;
      c = (c << 6) | (b & 0x3F);
    }
    // An overlong form is malformed too: it would smuggle in a character under a disguise.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    wellFormed = wellFormed && c >= kShortest[length];
    i += wellFormed ? length : 1;
    if (!wellFormed) continue;
    if (const int b = EncodeTextByte(c); b >= 0) out += char(b);
  }
  return out;
}
