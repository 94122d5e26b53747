#include <gtest/gtest.h>

#include <cmath>

#include "framework/graphics/raster.h"
#include "pixel_helpers.h"

namespace {
// The interior rule stated per pixel: count the edges crossing row y (ytop <= y < ybottom)
// whose exact x is left of the pixel; a crossing at xc counts for pixel x when
// ceil(xc) <= x. Alternate: odd count; winding: non-zero signed count.
bool InsideByRule(const std::vector<TPoint>& pts, int x, int y, TPolyFillMode mode) {
  int count = 0, winding = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const TPoint a = pts[i], b = pts[(i + 1) % pts.size()];
    if (a.Y == b.Y) continue;
    const TPoint top = a.Y < b.Y ? a : b, bottom = a.Y < b.Y ? b : a;
    if (y < top.Y || y >= bottom.Y) continue;
    const double xc = top.X + double(y - top.Y) * (bottom.X - top.X) / double(bottom.Y - top.Y);
    if (std::ceil(xc - 1e-9) <= x) {
      ++count;
      winding += a.Y < b.Y ? 1 : -1;
    }
  }
  return mode == pfmAlternate ? (count % 2) == 1 : winding != 0;
}

TPixelSet RuleInterior(const std::vector<TPoint>& pts, TPolyFillMode mode, int w, int h) {
  TPixelSet set;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (InsideByRule(pts, x, y, mode)) set.insert({x, y});
  return set;
}

TPixelSet RegionPixels(const TRegion& r, int w, int h) {
  TPixelSet set;
  for (int y = -2; y < h; ++y)
    for (int x = -2; x < w; ++x)
      if (r.PointIn(x, y)) set.insert({x, y});
  return set;
}

const std::vector<TPoint> kStar = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
const std::vector<TPoint> kTriangle = {{1, 1}, {13, 4}, {5, 11}};
}  // namespace

TEST(Polygons, RectangleShapedPolygonFillsExactlyTheHalfOpenRectangle) {
  const std::vector<TPoint> rect = {{2, 1}, {7, 1}, {7, 5}, {2, 5}};
  auto s = MakeSurface(10, 8);
  s->Canvas().Pen().SetStyle(psClear);
  s->Canvas().Brush().SetColor(clBlue);
  s->Canvas().Polygon(rect);
  EXPECT_EQ(ChangedPixels(*s), RectPixels(2, 1, 7, 5));
  EXPECT_EQ(RegionPixels(TRegion::Polygon(rect, pfmAlternate), 10, 8), RectPixels(2, 1, 7, 5));
}

TEST(Polygons, InteriorFollowsTheCrossingRuleInBothModes) {
  for (const auto& pts : {kStar, kTriangle})
    for (TPolyFillMode mode : {pfmAlternate, pfmWinding}) {
      auto s = MakeSurface(24, 24);
      s->Canvas().Pen().SetStyle(psClear);
      s->Canvas().Brush().SetColor(clBlack);
      s->Canvas().Polygon(pts, mode);
      const TPixelSet expected = RuleInterior(pts, mode, 24, 24);
      EXPECT_EQ(ChangedPixels(*s), expected);
      EXPECT_EQ(RegionPixels(TRegion::Polygon(pts, mode), 24, 24), expected);
    }
  // The star's centre pentagon is filled only in winding mode.
  EXPECT_FALSE(TRegion::Polygon(kStar, pfmAlternate).PointIn(10, 10));
  EXPECT_TRUE(TRegion::Polygon(kStar, pfmWinding).PointIn(10, 10));
}

