// Block copies of a drawing context: plain, stretching by dropping or repeating pixels,
// and masked. Averaging (halftone) stretching is in draw_halftone.cpp.
#include <algorithm>
#include <cstring>
#include <span>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/blit_support.h"
#include "framework/graphics/stretch_map.h"

using namespace blit;

namespace {
std::vector<int> AxisMap(const TAxis& axis) {
  std::vector<int> map = StretchIndexMap(axis.SourceExtent, axis.DestExtent);
  if (axis.Mirrored) std::reverse(map.begin(), map.end());
  for (int& s : map) s += axis.SourceStart;
  return map;
}

// Source copies of colour pixels onto a 32-bit surface (windows are) take a path of their
// own: whole rows of surface words, made once per source row and copied span by span.
bool SurfacePathApplies(const TBitmapImage& source, const TBitmapImage& target, TCopyMode mode,
                        const TBitmapImage* mask) {
  return mask == nullptr && mode == cmSrcCopy && target.Format == pf32bit &&
         (source.Format == pf24bit || source.Format == pf32bit || source.Format == pf8bit);
}

// Writes source pixels of one row as surface words, one per destination column.
class TSurfaceRowMaker {
 public:
  TSurfaceRowMaker(const TBitmapImage& source, std::span<const int> columns) : FFormat(source.Format) {
    const size_t step = FFormat == pf32bit ? 4 : FFormat == pf24bit ? 3 : 1;
    // Columns one source pixel apart (a plain copy) are read as a run, without the table.
    FRunFrom = columns.empty() ? 0 : size_t(columns.front()) * step;
    FRun = true;
    FOffsets.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
      FOffsets.push_back(uint32_t(size_t(columns[i]) * step));
      FRun = FRun && columns[i] == columns.front() + int(i);
    }
    if (FFormat == pf8bit)
      for (uint32_t i = 0; i < 256; ++i) FWords[i] = SurfaceWord(source.ValueToRGB(i));
  }

  // Columns [from, to) of the run, from source row `row` to `out`.
  void Make(const uint8_t* row, size_t from, size_t to, uint8_t* out) const {
    if (FFormat == pf8bit) {
      for (size_t i = from; i < to; ++i, out += 4) std::memcpy(out, &FWords[row[FOffsets[i]]], 4);
    } else if (FRun && FFormat == pf32bit) {
      const uint8_t* p = row + FRunFrom + 4 * from;
      for (size_t i = from; i < to; ++i, p += 4, out += 4) {
        uint32_t word;
        std::memcpy(&word, p, 4);
        word &= 0xFFFFFF;
        std::memcpy(out, &word, 4);
      }
    } else if (FRun) {
      const uint8_t* p = row + FRunFrom + 3 * from;
      for (size_t i = from; i < to; ++i, p += 3, out += 4) Put(p, out);
    } else {
      for (size_t i = from; i < to; ++i, out += 4) Put(row + FOffsets[i], out);
    }
  }

 private:
  static void Put(const uint8_t* p, uint8_t* out) {
    const uint32_t word = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    std::memcpy(out, &word, 4);
  }

  TPixelFormat FFormat;
  std::vector<uint32_t> FOffsets;
  size_t FRunFrom = 0;
  bool FRun = false;
  std::array<uint32_t, 256> FWords{};
};

// The destination columns [first, last) whose source column lies inside the source; the
// map runs one way only, so they are one run.
void TrimToSource(const std::vector<int>& xs, int left, int width, int& first, int& last) {
  auto outside = [&](int x) {
    const int sx = xs[size_t(x - left)];
    return sx < 0 || sx >= width;
  };
  while (first < last && outside(first)) ++first;
  while (last > first && outside(last - 1)) --last;
}

// A copy at 1:1 of a 24- or 32-bit source onto a surface (a window's off-screen parts
// coming home, the headless screen's present): each visible span is one run of a source row.
bool PlainCopyApplies(const TBitmapImage& source, const TAxis& ax, const TAxis& ay) {
  return (source.Format == pf24bit || source.Format == pf32bit) && !ax.Mirrored && !ay.Mirrored &&
         ax.SourceExtent == ax.DestExtent && ay.SourceExtent == ay.DestExtent;
}

void CopyRun(const uint8_t* from, TPixelFormat format, size_t count, uint8_t* out) {
  if (format == pf24bit) {
    for (size_t i = 0; i < count; ++i, from += 3, out += 4) {
      const uint32_t word = uint32_t(from[0]) | uint32_t(from[1]) << 8 | uint32_t(from[2]) << 16;
      std::memcpy(out, &word, 4);
    }
    return;
  }
  // A surface word's fourth byte is always 0, whatever the source kept there. Whole blocks
  // of a fixed size first, which the compiler turns into vector instructions.
  constexpr size_t kBlock = 8;
  size_t i = 0;
  for (; i + kBlock <= count; i += kBlock, from += 4 * kBlock, out += 4 * kBlock) {
    uint32_t words[kBlock];
    std::memcpy(words, from, sizeof words);
    for (uint32_t& word : words) word &= 0xFFFFFF;
    std::memcpy(out, words, sizeof words);
  }
  for (; i + 2 <= count; i += 2, from += 8, out += 8) {
    uint64_t pair;
    std::memcpy(&pair, from, 8);
    pair &= 0x00FFFFFF00FFFFFFull;
    std::memcpy(out, &pair, 8);
  }
  if (i < count) {
    uint32_t word;
    std::memcpy(&word, from, 4);
    word &= 0xFFFFFF;
    std::memcpy(out, &word, 4);
  }
}

