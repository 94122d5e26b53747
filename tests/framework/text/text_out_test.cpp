// Single-line output: reference points, backgrounds, clipping, rotation, lines of the font.
#include <gtest/gtest.h>

#include "tests/framework/text/text_helpers.h"

namespace {
constexpr int kAscent = 10, kCell = 13;

// The ink of `text` drawn transparently at (x, y) with `align` and `escapement`.
TRect InkOf(const char* text, int x, int y, int align = talLeft, int escapement = 0) {
  auto surface = TextSurface(160, 160);
  TCanvas& canvas = surface->Canvas();
  canvas.Font().SetEscapement(escapement);
  canvas.SetTextAlign(align);
  canvas.TextOut(x, y, text);
  return InkBox(*surface);
}
}  // namespace

TEST(TextOut, HorizontalReferencePoints) {
  const int w = TCanvas().TextWidth("HHH");
  const TRect left = InkOf("HHH", 40, 20);
  const TRect centre = InkOf("HHH", 40, 20, talCenter);
  const TRect right = InkOf("HHH", 40, 20, talRight);
  // "H" sits on the baseline with its stems close to the cell's sides.
  EXPECT_EQ(left.Bottom, 20 + kAscent);
  EXPECT_GE(left.Left, 40);
  EXPECT_LE(left.Left, 42);
  EXPECT_LE(left.Right, 40 + w);
  EXPECT_EQ(centre, left.Offset(-(w / 2), 0));
  EXPECT_EQ(right, left.Offset(-w, 0));
  EXPECT_LE(right.Right, 40);
}

TEST(TextOut, BaselineAlignmentPutsTheBaselineOnY) {
  const TRect top = InkOf("H", 30, 50);
  const TRect baseline = InkOf("H", 30, 50, talBaseline);
  EXPECT_EQ(baseline.Bottom, 50);
  EXPECT_EQ(baseline, top.Offset(0, -kAscent));
  EXPECT_EQ(InkOf("H", 30, 50, talBaseline | talRight), baseline.Offset(-TCanvas().TextWidth("H"), 0));
}

TEST(TextOut, OpaqueFillsTheCellTransparentOnlyTheGlyphs) {
  auto opaque = TextSurface(100, 40);
  opaque->Canvas().Brush().SetStyle(bsSolid);
  opaque->Canvas().Brush().SetColor(clYellow);
  opaque->Canvas().TextOut(10, 10, "H i");
  const int w = opaque->Canvas().TextWidth("H i");
  EXPECT_EQ(InkBox(*opaque), (TRect{10, 10, 10 + w, 10 + kCell}));
  // Cell corners and the blank hold the background colour; outside is untouched.
  EXPECT_EQ(opaque->Canvas().Pixel(10, 10), clYellow);
  EXPECT_EQ(opaque->Canvas().Pixel(10 + w - 1, 10 + kCell - 1), clYellow);
  EXPECT_EQ(opaque->Canvas().Pixel(9, 10), clWhite);
  EXPECT_EQ(opaque->Canvas().Pixel(10, 10 + kCell), clWhite);

  auto transparent = TextSurface(100, 40);
  transparent->Canvas().TextOut(10, 10, "H i");
  for (const auto& [x, y] : ChangedPixels(*transparent)) EXPECT_NE(transparent->Canvas().Pixel(x, y), clYellow);
  EXPECT_EQ(transparent->Canvas().Pixel(10, 10), clWhite);
  EXPECT_EQ(transparent->Canvas().Pixel(10 + w - 1, 10 + kCell - 1), clWhite);
}

TEST(TextOut, TextRectClipsAndFillsWithASolidBrush) {
  const TRect clip{12, 12, 30, 20};
  auto clear = TextSurface(100, 40);
  clear->Canvas().TextRect(clip, 10, 10, "WWWWWWWW");
  const TRect ink = InkBox(*clear);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_EQ(IntersectRect(ink, clip), ink);

  auto solid = TextSurface(100, 40);
  solid->Canvas().Brush().SetStyle(bsSolid);
  solid->Canvas().Brush().SetColor(clAqua);
  solid->Canvas().TextRect(clip, 10, 10, "WWWWWWWW");
  EXPECT_EQ(InkBox(*solid), clip);
  // Text still shows over the fill.
  EXPECT_GT(ChangedPixels(*solid, clAqua).size(), size_t(100 * 40 - clip.Width() * clip.Height()));
}

TEST(TextOut, ClipRegionOfTheContextApplies) {
  auto surface = TextSurface(100, 40);
  TCanvas& canvas = surface->Canvas();
  canvas.Handle().IntersectClipRect({0, 0, 100, 15});
  canvas.TextOut(10, 10, "HHHH");
  EXPECT_EQ(InkBox(*surface).Bottom, 15);
}

