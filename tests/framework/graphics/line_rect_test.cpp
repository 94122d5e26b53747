#include <gtest/gtest.h>

#include <cmath>

#include "framework/graphics/raster.h"
#include "pixel_helpers.h"

namespace {
TPixelSet LinePixels(int x0, int y0, int x1, int y1) {
  TPixelSet set;
  ForEachLinePixel(x0, y0, x1, y1, [&set](int x, int y) { EXPECT_TRUE(set.insert({x, y}).second); });
  return set;
}

// The line rule stated directly: per major coordinate from start (included) to end
// (excluded), minor = ceil(v - 1/2) of the exact value v, in exact rational arithmetic.
TPixelSet ExactLine(int x0, int y0, int x1, int y1) {
  TPixelSet set;
  const int dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const int n = std::abs(xMajor ? dx : dy), step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  for (int i = 0; i < n; ++i) {
    const int major = (xMajor ? x0 : y0) + i * step;
    // v = minor0 + i*step*dminor/dmajor; ceil(v - 1/2) = ceil((2 num - den) / (2 den)).
    const long long den = xMajor ? dx : dy;
    const long long num = (long long)(xMajor ? y0 : x0) * den + (long long)i * step * (xMajor ? dy : dx);
    long long n2 = 2 * num - den, d2 = 2 * den;
    if (d2 < 0) n2 = -n2, d2 = -d2;
    const long long minor = n2 >= 0 ? (n2 + d2 - 1) / d2 : -((-n2) / d2);
    if (xMajor) set.insert({major, int(minor)});
    else set.insert({int(minor), major});
  }
  return set;
}

TPixelSet DrawLine(int x0, int y0, int x1, int y1, TBitmap& surface) {
  surface.Canvas().Pen().SetColor(clBlack);
  surface.Canvas().MoveTo(x0, y0);
  surface.Canvas().LineTo(x1, y1);
  return ChangedPixels(surface);
}
}  // namespace

