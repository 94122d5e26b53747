#pragma once
// A line of 8-bit text placed on one baseline: every character with its pen position, and
// the painter that puts such a line onto a drawing context, horizontal or rotated.
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/core/geometry.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/font_face.h"

struct TRunChar {
  uint8_t Ch = 0;
  int X = 0;  // pen position from the run's start
  bool Underline = false;  // an accelerator mark's underline under this character only
};

struct TTextRun {
  std::vector<TRunChar> Chars;
  int Width = 0;  // the pen position after the last character
};

// The characters of `text` one after another at their rounded advances.
TTextRun MakeTextRun(TFontFace& face, std::string_view text);

// Where a run goes and how: the reference point, its offset along the text (0 for a left
// reference, -(w div 2) centred, -w right) and across it (0: the reference is the cell's top;
// -ascent: it is on the baseline), the rotation, and whether the cell box is filled first.
struct TRunPlacement {
  TPoint Reference;
  int Along = 0;
  int Across = 0;
  int Escapement = 0;
  bool Opaque = false;
};

// Paints the run in the state's text colour (grey coverage blended), its cell box in the
// background colour when opaque, and the font's underline and strike-out as lines.
void PaintTextRun(TDrawContext& dc, TFontFace& face, const TFontData& font, const TTextRun& run,
                  const TRunPlacement& placement);

// Narrows the context's clip to a logical rectangle for the scope's life (none: no change).
class TClipScope {
 public:
  TClipScope(TDrawContext& dc, const TRect* clip) : FContext(clip != nullptr ? &dc : nullptr) {
    if (FContext == nullptr) return;
    FContext->Save();
    FContext->IntersectClipRect(*clip);
  }
  ~TClipScope() {
    if (FContext != nullptr) FContext->Restore(-1);
  }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  TDrawContext* FContext;
};

// The rotation in quadrants (0..3, counter-clockwise) for an escapement in tenths of a
// degree, rounded to the nearest quadrant.
int EscapementQuadrant(int escapement);