TEST(TextOut, RotationTurnsTheHorizontalInkExactly) {
  const char* text = "Test point 2";
  const int x = 60;
  auto flat = TextSurface(160, 160);
  flat->Canvas().TextOut(0, 0, text);
  const TPixelSet ink = ChangedPixels(*flat);
  const int w = flat->Canvas().TextWidth(text);

  for (int escapement : {900, 2700}) {
    const int y = escapement == 900 ? 120 : 20;
    auto turned = TextSurface(160, 160);
    turned->Canvas().Font().SetEscapement(escapement);
    turned->Canvas().TextOut(x, y, text);
    TPixelSet expected;
    for (const auto& [u, v] : ink)
      expected.insert(escapement == 900 ? std::pair{x + v, y - 1 - u} : std::pair{x - 1 - v, y + u});
    EXPECT_EQ(ChangedPixels(*turned), expected) << escapement;
    // The cell lies beside the reference point, the text running away from it.
    const TRect box = InkBox(*turned);
    if (escapement == 900) {
      EXPECT_GE(box.Left, x);
      EXPECT_LE(box.Right, x + kCell);
      EXPECT_GE(box.Top, y - w);
      EXPECT_LE(box.Bottom, y);
    } else {
      EXPECT_GE(box.Left, x - kCell);
      EXPECT_LE(box.Right, x);
      EXPECT_GE(box.Top, y);
      EXPECT_LE(box.Bottom, y + w);
    }
  }
}

// Upright text takes its own path along the rows; turned half round it must give the same
// blended pixels, mirrored, also where the surface cuts the run off.
TEST(TextOut, UprightInkIsTheHalfTurnedInkMirrored) {
  for (const int x : {20, -9}) {
    auto upright = TextSurface(160, 40);
    auto turned = TextSurface(160, 40);
    for (TBitmap* surface : {upright.get(), turned.get()}) {
      surface->Canvas().Font().SetColor(TColor(0x2080C0));
      surface->Canvas().Font().SetStyle({fsUnderline});
    }
    turned->Canvas().Font().SetEscapement(1800);
    upright->Canvas().TextOut(x, 5, "Wg 1.4 Test");
    turned->Canvas().TextOut(160 - x, 35, "Wg 1.4 Test");
    const TPixelSet ink = ChangedPixels(*upright);
    EXPECT_GT(ink.size(), 50u) << x;
    EXPECT_EQ(ChangedPixels(*turned).size(), ink.size()) << x;
    for (const auto& [u, v] : ink)
      ASSERT_EQ(upright->Canvas().Pixel(u, v), turned->Canvas().Pixel(159 - u, 39 - v)) << x << ": " << u << "," << v;
  }
}

TEST(TextOut, RotatedOpaqueCellAndCentring) {
  auto surface = TextSurface(100, 100);
  TCanvas& canvas = surface->Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clLime);
  canvas.Font().SetEscapement(900);
  canvas.SetTextAlign(talCenter);
  const int w = canvas.TextWidth("abc");
  canvas.TextOut(20, 50, "abc");
  // Centred along the text: from y + w div 2 upward.
  EXPECT_EQ(InkBox(*surface), (TRect{20, 50 + w / 2 - w, 20 + kCell, 50 + w / 2}));
}

TEST(TextOut, UnderlineAndStrikeOutAreFullLinesInTheTextColour) {
  auto plain = TextSurface(100, 40);
  plain->Canvas().TextOut(10, 10, "ace");
  const int w = plain->Canvas().TextWidth("ace");
  for (TFontStyle style : {fsUnderline, fsStrikeOut}) {
    auto styled = TextSurface(100, 40);
    styled->Canvas().Font().SetColor(clBlue);
    styled->Canvas().Font().SetStyle({style});
    styled->Canvas().TextOut(10, 10, "ace");
    int fullRows = 0;
    for (int y = 10; y < 10 + kCell + 2; ++y) {
      bool full = true;
      for (int x = 10; x < 10 + w; ++x) full = full && styled->Canvas().Pixel(x, y) == clBlue;
      if (full) {
        ++fullRows;
        if (style == fsUnderline) EXPECT_GE(y, 10 + kAscent);
        else EXPECT_LT(y, 10 + kAscent);
      }
    }
    EXPECT_GE(fullRows, 1) << style;
    EXPECT_NE(InkBox(*styled), TRect{}) << style;
  }
}

TEST(TextOut, BlendsInTheTextColourOnPaletteSurfaces) {
  auto surface = MakeSurface(60, 20, clWhite, pf8bit);
  TCanvas& canvas = surface->Canvas();
  canvas.Font().SetColor(clRed);
  canvas.Font().SetStyle({fsUnderline});
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(2, 2, "x");
  EXPECT_FALSE(ChangedPixels(*surface).empty());
  // The underline is fully covered: exactly the table's match for the text colour.
  const TBitmapImage& image = surface->Image();
  EXPECT_EQ(uint32_t(canvas.Pixel(2, 2 + kAscent + 1)), image.ValueToRGB(image.RGBToValue(uint32_t(clRed))));
  EXPECT_NE(canvas.Pixel(2, 2 + kAscent + 1), clWhite);
}

TEST(TextOut, VeryLongTextOnlyComposesWhatTheSurfaceShows) {
  const std::string text(200000, 'W');
  for (int escapement : {0, 900, 2700}) {
    auto surface = TextSurface(60, 60);
    surface->Canvas().Font().SetEscapement(escapement);
    surface->Canvas().Font().SetStyle({fsUnderline});
    surface->Canvas().TextOut(escapement == 2700 ? 40 : 10, escapement == 900 ? 50 : 10, text);
    // The run leaves the surface on its far side; the near side starts at the reference.
    const TRect ink = InkBox(*surface);
    if (escapement == 0) EXPECT_EQ(ink.Right, 60);
    else if (escapement == 900) EXPECT_EQ(ink.Top, 0);
    else EXPECT_EQ(ink.Bottom, 60);
  }
}
