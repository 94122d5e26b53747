#include <gtest/gtest.h>

#include <cmath>

#include "framework/graphics/stretch_map.h"
#include "pixel_helpers.h"

namespace {
// Column x of the source has red = x, row y has green = y, so each copied pixel names its source.
std::unique_ptr<TBitmap> CoordinateSource(int width, int height, TPixelFormat format = pf24bit) {
  auto b = MakeSurface(width, height, clBlack, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b->Image().SetPixelValue(x, y, RGB(x, y, 7));
  return b;
}

// The shrinking rule stated as groups: source s falls into group ceil((s + 1/2) D / S) - 1 and
// each destination keeps its group's first member.
std::vector<int> KeptByGroups(int s, int d) {
  std::vector<int> kept(size_t(d), -1);
  for (int i = 0; i < s; ++i) {
    const long long num = (2LL * i + 1) * d, den = 2LL * s;
    const auto group = int((num + den - 1) / den - 1);
    if (kept[size_t(group)] < 0) kept[size_t(group)] = i;
  }
  return kept;
}
}  // namespace

TEST(StretchMap, WorkedShrinkExample) {
  EXPECT_EQ(StretchIndexMap(10, 4), (std::vector<int>{0, 3, 5, 8}));
  EXPECT_EQ(KeptByGroups(10, 4), (std::vector<int>{0, 3, 5, 8}));
}

TEST(StretchMap, ShrinkingMatchesTheGroupRule) {
  for (auto [s, d] : {std::pair{1024, 683}, std::pair{768, 513}, std::pair{7, 3}, std::pair{5, 4}, std::pair{9, 1}}) {
    SCOPED_TRACE(testing::Message() << s << " -> " << d);
    EXPECT_EQ(StretchIndexMap(s, d), KeptByGroups(s, d));
  }
  const std::vector<int> columns = StretchIndexMap(1024, 683);
  EXPECT_EQ(columns.front(), 0);
  EXPECT_EQ(columns[1], 1);
  EXPECT_EQ(columns.back(), 1023);
}

TEST(StretchMap, EnlargingTakesTheSourceUnderTheCentre) {
  EXPECT_EQ(StretchIndexMap(2, 5), (std::vector<int>{0, 0, 0, 1, 1}));
  EXPECT_EQ(StretchIndexMap(3, 3), (std::vector<int>{0, 1, 2}));
  for (auto [s, d] : {std::pair{3, 7}, std::pair{683, 1024}, std::pair{1, 4}}) {
    const std::vector<int> map = StretchIndexMap(s, d);
    for (int i = 0; i < d; ++i) {
      // floor(((2d + 1) S - 1) / (2D)), computed independently in floating point.
      const int expected = int(std::floor(((2.0 * i + 1) * s - 1) / (2.0 * d)));
      EXPECT_EQ(map[size_t(i)], expected);
    }
  }
}

TEST(StretchMap, BoxTapsCoverEachDestinationWithWeightS) {
  for (const TBoxTaps& tap : BoxFilterTaps(1024, 683)) {
    int sum = 0;
    for (int w : tap.Weights) sum += w;
    EXPECT_EQ(sum, 1024);
  }
  const std::vector<TBoxTaps> taps = BoxFilterTaps(3, 2);
  EXPECT_EQ(taps[0].First, 0);
  EXPECT_EQ(taps[0].Weights, (std::vector<int>{2, 1}));
  EXPECT_EQ(taps[1].First, 1);
  EXPECT_EQ(taps[1].Weights, (std::vector<int>{1, 2}));
}

TEST(BlockCopy, ColourOnColourStretchOf1024x768Onto683x513) {
  auto source = CoordinateSource(1024, 768, pf24bit);
  // Encode full coordinates: red/green carry the low bytes, blue the high bits.
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) source->Image().SetPixelValue(x, y, RGB(x & 0xFF, y & 0xFF, (x >> 8) | (y >> 8) << 4));
  auto target = MakeSurface(700, 520, clWhite);
  target->Canvas().CopyRect({0, 0, 683, 513}, source->Canvas(), {0, 0, 1024, 768});
  const std::vector<int> xs = KeptByGroups(1024, 683), ys = KeptByGroups(768, 513);
  int mismatches = 0;
  for (int y = 0; y < 513; ++y)
    for (int x = 0; x < 683; ++x) {
      const int sx = xs[size_t(x)], sy = ys[size_t(y)];
      if (target->PixelRGB(x, y) != uint32_t(RGB(sx & 0xFF, sy & 0xFF, (sx >> 8) | (sy >> 8) << 4))) ++mismatches;
    }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(target->PixelRGB(683, 0), uint32_t(clWhite));
  EXPECT_EQ(target->PixelRGB(0, 513), uint32_t(clWhite));
}

TEST(BlockCopy, EnlargingAndMirroring) {
  auto source = CoordinateSource(2, 1);
  auto target = MakeSurface(6, 2);
  TDrawContext& dc = target->Canvas().Handle();
  dc.StretchBlt({0, 0, 5, 1}, *source, {0, 0, 2, 1}, cmSrcCopy);
  EXPECT_EQ(target->PixelRGB(2, 0), uint32_t(RGB(0, 0, 7)));
  EXPECT_EQ(target->PixelRGB(3, 0), uint32_t(RGB(1, 0, 7)));
  EXPECT_EQ(target->PixelRGB(5, 0), uint32_t(clWhite));
  dc.StretchBlt({5, 1, 0, 2}, *source, {0, 0, 2, 1}, cmSrcCopy);  // reversed destination mirrors
  EXPECT_EQ(target->PixelRGB(0, 1), uint32_t(RGB(1, 0, 7)));
  EXPECT_EQ(target->PixelRGB(4, 1), uint32_t(RGB(0, 0, 7)));
}

