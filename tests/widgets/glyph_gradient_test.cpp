// Arrow glyphs, gradient fills and masked bitmaps, pixel by pixel.
#include <gtest/gtest.h>

#include "tests/widgets/pixel_pattern.h"
#include "widgets/frame_drawing.h"

namespace {
const TLegend kArrow = {{'k', 0x000000}, {'s', 0x99A8AC}};

// Arrows in a 12 x 12 box: centre (6, 5) after the even-height correction.
struct ArrowGlyph : ::testing::Test {
  std::unique_ptr<TBitmap> surface = MakeCanvasBitmap(13, 13);
  TCanvas& canvas = surface->Canvas();
  void Arrow(int direction, bool pressed = false, bool enabled = true) {
    DrawArrowGlyph(canvas, {0, 0, 12, 12}, alClassic, direction, pressed, enabled);
  }
};

TEST_F(ArrowGlyph, Up) {
  Arrow(adUp);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", ".............", "......k......",
                 ".....kkk.....", "....kkkkk....", "...kkkkkkk...", ".............", ".............",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, Down) {
  Arrow(adDown);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", ".............", ".............",
                 "...kkkkkkk...", "....kkkkk....", ".....kkk.....", "......k......", ".............",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, Left) {
  Arrow(adLeft);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", ".......k.....", "......kk.....",
                 ".....kkk.....", "....kkkk.....", ".....kkk.....", "......kk.....", ".......k.....",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, Right) {
  Arrow(adRight);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", "....k........", "....kk.......",
                 "....kkk......", "....kkkk.....", "....kkk......", "....kk.......", "....k........",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, PressedMovesDownRightByOne) {
  Arrow(adDown, true);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", ".............", ".............",
                 ".............", "....kkkkkkk..", ".....kkkkk...", "......kkk....", ".......k.....",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, DisabledIsShadowColouredAndNeverPressed) {
  Arrow(adRight, true, false);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", "....s........", "....ss.......",
                 "....sss......", "....ssss.....", "....sss......", "....ss.......", "....s........",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, OddHeightKeepsTheCentreRow) {
  // 11 x 11: centre (5, 5), moved down to 7 for an up arrow.
  DrawArrowGlyph(canvas, {0, 0, 11, 11}, alClassic, adUp, false, true);
  EXPECT_PICTURE(*surface, kArrow, ".............", ".............", ".............", ".....k.......",
                 "....kkk......", "...kkkkk.....", "..kkkkkkk....", ".............", ".............",
                 ".............", ".............", ".............", ".............");
}

TEST_F(ArrowGlyph, RestoresBrushAndLeavesPenSolid) {
  canvas.Brush().SetColor(clRed);
  canvas.Pen().SetStyle(psDot);
  Arrow(4);
  EXPECT_EQ(ChangedCount(*surface), 0);
  EXPECT_EQ(canvas.Brush().Color(), clRed);
  EXPECT_EQ(canvas.Pen().Style(), psSolid);
  canvas.Pen().SetStyle(psDot);
  Arrow(adLeft, false, false);
  EXPECT_EQ(canvas.Brush().Color(), clRed);
  EXPECT_EQ(canvas.Pen().Style(), psSolid);
}

// The expected channel at distance k from the B edge, from the 16.16 fixed-point rule.
int RampChannel(int a, int b, int n, int k) {
  const int64_t start = int64_t(b) * 65536;
  const int64_t delta = (int64_t(a) * 65536 - start) / n;
  return int((start + k * delta) / 65536);
}

TEST(GradientFill, TabFromWindowToButtonFaceAcross23Pixels) {
  auto surface = MakeCanvasBitmap(25, 40);
  FillGradientRect(surface->Canvas(), {1, 2, 24, 37}, gsHorizontal, clWindow, clBtnFace, 1);
  // Hand-worked columns: the B edge exact, the A edge one step short of white.
  EXPECT_EQ(surface->PixelRGB(23, 2), 0xD8E9ECu);
  EXPECT_EQ(surface->PixelRGB(12, 20), 0xEAF3F5u);  // k = 11: 245, 243, 234
  EXPECT_EQ(surface->PixelRGB(1, 36), 0xFDFEFEu);   // k = 22: 254, 254, 253
  for (int x = 1; x < 24; ++x) {
    const int k = 23 - x;
    const uint32_t expected = RampChannel(255, 236, 23, k) | RampChannel(255, 233, 23, k) << 8 |
                              RampChannel(255, 216, 23, k) << 16;
    for (int y = 2; y < 37; ++y) ASSERT_EQ(surface->PixelRGB(x, y), expected) << x << "," << y;
  }
  for (int y = 0; y < 40; ++y) {
    EXPECT_EQ(surface->PixelRGB(0, y), kBackground);
    EXPECT_EQ(surface->PixelRGB(24, y), kBackground);
  }
  for (int x = 0; x < 25; ++x) {
    EXPECT_EQ(surface->PixelRGB(x, 1), kBackground);
    EXPECT_EQ(surface->PixelRGB(x, 37), kBackground);
  }
}

TEST(GradientFill, VerticalRunsFromTopToBottomAcrossTheWholeWidth) {
  auto surface = MakeCanvasBitmap(21, 8);
  FillGradientRect(surface->Canvas(), {0, 0, 21, 8}, gsVertical, clWhite, clBlack, 1);
  // delta = 255 * 65536 / 8: rows from the bottom 0, 31, 63, 95, 127, 159, 191, 223.
  const int expected[8] = {223, 191, 159, 127, 95, 63, 31, 0};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 21; ++x) ASSERT_EQ(surface->PixelRGB(x, y), uint32_t(expected[y] * 0x010101)) << x << "," << y;
}

