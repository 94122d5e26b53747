#include "framework/graphics/raster.h"

namespace {
// ceil(num / den) for den > 0.
int64_t CeilDiv(int64_t num, int64_t den) { return num >= 0 ? (num + den - 1) / den : -((-num) / den); }

struct TCrossing {
  int64_t FirstPixel;  // ceil of the edge's exact x at the row
  int Direction;       // +1 for an edge going down, -1 going up
};
}  // namespace

std::vector<TSpan> PolygonRowSpans(std::span<const TPoint> points, TPolyFillMode mode, int y) {
  std::vector<TCrossing> crossings;
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % n];
    if (a.Y == b.Y) continue;
    const TPoint& upper = a.Y < b.Y ? a : b;
    const TPoint& lower = a.Y < b.Y ? b : a;
    if (y < upper.Y || y >= lower.Y) continue;
    const int64_t den = int64_t(lower.Y) - upper.Y;
    const int64_t num = int64_t(upper.X) * den + (int64_t(y) - upper.Y) * (int64_t(lower.X) - upper.X);
    crossings.push_back({CeilDiv(num, den), a.Y < b.Y ? 1 : -1});
  }
  // Crossings with equal first pixels bound only empty spans, so their order is immaterial.
  std::sort(crossings.begin(), crossings.end(),
            [](const TCrossing& l, const TCrossing& r) { return l.FirstPixel < r.FirstPixel; });
  std::vector<TSpan> spans;
  auto add = [&spans](int64_t from, int64_t to) {
    if (from >= to) return;
    if (!spans.empty() && spans.back().Right >= from) spans.back().Right = std::max<int>(spans.back().Right, int(to));
    else spans.push_back({int(from), int(to)});
  };
  if (mode == pfmAlternate) {
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) add(crossings[i].FirstPixel, crossings[i + 1].FirstPixel);
  } else {
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].Direction;
      if (winding != 0) add(crossings[i].FirstPixel, crossings[i + 1].FirstPixel);
    }
  }
  return spans;
}
