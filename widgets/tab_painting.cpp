// Painting of the tab strip into the control's off-screen bitmap: background, tabs (fill,
// image, caption, bars, focus rectangle, outline) and the cards with their frames. Every
// rectangle and outline comes from the strip's geometry; paint changes nothing else.
#include <algorithm>

#include "framework/graphics/accelerator.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/text_measure.h"
#include "widgets/frame_drawing.h"
#include "widgets/tab_control.h"

namespace {
constexpr uint8_t kShadowWeightNear = 30;        // the shadow's inner band over the parent's background
constexpr uint8_t kShadowWeightFar = 15;         // its outer band
constexpr uint8_t kUnselectedShadowDarken = 30;  // page side of a coloured tab's gradient
constexpr int kComplementHueShift = 120;         // a third of the hue circle
constexpr uint8_t kHotBarSaturation = 240;
constexpr uint8_t kHotBarLightness = 140;
constexpr int kGradientStep = 1;  // every colour change of a tab's gradient starts a band
}  // namespace

// ---- paint events ----

bool TWkCustomTabControl::DoGetTextColor(int tabIndex, TWkTextStyle style, TColor& color) {
  bool handled = false;
  FOnGetTextColor(this, tabIndex, style, color, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintBackground(TCanvas& canvas, const TRect& rect) {
  bool handled = false;
  FOnPaintBackground(this, &canvas, rect, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  bool handled = false;
  FOnPaintCardBackground(this, &canvas, row, rect, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintTabBackground(TCanvas& canvas, int tabIndex, const TRect& rect) {
  bool handled = false;
  FOnPaintTabBackground(this, &canvas, tabIndex, rect, handled);
  return handled;
}

// ---- the whole control ----

// A paint that comes before the layout the loop was asked for (a control painting at once)
// shows the strip as last drawn; the layout repaints it.
void TWkCustomTabControl::Paint() {
  const TRect clip = Canvas().ClipRect();
  if (FLayoutDirty) {
    Canvas().CopyRect(clip, FBitmap.Canvas(), clip);
    return;
  }
  struct TDone {
    bool& HotTrackPaint;
    ~TDone() { HotTrackPaint = false; }
  } done{FHotTrackPaint};
  const int w = Width(), h = Height();
  if (FBitmap.Width() != w || FBitmap.Height() != h) FBitmap.SetSize(w, h);
  TCanvas& canvas = FBitmap.Canvas();
  // What lies outside the part being painted stays as the last paint left it.
  TDrawContext& dc = canvas.Handle();
  const int level = dc.Save();
  dc.IntersectClipRect(clip);
  const TRect all{0, 0, w, h};
  if (!DoPaintBackground(canvas, all)) {
    if (FTransparent) {
      PaintParentBackground(*this, canvas, false);
    } else {
      canvas.Brush().SetStyle(bsSolid);
      canvas.Brush().SetColor(FBackgroundColor);
      canvas.FillRect(all);
    }
  }
  PaintTabsAndCards(canvas, clip);
  dc.Restore(level);
  Canvas().CopyRect(clip, canvas, clip);
}

// Farther rows first, each covered by its card; within a row the later tabs first, so
// that an earlier tab lies over its later neighbour; the selected tab over all.
void TWkCustomTabControl::PaintTabsAndCards(TCanvas& canvas, const TRect& clip) {
  for (int row = FStrip.RowCount() - 1; row >= 0; --row) {
    for (int i = FStrip.Count() - 1; i >= 0; --i) {
      const TWkTabPlace& tab = FStrip.Tab(i);
      if (i == FTabIndex || tab.Row != row || !tab.Visible || !FStrip.TabInView(i) || i < FStrip.FirstVisibleTab()) continue;
      PaintTab(canvas, i, clip);
    }
    if (row > 0) PaintCard(canvas, row);
  }
  if (FStrip.SelectedShown()) PaintTab(canvas, FTabIndex, clip);
  if (FShowCard) PaintCard(canvas, 0);
}

// ---- one tab ----

// Filled and drawn inside its region; the outline, unclipped, over it.
void TWkCustomTabControl::PaintTab(TCanvas& canvas, int index, const TRect& clip) {
  const TRect r = FStrip.TabRect(index);
  if (IntersectRect(r, clip).IsEmpty()) return;
  if (const TRegion* region = TabRegion(index)) {
    TDrawContext& dc = canvas.Handle();
    const int level = dc.Save();
    const TRegion tabClip = *region;
    dc.SetClipRegion(&tabClip);
    FillTab(canvas, index, r);
    DrawTabContent(canvas, index, r);
    dc.Restore(level);
  }
  PlayOutline(canvas, FStrip.TabOutline(index));
}

// The selected tab is solid; the others shade across their thickness from the outer edge
// to the page.
void TWkCustomTabControl::FillTab(TCanvas& canvas, int index, const TRect& rect) {
  if (DoPaintTabBackground(canvas, index, rect)) return;
  const TWkTabData& tab = FTabs.Items(index);
  canvas.Brush().SetStyle(bsSolid);
  if (index == FTabIndex) {
    canvas.Brush().SetColor(FUseColoredTabs ? tab.Color : Color());
    canvas.FillRect(rect);
    return;
  }
  const TColor unselected = FUseColoredTabs ? tab.Color : FTabColors->Unselected();
  const TColor shadow = FUseColoredTabs ? DarkenColor(tab.Color, kUnselectedShadowDarken) : FTabColors->Shadow();
  if (!FUseGradients || !HasTrueColorDisplay()) {
    canvas.Brush().SetColor(unselected);
    canvas.FillRect(rect);
    return;
  }
  switch (FTabOrientation) {
    case toTop: FillGradientRect(canvas, rect, gsVertical, unselected, shadow, kGradientStep); break;
    case toLeft: FillGradientRect(canvas, rect, gsHorizontal, unselected, shadow, kGradientStep); break;
    case toBottom: FillGradientRect(canvas, rect, gsVertical, shadow, unselected, kGradientStep); break;
    default: FillGradientRect(canvas, rect, gsHorizontal, shadow, unselected, kGradientStep);
  }
}

TColor TWkCustomTabControl::HotBarColor() const {
  if (FHotTrackColorType == htctActual) return FHotTrackColor;
  const int h = HueOfColor(FHotTrackColor);
  const int shifted = h < kComplementHueShift ? h + kComplementHueShift : h - kComplementHueShift;
  return HslToRgb(uint8_t(shifted), kHotBarSaturation, kHotBarLightness);
}

// Image, caption in the colour its state and the handler choose, bars and focus rectangle.
void TWkCustomTabControl::DrawTabContent(TCanvas& canvas, int index, const TRect& rect) {
  const TWkTabData& tab = FTabs.Items(index);
  const int gap = tab.ImageIndex != -1 ? FImageMargin : 0;
  const TWkTabContentAreas areas = SplitTabContent(FStrip.ContentRect(rect), ImageSize(tab), FImagePosition, gap);
  if (FImages != nullptr && tab.ImageIndex != -1) DrawTabImage(canvas, tab, areas.Image);

  const bool selected = index == FTabIndex;
  const bool bold = FBoldCurrentTab && selected;
  if (!tab.Enabled) {
    // Embossed: the highlight a pixel right and down, the shadow over it.
    TColor highlight = FTextColors->DisabledHighlight(), shadow = FTextColors->DisabledShadow();
    if (!DoGetTextColor(index, tsDisabledHighlight, highlight)) highlight = FTextColors->DisabledHighlight();
    DrawCaption(canvas, tab, areas.Text.Offset(1, 1), highlight, bold);
    if (!DoGetTextColor(index, tsDisabledShadow, shadow)) shadow = FTextColors->DisabledShadow();
    DrawCaption(canvas, tab, areas.Text, shadow, bold);
  } else {
    TWkTextStyle style = tsUnselected;
    TColor color = FTextColors->Unselected();
    if (index == FHotTab && FHotTrack) {
      style = tsHotTrack;
      color = FHotTrackStyle == htsText ? FHotTrackColor : FTextColors->Selected();
      if (FHotTrackStyle == htsTab) DrawBar(canvas, rect, HotBarColor());
    } else if (selected) {
      style = tsSelected;
      color = FTextColors->Selected();
      if (FHotTrack && FHotTrackStyle == htsTab) DrawBar(canvas, rect, FTabColors->HighlightBar());
    }
    const TColor fallback = color;
    if (!DoGetTextColor(index, style, color)) color = fallback;
    DrawCaption(canvas, tab, areas.Text, color, bold);
  }
  if (FShowFocusRect && selected && Focused()) DrawFocusFrame(canvas, FStrip.FocusRect(areas.Text));
}

// A disabled tab draws its disabled image, or else its image in the list's disabled look.
void TWkCustomTabControl::DrawTabImage(TCanvas& canvas, const TWkTabData& tab, const TRect& area) {
  const TPoint p = PlaceTabImage(area, ImageSize(tab), FImagePosition, FImageAlignment, FImageAlignmentVertical);
  if (tab.Enabled) FImages->Draw(canvas, p.X, p.Y, tab.ImageIndex, true);
  else if (tab.DisabledIndex != -1) FImages->Draw(canvas, p.X, p.Y, tab.DisabledIndex, true);
  else FImages->Draw(canvas, p.X, p.Y, tab.ImageIndex, false);
}

// A fill with no outline, so that it stops a pixel short of its right and bottom edges.
void TWkCustomTabControl::DrawBar(TCanvas& canvas, const TRect& rect, TColor color) {
  canvas.Pen().SetStyle(psClear);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Rectangle(FStrip.BarRect(rect));
  canvas.Pen().SetStyle(psSolid);
}

void TWkCustomTabControl::DrawCaption(TCanvas& canvas, const TWkTabData& tab, const TRect& area, TColor color,
                                      bool bold) {
  TFont& font = canvas.Font();
  PrepareMeasuringFont(font, bold);
  font.SetColor(color);
  canvas.Brush().SetStyle(bsClear);
  canvas.SetTextAlign(0);
  const std::vector<std::string> lines = CaptionLines(tab.Caption);
  std::vector<TSize> extents;
  for (const std::string& line : lines) extents.push_back(MeasureLine(font, StripAccelerators(line)));
  const std::vector<TPoint> starts = CaptionLineStarts(area, CaptionBlock(font, tab.Caption), extents,
                                                       CaptionDirection(), FTextAlignment, FTextAlignmentVertical);
  for (size_t i = 0; i < lines.size(); ++i) DrawCaptionLine(canvas, lines[i], starts[i]);
}

// Up to three pieces: the text before the accelerator, the underlined character, the rest.
void TWkCustomTabControl::DrawCaptionLine(TCanvas& canvas, const std::string& line, TPoint p) {
  const TAcceleratorSplit pieces = SplitAtAccelerator(line);
  const TWkCaptionDirection direction = CaptionDirection();
  auto draw = [&](const std::string& text) {
    if (text.empty()) return;
    canvas.TextOut(p.X, p.Y, text);
    const int n = MeasureLine(canvas.Font(), text).cx;
    if (direction == cdAcross) p.X += n;
    else if (direction == cdDownward) p.Y += n;
    else p.Y -= n;
  };
  draw(pieces.Before);
  if (!pieces.Marked.empty()) {
    TFont& font = canvas.Font();
    const TFontStyles plain = font.Style();
    TFontStyles marked = plain;
    marked.Include(fsUnderline);
    font.SetStyle(marked);
    draw(pieces.Marked);
    font.SetStyle(plain);
  }
  draw(pieces.After);
}

// ---- outlines ----

// Lines in the outline colour; shadow runs darken the parent's background pixel by pixel.
void TWkCustomTabControl::PlayOutline(TCanvas& canvas, const TWkOutline& outline) {
  std::unique_ptr<TBitmap> background;
  if (std::any_of(outline.begin(), outline.end(), [](const TWkOutlineSegment& s) { return s.Kind != okLine; })) {
    background = std::make_unique<TBitmap>();
    background->SetPixelFormat(pf32bit);
    background->SetSize(Width(), Height());
    PaintParentBackground(*this, background->Canvas(), false);
  }
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(ShiftLightness(FFlatColor, FFlatColorAdjustment));
  for (const TWkOutlineSegment& s : outline) {
    if (s.Kind == okLine) {
      canvas.MoveTo(s.From.X, s.From.Y);
      canvas.LineTo(s.To.X, s.To.Y);
      continue;
    }
    const uint8_t weight = s.Kind == okShadowNear ? kShadowWeightNear : kShadowWeightFar;
    const int dx = (s.To.X > s.From.X) - (s.To.X < s.From.X), dy = (s.To.Y > s.From.Y) - (s.To.Y < s.From.Y);
    for (TPoint q = s.From;; q = {q.X + dx, q.Y + dy}) {
      canvas.SetPixel(q.X, q.Y, MixColors(clBlack, TColor(background->PixelRGB(q.X, q.Y)), weight));
      if (q == s.To) break;
    }
  }
}

// ---- cards ----

// With coloured tabs a card the control fills shows the selected tab's colour.
void TWkCustomTabControl::PaintCard(TCanvas& canvas, int row) {
  if (!CardShown(row)) return;
  const TRect c = FStrip.CardRect(row);
  const TRect fill{c.Left, c.Top, c.Right + 1, c.Bottom + 1};
  if (!DoPaintCardBackground(canvas, row, fill)) {
    const bool colored = FUseColoredTabs && FTabIndex >= 0 && FTabIndex < FTabs.Count();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(colored ? FTabs.Items(FTabIndex).Color : Color());
    canvas.FillRect(fill);
  }
  if (FShowCardFrame) PlayOutline(canvas, FStrip.CardOutline(row, !FHotTrackPaint));
}
