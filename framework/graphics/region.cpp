#include "framework/graphics/region.h"

#include <algorithm>

#include "framework/graphics/raster.h"

TRegion::TRegion(const TRect& rect) {
  if (!rect.IsEmpty()) FBands.push_back({rect.Top, rect.Bottom, {{rect.Left, rect.Right}}});
}

TRegion TRegion::Polygon(std::span<const TPoint> points, TPolyFillMode mode) {
  TRegion region;
  ForEachPolygonRow(points, mode, [&region](int y, const std::vector<TSpan>& spans) {
    if (!spans.empty()) region.AppendBand(y, y + 1, spans);
  });
  return region;
}

TRect TRegion::BoundingBox() const {
  if (FBands.empty()) return {};
  TRect box{FBands.front().Spans.front().Left, FBands.front().Top, FBands.front().Spans.back().Right,
            FBands.back().Bottom};
  for (const TRegionBand& band : FBands) {
    box.Left = std::min(box.Left, band.Spans.front().Left);
    box.Right = std::max(box.Right, band.Spans.back().Right);
  }
  return box;
}

const std::vector<TSpan>* TRegion::SpansAt(int y) const {
  auto it = std::upper_bound(FBands.begin(), FBands.end(), y,
                             [](int value, const TRegionBand& band) { return value < band.Bottom; });
  if (it == FBands.end() || y < it->Top) return nullptr;
  return &it->Spans;
}

bool TRegion::Intersects(const TRegion& other) const {
  size_t i = 0, j = 0;
  while (i < FBands.size() && j < other.FBands.size()) {
    const TRegionBand& a = FBands[i];
    const TRegionBand& b = other.FBands[j];
    if (a.Bottom <= b.Top) {
      ++i;
      continue;
    }
    if (b.Bottom <= a.Top) {
      ++j;
      continue;
    }
    for (size_t p = 0, q = 0; p < a.Spans.size() && q < b.Spans.size();) {
      if (a.Spans[p].Right <= b.Spans[q].Left) ++p;
      else if (b.Spans[q].Right <= a.Spans[p].Left) ++q;
      else return true;
    }
    if (a.Bottom < b.Bottom) ++i;
    else ++j;
  }
  return false;
}

bool TRegion::PointIn(int x, int y) const {
  const std::vector<TSpan>* spans = SpansAt(y);
  if (spans == nullptr) return false;
  auto it = std::upper_bound(spans->begin(), spans->end(), x,
                             [](int value, const TSpan& span) { return value < span.Right; });
  return it != spans->end() && it->Left <= x;
}

bool TRegion::ContainsRect(const TRect& rect) const {
  if (rect.IsEmpty()) return true;
  int y = rect.Top;  // the first row not yet known to be covered
  for (const TRegionBand& band : FBands) {
    if (band.Bottom <= y) continue;
    if (band.Top > y) return false;
    // Touching spans are joined, so one span must hold the whole width.
    auto it = std::upper_bound(band.Spans.begin(), band.Spans.end(), rect.Left,
                               [](int value, const TSpan& span) { return value < span.Right; });
    if (it == band.Spans.end() || it->Left > rect.Left || it->Right < rect.Right) return false;
    y = band.Bottom;
    if (y >= rect.Bottom) return true;
  }
  return false;
}

std::vector<TRect> TRegion::Rects() const {
  std::vector<TRect> rects;
  for (const TRegionBand& band : FBands)
    for (const TSpan& span : band.Spans) rects.push_back({span.Left, band.Top, span.Right, band.Bottom});
  return rects;
}

void TRegion::Offset(int dx, int dy) {
  for (TRegionBand& band : FBands) {
    band.Top += dy;
    band.Bottom += dy;
    for (TSpan& span : band.Spans) {
      span.Left += dx;
      span.Right += dx;
    }
  }
}

