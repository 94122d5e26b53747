#pragma once
// Regions: sets of pixels held as sorted horizontal bands, each band a list of disjoint
// half-open spans. Bands never overlap and two touching bands never hold equal spans,
// so equal pixel sets have equal representations.
#include <optional>
#include <span>
#include <vector>

#include "framework/core/geometry.h"

enum TPolyFillMode { pfmAlternate, pfmWinding };
enum TRegionOp { roAnd, roOr, roDiff, roXor };

struct TSpan {
  int Left = 0;
  int Right = 0;
  friend bool operator==(const TSpan&, const TSpan&) = default;
};

struct TRegionBand {
  int Top = 0;
  int Bottom = 0;
  std::vector<TSpan> Spans;
  friend bool operator==(const TRegionBand&, const TRegionBand&) = default;
};

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& rect);
  // The pixels a polygon's brush would fill, never its outline.
  static TRegion Polygon(std::span<const TPoint> points, TPolyFillMode mode);

  bool IsEmpty() const { return FBands.empty(); }
  TRect BoundingBox() const;
  bool PointIn(int x, int y) const;
  // Whether every pixel of `rect` is in the region (an empty rectangle always is).
  bool ContainsRect(const TRect& rect) const;
  // Whether the two share a pixel.
  bool Intersects(const TRegion& other) const;
  // The spans of row y, or none when the row is outside every band.
  const std::vector<TSpan>* SpansAt(int y) const;
  const std::vector<TRegionBand>& Bands() const { return FBands; }
  std::vector<TRect> Rects() const;

  void Offset(int dx, int dy);
  // Multiplies every coordinate by `factor` (> 0): each pixel becomes a factor x factor block.
  void Scale(int factor);
  TRegion Combine(const TRegion& other, TRegionOp op) const;
  friend bool operator==(const TRegion&, const TRegion&) = default;

  // Appends the band [top, bottom) below every band already held, merging it into the last
  // band when they touch and hold the same spans. Spans must be sorted and disjoint.
  void AppendBand(int top, int bottom, std::vector<TSpan> spans);

 private:
  std::optional<TRegion> CombineQuickly(const TRegion& other, TRegionOp op) const;

  std::vector<TRegionBand> FBands;
};

// Combines two sorted lists of disjoint spans; adjacent results are joined.
std::vector<TSpan> CombineSpans(const std::vector<TSpan>& a, const std::vector<TSpan>& b, TRegionOp op);
