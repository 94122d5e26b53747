#pragma once
// A drawing context: a target surface (a pixel image) seen through an origin and a clip region, with
// the pen, brush, font, colours and modes primitives use, and a save/restore stack.
// Logical coordinates plus the origin give surface (device) coordinates; clip regions are
// held in device coordinates. Every primitive is rasterised as if unclipped and then writes
// only the pixels inside the surface and the clip region.
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "framework/core/color.h"
#include "framework/core/geometry.h"
#include "framework/graphics/font.h"
#include "framework/graphics/pen_brush.h"
#include "framework/graphics/region.h"

class TBitmap;
class TPalette;
struct TBitmapImage;

enum TBkMode { bmTransparent, bmOpaque };
enum TStretchMode { smColorOnColor, smHalftone };
// Raster operations of block copies, computed on RGB values.
enum TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmDstInvert, cmNotSrcCopy, cmBlackness, cmWhiteness };

struct TDrawState {
  TPoint Origin;
  std::optional<TRegion> Clip;  // device coordinates; none: the whole surface
  TPenData Pen;
  TBrushData Brush;
  TFontData Font;
  TColor TextColor = clBlack;
  TColor BkColor = clWhite;
  TBkMode BkMode = bmOpaque;
  int TextAlign = 0;
  TStretchMode StretchMode = smColorOnColor;
  TPoint BrushOrigin;
  TCopyMode CopyMode = cmSrcCopy;
  TPolyFillMode PolyFillMode = pfmAlternate;
  TPoint PenPos;
  const TPalette* Palette = nullptr;
  bool PaletteBackground = false;
};

class TDrawContext {
 public:
  // Nested saves beyond this are refused rather than grown without bound.
  static constexpr int kMaxSaveDepth = 1024;

  // The surface is the pixel image itself, so a window's surface is drawn into in place;
  // a bitmap is drawn into through its image.
  explicit TDrawContext(TBitmapImage* surface) : FSurface(surface) {}
  explicit TDrawContext(TBitmap* bitmap);
  TBitmapImage* Surface() const { return FSurface; }
  int SurfaceBitsPerPixel() const;

  // Plain attributes (pen, brush, font, colours, modes) are read and written here.
  TDrawState& State() { return FState; }
  const TDrawState& State() const { return FState; }

  // Pushes the state; answers the new depth (1 for the first save). Raises EOutOfResources
  // "Error saving device context" past kMaxSaveDepth.
  int Save();
  // Level n > 0 returns to the state saved by the save that answered n; -n goes n saves back.
  // Any other level raises EOutOfResources "Error restoring device context".
  void Restore(int level);
  int SaveDepth() const { return int(FSaved.size()); }

  TPoint Origin() const { return FState.Origin; }
  void SetOrigin(TPoint origin) { FState.Origin = origin; }
  void OffsetOrigin(int dx, int dy) { FState.Origin = FState.Origin + TPoint{dx, dy}; }

  // `region` in device coordinates; none removes clipping.
  void SetClipRegion(const TRegion* region);
  void IntersectClipRect(const TRect& logical);
  void ExcludeClipRect(const TRect& logical);
  // The pixels primitives may write, in device coordinates.
  TRegion VisibleRegion() const;
  // Whether primitives may write every pixel of `rect` (device coordinates).
  bool WhollyVisible(const TRect& rect) const;
  // The bounding box of the visible pixels, in logical coordinates.
  TRect ClipBox() const;
  bool PointVisible(int x, int y) const;

  // Selects a logical palette; answers the one selected before. Drawing onto an 8-bit
  // surface maps colours to the surface's colour table, so selection and realisation only
  // keep state and never change pixels.
  const TPalette* SelectPalette(const TPalette* palette, bool background);
  // The number of entries of the selected palette (0 when none).
  int RealizePalette() const;

  // Primitives, in logical coordinates.
  TColor GetPixel(int x, int y) const;  // clNone outside the visible pixels
  void SetPixel(int x, int y, TColor color);
  void FillRect(const TRect& rect, const TBrushData& brush);
  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y) { FState.PenPos = {x, y}; }
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  // Interior with the brush by the state's fill mode, then the closed outline with the pen.
  void Polygon(std::span<const TPoint> points);
  void FillRegion(const TRegion& region, const TBrushData& brush);

  // Block copies from a bitmap's pixels (source coordinates are the bitmap's own).
  void BitBlt(int x, int y, int width, int height, const TBitmap& source, int sx, int sy, TCopyMode mode);
  // Stretches `sourceRect` onto `dest` by the state's stretch mode; reversed extents mirror.
  void StretchBlt(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TCopyMode mode);
  void StretchBlt(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect, TCopyMode mode);
  // As a colour-on-colour source copy, but leaving the target as it is where `mask`
  // (monochrome, the source's size) has its pixel set.
  void MaskedStretchBlt(const TRect& dest, const TBitmap& source, const TRect& sourceRect, const TBitmap& mask);

  // Calls paint(y, x0, x1) for every visible run of device row y within [x0, x1).
  template <class Paint>
  void ForVisibleSpans(int y, int x0, int x1, Paint&& paint) const;

 private:
  friend class TBrushPainter;
  friend class TPenPainter;
  TBitmapImage& Image() const { return *FSurface; }
  TRect SurfaceRect() const;
  void StretchCore(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect, TCopyMode mode,
                   const TBitmapImage* mask);
  void HalftoneCore(const TRect& dest, const TBitmapImage& source, const TRect& sourceRect, TCopyMode mode);

  TBitmapImage* FSurface;
  TDrawState FState;
  std::vector<TDrawState> FSaved;
};

template <class Paint>
void TDrawContext::ForVisibleSpans(int y, int x0, int x1, Paint&& paint) const {
  const TRect bounds = SurfaceRect();
  if (y < bounds.Top || y >= bounds.Bottom) return;
  x0 = std::max(x0, bounds.Left);
  x1 = std::min(x1, bounds.Right);
  if (x0 >= x1) return;
  if (!FState.Clip) {
    paint(y, x0, x1);
    return;
  }
  const std::vector<TSpan>* spans = FState.Clip->SpansAt(y);
  if (spans == nullptr) return;
  for (const TSpan& span : *spans) {
    if (span.Right <= x0) continue;
    if (span.Left >= x1) break;
    paint(y, std::max(x0, span.Left), std::min(x1, span.Right));
  }
}