void TRegion::Scale(int factor) {
  for (TRegionBand& band : FBands) {
    band.Top *= factor;
    band.Bottom *= factor;
    for (TSpan& span : band.Spans) {
      span.Left *= factor;
      span.Right *= factor;
    }
  }
}

void TRegion::AppendBand(int top, int bottom, std::vector<TSpan> spans) {
  if (top >= bottom || spans.empty()) return;
  if (!FBands.empty() && FBands.back().Bottom == top && FBands.back().Spans == spans) {
    FBands.back().Bottom = bottom;
    return;
  }
  FBands.push_back({top, bottom, std::move(spans)});
}

namespace {
bool Keeps(TRegionOp op, bool inA, bool inB) {
  switch (op) {
    case roAnd: return inA && inB;
    case roOr: return inA || inB;
    case roDiff: return inA && !inB;
    case roXor: return inA != inB;
  }
  return false;
}

// Whether x lies in the list, moving `index` forward past spans that end at or before x.
bool InsideAt(const std::vector<TSpan>& spans, size_t& index, int x) {
  while (index < spans.size() && spans[index].Right <= x) ++index;
  return index < spans.size() && spans[index].Left <= x;
}
}  // namespace

std::vector<TSpan> CombineSpans(const std::vector<TSpan>& a, const std::vector<TSpan>& b, TRegionOp op) {
  std::vector<int> xs;
  xs.reserve(2 * (a.size() + b.size()));
  for (const TSpan& s : a) xs.insert(xs.end(), {s.Left, s.Right});
  for (const TSpan& s : b) xs.insert(xs.end(), {s.Left, s.Right});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::vector<TSpan> result;
  size_t ia = 0, ib = 0;
  for (size_t k = 0; k + 1 < xs.size(); ++k) {
    const int x0 = xs[k], x1 = xs[k + 1];
    const bool inA = InsideAt(a, ia, x0);
    const bool inB = InsideAt(b, ib, x0);
    if (!Keeps(op, inA, inB)) continue;
    if (!result.empty() && result.back().Right == x0) result.back().Right = x1;
    else result.push_back({x0, x1});
  }
  return result;
}

// The common cases answer without walking the bands: an empty side, bounds that do not
// meet, a rectangle holding the whole of this region. Both ways give the same bands.
std::optional<TRegion> TRegion::CombineQuickly(const TRegion& other, TRegionOp op) const {
  if (other.IsEmpty()) return op == roAnd ? TRegion() : *this;
  if (IsEmpty()) return op == roOr || op == roXor ? other : TRegion();
  const TRect box = BoundingBox(), otherBox = other.BoundingBox();
  if (IntersectRect(box, otherBox).IsEmpty()) {
    if (op == roAnd) return TRegion();
    if (op == roDiff) return *this;
  }
  if ((op == roAnd || op == roDiff) && !Intersects(other)) return op == roAnd ? TRegion() : *this;
  const bool otherIsRect = other.FBands.size() == 1 && other.FBands[0].Spans.size() == 1;
  if (otherIsRect && IntersectRect(box, otherBox) == box) {
    if (op == roAnd) return *this;
    if (op == roDiff) return TRegion();
  }
  return std::nullopt;
}

TRegion TRegion::Combine(const TRegion& other, TRegionOp op) const {
  if (std::optional<TRegion> quick = CombineQuickly(other, op)) return std::move(*quick);
  std::vector<int> ys;
  for (const TRegionBand& band : FBands) ys.insert(ys.end(), {band.Top, band.Bottom});
  for (const TRegionBand& band : other.FBands) ys.insert(ys.end(), {band.Top, band.Bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  static const std::vector<TSpan> none;
  TRegion result;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const std::vector<TSpan>* a = SpansAt(ys[k]);
    const std::vector<TSpan>* b = other.SpansAt(ys[k]);
    if (a == nullptr && b == nullptr) continue;
    result.AppendBand(ys[k], ys[k + 1], CombineSpans(a ? *a : none, b ? *b : none, op));
  }
  return result;
}
