#include "framework/graphics/stretch_map.h"

#include <algorithm>

namespace {
int64_t FloorDiv(int64_t num, int64_t den) { return num >= 0 ? num / den : -((-num + den - 1) / den); }
}  // namespace

int EnlargeSourceIndex(int d, int s, int dExtent) {
  return int(FloorDiv((2 * int64_t(d) + 1) * s - 1, 2 * int64_t(dExtent)));
}

int ShrinkSourceIndex(int d, int s, int dExtent) {
  const int64_t index = FloorDiv(2 * int64_t(d) * s - dExtent, 2 * int64_t(dExtent)) + 1;
  return int(std::clamp<int64_t>(index, 0, s - 1));
}

std::vector<int> StretchIndexMap(int sExtent, int dExtent) {
  std::vector<int> map(size_t(std::max(dExtent, 0)));
  for (int d = 0; d < dExtent; ++d)
    map[size_t(d)] = dExtent >= sExtent ? EnlargeSourceIndex(d, sExtent, dExtent) : ShrinkSourceIndex(d, sExtent, dExtent);
  return map;
}

std::vector<TBoxTaps> BoxFilterTaps(int sExtent, int dExtent) {
  std::vector<TBoxTaps> taps(size_t(std::max(dExtent, 0)));
  for (int d = 0; d < dExtent; ++d) {
    // Destination d covers [d S, (d + 1) S) and source s covers [s D, (s + 1) D), both scaled by S D.
    const int64_t from = int64_t(d) * sExtent, to = from + sExtent;
    const auto first = int(from / dExtent), last = int((to - 1) / dExtent);
    TBoxTaps& tap = taps[size_t(d)];
    tap.First = first;
    for (int s = first; s <= last; ++s) {
      const int64_t lo = std::max(from, int64_t(s) * dExtent), hi = std::min(to, int64_t(s + 1) * dExtent);
      tap.Weights.push_back(int(hi - lo));
    }
  }
  return taps;
}
