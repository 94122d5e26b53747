// The stretching block copies give exactly the pixels of the per-pixel rules they implement,
// on many sizes in both directions, every source and target depth, clipped, offset,
// mirrored and partly outside the source. The reference below evaluates the rules one
// destination pixel at a time, reading and writing through the bitmap's pixel accessors.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/stretch_map.h"

namespace {
uint32_t ResolveRGB(TColor color) { return uint32_t(ColorToRGB(color)) & 0xFFFFFF; }

uint32_t Apply(TCopyMode mode, uint32_t s, uint32_t d) {
  switch (mode) {
    case cmSrcCopy: return s;
    case cmSrcAnd: return s & d;
    case cmSrcPaint: return s | d;
    case cmSrcInvert: return s ^ d;
    case cmDstInvert: return ~d & 0xFFFFFF;
    case cmNotSrcCopy: return ~s & 0xFFFFFF;
    case cmBlackness: return 0;
    case cmWhiteness: return 0xFFFFFF;
  }
  return s;
}

struct TRefAxis {
  int DestStart, SourceStart, DestExtent, SourceExtent;
  bool Mirrored;
};
TRefAxis Axis(int d0, int d1, int s0, int s1) {
  return {std::min(d0, d1), std::min(s0, s1), std::abs(d1 - d0), std::abs(s1 - s0), (d1 < d0) != (s1 < s0)};
}

// Source pixel (x, y) as the target sees it: monochrome sources take the text and background
// colours, colour sources copied into a monochrome target become white on the background colour.
uint32_t SourceRGB(const TBitmapImage& source, const TBitmapImage& target, const TDrawState& state, int x, int y) {
  const uint32_t value = source.PixelValue(x, y);
  if (source.Format == pf1bit && target.Format != pf1bit) return value ? ResolveRGB(state.BkColor) : ResolveRGB(state.TextColor);
  const uint32_t rgb = source.ValueToRGB(value);
  if (source.Format != pf1bit && target.Format == pf1bit) return rgb == ResolveRGB(state.BkColor) ? 0xFFFFFF : 0;
  return rgb;
}

void Write(TBitmapImage& target, TCopyMode mode, int x, int y, uint32_t s) {
  const uint32_t d = mode == cmSrcCopy ? 0 : target.PixelRGB(x, y);
  target.SetPixelValue(x, y, target.RGBToValue(Apply(mode, s, d)));
}

// Colour-on-colour: every destination pixel takes the one source pixel its index maps to.
void ReferenceDrop(TDrawContext& dc, const TRect& dest, const TBitmapImage& source, const TRect& from, TCopyMode mode) {
  const TRefAxis ax = Axis(dest.Left, dest.Right, from.Left, from.Right);
  const TRefAxis ay = Axis(dest.Top, dest.Bottom, from.Top, from.Bottom);
  if (ax.DestExtent == 0 || ay.DestExtent == 0 || ax.SourceExtent == 0 || ay.SourceExtent == 0) return;
  auto index = [](const TRefAxis& a, int d) {
    const int k = a.Mirrored ? a.DestExtent - 1 - d : d;
    const int s = a.DestExtent >= a.SourceExtent ? EnlargeSourceIndex(k, a.SourceExtent, a.DestExtent)
                                                 : ShrinkSourceIndex(k, a.SourceExtent, a.DestExtent);
    return a.SourceStart + s;
  };
  TBitmapImage& target = *dc.Surface();
  const int left = ax.DestStart + dc.State().Origin.X, top = ay.DestStart + dc.State().Origin.Y;
  for (int dy = 0; dy < ay.DestExtent; ++dy) {
    const int sy = index(ay, dy);
    if (sy < 0 || sy >= source.Height) continue;
    dc.ForVisibleSpans(top + dy, left, left + ax.DestExtent, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) {
        const int sx = index(ax, x - left);
        if (sx >= 0 && sx < source.Width) Write(target, mode, x, y, SourceRGB(source, target, dc.State(), sx, sy));
      }
    });
  }
}

