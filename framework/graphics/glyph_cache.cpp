#include "framework/graphics/glyph_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "framework/core/exceptions.h"

TGlyphCache::TGlyphCache() {
  if (FT_Init_FreeType(&FLibrary) != 0) throw EOutOfResources(rs::SOutOfResources);
}

TGlyphCache::~TGlyphCache() {
  FByDescription.clear();
  FFaces.clear();
  FT_Done_FreeType(FLibrary);
}

TFontFace& TGlyphCache::Face(const TFontData& font) {
  const bool bold = font.Style.Contains(fsBold), italic = font.Style.Contains(fsItalic);
  const TDescriptionKey key{font.Name, font.Height, bold, italic};
  if (auto it = FByDescription.find(key); it != FByDescription.end()) return *it->second;

  const TFontFile file = ResolveFontFile(font.Name, bold, italic);
  auto face = std::make_unique<TFontFace>(FLibrary, file, font.Height, bold, italic);
  const TFaceKey faceKey{file.Path, file.Index, face->EmPixels(), bold, italic};
  auto [slot, added] = FFaces.try_emplace(faceKey, std::move(face));
  FByDescription.emplace(key, slot->second.get());
  return *slot->second;
}

TGlyphCache& GlyphCache() {
  static TGlyphCache cache;
  return cache;
}

TTextMetric FontMetric(const TFontData& font) {
  TTextMetric metric = GlyphCache().Face(font).Metric();
  metric.Underlined = font.Style.Contains(fsUnderline);
  metric.StruckOut = font.Style.Contains(fsStrikeOut);
  return metric;
}