TEST(BlockCopy, HalftoneAveragesTheBoxUnderEachPixel) {
  auto source = MakeSurface(3, 2, clBlack, pf24bit);
  source->Canvas().SetPixel(0, 0, RGB(30, 60, 90));
  source->Canvas().SetPixel(1, 0, RGB(90, 0, 30));
  source->Canvas().SetPixel(2, 0, RGB(255, 255, 255));
  auto target = MakeSurface(2, 1);
  TDrawContext& dc = target->Canvas().Handle();
  dc.State().StretchMode = smHalftone;
  dc.StretchBlt({0, 0, 2, 1}, *source, {0, 0, 3, 2}, cmSrcCopy);
  // Pixel 0: columns 0 (weight 2) and 1 (weight 1) of both rows, the bottom row black: total 6.
  EXPECT_EQ(target->PixelRGB(0, 0), uint32_t(RGB((60 + 90 + 3) / 6, (120 + 3) / 6, (180 + 30 + 3) / 6)));
  EXPECT_EQ(target->PixelRGB(1, 0), uint32_t(RGB((90 + 510 + 3) / 6, (510 + 3) / 6, (30 + 510 + 3) / 6)));
}

TEST(BlockCopy, CopyModes) {
  auto source = MakeSurface(1, 1, RGB(0xF0, 0x0F, 0x33), pf24bit);
  const uint32_t s = 0x330FF0, d = 0x5A5AA5;
  const std::pair<TCopyMode, uint32_t> cases[] = {
      {cmSrcCopy, s},          {cmSrcAnd, s & d},          {cmSrcPaint, s | d},   {cmSrcInvert, s ^ d},
      {cmDstInvert, ~d & 0xFFFFFF}, {cmNotSrcCopy, ~s & 0xFFFFFF}, {cmBlackness, 0}, {cmWhiteness, 0xFFFFFF}};
  for (auto [mode, expected] : cases) {
    auto target = MakeSurface(2, 1, TColor(d));
    target->Canvas().Handle().BitBlt(1, 0, 1, 1, *source, 0, 0, mode);
    EXPECT_EQ(target->PixelRGB(1, 0), expected) << mode;
    EXPECT_EQ(target->PixelRGB(0, 0), d);
  }
}

TEST(BlockCopy, CopiesAreClippedWithoutShifting) {
  auto source = CoordinateSource(8, 8);
  auto target = MakeSurface(10, 10);
  TDrawContext& dc = target->Canvas().Handle();
  dc.IntersectClipRect({4, 4, 10, 10});
  dc.BitBlt(2, 2, 8, 8, *source, 0, 0, cmSrcCopy);
  EXPECT_EQ(target->PixelRGB(3, 5), uint32_t(clWhite));
  EXPECT_EQ(target->PixelRGB(4, 4), uint32_t(RGB(2, 2, 7)));
  EXPECT_EQ(target->PixelRGB(9, 9), uint32_t(RGB(7, 7, 7)));
  // A source rectangle reaching past the source leaves those target pixels alone.
  auto partial = MakeSurface(4, 4);
  partial->Canvas().Handle().BitBlt(0, 0, 4, 4, *source, 6, 6, cmSrcCopy);
  EXPECT_EQ(partial->PixelRGB(1, 1), uint32_t(RGB(7, 7, 7)));
  EXPECT_EQ(partial->PixelRGB(2, 2), uint32_t(clWhite));
}

TEST(BlockCopy, MonochromeConversionsAndMaskedDraw) {
  auto colour = MakeSurface(3, 1, clRed, pf24bit);
  colour->Canvas().SetPixel(1, 0, clLime);
  auto mono = MakeSurface(3, 1, clBlack, pf1bit);
  TDrawContext& monoDc = mono->Canvas().Handle();
  monoDc.State().BkColor = clLime;
  monoDc.BitBlt(0, 0, 3, 1, *colour, 0, 0, cmSrcCopy);
  EXPECT_EQ(mono->Image().PixelValue(0, 0), 0u);
  EXPECT_EQ(mono->Image().PixelValue(1, 0), 1u);  // background colour becomes set

  auto target = MakeSurface(3, 1, clWhite);
  TDrawContext& dc = target->Canvas().Handle();
  dc.State().TextColor = clNavy;
  dc.State().BkColor = clYellow;
  dc.BitBlt(0, 0, 3, 1, *mono, 0, 0, cmSrcCopy);
  EXPECT_EQ(target->PixelRGB(0, 0), uint32_t(clNavy));
  EXPECT_EQ(target->PixelRGB(1, 0), uint32_t(clYellow));

  auto masked = MakeSurface(3, 1, clWhite);
  masked->Canvas().Handle().MaskedStretchBlt({0, 0, 3, 1}, *colour, {0, 0, 3, 1}, *mono);
  EXPECT_EQ(masked->PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(masked->PixelRGB(1, 0), uint32_t(clWhite));  // mask set: target unchanged
  EXPECT_EQ(masked->PixelRGB(2, 0), uint32_t(clRed));
}

TEST(BlockCopy, DrawingOntoAnEightBitTargetPicksNearestEntries) {
  auto source = MakeSurface(2, 1, RGB(250, 5, 5), pf24bit);
  TBitmap target;
  target.SetPixelFormat(pf8bit);
  target.SetSize(2, 1);
  target.Canvas().Draw(0, 0, *source);
  const int red = HalftonePalette().NearestIndex(0x0000FF);
  EXPECT_EQ(target.ScanLine(0)[0], red);
  EXPECT_EQ(target.PixelRGB(1, 0), uint32_t(clRed));
}