// Halftone: every destination pixel is the rounded, overlap-weighted mean of the source
// pixels under it that lie inside the bitmap.
void ReferenceAverage(TDrawContext& dc, const TRect& dest, const TBitmapImage& source, const TRect& from,
                      TCopyMode mode) {
  const TRefAxis ax = Axis(dest.Left, dest.Right, from.Left, from.Right);
  const TRefAxis ay = Axis(dest.Top, dest.Bottom, from.Top, from.Bottom);
  if (ax.DestExtent == 0 || ay.DestExtent == 0 || ax.SourceExtent == 0 || ay.SourceExtent == 0) return;
  const std::vector<TBoxTaps> xt = BoxFilterTaps(ax.SourceExtent, ax.DestExtent);
  const std::vector<TBoxTaps> yt = BoxFilterTaps(ay.SourceExtent, ay.DestExtent);
  TBitmapImage& target = *dc.Surface();
  const int left = ax.DestStart + dc.State().Origin.X, top = ay.DestStart + dc.State().Origin.Y;
  for (int dy = 0; dy < ay.DestExtent; ++dy) {
    const TBoxTaps& ty = yt[size_t(ay.Mirrored ? ay.DestExtent - 1 - dy : dy)];
    dc.ForVisibleSpans(top + dy, left, left + ax.DestExtent, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) {
        const TBoxTaps& tx = xt[size_t(ax.Mirrored ? ax.DestExtent - 1 - (x - left) : x - left)];
        int64_t sum[3] = {0, 0, 0}, weight = 0;
        for (size_t j = 0; j < ty.Weights.size(); ++j) {
          const int sy = ay.SourceStart + ty.First + int(j);
          if (sy < 0 || sy >= source.Height) continue;
          for (size_t i = 0; i < tx.Weights.size(); ++i) {
            const int sx = ax.SourceStart + tx.First + int(i);
            if (sx < 0 || sx >= source.Width) continue;
            const int64_t w = int64_t(tx.Weights[i]) * ty.Weights[j];
            const uint32_t c = SourceRGB(source, target, dc.State(), sx, sy);
            sum[0] += w * (c & 0xFF), sum[1] += w * ((c >> 8) & 0xFF), sum[2] += w * ((c >> 16) & 0xFF);
            weight += w;
          }
        }
        if (weight == 0) continue;
        auto channel = [&](int k) { return uint32_t((sum[k] + weight / 2) / weight); };
        Write(target, mode, x, y, channel(0) | channel(1) << 8 | channel(2) << 16);
      }
    });
  }
}

uint32_t gSeed = 1;
uint8_t NextByte() {
  gSeed = gSeed * 1103515245u + 12345u;
  return uint8_t(gSeed >> 23);
}

std::unique_ptr<TBitmap> Noise(TPixelFormat format, int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  for (uint8_t& b : bitmap->Image().Bits) b = NextByte();
  if (format == pf8bit) {
    // A short table: indices past its end read as black.
    std::vector<TRGBQuad> table(200);
    for (TRGBQuad& q : table) q = {NextByte(), NextByte(), NextByte(), 0};
    bitmap->SetColorTable(table);
  }
  return bitmap;
}

struct TCase {
  TRect Dest, From;
  TPoint Origin;
  bool Clipped = false;
  TCopyMode Mode = cmSrcCopy;
};

// Runs the copy through the drawing context and through the reference on two equal targets.
::testing::AssertionResult SameAsReference(TStretchMode stretch, TPixelFormat sourceFormat, TPixelFormat targetFormat,
                                           TSize sourceSize, const TCase& c) {
  const std::unique_ptr<TBitmap> source = Noise(sourceFormat, sourceSize.cx, sourceSize.cy);
  const std::unique_ptr<TBitmap> fast = Noise(targetFormat, 120, 90);
  TBitmap expected;
  expected.CopyFrom(fast.get());
  auto prepare = [&](TDrawContext& dc) {
    dc.State().StretchMode = stretch;
    dc.State().TextColor = clRed;
    dc.State().BkColor = TColor(0x123456);
    dc.SetOrigin(c.Origin);
    if (c.Clipped) {
      TRegion clip = TRegion(TRect{2, 3, 70, 60}).Combine(TRegion(TRect{20, 10, 35, 40}), roDiff);
      clip = clip.Combine(TRegion(TRect{80, 50, 110, 85}), roOr);
      dc.SetClipRegion(&clip);
    }
  };
  TDrawContext& fastDc = fast->Canvas().Handle();
  TDrawContext& refDc = expected.Canvas().Handle();
  prepare(fastDc);
  prepare(refDc);
  fastDc.StretchBlt(c.Dest, *source, c.From, c.Mode);
  if (stretch == smHalftone) ReferenceAverage(refDc, c.Dest, source->Image(), c.From, c.Mode);
  else ReferenceDrop(refDc, c.Dest, source->Image(), c.From, c.Mode);
  const TBitmapImage& got = fast->Image();
  const TBitmapImage& want = expected.Image();
  for (int y = 0; y < got.Height; ++y)
    for (int x = 0; x < got.Width; ++x)
      if (got.PixelValue(x, y) != want.PixelValue(x, y))
        return ::testing::AssertionFailure()
               << "source " << sourceSize.cx << "x" << sourceSize.cy << " bpp " << BitsPerPixelOf(sourceFormat)
               << " onto bpp " << BitsPerPixelOf(targetFormat) << " dest (" << c.Dest.Left << "," << c.Dest.Top
               << ")-(" << c.Dest.Right << "," << c.Dest.Bottom << "): pixel " << x << "," << y << " is "
               << got.PixelValue(x, y) << ", expected " << want.PixelValue(x, y);
  if (got.Bits != want.Bits) return ::testing::AssertionFailure() << "padding or a pixel's fourth byte differs";
  return ::testing::AssertionSuccess();
}

