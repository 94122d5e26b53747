#pragma once
// Multi-line text in a rectangle: line breaks, word break, tab stops, accelerator marks,
// alignment, right-to-left reading and a measuring mode.
#include <string_view>
#include <vector>

#include "framework/core/geometry.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/text_run.h"

// Format flags of DrawTextBlock. Horizontal alignment is one of left, centre, right.
enum TTextFormatFlag : unsigned {
  tfLeft = 0,
  tfCenter = 0x1,
  tfRight = 0x2,
  tfVCenter = 0x4,     // single-line text only
  tfBottom = 0x8,      // single-line text only
  tfWordBreak = 0x10,
  tfSingleLine = 0x20,  // line breaks are not honoured
  tfExpandTabs = 0x40,
  tfNoClip = 0x80,
  tfCalcRect = 0x100,  // measure only: draws nothing
  tfNoPrefix = 0x200,  // "&" is an ordinary character
  tfRtlReading = 0x400,
};

struct TTextLayout {
  std::vector<TTextRun> Lines;
  int LineHeight = 0;
  int Width = 0;  // the widest line
  int Height() const { return int(Lines.size()) * LineHeight; }
};

// Breaks `text` into lines for a rectangle `width` pixels wide. Every paragraph (text between
// CR, LF or CR LF) is at least one line; a line break at the very end starts no new line.
// With word break a line ends after the last word that fits; the blanks at the break are
// dropped and a word wider than the width stays whole. Tabs stop every 8 average character
// widths from the line start. "&x" underlines x, "&&" is one "&", a lone "&" at the end is
// dropped. Right-to-left reading moves the blanks and punctuation at a line's ends to the
// opposite end, as they take the paragraph's direction around left-to-right words.
TTextLayout LayoutText(TFontFace& face, std::string_view text, int width, unsigned format);

// Draws (or with tfCalcRect measures) text in the context's font, text colour and background
// mode. Answers the height of the laid-out text; in measuring mode sets rect's right to
// left + the widest line and its bottom to top + that height. Lines are placed top-down
// from rect's top (vertically centred or bottom-aligned for single-line text) and clipped
// to rect unless tfNoClip.
int DrawTextBlock(TDrawContext& dc, std::string_view text, TRect& rect, unsigned format);