TEST(Polygons, OutlineIsTheClosedLineSetDrawnOverTheInterior) {
  auto s = MakeSurface(16, 14);
  s->Canvas().Pen().SetColor(clRed);
  s->Canvas().Brush().SetColor(clBlue);
  s->Canvas().Polygon(kTriangle);
  TPixelSet outline;
  for (size_t i = 0; i < kTriangle.size(); ++i) {
    const TPoint a = kTriangle[i], b = kTriangle[(i + 1) % kTriangle.size()];
    ForEachLinePixel(a.X, a.Y, b.X, b.Y, [&outline](int x, int y) { outline.insert({x, y}); });
  }
  TPixelSet red, blue;
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 16; ++x) {
      if (s->PixelRGB(x, y) == uint32_t(clRed)) red.insert({x, y});
      if (s->PixelRGB(x, y) == uint32_t(clBlue)) blue.insert({x, y});
    }
  EXPECT_EQ(red, outline);
  TPixelSet interiorLessOutline;
  for (const auto& p : RuleInterior(kTriangle, pfmAlternate, 16, 14))
    if (!outline.count(p)) interiorLessOutline.insert(p);
  EXPECT_EQ(blue, interiorLessOutline);
  // The polygon region never holds outline pixels beyond the interior.
  const TRegion region = TRegion::Polygon(kTriangle, pfmAlternate);
  EXPECT_FALSE(region.PointIn(13, 4));
  EXPECT_FALSE(region.PointIn(1, 1));  // the apex bounds an empty span
  EXPECT_TRUE(region.PointIn(2, 2));
  EXPECT_FALSE(region.PointIn(5, 2));
}

TEST(Regions, PointTestsAtTheEdges) {
  const TRegion r(TRect{2, 3, 6, 8});
  EXPECT_TRUE(r.PointIn(2, 3));
  EXPECT_TRUE(r.PointIn(5, 7));
  EXPECT_FALSE(r.PointIn(6, 3));
  EXPECT_FALSE(r.PointIn(2, 8));
  EXPECT_FALSE(r.PointIn(1, 3));
  EXPECT_FALSE(r.PointIn(2, 2));
  EXPECT_TRUE(TRegion(TRect{4, 4, 4, 9}).IsEmpty());
  EXPECT_EQ(r.BoundingBox(), (TRect{2, 3, 6, 8}));
}

TEST(Regions, ContainsRectOnlyWhenEveryPixelIsIn) {
  // Two bands: [0,10) x [0,4) with a hole at [4,6) in rows 4..8, then a full band below.
  TRegion r = TRegion(TRect{0, 0, 10, 8}).Combine(TRegion(TRect{4, 4, 6, 8}), roDiff);
  r = r.Combine(TRegion(TRect{0, 8, 10, 12}), roOr);
  EXPECT_TRUE(r.ContainsRect({0, 0, 10, 4}));
  EXPECT_TRUE(r.ContainsRect({0, 0, 4, 12})) << "down the left across every band";
  EXPECT_FALSE(r.ContainsRect({3, 3, 7, 5})) << "reaches into the hole";
  EXPECT_FALSE(r.ContainsRect({0, 0, 11, 4})) << "one column beyond";
  EXPECT_FALSE(r.ContainsRect({0, 11, 4, 13})) << "one row below";
  EXPECT_TRUE(r.ContainsRect({6, 9, 6, 9})) << "empty";
  EXPECT_TRUE(TRegion(TRect{0, 8, 10, 12}).ContainsRect({0, 8, 10, 12}));
  const TRegion gap = TRegion(TRect{0, 0, 10, 4}).Combine(TRegion(TRect{0, 5, 10, 9}), roOr);
  EXPECT_FALSE(gap.ContainsRect({0, 2, 10, 7})) << "a missing row between two bands";
  EXPECT_FALSE(TRegion().ContainsRect({0, 0, 1, 1}));
}

TEST(Regions, CombineOperations) {
  const TRegion a(TRect{0, 0, 6, 4}), b(TRect{3, 2, 9, 7});
  const TPixelSet pa = RectPixels(0, 0, 6, 4), pb = RectPixels(3, 2, 9, 7);
  TPixelSet andSet, orSet, diffSet, xorSet;
  for (const auto& p : RectPixels(-2, -2, 12, 12)) {
    const bool ina = pa.count(p), inb = pb.count(p);
    if (ina && inb) andSet.insert(p);
    if (ina || inb) orSet.insert(p);
    if (ina && !inb) diffSet.insert(p);
    if (ina != inb) xorSet.insert(p);
  }
  EXPECT_EQ(RegionPixels(a.Combine(b, roAnd), 12, 12), andSet);
  EXPECT_EQ(RegionPixels(a.Combine(b, roOr), 12, 12), orSet);
  EXPECT_EQ(RegionPixels(a.Combine(b, roDiff), 12, 12), diffSet);
  EXPECT_EQ(RegionPixels(a.Combine(b, roXor), 12, 12), xorSet);
  EXPECT_EQ(a.Combine(b, roOr).BoundingBox(), (TRect{0, 0, 9, 7}));
  EXPECT_TRUE(a.Combine(a, roXor).IsEmpty());
}

