// Pixels, rectangles, lines, polygons and region fills of a drawing context.
#include <algorithm>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/raster.h"

namespace {
uint32_t ResolveRGB(TColor color) { return uint32_t(ColorToRGB(color)) & 0xFFFFFF; }
int FloorMod(int a, int m) { return ((a % m) + m) % m; }
}  // namespace

// Paints runs of device pixels with a brush: one colour, or a pattern tiled from the brush origin.
class TBrushPainter {
 public:
  TBrushPainter(const TDrawContext& context, const TBrushData& brush)
      : FContext(context), FImage(context.Image()), FBrush(brush) {
    FValue = FImage.RGBToValue(ResolveRGB(brush.Color));
    if (brush.Pattern != nullptr && !brush.Pattern->Empty()) {
      FPattern = &brush.Pattern->Image();
      FPatternMono = brush.Pattern->Monochrome();
    }
  }

  void Span(int y, int x0, int x1) const {
    if (FBrush.Style == bsClear) return;
    FContext.ForVisibleSpans(y, x0, x1, [this](int row, int a, int b) {
      if (FPattern == nullptr) FImage.FillSpan(row, a, b, FValue);
      else PatternSpan(row, a, b);
    });
  }

 private:
  void PatternSpan(int y, int x0, int x1) const {
    const TDrawState& state = FContext.State();
    const int py = FloorMod(y - state.BrushOrigin.Y, FPattern->Height);
    for (int x = x0; x < x1; ++x) {
      const int px = FloorMod(x - state.BrushOrigin.X, FPattern->Width);
      const uint32_t rgb = FPatternMono ? ResolveRGB(FPattern->PixelValue(px, py) ? state.BkColor : state.TextColor)
                                        : FPattern->PixelRGB(px, py);
      FImage.SetPixelValue(x, y, FImage.RGBToValue(rgb));
    }
  }

  const TDrawContext& FContext;
  TBitmapImage& FImage;
  const TBrushData& FBrush;
  uint32_t FValue = 0;
  const TBitmapImage* FPattern = nullptr;
  bool FPatternMono = false;
};

// Sets the pixels of a pen, one centre pixel at a time, applying its style and width.
class TPenPainter {
 public:
  TPenPainter(const TDrawContext& context, const TPenData& pen)
      : FContext(context), FImage(context.Image()), FPen(pen), FWidth(std::max(pen.Width, 1)) {
    FValue = FImage.RGBToValue(ResolveRGB(pen.Color));
  }
  bool Visible() const { return FPen.Style != psClear; }
  void Restart() { FCount = 0; }

  void Pixel(int x, int y) {
    const int index = FCount++;
    if (FPen.Style == psClear || (FPen.Style == psDot && index % 6 >= 3)) return;
    const int x0 = x - FWidth / 2, y0 = y - FWidth / 2;
    for (int row = y0; row < y0 + FWidth; ++row)
      FContext.ForVisibleSpans(row, x0, x0 + FWidth, [this](int r, int a, int b) { FImage.FillSpan(r, a, b, FValue); });
  }

 private:
  const TDrawContext& FContext;
  TBitmapImage& FImage;
  const TPenData& FPen;
  int FWidth;
  uint32_t FValue = 0;
  int FCount = 0;
};

TColor TDrawContext::GetPixel(int x, int y) const {
  if (!PointVisible(x, y)) return clNone;
  return TColor(Image().PixelRGB(x + FState.Origin.X, y + FState.Origin.Y));
}

void TDrawContext::SetPixel(int x, int y, TColor color) {
  if (!PointVisible(x, y)) return;
  TBitmapImage& image = Image();
  image.SetPixelValue(x + FState.Origin.X, y + FState.Origin.Y, image.RGBToValue(ResolveRGB(color)));
}

void TDrawContext::FillRect(const TRect& rect, const TBrushData& brush) {
  const TRect device = rect.Offset(FState.Origin.X, FState.Origin.Y);
  if (device.IsEmpty()) return;
  const TBrushPainter painter(*this, brush);
  for (int y = device.Top; y < device.Bottom; ++y) painter.Span(y, device.Left, device.Right);
}

void TDrawContext::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  TPenPainter pen(*this, FState.Pen);
  if (!pen.Visible()) {
    FillRect({left, top, right - 1, bottom - 1}, FState.Brush);
    return;
  }
  FillRect({left + 1, top + 1, right - 1, bottom - 1}, FState.Brush);
  // The outline clockwise from the top-left corner, each pixel once.
  const int l = left + FState.Origin.X, t = top + FState.Origin.Y;
  const int r = right - 1 + FState.Origin.X, b = bottom - 1 + FState.Origin.Y;
  for (int x = l; x <= r; ++x) pen.Pixel(x, t);
  for (int y = t + 1; y <= b; ++y) pen.Pixel(r, y);
  if (b > t)
    for (int x = r - 1; x >= l; --x) pen.Pixel(x, b);
  if (r > l)
    for (int y = b - 1; y > t; --y) pen.Pixel(l, y);
}

void TDrawContext::LineTo(int x, int y) {
  TPenPainter pen(*this, FState.Pen);
  const TPoint o = FState.Origin;
  if (pen.Visible())
    ForEachLinePixel(FState.PenPos.X + o.X, FState.PenPos.Y + o.Y, x + o.X, y + o.Y,
                     [&pen](int px, int py) { pen.Pixel(px, py); });
  FState.PenPos = {x, y};
}

void TDrawContext::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  const TPoint saved = FState.PenPos;
  MoveTo(points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
  FState.PenPos = saved;
}

void TDrawContext::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  std::vector<TPoint> device(points.begin(), points.end());
  for (TPoint& p : device) p = p + FState.Origin;
  const TBrushPainter brush(*this, FState.Brush);
  ForEachPolygonRow(device, FState.PolyFillMode, [&brush](int y, const std::vector<TSpan>& spans) {
    for (const TSpan& span : spans) brush.Span(y, span.Left, span.Right);
  });
  TPenPainter pen(*this, FState.Pen);
  if (!pen.Visible()) return;
  for (size_t i = 0; i < device.size(); ++i) {
    const TPoint& a = device[i];
    const TPoint& b = device[(i + 1) % device.size()];
    pen.Restart();
    ForEachLinePixel(a.X, a.Y, b.X, b.Y, [&pen](int px, int py) { pen.Pixel(px, py); });
  }
}

void TDrawContext::FillRegion(const TRegion& region, const TBrushData& brush) {
  const TBrushPainter painter(*this, brush);
  for (const TRegionBand& band : region.Bands())
    for (int y = band.Top; y < band.Bottom; ++y)
      for (const TSpan& span : band.Spans)
        painter.Span(y + FState.Origin.Y, span.Left + FState.Origin.X, span.Right + FState.Origin.X);
}
