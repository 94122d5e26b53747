#pragma once
// The process-wide table of open faces and their rendered glyphs. Fonts are asked for by
// description; each distinct description is resolved once and kept until exit.
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "framework/graphics/font.h"
#include "framework/graphics/font_face.h"

class TGlyphCache {
 public:
  TGlyphCache();
  ~TGlyphCache();
  TGlyphCache(const TGlyphCache&) = delete;
  TGlyphCache& operator=(const TGlyphCache&) = delete;

  // The face a description draws with (style underline and strike-out do not matter here).
  TFontFace& Face(const TFontData& font);
  int FaceCount() const { return int(FFaces.size()); }

 private:
  // Description: name (as given), signed height, bold, italic.
  using TDescriptionKey = std::tuple<std::string, int, bool, bool>;
  // Face: file, index, em pixels, bold, italic.
  using TFaceKey = std::tuple<std::string, int, int, bool, bool>;

  FT_LibraryRec_* FLibrary = nullptr;
  std::map<TFaceKey, std::unique_ptr<TFontFace>> FFaces;
  std::map<TDescriptionKey, TFontFace*> FByDescription;
};

// Created on first use, freed at exit.
TGlyphCache& GlyphCache();

// The metrics of a description as the canvas reports them (with its underline and
// strike-out flags).
TTextMetric FontMetric(const TFontData& font);
