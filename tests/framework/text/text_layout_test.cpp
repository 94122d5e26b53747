// Multi-line layout: breaks, word break, tabs, accelerator marks, alignment, measuring.
#include <gtest/gtest.h>

#include <string>

#include "framework/graphics/glyph_cache.h"
#include "tests/framework/text/text_helpers.h"

namespace {
TFontFace& WindowFace() { return GlyphCache().Face(TFontData{}); }

std::string Shown(const TTextRun& line) {
  std::string s;
  for (const TRunChar& c : line.Chars) s += char(c.Ch);
  return s;
}

int Width(const char* text) { return TextExtentOf(TFontData{}, text).cx; }
}  // namespace

TEST(TextLayout, LineBreaksAtCrLfAndCrLf) {
  const TTextLayout layout = LayoutText(WindowFace(), "a\rbb\nccc\r\nd\n", 500, tfLeft);
  ASSERT_EQ(layout.Lines.size(), 4u);
  EXPECT_EQ(Shown(layout.Lines[2]), "ccc");
  EXPECT_EQ(layout.Height(), 4 * 13);
  EXPECT_EQ(layout.Width, Width("ccc"));
  EXPECT_EQ(LayoutText(WindowFace(), "a\r\n\r\nb", 500, 0).Lines.size(), 3u);
  // Single-line text keeps every character on one line.
  EXPECT_EQ(LayoutText(WindowFace(), "a\r\nb", 500, tfSingleLine).Lines.size(), 1u);
}

TEST(TextLayout, WordBreakSwallowsTheBlankAndKeepsLongWordsWhole) {
  const int fits = Width("Test point");
  const TTextLayout layout = LayoutText(WindowFace(), "Test point  twelve", fits, tfWordBreak);
  ASSERT_EQ(layout.Lines.size(), 2u);
  EXPECT_EQ(Shown(layout.Lines[0]), "Test point");
  EXPECT_EQ(Shown(layout.Lines[1]), "twelve");
  EXPECT_EQ(layout.Lines[1].Chars[0].X, 0);
  // One pixel less and "point" goes down too.
  EXPECT_EQ(Shown(LayoutText(WindowFace(), "Test point", fits - 1, tfWordBreak).Lines[1]), "point");
  const TTextLayout longWord = LayoutText(WindowFace(), "Unbreakable ab", 10, tfWordBreak);
  ASSERT_EQ(longWord.Lines.size(), 2u);
  EXPECT_EQ(Shown(longWord.Lines[0]), "Unbreakable");
  EXPECT_EQ(longWord.Width, Width("Unbreakable"));
  // Without the flag (or with single-line) nothing wraps.
  EXPECT_EQ(LayoutText(WindowFace(), "Test point twelve", fits, 0).Lines.size(), 1u);
  EXPECT_EQ(LayoutText(WindowFace(), "Test point twelve", fits, tfWordBreak | tfSingleLine).Lines.size(), 1u);
}

TEST(TextLayout, TabsStopEveryEightAverageWidths) {
  const int stop = 8 * WindowFace().Metric().AveCharWidth;
  const TTextLayout layout = LayoutText(WindowFace(), "a\tb\r\nabcdefghijklmn\tc", 500, tfExpandTabs);
  EXPECT_EQ(layout.Lines[0].Chars[2].X, stop);
  ASSERT_GT(Width("abcdefghijklmn"), stop);
  EXPECT_EQ(layout.Lines[1].Chars.back().X, 2 * stop);
  EXPECT_EQ(layout.Lines[0].Width, stop + Width("b"));
  // Unexpanded tabs take no room.
  EXPECT_EQ(LayoutText(WindowFace(), "a\tb", 500, 0).Width, Width("ab"));
}

TEST(TextLayout, AcceleratorMarks) {
  const TTextLayout marked = LayoutText(WindowFace(), "&File && E&xit&", 500, 0);
  EXPECT_EQ(Shown(marked.Lines[0]), "File & Exit");
  std::string underlined;
  for (const TRunChar& c : marked.Lines[0].Chars)
    if (c.Underline) underlined += char(c.Ch);
  EXPECT_EQ(underlined, "Fx");
  EXPECT_EQ(marked.Width, Width("File & Exit"));
  EXPECT_EQ(Shown(LayoutText(WindowFace(), "&File &&", 500, tfNoPrefix).Lines[0]), "&File &&");
}

TEST(TextLayout, RightToLeftReadingMovesEndPunctuation) {
  EXPECT_EQ(Shown(LayoutText(WindowFace(), "Hello world!", 500, tfRtlReading).Lines[0]), "!Hello world");
  EXPECT_EQ(Shown(LayoutText(WindowFace(), "-> Go.", 500, tfRtlReading).Lines[0]), ".Go >-");
  EXPECT_EQ(Shown(LayoutText(WindowFace(), "Hello world!", 500, 0).Lines[0]), "Hello world!");
}

