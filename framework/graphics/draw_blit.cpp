// Block copies of a drawing context: plain, stretching (dropping or averaging) and masked.
#include <algorithm>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/stretch_map.h"

namespace {
uint32_t ResolveRGB(TColor color) { return uint32_t(ColorToRGB(color)) & 0xFFFFFF; }

uint32_t ApplyMode(TCopyMode mode, uint32_t s, uint32_t d) {
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

// Source pixels as RGB. A monochrome source drawn in colour shows its 0 pixels in the text
// colour and its 1 pixels in the background colour; a colour source copied into a monochrome
// target becomes white where it has the background colour and black elsewhere.
class TSourceReader {
 public:
  TSourceReader(const TBitmapImage& source, const TBitmapImage& target, const TDrawState& state)
      : FSource(source),
        FMonoToColor(source.Format == pf1bit && target.Format != pf1bit),
        FColorToMono(source.Format != pf1bit && target.Format == pf1bit),
        FText(ResolveRGB(state.TextColor)),
        FBk(ResolveRGB(state.BkColor)) {}

  uint32_t Read(int x, int y) const {
    const uint32_t value = FSource.PixelValue(x, y);
    if (FMonoToColor) return value ? FBk : FText;
    const uint32_t rgb = FSource.ValueToRGB(value);
    if (FColorToMono) return rgb == FBk ? 0xFFFFFF : 0;
    return rgb;
  }

 private:
  const TBitmapImage& FSource;
  bool FMonoToColor, FColorToMono;
  uint32_t FText, FBk;
};

struct TAxis {
  int DestStart = 0;
  int SourceStart = 0;
  int DestExtent = 0;
  int SourceExtent = 0;
  bool Mirrored = false;
};

// Normalises one axis of a copy; reversed extents on one side only mirror the picture.
TAxis MakeAxis(int d0, int d1, int s0, int s1) {
  TAxis axis{std::min(d0, d1), std::min(s0, s1), std::abs(d1 - d0), std::abs(s1 - s0), (d1 < d0) != (s1 < s0)};
  return axis;
}

std::vector<int> AxisMap(const TAxis& axis) {
  std::vector<int> map = StretchIndexMap(axis.SourceExtent, axis.DestExtent);
  if (axis.Mirrored) std::reverse(map.begin(), map.end());
  for (int& s : map) s += axis.SourceStart;
  return map;
}

bool FastCopyApplies(const TBitmapImage& source, const TBitmapImage& target, TCopyMode mode, const TBitmapImage* mask) {
  return mask == nullptr && mode == cmSrcCopy && target.Format == pf32bit &&
         (source.Format == pf24bit || source.Format == pf32bit);
}
}  // namespace

void TDrawContext::BitBlt(int x, int y, int width, int height, const TBitmap& source, int sx, int sy, TCopyMode mode) {
  StretchCore({x, y, x + width, y + height}, source.Image(), {sx, sy, sx + width, sy + height}, mode, nullptr);
}

void TDrawContext::StretchBlt(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TCopyMode mode) {
  if (FState.StretchMode == smHalftone)
    HalftoneCore(dest, source.Image(), sourceRect, mode);
  else
    StretchCore(dest, source.Image(), sourceRect, mode, nullptr);
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
  const std::vector<int> xs = AxisMap(ax), ys = AxisMap(ay);
  TBitmapImage& target = Image();
  const TSourceReader reader(source, target, FState);
  const bool fast = FastCopyApplies(source, target, mode, mask);
  const size_t sourceBytes = source.Format == pf32bit ? 4 : 3;
  const int left = ax.DestStart + FState.Origin.X, top = ay.DestStart + FState.Origin.Y;
  for (int dy = 0; dy < ay.DestExtent; ++dy) {
    const int sy = ys[size_t(dy)];
    if (sy < 0 || sy >= source.Height) continue;
    ForVisibleSpans(top + dy, left, left + ax.DestExtent, [&](int y, int x0, int x1) {
      const uint8_t* sourceRow = source.Row(sy);
      uint8_t* targetRow = target.Row(y);
      for (int x = x0; x < x1; ++x) {
        const int sx = xs[size_t(x - left)];
        if (sx < 0 || sx >= source.Width) continue;
        if (fast) {
          const uint8_t* p = sourceRow + size_t(sx) * sourceBytes;
          uint8_t* q = targetRow + size_t(x) * 4;
          q[0] = p[0], q[1] = p[1], q[2] = p[2], q[3] = 0;
          continue;
        }
        if (mask != nullptr && sx < mask->Width && sy < mask->Height && mask->PixelValue(sx, sy) != 0) continue;
        const uint32_t d = mode == cmSrcCopy ? 0 : target.PixelRGB(x, y);
        target.SetPixelValue(x, y, target.RGBToValue(ApplyMode(mode, reader.Read(sx, sy), d)));
      }
    });
  }
}

void TDrawContext::HalftoneCore(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect,
                                TCopyMode mode) {
  const TAxis ax = MakeAxis(dest.Left, dest.Right, sourceRect.Left, sourceRect.Right);
  const TAxis ay = MakeAxis(dest.Top, dest.Bottom, sourceRect.Top, sourceRect.Bottom);
  if (ax.DestExtent == 0 || ay.DestExtent == 0 || ax.SourceExtent == 0 || ay.SourceExtent == 0) return;
  std::vector<TBoxTaps> xt = BoxFilterTaps(ax.SourceExtent, ax.DestExtent);
  std::vector<TBoxTaps> yt = BoxFilterTaps(ay.SourceExtent, ay.DestExtent);
  if (ax.Mirrored) std::reverse(xt.begin(), xt.end());
  if (ay.Mirrored) std::reverse(yt.begin(), yt.end());
  TBitmapImage& target = Image();
  const TSourceReader reader(source, target, FState);
  const int left = ax.DestStart + FState.Origin.X, top = ay.DestStart + FState.Origin.Y;
  auto average = [&](const TBoxTaps& tx, const TBoxTaps& ty, uint32_t& rgb) {
    int64_t sum[3] = {0, 0, 0}, weight = 0;
    for (size_t j = 0; j < ty.Weights.size(); ++j) {
      const int sy = ay.SourceStart + ty.First + int(j);
      if (sy < 0 || sy >= source.Height) continue;
      for (size_t i = 0; i < tx.Weights.size(); ++i) {
        const int sx = ax.SourceStart + tx.First + int(i);
        if (sx < 0 || sx >= source.Width) continue;
        const int64_t w = int64_t(tx.Weights[i]) * ty.Weights[j];
        const uint32_t c = reader.Read(sx, sy);
        sum[0] += w * (c & 0xFF), sum[1] += w * ((c >> 8) & 0xFF), sum[2] += w * ((c >> 16) & 0xFF);
        weight += w;
      }
    }
    if (weight == 0) return false;
    auto channel = [&](int k) { return uint32_t((sum[k] + weight / 2) / weight); };
    rgb = channel(0) | channel(1) << 8 | channel(2) << 16;
    return true;
  };
  for (int dy = 0; dy < ay.DestExtent; ++dy) {
    ForVisibleSpans(top + dy, left, left + ax.DestExtent, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) {
        uint32_t s = 0;
        if (!average(xt[size_t(x - left)], yt[size_t(dy)], s)) continue;
        const uint32_t d = mode == cmSrcCopy ? 0 : target.PixelRGB(x, y);
        target.SetPixelValue(x, y, target.RGBToValue(ApplyMode(mode, s, d)));
      }
    });
  }
}
