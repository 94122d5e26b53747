#pragma once
// The one way controls measure text: the extent of one line in a font, and the block that
// multi-line layout (word break, tabs, accelerator marks) gives a text in a width. Both
// read the same faces and metrics the drawing uses, so a measured size is a drawn size.
#include <climits>
#include <string_view>

#include "framework/core/geometry.h"

class TFont;
struct TFontData;

// (sum of the advances, cell height); "&" and line breaks are ordinary characters.
TSize MeasureLine(const TFontData& font, std::string_view text);
TSize MeasureLine(const TFont& font, std::string_view text);
// (widest line, lines x line height) of `text` laid out `width` pixels wide with the
// text-block format flags (tfWordBreak, tfSingleLine, tfExpandTabs, tfNoPrefix, ...).
inline constexpr int kUnlimitedWidth = INT_MAX / 2;
TSize MeasureBlock(const TFontData& font, std::string_view text, unsigned format, int width = kUnlimitedWidth);
TSize MeasureBlock(const TFont& font, std::string_view text, unsigned format, int width = kUnlimitedWidth);
