#pragma once
// Single-line text on a drawing context: extents and output at a reference point, with the
// context's text alignment, background mode and the font's escapement.
#include <string_view>

#include "framework/core/geometry.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/font_face.h"

// TDrawState::TextAlign: one horizontal value plus one vertical value.
enum TTextAlignFlag : int {
  talLeft = 0,
  talCenter = 0x1,
  talRight = 0x2,
  talTop = 0,
  talBaseline = 0x4,
};
inline constexpr int kTextAlignHorizontal = talCenter | talRight;

// Options of TextOutAt.
enum TTextOutOption : unsigned {
  eoOpaque = 0x1,   // fill the rectangle with the background colour first
  eoClipped = 0x2,  // write only inside the rectangle
};

// (sum of the rounded advances, cell height); line breaks and escapement do not matter.
TSize TextExtentOf(const TFontData& font, std::string_view text);

// Writes `text` at the reference point (x, y) in the state's font. `rect` (logical) is used
// by the options and may be null without them.
void TextOutAt(TDrawContext& dc, int x, int y, std::string_view text, unsigned options = 0,
               const TRect* rect = nullptr);
