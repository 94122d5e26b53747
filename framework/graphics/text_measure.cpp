#include "framework/graphics/text_measure.h"

#include "framework/graphics/canvas_text.h"
#include "framework/graphics/font.h"
#include "framework/graphics/glyph_cache.h"
#include "framework/graphics/text_layout.h"

TSize MeasureLine(const TFontData& font, std::string_view text) { return TextExtentOf(font, text); }
TSize MeasureLine(const TFont& font, std::string_view text) { return MeasureLine(font.Data(), text); }

TSize MeasureBlock(const TFontData& font, std::string_view text, unsigned format, int width) {
  const TTextLayout layout = LayoutText(GlyphCache().Face(font), text, width, format | tfCalcRect);
  return {layout.Width, layout.Height()};
}
TSize MeasureBlock(const TFont& font, std::string_view text, unsigned format, int width) {
  return MeasureBlock(font.Data(), text, format, width);
}