TEST(GradientFill, OnePixelLongIsColourBAlone) {
  auto surface = MakeCanvasBitmap(12, 3);
  FillGradientRect(surface->Canvas(), {0, 1, 12, 2}, gsVertical, clWhite, clNavy, 1);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(surface->PixelRGB(x, 1), 0x800000u);
    EXPECT_EQ(surface->PixelRGB(x, 0), kBackground);
    EXPECT_EQ(surface->PixelRGB(x, 2), kBackground);
  }
}

TEST(GradientFill, EqualColoursAreOneFlatBand) {
  auto surface = MakeCanvasBitmap(30, 9);
  FillGradientRect(surface->Canvas(), {0, 0, 30, 9}, gsHorizontal, clSkyBlue, clSkyBlue, 1);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(surface->PixelRGB(x, y), 0xF0CAA6u);
}

TEST(GradientFill, ColourStepSetsTheShortestBand) {
  auto surface = MakeCanvasBitmap(8, 2);
  FillGradientRect(surface->Canvas(), {0, 0, 8, 2}, gsHorizontal, clWhite, clBlack, 4);
  // Bands of four from the right: colours of k = 0 and k = 4.
  for (int x = 0; x < 8; ++x) EXPECT_EQ(surface->PixelRGB(x, 1), uint32_t((x < 4 ? 127 : 0) * 0x010101)) << x;
}

TEST(GradientFill, OtherStylesAndEmptyRectanglesDrawNothing) {
  auto surface = MakeCanvasBitmap(10, 10);
  FillGradientRect(surface->Canvas(), {0, 0, 10, 10}, 0, clWhite, clBlack, 1);
  FillGradientRect(surface->Canvas(), {0, 0, 10, 10}, 9, clWhite, clBlack, 1);
  FillGradientRect(surface->Canvas(), {5, 0, 5, 10}, gsVertical, clWhite, clBlack, 1);
  FillGradientRect(surface->Canvas(), {0, 6, 10, 2}, gsHorizontal, clWhite, clBlack, 1);
  EXPECT_EQ(ChangedCount(*surface), 0);
}

// A 4 x 2 source with two see-through (green) pixels, doubled onto the canvas.
TEST(MaskedBitmap, SeeThroughPixelsLeaveTheCanvas) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(4, 2);
  const TColor pixels[2][4] = {{clRed, clLime, clBlue, clRed}, {clBlue, clBlue, clLime, clRed}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) source.Canvas().SetPixel(x, y, pixels[y][x]);
  auto surface = MakeCanvasBitmap(10, 6);
  DrawMaskedBitmap(surface->Canvas(), source, {0, 0, 8, 4}, clLime, {0, 0, 4, 2});
  const TLegend legend = {{'r', 0x0000FF}, {'b', 0xFF0000}, {'g', 0x00FF00}};
  EXPECT_PICTURE(*surface, legend, "rr..bbrr..", "rr..bbrr..", "bbbb..rr..", "bbbb..rr..", "..........",
                 "..........");
}

TEST(MaskedBitmap, PartOfTheSourcePlacedAtTheDestination) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(3, 1);
  source.Canvas().SetPixel(0, 0, clWhite);
  source.Canvas().SetPixel(1, 0, clRed);
  source.Canvas().SetPixel(2, 0, clBlue);
  auto surface = MakeCanvasBitmap(6, 3);
  DrawMaskedBitmap(surface->Canvas(), source, {2, 1, 4, 2}, clBtnHighlight, {0, 0, 2, 1});
  const TLegend legend = {{'r', 0x0000FF}, {'w', 0xFFFFFF}};
  EXPECT_PICTURE(*surface, legend, "......", "...r..", "......");
}
}  // namespace