TEST(Lines, WorkedExamples) {
  EXPECT_EQ(LinePixels(0, 0, 5, 2), PixelsOf({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
  EXPECT_EQ(LinePixels(5, 2, 0, 0), PixelsOf({{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}}));
  EXPECT_EQ(LinePixels(0, 0, 4, 1), PixelsOf({{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
  EXPECT_EQ(LinePixels(0, 0, 1, 4), PixelsOf({{0, 0}, {0, 1}, {0, 2}, {1, 3}}));
  EXPECT_TRUE(LinePixels(3, 3, 3, 3).empty());
}

TEST(Lines, EveryOctantMatchesTheExactRuleAndItsReverse) {
  // Slopes with exact halves (dminor odd over dmajor even) exercise the tie-breaking.
  const TPoint ends[] = {{6, 1}, {6, 3}, {4, 1}, {8, 3}, {7, 7}, {10, 5}, {2, 9}, {1, 6}, {5, 0}, {0, 5}};
  for (const TPoint& e : ends)
    for (int sx : {1, -1})
      for (int sy : {1, -1})
        for (bool swap : {false, true}) {
          const int dx = (swap ? e.Y : e.X) * sx, dy = (swap ? e.X : e.Y) * sy;
          SCOPED_TRACE(testing::Message() << "dx=" << dx << " dy=" << dy);
          const int x0 = 20, y0 = 20;
          const TPixelSet forward = LinePixels(x0, y0, x0 + dx, y0 + dy);
          EXPECT_EQ(forward, ExactLine(x0, y0, x0 + dx, y0 + dy));
          TPixelSet backward = LinePixels(x0 + dx, y0 + dy, x0, y0);
          // The same pixels but for the omitted end of each direction.
          backward.erase({x0 + dx, y0 + dy});
          TPixelSet forwardWithoutStart = forward;
          forwardWithoutStart.erase({x0, y0});
          EXPECT_EQ(backward, forwardWithoutStart);
        }
}

TEST(Lines, ClippingNeverMovesPixels) {
  auto whole = MakeSurface(12, 8);
  const TPixelSet full = DrawLine(1, 1, 11, 6, *whole);
  auto clipped = MakeSurface(12, 8);
  clipped->Canvas().Handle().IntersectClipRect({4, 0, 8, 8});
  const TPixelSet part = DrawLine(1, 1, 11, 6, *clipped);
  TPixelSet expected;
  for (const auto& p : full)
    if (p.first >= 4 && p.first < 8) expected.insert(p);
  EXPECT_EQ(part, expected);
  // A line starting outside the surface lights the same in-surface pixels as the full line.
  auto offSurface = MakeSurface(12, 8);
  const TPixelSet fromOutside = DrawLine(-9, -4, 11, 6, *offSurface);
  TPixelSet reference;
  for (const auto& p : ExactLine(-9, -4, 11, 6))
    if (p.first >= 0 && p.second >= 0) reference.insert(p);
  EXPECT_EQ(fromOutside, reference);
}

TEST(Lines, PenPositionAndStyles) {
  auto s = MakeSurface(16, 3);
  TCanvas& c = s->Canvas();
  c.MoveTo(0, 1);
  c.LineTo(4, 1);
  EXPECT_EQ(c.PenPos(), (TPoint{4, 1}));
  c.Pen().SetStyle(psClear);
  c.LineTo(8, 1);
  EXPECT_EQ(c.PenPos(), (TPoint{8, 1}));
  EXPECT_EQ(ChangedPixels(*s), RectPixels(0, 1, 4, 2));
  auto d = MakeSurface(16, 3);
  d->Canvas().Pen().SetStyle(psDot);
  d->Canvas().MoveTo(0, 0);
  d->Canvas().LineTo(12, 0);
  EXPECT_EQ(ChangedPixels(*d), PixelsOf({{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));
}

TEST(Lines, PolylineJoinsSegmentsAndLeavesTheLastPointOut) {
  auto s = MakeSurface(8, 8);
  const TPoint pts[] = {{1, 1}, {5, 1}, {5, 5}};
  s->Canvas().Polyline(pts);
  TPixelSet expected = RectPixels(1, 1, 5, 2);
  for (int y = 1; y < 5; ++y) expected.insert({5, y});
  EXPECT_EQ(ChangedPixels(*s), expected);
}

TEST(Rectangles, FillRectIsHalfOpen) {
  auto s = MakeSurface(8, 8);
  s->Canvas().Brush().SetColor(clBlue);
  s->Canvas().FillRect({2, 1, 5, 3});
  EXPECT_EQ(ChangedPixels(*s), RectPixels(2, 1, 5, 3));
  s->Canvas().FillRect({5, 1, 2, 3});  // reversed: nothing
  s->Canvas().FillRect({2, 3, 5, 3});
  EXPECT_EQ(ChangedPixels(*s), RectPixels(2, 1, 5, 3));
}

TEST(Rectangles, PenAndBrushOfTheWorkedExample) {
  for (int width : {0, 1}) {
    auto s = MakeSurface(10, 8);
    TCanvas& c = s->Canvas();
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(width);
    c.Brush().SetColor(clBlue);
    c.Rectangle(2, 1, 7, 5);
    TPixelSet pen, brush;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        if (s->PixelRGB(x, y) == uint32_t(clRed)) pen.insert({x, y});
        if (s->PixelRGB(x, y) == uint32_t(clBlue)) brush.insert({x, y});
      }
    TPixelSet expectedPen = RectPixels(2, 1, 7, 2);
    expectedPen.merge(RectPixels(2, 4, 7, 5));
    expectedPen.merge(RectPixels(2, 1, 3, 5));
    expectedPen.merge(RectPixels(6, 1, 7, 5));
    EXPECT_EQ(pen, expectedPen);
    EXPECT_EQ(brush, RectPixels(3, 2, 6, 4));
    EXPECT_EQ(ChangedPixels(*s).size(), pen.size() + brush.size());
  }
}

TEST(Rectangles, ClearPenReversedCornersAndDegenerateSizes) {
  auto s = MakeSurface(10, 8);
  TCanvas& c = s->Canvas();
  c.Pen().SetStyle(psClear);
  c.Brush().SetColor(clBlue);
  c.Rectangle(7, 5, 2, 1);  // reversed corners are swapped first
  EXPECT_EQ(ChangedPixels(*s), RectPixels(2, 1, 6, 4));
  auto t = MakeSurface(10, 8);
  t->Canvas().Rectangle(3, 3, 3, 6);
  t->Canvas().Rectangle(3, 3, 6, 3);
  EXPECT_TRUE(ChangedPixels(*t).empty());
  // One pixel wide: the pen alone, each pixel once.
  t->Canvas().Pen().SetColor(clBlack);
  t->Canvas().Rectangle(4, 2, 5, 5);
  EXPECT_EQ(ChangedPixels(*t), RectPixels(4, 2, 5, 5));
}

TEST(Rectangles, SystemColoursResolveWhenDrawn) {
  auto s = MakeSurface(2, 2);
  s->Canvas().Brush().SetColor(clBtnFace);
  s->Canvas().FillRect({0, 0, 1, 1});
  EXPECT_EQ(s->PixelRGB(0, 0), uint32_t(RGB(236, 233, 216)));
  s->Canvas().SetPixel(1, 1, clBtnShadow);
  EXPECT_EQ(s->Canvas().Pixel(1, 1), RGB(172, 168, 153));
}