// Source and destination extents along one axis: shrinking, enlarging, equal, extremes.
const std::pair<int, int> kExtents[] = {{1, 1}, {1, 5}, {5, 1}, {3, 7}, {7, 3}, {10, 4}, {4, 10},
                                        {16, 16}, {31, 17}, {17, 31}, {64, 21}, {21, 64}, {100, 33}, {33, 87}};

const TPixelFormat kSources[] = {pf24bit, pf32bit, pf8bit, pf1bit};
const TPixelFormat kTargets[] = {pf32bit, pf24bit, pf8bit, pf1bit};

void EverySize(TStretchMode stretch, TPixelFormat sourceFormat, TPixelFormat targetFormat) {
  for (const auto& [sw, dw] : kExtents)
    for (const auto& [sh, dh] : kExtents) {
      const TCase c{{4, 2, 4 + dw, 2 + dh}, {0, 0, sw, sh}, {}};
      ASSERT_TRUE(SameAsReference(stretch, sourceFormat, targetFormat, {sw, sh}, c));
    }
}

TEST(StretchPaths, ColourOnColourMatchesTheRuleOnEverySizeAndDepth) {
  for (TPixelFormat s : kSources)
    for (TPixelFormat t : kTargets) EverySize(smColorOnColor, s, t);
}

TEST(StretchPaths, HalftoneMatchesTheBoxFilterOnEverySizeAndDepth) {
  for (TPixelFormat s : kSources)
    for (TPixelFormat t : kTargets) EverySize(smHalftone, s, t);
}

TEST(StretchPaths, ClippedOffsetMirroredAndOutsideTheSourceAlike) {
  const TCase cases[] = {
      {{-10, -5, 90, 70}, {0, 0, 64, 48}, {3, 4}, true},                 // clipped by a region with a hole
      {{100, 80, 0, 0}, {0, 0, 64, 48}, {}, true},                      // mirrored both ways
      {{0, 0, 50, 40}, {64, 0, 0, 48}, {5, 5}, false},                   // mirrored source
      {{0, 0, 80, 60}, {-8, -6, 72, 54}, {}, false},                     // source rectangle partly outside
      {{0, 0, 30, 20}, {40, 30, 100, 80}, {}, false},                    // mostly outside
      {{10, 10, 60, 50}, {0, 0, 64, 48}, {}, true, cmSrcInvert},         // another copy mode
      {{110, 85, 200, 150}, {0, 0, 64, 48}, {}, false},                  // mostly off the surface
      {{5, 5, 5, 40}, {0, 0, 64, 48}, {}, false},                        // empty destination
  };
  for (TStretchMode stretch : {smColorOnColor, smHalftone})
    for (TPixelFormat s : kSources)
      for (TPixelFormat t : kTargets)
        for (const TCase& c : cases) ASSERT_TRUE(SameAsReference(stretch, s, t, {64, 48}, c));
}

// Copies at 1:1 onto a window surface take a plain row copy; the fourth byte of a 32-bit
// source (random here) must not reach the surface.
TEST(StretchPaths, UnstretchedCopiesOntoASurfaceMatchTheRule) {
  const TCase cases[] = {
      {{4, 2, 68, 50}, {0, 0, 64, 48}, {}, false},                   // the whole source
      {{-10, -5, 54, 43}, {0, 0, 64, 48}, {3, 4}, true},             // clipped by a region with a hole, offset
      {{0, 0, 80, 60}, {-8, -6, 72, 54}, {}, false},                 // source rectangle partly outside
      {{10, 20, 40, 50}, {50, 40, 80, 70}, {}, true},                // mostly outside the source, clipped
      {{100, 80, 164, 128}, {0, 0, 64, 48}, {}, false},              // mostly off the surface
      {{30, 30, 31, 31}, {63, 47, 64, 48}, {}, false},               // one pixel
  };
  for (TPixelFormat s : {pf32bit, pf24bit, pf8bit})
    for (const TCase& c : cases) ASSERT_TRUE(SameAsReference(smColorOnColor, s, pf32bit, {64, 48}, c));
}

TEST(StretchPaths, APhotographSizedReductionOntoTheWindowSurfaceMatches) {
  const TCase c{{264, 64, 264 + 683, 64 + 513}, {0, 0, 1024, 768}, {-250, -50}, false};
  ASSERT_TRUE(SameAsReference(smColorOnColor, pf24bit, pf32bit, {1024, 768}, c));
  ASSERT_TRUE(SameAsReference(smHalftone, pf24bit, pf8bit, {1024, 768}, c));
}
}  // namespace