TEST(DrawTextBlock, MeasuringDrawsNothingAndReportsTheBlock) {
  auto surface = TextSurface(120, 80);
  TCanvas& canvas = surface->Canvas();
  TRect rect{10, 5, 10 + Width("Test point"), 500};
  const int height = canvas.DrawTextBlock("Test point twelve\r\nx", rect, tfWordBreak | tfCalcRect | tfCenter);
  EXPECT_EQ(height, 3 * 13);
  EXPECT_EQ(rect, (TRect{10, 5, 10 + Width("Test point"), 5 + 39}));
  EXPECT_TRUE(ChangedPixels(*surface).empty());
}

TEST(DrawTextBlock, LinesAlignLeftCentreRight) {
  const TRect area{10, 10, 110, 60};
  const int w = Width("HH");
  const std::pair<unsigned, int> cases[] = {
      {tfLeft, 10}, {tfCenter, (10 + 110 - w) / 2}, {tfRight, 110 - w}};
  for (const auto& [flag, left] : cases) {
    auto surface = TextSurface(120, 80);
    TRect rect = area;
    EXPECT_EQ(surface->Canvas().DrawTextBlock("HH\nHH", rect, flag), 26);
    // Both lines' "H" stems, one line height apart.
    const TRect ink = InkBox(*surface);
    EXPECT_GE(ink.Left, left) << flag;
    EXPECT_LE(ink.Left, left + 2) << flag;
    EXPECT_LE(ink.Right, left + w) << flag;
    EXPECT_EQ(ink.Bottom, 10 + 13 + 10) << flag;
  }
}

TEST(DrawTextBlock, SingleLineVerticalPlacement) {
  const TRect area{0, 10, 100, 50};
  const TRect top = [&] {
    auto surface = TextSurface(100, 60);
    TRect rect = area;
    surface->Canvas().DrawTextBlock("H", rect, tfSingleLine);
    return InkBox(*surface);
  }();
  for (const auto& [flag, cellTop] : {std::pair{unsigned(tfVCenter), (10 + 50 - 13) / 2}, std::pair{unsigned(tfBottom), 50 - 13}}) {
    auto surface = TextSurface(100, 60);
    TRect rect = area;
    surface->Canvas().DrawTextBlock("H", rect, tfSingleLine | flag);
    EXPECT_EQ(InkBox(*surface), top.Offset(0, cellTop - 10)) << flag;
    // Vertical placement needs single-line text.
    auto multi = TextSurface(100, 60);
    rect = area;
    multi->Canvas().DrawTextBlock("H", rect, flag);
    EXPECT_EQ(InkBox(*multi), top) << flag;
  }
}

TEST(DrawTextBlock, ClipsToTheRectangleUnlessTold) {
  auto clipped = TextSurface(100, 80);
  TRect rect{5, 5, 30, 20};
  clipped->Canvas().DrawTextBlock("WWWWWW\nline two\nline three", rect, 0);
  const TRect ink = InkBox(*clipped);
  EXPECT_EQ(IntersectRect(ink, rect), ink);

  auto unclipped = TextSurface(100, 80);
  rect = {5, 5, 30, 20};
  unclipped->Canvas().DrawTextBlock("WWWWWW\nline two\nline three", rect, tfNoClip);
  EXPECT_GT(InkBox(*unclipped).Bottom, 5 + 2 * 13);
  EXPECT_GT(InkBox(*unclipped).Right, 30);
}

TEST(DrawTextBlock, AcceleratorUnderlinesOnlyItsCharacter) {
  auto plain = TextSurface(100, 30);
  auto marked = TextSurface(100, 30);
  TRect rect{4, 4, 100, 30};
  plain->Canvas().DrawTextBlock("File", rect, 0);
  marked->Canvas().DrawTextBlock("&File", rect, 0);
  TPixelSet extra;
  for (const auto& p : ChangedPixels(*marked))
    if (!ChangedPixels(*plain).count(p)) extra.insert(p);
  ASSERT_FALSE(extra.empty());
  int left = 1000, right = -1;
  for (const auto& [x, y] : extra) {
    EXPECT_GE(y, 4 + 10);  // below the baseline
    left = std::min(left, x);
    right = std::max(right, x + 1);
  }
  EXPECT_EQ(left, 4);
  EXPECT_EQ(right, 4 + Width("F"));
}

TEST(DrawTextBlock, OpaqueBackgroundFollowsTheBrush) {
  auto surface = TextSurface(100, 40);
  TCanvas& canvas = surface->Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clYellow);
  TRect rect{0, 0, 100, 40};
  canvas.DrawTextBlock("ab", rect, tfCenter);
  const int w = Width("ab");
  EXPECT_EQ(InkBox(*surface), (TRect{(100 - w) / 2, 0, (100 - w) / 2 + w, 13}));
}
