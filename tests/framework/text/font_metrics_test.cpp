// Font resolution, metrics and extents.
#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

#include "framework/graphics/font_resolver.h"
#include "framework/graphics/glyph_cache.h"
#include "framework/graphics/text_codepage.h"
#include "tests/framework/text/text_helpers.h"

namespace {
TFontData Font(const char* name, int height, TFontStyles style = {}) {
  TFontData font;
  font.Name = name;
  font.Height = height;
  font.Style = style;
  return font;
}
}  // namespace

TEST(FontResolver, SubstitutesInTheOrderGiven) {
  EXPECT_EQ(FontFamilyCandidates("MS Sans Serif"),
            (std::vector<std::string>{"MS Sans Serif", "Liberation Sans", "Arimo", "DejaVu Sans"}));
  EXPECT_EQ(FontFamilyCandidates("verdana"), (std::vector<std::string>{"verdana", "DejaVu Sans", "Bitstream Vera Sans"}));
  EXPECT_EQ(FontFamilyCandidates("Courier"), (std::vector<std::string>{"Courier"}));
}

TEST(FontResolver, WindowFontIsASansFaceNotFontconfigsDefault) {
  const TFontFile file = ResolveFontFile("MS Sans Serif", false, false);
  EXPECT_EQ(file.Family, "Liberation Sans");
  EXPECT_EQ(file.Weight, 400);
  EXPECT_FALSE(file.Italic);
}

TEST(FontResolver, UnknownNameStillGivesAFace) {
  const TFontFile file = ResolveFontFile("No Such Face 12345", false, false);
  EXPECT_FALSE(file.Path.empty());
}

// Start-up resolves the windows' faces on another thread; what it finds is what every
// later question about them answers, and threads asking at once agree.
TEST(FontResolver, FacesPreparedOnAnotherThreadAnswerAsResolvedDirectly) {
  std::thread prepare(PrepareFontResolver, std::vector<TFontRequest>{{"Verdana", true}, {"No Such Face 12345", true, true}});
  TFontFile concurrent;
  std::thread ask([&] { concurrent = ResolveFontFile("Verdana", true, false); });
  prepare.join();
  ask.join();
  const TFontFile prepared = ResolveFontFile("Verdana", true, false);
  EXPECT_EQ(prepared.Family, "DejaVu Sans");
  EXPECT_EQ(prepared.Weight, 700);
  EXPECT_EQ(concurrent.Path, prepared.Path);
  EXPECT_FALSE(ResolveFontFile("No Such Face 12345", true, true).Path.empty());
}

TEST(FontMetrics, WindowFontHasALineHeightOf13) {
  const TTextMetric m = FontMetric(Font("MS Sans Serif", -11));
  EXPECT_EQ(m.Height, 13);
  EXPECT_EQ(m.Ascent, 10);
  EXPECT_EQ(m.Descent, 3);
  EXPECT_EQ(m.InternalLeading, 2);
  EXPECT_EQ(m.ExternalLeading, 0);
  EXPECT_EQ(m.AveCharWidth, 6);
  EXPECT_EQ(m.Weight, 400);
  EXPECT_NE(m.PitchAndFamily & kTrueTypeFontBit, 0);
}

TEST(FontMetrics, BoldVerdanaIsARealBoldFace) {
  const TFontData font = Font("Verdana", -13, {fsBold});
  TFontFace& face = GlyphCache().Face(font);
  EXPECT_EQ(face.FaceWeight(), 700);
  EXPECT_EQ(face.Metric().FaceName, "DejaVu Sans");
  EXPECT_EQ(face.Metric().Weight, 700);
  EXPECT_EQ(face.Metric().Height, 17);
  EXPECT_EQ(face.Metric().Ascent, 13);
  EXPECT_EQ(face.Metric().Descent, 4);
  // Bold is wider than regular at the same size.
  EXPECT_GT(TextExtentOf(font, "Test point").cx, TextExtentOf(Font("Verdana", -13), "Test point").cx);
}