void CopyOntoSurface(const TDrawContext& dc, TBitmapImage& target, const TBitmapImage& source, TPoint to, TPoint from,
                     TSize size) {
  TRect area = ReachableArea(dc, {to.X, to.Y, to.X + size.cx, to.Y + size.cy});
  // Only destination pixels whose source pixel lies inside the source are written.
  area = IntersectRect(area, {to.X - from.X, to.Y - from.Y, to.X - from.X + source.Width, to.Y - from.Y + source.Height});
  if (area.IsEmpty()) return;
  const size_t step = source.Format == pf32bit ? 4 : 3;
  for (int y = area.Top; y < area.Bottom; ++y) {
    const uint8_t* sourceRow = source.Row(y - to.Y + from.Y);
    uint8_t* row = target.Row(y);
    dc.ForVisibleSpans(y, area.Left, area.Right, [&](int, int x0, int x1) {
      CopyRun(sourceRow + step * size_t(x0 - to.X + from.X), source.Format, size_t(x1 - x0), row + 4 * size_t(x0));
    });
  }
}

void StretchOntoSurface(const TDrawContext& dc, TBitmapImage& target, const TBitmapImage& source,
                        const std::vector<int>& xs, const std::vector<int>& ys, int left, int top) {
  const TRect area = ReachableArea(dc, {left, top, left + int(xs.size()), top + int(ys.size())});
  if (area.IsEmpty()) return;
  int first = area.Left, last = area.Right;
  TrimToSource(xs, left, source.Width, first, last);
  if (first >= last) return;
  const TSurfaceRowMaker maker(source, std::span<const int>(xs).subspan(size_t(first - left), size_t(last - first)));
  for (int y = area.Top; y < area.Bottom; ++y) {
    const int sy = ys[size_t(y - top)];
    if (sy < 0 || sy >= source.Height) continue;
    const uint8_t* sourceRow = source.Row(sy);
    uint8_t* row = target.Row(y);
    dc.ForVisibleSpans(y, first, last, [&](int, int x0, int x1) {
      maker.Make(sourceRow, size_t(x0 - first), size_t(x1 - first), row + 4 * size_t(x0));
    });
  }
}
}  // namespace

void TDrawContext::BitBlt(int x, int y, int width, int height, const TBitmap& source, int sx, int sy, TCopyMode mode) {
  StretchCore({x, y, x + width, y + height}, source.Image(), {sx, sy, sx + width, sy + height}, mode, nullptr);
}

void TDrawContext::StretchBlt(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TCopyMode mode) {
  StretchBlt(dest, source.Image(), sourceRect, mode);
}

void TDrawContext::StretchBlt(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect, TCopyMode mode) {
  if (FState.StretchMode == smHalftone)
    HalftoneCore(dest, source, sourceRect, mode);
  else
    StretchCore(dest, source, sourceRect, mode, nullptr);
}

void TDrawContext::MaskedStretchBlt(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                                    const TBitmap& mask) {
  StretchCore(dest, source.Image(), sourceRect, cmSrcCopy, &mask.Image());
}

void TDrawContext::StretchCore(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect, TCopyMode mode,
                               const TBitmapImage* mask) {
  const TAxis ax = MakeAxis(dest.Left, dest.Right, sourceRect.Left, sourceRect.Right);
  const TAxis ay = MakeAxis(dest.Top, dest.Bottom, sourceRect.Top, sourceRect.Bottom);
  if (ax.DestExtent == 0 || ay.DestExtent == 0 || ax.SourceExtent == 0 || ay.SourceExtent == 0) return;
  TBitmapImage& target = Image();
  const int left = ax.DestStart + FState.Origin.X, top = ay.DestStart + FState.Origin.Y;
  if (SurfacePathApplies(source, target, mode, mask) && PlainCopyApplies(source, ax, ay))
    return CopyOntoSurface(*this, target, source, {left, top}, {ax.SourceStart, ay.SourceStart},
                           {ax.DestExtent, ay.DestExtent});
  const std::vector<int> xs = AxisMap(ax), ys = AxisMap(ay);
  if (SurfacePathApplies(source, target, mode, mask)) return StretchOntoSurface(*this, target, source, xs, ys, left, top);
  const TSourceReader reader(source, target, FState);
  TTargetValues values(target);
  for (int dy = 0; dy < ay.DestExtent; ++dy) {
    const int sy = ys[size_t(dy)];
    if (sy < 0 || sy >= source.Height) continue;
    ForVisibleSpans(top + dy, left, left + ax.DestExtent, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) {
        const int sx = xs[size_t(x - left)];
        if (sx < 0 || sx >= source.Width) continue;
        if (mask != nullptr && sx < mask->Width && sy < mask->Height && mask->PixelValue(sx, sy) != 0) continue;
        const uint32_t d = mode == cmSrcCopy ? 0 : target.PixelRGB(x, y);
        target.SetPixelValue(x, y, values.Value(ApplyMode(mode, reader.Read(sx, sy), d)));
      }
    });
  }
}
