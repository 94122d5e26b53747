#include "framework/graphics/canvas.h"

#include "framework/core/exceptions.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas_text.h"
#include "framework/graphics/glyph_cache.h"
#include "framework/graphics/text_layout.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TCanvas::ClassInfo() {
  static const TClassInfo info = DefineClass<TCanvas, TPersistent>("TCanvas");
  return info;
}

TCanvas::TCanvas() = default;

TCanvas::TCanvas(std::unique_ptr<TDrawContext> context)
    : FOwnedContext(std::move(context)), FContext(FOwnedContext.get()) {}

TCanvas::~TCanvas() = default;

TDrawContext& TCanvas::Handle() {
  if (FContext == nullptr) throw EInvalidOperation(rs::SNoCanvasHandle);
  return *FContext;
}

void TCanvas::SetHandle(TDrawContext* context) {
  FOwnedContext.reset();
  FContext = context;
}

void TCanvas::RequireState() {
  TDrawState& state = Handle().State();
  state.Pen = FPen.Data();
  state.Brush = FBrush.Data();
  state.Font = FFont.Data();
  state.TextColor = FFont.Color();
}

void TCanvas::RequireTextState() {
  RequireState();
  TDrawState& state = Handle().State();
  state.BkColor = FBrush.Color();
  state.BkMode = FBrush.Style() == bsClear ? bmTransparent : bmOpaque;
}

void TCanvas::Changed() { OnChange(this); }

TPoint TCanvas::PenPos() { return Handle().State().PenPos; }

TRect TCanvas::ClipRect() { return Handle().ClipBox(); }

TColor TCanvas::Pixel(int x, int y) { return Handle().GetPixel(x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  Handle().SetPixel(x, y, color);
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  RequireState();
  Handle().FillRect(rect, FBrush.Data());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.IsEmpty()) return;
  RequireState();
  TDrawContext& dc = Handle();
  dc.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, FBrush.Data());
  dc.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, FBrush.Data());
  dc.FillRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, FBrush.Data());
  dc.FillRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, FBrush.Data());
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  RequireState();
  Handle().Rectangle(left, top, right, bottom);
  Changed();
}

void TCanvas::MoveTo(int x, int y) { Handle().MoveTo(x, y); }

void TCanvas::LineTo(int x, int y) {
  RequireState();
  Handle().LineTo(x, y);
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  RequireState();
  Handle().Polyline(points);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points, TPolyFillMode mode) {
  RequireState();
  TDrawContext& dc = Handle();
  const TPolyFillMode saved = dc.State().PolyFillMode;
  dc.State().PolyFillMode = mode;
  dc.Polygon(points);
  dc.State().PolyFillMode = saved;
  Changed();
}

void TCanvas::FillRegion(const TRegion& region) {
  RequireState();
  Handle().FillRegion(region, FBrush.Data());
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  RequireState();
  TDrawContext& from = source.Handle();
  const TRect deviceSource = sourceRect.Offset(from.Origin().X, from.Origin().Y);
  Handle().StretchBlt(dest, *from.Surface(), deviceSource, FCopyMode);
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.DrawInto(*this, {x, y, x + graphic.Width(), y + graphic.Height()});
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.DrawInto(*this, rect);
}

TSize TCanvas::TextExtent(std::string_view text) const { return TextExtentOf(FFont.Data(), text); }

TTextMetric TCanvas::TextMetric() const { return FontMetric(FFont.Data()); }

int TCanvas::TextAlign() { return Handle().State().TextAlign; }

void TCanvas::SetTextAlign(int align) { Handle().State().TextAlign = align; }

void TCanvas::TextOut(int x, int y, std::string_view text) {
  RequireTextState();
  TextOutAt(Handle(), x, y, text);
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  RequireTextState();
  const unsigned options = eoClipped | (FBrush.Style() == bsClear ? 0u : unsigned(eoOpaque));
  TextOutAt(Handle(), x, y, text, options, &rect);
  Changed();
}

int TCanvas::DrawTextBlock(std::string_view text, TRect& rect, unsigned format) {
  RequireTextState();
  const int height = ::DrawTextBlock(Handle(), text, rect, format);
  if ((format & tfCalcRect) == 0) Changed();
  return height;
}
