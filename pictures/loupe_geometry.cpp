#include "pictures/loupe_geometry.h"

#include <cstdint>

#include "framework/graphics/stretch_map.h"

namespace {
// The source index drawn at destination index `d` of a stretch of `source` onto `dest`.
int AxisSourceIndex(int d, int source, int dest) {
  return dest >= source ? EnlargeSourceIndex(d, source, dest) : ShrinkSourceIndex(d, source, dest);
}

// The pixels of a disc `diameter` across, centred in the lens's square. Twice the offsets
// keep the test in integers: pixel (x, y) has its centre (x + 1/2, y + 1/2).
TRegion Disc(int diameter) {
  TRegion disc;
  for (int y = 0; y < kLoupeDiameter; ++y) {
    const int dy = 2 * y + 1 - kLoupeDiameter;
    int half = 0;  // the pixels from the centre line to the edge, on each side
    while (half < kLoupeDiameter / 2 && (2 * half + 1) * (2 * half + 1) + dy * dy <= diameter * diameter) ++half;
    if (half > 0)
      disc.AppendBand(y, y + 1, {{kLoupeDiameter / 2 - half, kLoupeDiameter / 2 + half}});
  }
  return disc;
}
}  // namespace

std::optional<TPoint> SourcePixelAt(const TRect& placement, TSize picture, TPoint p) {
  if (!placement.Contains(p) || picture.cx <= 0 || picture.cy <= 0) return std::nullopt;
  return TPoint{AxisSourceIndex(p.X - placement.Left, picture.cx, placement.Width()),
                AxisSourceIndex(p.Y - placement.Top, picture.cy, placement.Height())};
}

TPoint SourcePixelAlong(const TRect& placement, TSize picture, TPoint p) {
  if (const std::optional<TPoint> inside = SourcePixelAt(placement, picture, p)) return *inside;
  auto axis = [](int d, int source, int dest) {
    if (dest <= 0) return 0;
    if (d >= 0 && d < dest) return AxisSourceIndex(d, source, dest);
    const int64_t n = int64_t(d) * source;  // rounded down on both sides of the placement
    return int(n >= 0 ? n / dest : -((-n + dest - 1) / dest));
  };
  return {axis(p.X - placement.Left, picture.cx, placement.Width()),
          axis(p.Y - placement.Top, picture.cy, placement.Height())};
}

TRect LoupeBounds(TPoint pointer) {
  const int half = kLoupeDiameter / 2;
  return {pointer.X - half, pointer.Y - half, pointer.X + half, pointer.Y + half};
}

TRect LoupeSourceRect(TPoint source, int zoom, int scale) {
  const int half = kLoupeDiameter * scale / 2 / zoom;
  return {source.X - half, source.Y - half, source.X + half, source.Y + half};
}

const TRegion& LensDisc() {
  static const TRegion disc = Disc(kLoupeDiameter);
  return disc;
}

const TRegion& LensRing() {
  static const TRegion ring = LensDisc().Combine(Disc(kLoupeDiameter - 2 * kLoupeRingWidth), roDiff);
  return ring;
}