TEST(Regions, EqualPixelSetsHaveEqualBands) {
  const TRegion halves = TRegion(TRect{0, 0, 4, 3}).Combine(TRegion(TRect{4, 0, 9, 3}), roOr)
                             .Combine(TRegion(TRect{0, 3, 9, 5}), roOr);
  EXPECT_EQ(halves, TRegion(TRect{0, 0, 9, 5}));
  ASSERT_EQ(halves.Bands().size(), 1u);
  TRegion moved = halves;
  moved.Offset(3, -2);
  EXPECT_EQ(moved, TRegion(TRect{3, -2, 12, 3}));
  EXPECT_EQ(TRegion(TRect{0, 0, 4, 4}).Combine(TRegion(TRect{1, 1, 2, 2}), roDiff).Rects().size(), 4u);
}

TEST(Regions, ClippingToARegionWritesOnlyItsPixels) {
  auto s = MakeSurface(12, 12);
  const TRegion clip = TRegion(TRect{0, 0, 5, 5}).Combine(TRegion(TRect{7, 7, 12, 12}), roOr);
  s->Canvas().Handle().SetClipRegion(&clip);
  s->Canvas().Brush().SetColor(clBlack);
  s->Canvas().FillRect({2, 2, 10, 10});
  TPixelSet expected = RectPixels(2, 2, 5, 5);
  expected.merge(RectPixels(7, 7, 10, 10));
  EXPECT_EQ(ChangedPixels(*s), expected);
  auto t = MakeSurface(12, 12);
  t->Canvas().Handle().SetClipRegion(&clip);
  t->Canvas().Brush().SetColor(clRed);
  t->Canvas().FillRegion(TRegion::Polygon(kTriangle, pfmAlternate));
  TPixelSet clipped;
  for (const auto& p : RuleInterior(kTriangle, pfmAlternate, 12, 12))
    if (clip.PointIn(p.first, p.second)) clipped.insert(p);
  EXPECT_EQ(ChangedPixels(*t), clipped);
}

TEST(RegionCombine, DisjointContainedAndTouchingRegionsGiveTheSameBandsAsTheWalk) {
  const TRegion ring = TRegion(TRect{0, 0, 30, 30}).Combine(TRegion(TRect{10, 10, 20, 20}), roDiff);
  const TRegion inside(TRect{12, 12, 18, 18});
  EXPECT_FALSE(ring.Intersects(inside)) << "in the hole";
  EXPECT_TRUE(ring.Intersects(TRegion(TRect{19, 19, 21, 21})));
  EXPECT_FALSE(ring.Intersects(TRegion(TRect{30, 0, 40, 30}))) << "touching is not sharing";
  EXPECT_EQ(ring.Combine(inside, roAnd), TRegion());
  EXPECT_EQ(ring.Combine(inside, roDiff), ring);
  EXPECT_EQ(ring.Combine(TRegion(TRect{-5, -5, 35, 35}), roAnd), ring);
  EXPECT_EQ(ring.Combine(TRegion(TRect{-5, -5, 35, 35}), roDiff), TRegion());
  EXPECT_EQ(ring.Combine(TRegion(), roOr), ring);
  EXPECT_EQ(TRegion().Combine(ring, roXor), ring);
  EXPECT_EQ(TRegion().Combine(ring, roDiff), TRegion());
  // Built by hand, band by band: the same representation the walk gives.
  TRegion expected;
  expected.AppendBand(0, 10, {{0, 30}});
  expected.AppendBand(10, 20, {{0, 10}, {20, 30}});
  expected.AppendBand(20, 30, {{0, 30}});
  EXPECT_EQ(ring, expected);
  EXPECT_EQ(ring.Combine(inside, roOr).Combine(inside, roDiff), ring);
}
