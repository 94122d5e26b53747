#pragma once
// One scalable face at one pixel size: its metrics and its rendered glyphs, kept for the
// life of the process by the glyph cache.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/font_resolver.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct FT_StreamRec_;

// Bit of TTextMetric::PitchAndFamily set for every scalable outline face.
inline constexpr uint8_t kTrueTypeFontBit = 4;
inline constexpr uint8_t kVariablePitchBit = 1;

struct TTextMetric {
  int Height = 0;  // ascent + descent: the cell, and the line height of multi-line text
  int Ascent = 0;
  int Descent = 0;
  int InternalLeading = 0;  // Height - em size
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underlined = false;
  bool StruckOut = false;
  uint8_t PitchAndFamily = 0;
  std::string FaceName;
};

// A rendered glyph: grey coverage (0..255) rows, placed relative to the pen position on the
// baseline (Left to the right, Top upward), and the hinted advance in whole pixels.
struct TGlyphImage {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Rows = 0;
  int Advance = 0;
  std::vector<uint8_t> Coverage;
};

// A horizontal line of the font (underline, strike-out) relative to the baseline, y down.
struct TFontLine {
  int Offset = 0;
  int Thickness = 1;
};

class TFontFace {
 public:
  // `height` is the font description's signed height: negative the em size, positive the
  // cell height, 0 the default 13-pixel cell. Bold or italic the face itself lacks is
  // synthesised.
  TFontFace(FT_LibraryRec_* library, const TFontFile& file, int height, bool bold, bool italic);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  const TTextMetric& Metric() const { return FMetric; }
  int EmPixels() const { return FEmPixels; }
  // The weight the face file declares (OS/2 table; 400 when it has none).
  int FaceWeight() const { return FFaceWeight; }
  const std::string& Path() const { return FPath; }
  TFontLine Underline() const { return FUnderline; }
  TFontLine StrikeOut() const { return FStrikeOut; }

  // The glyph of an 8-bit character (cp1252); control characters are empty and advance 0.
  const TGlyphImage& Glyph(uint8_t ch);
  int Advance(uint8_t ch) { return Glyph(ch).Advance; }

 private:
  void Setup(const TFontFile& file, int height, bool bold, bool italic);
  int CellHeightAt(int em);
  void SelectEm(int em);
  void ComputeMetrics();
  std::unique_ptr<TGlyphImage> Render(uint8_t ch);

  FT_FaceRec_* FFace = nullptr;
  FT_StreamRec_* FStream = nullptr;  // the face's file, read as FreeType asks
  std::string FPath;
  int FEmPixels = 0;
  int FFaceWeight = 400;
  bool FSynthBold = false;
  bool FSynthItalic = false;
  TTextMetric FMetric;
  TFontLine FUnderline;
  TFontLine FStrikeOut;
  std::array<std::unique_ptr<TGlyphImage>, 256> FGlyphs;
};
