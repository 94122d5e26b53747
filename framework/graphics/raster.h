#pragma once
// The pixel rules every primitive shares: which pixels a line lights and which spans of
// each row a polygon covers. Coordinates are whatever the caller uses; nothing is clipped.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/core/geometry.h"
#include "framework/graphics/region.h"

// Calls visit(x, y) for every pixel of the line from (x0, y0) up to, but not including,
// (x1, y1). The minor coordinate is the exact one rounded to nearest with halves going to
// the smaller value, so a line and its reverse light the same pixels but for the end.
template <class Visit>
void ForEachLinePixel(int x0, int y0, int x1, int y1, Visit&& visit) {
  const int dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const int64_t dMajor = std::abs(xMajor ? dx : dy), dMinor = std::abs(xMajor ? dy : dx);
  if (dMajor == 0) return;
  const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int minorDelta = xMajor ? dy : dx;
  const int minorStep = minorDelta > 0 ? 1 : -1;
  // Halves round down: when the minor coordinate falls, the tie must keep it unchanged.
  const int64_t bias = minorDelta < 0 ? 1 : 0;
  int64_t err = 2 * dMinor - dMajor;
  int major = xMajor ? x0 : y0, minor = xMajor ? y0 : x0;
  for (int64_t i = 0; i < dMajor; ++i) {
    if (xMajor) visit(major, minor);
    else visit(minor, major);
    if (err + bias > 0) {
      minor += minorStep;
      err += 2 * dMinor - 2 * dMajor;
    } else {
      err += 2 * dMinor;
    }
    major += majorStep;
  }
}

// The spans of row y covered by the polygon's interior (left and top edges inside, right
// and bottom outside), sorted and disjoint.
std::vector<TSpan> PolygonRowSpans(std::span<const TPoint> points, TPolyFillMode mode, int y);

// Calls visit(y, spans) for every row from the polygon's top to its bottom.
template <class Visit>
void ForEachPolygonRow(std::span<const TPoint> points, TPolyFillMode mode, Visit&& visit) {
  if (points.size() < 3) return;
  int top = points[0].Y, bottom = points[0].Y;
  for (const TPoint& p : points) {
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  for (int y = top; y < bottom; ++y) visit(y, PolygonRowSpans(points, mode, y));
}
