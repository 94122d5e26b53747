#include "framework/graphics/canvas_text.h"

#include "framework/graphics/glyph_cache.h"
#include "framework/graphics/text_run.h"

TSize TextExtentOf(const TFontData& font, std::string_view text) {
  TFontFace& face = GlyphCache().Face(font);
  int width = 0;
  for (char ch : text) width += face.Advance(uint8_t(ch));
  return {width, face.Metric().Height};
}

namespace {
int AlongOffset(int align, int width) {
  switch (align & kTextAlignHorizontal) {
    case talCenter: return -(width / 2);
    case talRight: return -width;
    default: return 0;
  }
}
}  // namespace

void TextOutAt(TDrawContext& dc, int x, int y, std::string_view text, unsigned options, const TRect* rect) {
  const TDrawState& state = dc.State();
  TFontFace& face = GlyphCache().Face(state.Font);
  const TTextRun run = MakeTextRun(face, text);
  const TClipScope clip(dc, (options & eoClipped) != 0 ? rect : nullptr);
  if (rect != nullptr && (options & eoOpaque) != 0) dc.FillRect(*rect, TBrushData{state.BkColor, bsSolid, nullptr});
  const TRunPlacement placement{{x, y},
                                AlongOffset(state.TextAlign, run.Width),
                                (state.TextAlign & talBaseline) != 0 ? -face.Metric().Ascent : 0,
                                state.Font.Escapement,
                                state.BkMode == bmOpaque};
  PaintTextRun(dc, face, state.Font, run, placement);
}
