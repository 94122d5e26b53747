#pragma once
// A canvas: a drawing context together with the pen, brush and font objects a control draws
// with. The context is either owned (a bitmap's canvas) or lent for the span of a paint.
#include <memory>
#include <span>
#include <string_view>

#include "framework/core/geometry.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/font.h"
#include "framework/graphics/font_face.h"
#include "framework/graphics/pen_brush.h"

class TGraphic;

class TCanvas : public TPersistent {
 public:
  VM_CLASS()
  TCanvas();
  explicit TCanvas(std::unique_ptr<TDrawContext> context);
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The context drawn into; raises EInvalidOperation when none is set.
  TDrawContext& Handle();
  bool HandleAllocated() const { return FContext != nullptr; }
  // Lends a context (not owned); none detaches.
  void SetHandle(TDrawContext* context);

  TPen& Pen() { return FPen; }
  TBrush& Brush() { return FBrush; }
  TFont& Font() { return FFont; }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }
  TPoint PenPos();
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  TRect ClipRect();

  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  void FillRect(const TRect& rect);
  // A one-pixel frame in the brush colour along the rectangle's inside edges.
  void FrameRect(const TRect& rect);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  void Polygon(std::span<const TPoint> points, TPolyFillMode mode = pfmAlternate);
  void FillRegion(const TRegion& region);
  // Copies `source`'s pixels under `sourceRect` (its logical coordinates) onto `dest`,
  // stretching as needed, with the copy mode.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const TRect& rect, TGraphic& graphic);

  // Text in the font and its colour; a solid brush gives an opaque background in the brush
  // colour, a clear brush a transparent one. Measuring needs no context.
  TSize TextExtent(std::string_view text) const;
  int TextWidth(std::string_view text) const { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) const { return TextExtent(text).cy; }
  TTextMetric TextMetric() const;
  // The context's text alignment (TTextAlignFlag values).
  int TextAlign();
  void SetTextAlign(int align);
  // Leaves the pen position after the text.
  void TextOut(int x, int y, std::string_view text);
  // Clipped to rect; a solid brush fills all of rect first.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // Multi-line text with TTextFormatFlag values; answers the text's height.
  int DrawTextBlock(std::string_view text, TRect& rect, unsigned format);

  // Puts the pen, brush and font into the context; every primitive does this first.
  void RequireState();
  // RequireState plus the background the brush implies for text.
  void RequireTextState();
  // Called after every primitive (a bitmap marks itself changed).
  void Changed();

  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TDrawContext> FOwnedContext;
  TDrawContext* FContext = nullptr;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TCopyMode FCopyMode = cmSrcCopy;
};