TEST(FontMetrics, PositiveAndZeroHeightsAreCellHeights) {
  EXPECT_EQ(FontMetric(Font("MS Sans Serif", 13)).Height, 13);
  EXPECT_EQ(FontMetric(Font("MS Sans Serif", 13)).InternalLeading, 2);
  EXPECT_EQ(FontMetric(Font("MS Sans Serif", 0)).Height, 13);
  // A cell no em size gives exactly: the largest cell that fits.
  const TTextMetric m17 = FontMetric(Font("MS Sans Serif", 17));
  EXPECT_EQ(m17.Height, 16);
  EXPECT_GT(FontMetric(Font("MS Sans Serif", -(m17.Height - m17.InternalLeading + 1))).Height, 17);
  EXPECT_EQ(FontMetric(Font("MS Sans Serif", -13)).Height, 15);
}

TEST(FontMetrics, ExtremeHeightsAreClampedToTheLargestSize) {
  const int largest = GlyphCache().Face(Font("MS Sans Serif", -2048)).EmPixels();
  EXPECT_EQ(largest, 2048);
  EXPECT_EQ(GlyphCache().Face(Font("MS Sans Serif", INT_MIN)).EmPixels(), largest);
  EXPECT_EQ(GlyphCache().Face(Font("MS Sans Serif", INT_MAX)).EmPixels(), largest);
  EXPECT_EQ(GlyphCache().Face(Font("MS Sans Serif", 1)).EmPixels(), 1);
}

TEST(FontMetrics, StyleFlagsAreReportedButShareTheFace) {
  const TTextMetric m = FontMetric(Font("MS Sans Serif", -11, {fsUnderline, fsStrikeOut}));
  EXPECT_TRUE(m.Underlined);
  EXPECT_TRUE(m.StruckOut);
  EXPECT_EQ(&GlyphCache().Face(Font("MS Sans Serif", -11, {fsUnderline})), &GlyphCache().Face(Font("MS Sans Serif", -11)));
}

TEST(TextExtent, IsTheSumOfRoundedAdvances) {
  const TFontData font = Font("MS Sans Serif", -11);
  TFontFace& face = GlyphCache().Face(font);
  EXPECT_EQ(TextExtentOf(font, "Pp"), (TSize{face.Advance('P') + face.Advance('p'), 13}));
  EXPECT_EQ(TextExtentOf(font, ""), (TSize{0, 13}));
  // Line breaks do not break or widen the extent.
  EXPECT_EQ(TextExtentOf(font, "ab\r\ncd").cx, TextExtentOf(font, "abcd").cx);
  TFontData rotated = font;
  rotated.Escapement = 900;
  EXPECT_EQ(TextExtentOf(rotated, "abcd"), TextExtentOf(font, "abcd"));
}

TEST(TextCodepage, UpperHalfIsWestern) {
  EXPECT_EQ(DecodeTextByte('A'), U'A');
  EXPECT_EQ(DecodeTextByte(0x80), U'\u20AC');
  EXPECT_EQ(DecodeTextByte(0x99), U'\u2122');
  EXPECT_EQ(DecodeTextByte(0x81), char32_t(0x81));
  EXPECT_EQ(DecodeTextByte(0xE9), U'\u00E9');
  // The euro sign has a glyph of its own, unlike the undefined byte next to it.
  TFontFace& face = GlyphCache().Face(Font("MS Sans Serif", -11));
  EXPECT_GT(face.Glyph(0x80).Width, 0);
  EXPECT_NE(face.Glyph(0x80).Coverage, face.Glyph(0x81).Coverage);
}

TEST(TextMeasure, OneCanvasMeasuresWhatAnotherDraws) {
  TCanvas detached;  // no context at all
  detached.Font().SetHeight(-11);
  auto surface = TextSurface(200, 40);
  TCanvas& canvas = surface->Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clRed);
  canvas.TextOut(10, 5, "Test point 12");
  // The opaque cell is exactly the measured extent.
  const TSize size = detached.TextExtent("Test point 12");
  EXPECT_EQ(InkBox(*surface), (TRect{10, 5, 10 + size.cx, 5 + size.cy}));
  EXPECT_EQ(canvas.PenPos(), (TPoint{10 + size.cx, 5}));
  EXPECT_EQ(canvas.TextMetric().Height, detached.TextHeight("Pp"));
}
