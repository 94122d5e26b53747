// Halftone stretching: each destination pixel is the box-filter average of the source area
// under it. The weight of a source pixel is its overlap in x times its overlap in y, so the
// weighted sum is taken in two passes: along each needed source row once (kept while the
// destination rows under it are made), then down the rows. The sums are exact integers,
// so the two passes give exactly the sums of the one-pass definition.
#include <algorithm>
#include <climits>
#include <cstring>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/blit_support.h"
#include "framework/graphics/stretch_map.h"

using namespace blit;

namespace {
// The source pixels inside the bitmap under one destination pixel, along one axis.
struct TInsideTaps {
  int First = 0;          // source index of the first weight
  int Count = 0;
  int WeightsAt = 0;      // where its weights start in the shared weight list
  int64_t WeightSum = 0;  // 0 when no source pixel under it lies inside
};

struct TAxisTaps {
  std::vector<TInsideTaps> Taps;  // per destination index
  std::vector<int> Weights;
  int Lowest = INT_MAX, Highest = INT_MIN;  // source indices any tap reads
  size_t Widest = 0;
};

// The taps of destinations [from, to) of `axis`, dropping source pixels outside [0, limit).
TAxisTaps InsideTaps(const TAxis& axis, int from, int to, int limit) {
  std::vector<TBoxTaps> all = BoxFilterTaps(axis.SourceExtent, axis.DestExtent);
  if (axis.Mirrored) std::reverse(all.begin(), all.end());
  TAxisTaps result;
  for (int d = from; d < to; ++d) {
    const TBoxTaps& box = all[size_t(d)];
    TInsideTaps taps;
    taps.WeightsAt = int(result.Weights.size());
    for (size_t i = 0; i < box.Weights.size(); ++i) {
      const int s = axis.SourceStart + box.First + int(i);
      if (s < 0 || s >= limit) continue;
      if (taps.Count == 0) taps.First = s;
      result.Weights.push_back(box.Weights[i]);
      taps.WeightSum += box.Weights[i];
      ++taps.Count;
    }
    if (taps.Count > 0) {
      result.Lowest = std::min(result.Lowest, taps.First);
      result.Highest = std::max(result.Highest, taps.First + taps.Count - 1);
      result.Widest = std::max(result.Widest, size_t(taps.Count));
    }
    result.Taps.push_back(taps);
  }
  return result;
}

// Source rows summed along x for every destination column, three channels each, kept for
// the destination rows that still need them.
class TRowSums {
 public:
  TRowSums(const TSourceReader& reader, const TAxisTaps& columns, size_t slots)
      : FReader(reader), FColumns(columns), FSlots(slots) {
    if (columns.Lowest <= columns.Highest) FPixels.resize(size_t(columns.Highest - columns.Lowest + 1));
  }

  // The sums of source row `sy`; rows in [keepFrom, keepTo] are not given up to make room.
  const int64_t* Row(int sy, int keepFrom, int keepTo) {
    for (TSlot& slot : FSlots)
      if (slot.SourceRow == sy) return slot.Sums.data();
    TSlot* free = &FSlots.front();
    for (TSlot& slot : FSlots)
      if (slot.SourceRow < keepFrom || slot.SourceRow > keepTo) free = &slot;
    Sum(sy, *free);
    return free->Sums.data();
  }

 private:
  struct TSlot {
    int SourceRow = INT_MIN;
    std::vector<int64_t> Sums;
  };

  void Sum(int sy, TSlot& slot) {
    slot.SourceRow = sy;
    slot.Sums.assign(FColumns.Taps.size() * 3, 0);
    if (FPixels.empty()) return;
    FReader.ReadRow(sy, FColumns.Lowest, FColumns.Highest + 1, FPixels.data());
    int64_t* out = slot.Sums.data();
    for (const TInsideTaps& taps : FColumns.Taps) {
      int64_t r = 0, g = 0, b = 0;
      const int* w = FColumns.Weights.data() + taps.WeightsAt;
      const uint32_t* c = FPixels.data() + (taps.First - FColumns.Lowest);
      for (int i = 0; i < taps.Count; ++i) {
        r += int64_t(w[i]) * (c[i] & 0xFF);
        g += int64_t(w[i]) * ((c[i] >> 8) & 0xFF);
        b += int64_t(w[i]) * ((c[i] >> 16) & 0xFF);
      }
      *out++ = r, *out++ = g, *out++ = b;
    }
  }

  const TSourceReader& FReader;
  const TAxisTaps& FColumns;
  std::vector<TSlot> FSlots;
  std::vector<uint32_t> FPixels;
};
}  // namespace

void TDrawContext::HalftoneCore(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect,
                                TCopyMode mode) {
  const TAxis ax = MakeAxis(dest.Left, dest.Right, sourceRect.Left, sourceRect.Right);
  const TAxis ay = MakeAxis(dest.Top, dest.Bottom, sourceRect.Top, sourceRect.Bottom);
  if (ax.DestExtent == 0 || ay.DestExtent == 0 || ax.SourceExtent == 0 || ay.SourceExtent == 0) return;
  TBitmapImage& target = Image();
  const int left = ax.DestStart + FState.Origin.X, top = ay.DestStart + FState.Origin.Y;
  const TRect area = ReachableArea(*this, {left, top, left + ax.DestExtent, top + ay.DestExtent});
  if (area.IsEmpty()) return;
  const TAxisTaps columns = InsideTaps(ax, area.Left - left, area.Right - left, source.Width);
  const TAxisTaps rows = InsideTaps(ay, area.Top - top, area.Bottom - top, source.Height);
  const TSourceReader reader(source, target, FState);
  TRowSums sums(reader, columns, rows.Widest + 1);
  TTargetValues values(target);
  const bool onSurface = mode == cmSrcCopy && target.Format == pf32bit;
  std::vector<const int64_t*> sourceRows(rows.Widest);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const TInsideTaps& down = rows.Taps[size_t(y - area.Top)];
    if (down.WeightSum == 0) continue;
    bool summed = false;
    const int* rowWeights = rows.Weights.data() + down.WeightsAt;
    ForVisibleSpans(y, area.Left, area.Right, [&](int, int x0, int x1) {
      if (!summed) {
        for (int j = 0; j < down.Count; ++j)
          sourceRows[size_t(j)] = sums.Row(down.First + j, down.First, down.First + down.Count - 1);
        summed = true;
      }
      for (int x = x0; x < x1; ++x) {
        const size_t k = size_t(x - area.Left);
        const int64_t weight = columns.Taps[k].WeightSum * down.WeightSum;
        if (weight == 0) continue;
        int64_t sum[3] = {0, 0, 0};
        for (int j = 0; j < down.Count; ++j) {
          const int64_t* s = sourceRows[size_t(j)] + 3 * k;
          sum[0] += rowWeights[j] * s[0], sum[1] += rowWeights[j] * s[1], sum[2] += rowWeights[j] * s[2];
        }
        auto channel = [&](int c) { return uint32_t((sum[c] + weight / 2) / weight); };
        const uint32_t rgb = channel(0) | channel(1) << 8 | channel(2) << 16;
        if (onSurface) {
          const uint32_t word = SurfaceWord(rgb);
          std::memcpy(target.Row(y) + 4 * size_t(x), &word, 4);
          continue;
        }
        const uint32_t d = mode == cmSrcCopy ? 0 : target.PixelRGB(x, y);
        target.SetPixelValue(x, y, values.Value(ApplyMode(mode, rgb, d)));
      }
    });
  }
}
