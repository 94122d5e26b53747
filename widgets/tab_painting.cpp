// Painting of the tab strip into the control's off-screen bitmap: background, tabs (fill,
// image, caption, bars, focus rectangle, outline) and the cards with their frames.
#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "widgets/frame_drawing.h"
#include "widgets/image_list.h"
#include "widgets/page_control.h"

namespace {
// Outline command opcodes; 2 to 6 carry a point.
enum TOutlineOp { opPenColor = 0, opNothing = 1, opLineColor = 2, opMove = 3, opLine = 4, opShadow30 = 5, opShadow15 = 6 };
constexpr uint8_t kShadowWeightNear = 30;
constexpr uint8_t kShadowWeightFar = 15;
constexpr uint8_t kUnselectedShadowDarken = 30;  // page side of a coloured tab's gradient
constexpr int kComplementHueShift = 120;         // a third of the hue circle
constexpr uint8_t kHotBarSaturation = 240;
constexpr uint8_t kHotBarLightness = 140;
constexpr int kBarDepth = 6;        // band of a bar on the top and left edges
constexpr int kBarDepthFar = 4;     // on the bottom and right edges

class TOutline {
 public:
  std::vector<int> Commands;
  void Op(int op) { Commands.push_back(op); }
  void Op(int op, TPoint p) {
    Commands.push_back(op);
    Commands.push_back(p.X);
    Commands.push_back(p.Y);
  }
  void Move(TPoint p) { Op(opMove, p); }
  void Line(TPoint p) { Op(opLine, p); }
  bool HasShadow() const {
    for (size_t i = 0; i < Commands.size(); i += Commands[i] >= opLineColor ? 3 : 1)
      if (Commands[i] == opShadow30 || Commands[i] == opShadow15) return true;
    return false;
  }
};

size_t ShapePointCount(TWkTabStyle style) {
  switch (style) {
    case tsSingleSlant:
    case tsCutCorner: return 5;
    case tsDoubleSlant: return 4;
    default: return 6;
  }
}

// A caption line split at its accelerator: the text before, the underlined character, the rest.
struct TCaptionPieces {
  std::string Before, Marked, After;
};

TCaptionPieces SplitAccelerator(const std::string& line) {
  const size_t amp = line.find('&');
  if (amp == std::string::npos) return {line, "", ""};
  if (amp + 1 < line.size() && line[amp + 1] == '&') return {line.substr(0, amp) + line.substr(amp + 1), "", ""};
  if (amp + 1 >= line.size()) return {line.substr(0, amp), "", ""};
  return {line.substr(0, amp), line.substr(amp + 1, 1), line.substr(amp + 2)};
}

std::vector<std::string> CaptionLines(const std::string& caption) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = caption.find("\r\n", start);
    lines.push_back(caption.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

TRect Shrink(const TRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy}; }
}  // namespace

// ---- the whole control ----

void TWkCustomTabControl::Paint() {
  FPainting = true;
  struct Done {
    TWkCustomTabControl* c;
    ~Done() {
      c->FPainting = false;
      c->FHotTrackPaint = false;
    }
  } done{this};
  if (FLayoutDirty) Layout();
  const int w = Width(), h = Height();
  if (FBitmap.Width() != w || FBitmap.Height() != h) FBitmap.SetSize(w, h);
  TCanvas& canvas = FBitmap.Canvas();
  FPaintClip = Canvas().ClipRect();
  // What lies outside the part being painted stays as the last paint left it.
  TDrawContext& dc = canvas.Handle();
  const int level = dc.Save();
  dc.IntersectClipRect(FPaintClip);
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
  PlaceButtons();
  PaintTabsAndCards(canvas);
  dc.Restore(level);
  Canvas().CopyRect(FPaintClip, canvas, FPaintClip);
}

// Farther rows first, each covered by its card; within a row the later tabs first, so
// that an earlier tab lies over its later neighbour; the selected tab over all.
void TWkCustomTabControl::PaintTabsAndCards(TCanvas& canvas) {
  const int count = FTabs.Count();
  for (int row = FRowCount - 1; row >= 0; --row) {
    for (int i = count - 1; i >= 0; --i) {
      const TWkTabData& tab = FTabs.Items(i);
      if (i == FTabIndex || tab.Row != row || !tab.Visible || !TabInView(i) || i < FFirstVisibleTab) continue;
      PaintTab(canvas, i);
    }
    if (row > 0) PaintCard(canvas, row);
  }
  if (FTabIndex >= 0 && FTabIndex < count && FTabIndex >= FFirstVisibleTab && TabInView(FTabIndex))
    PaintTab(canvas, FTabIndex);
  if (FShowCard) PaintCard(canvas, 0);
}

// ---- one tab ----

void TWkCustomTabControl::PaintTab(TCanvas& canvas, int index) {
  const TRect r = TabRect(index);
  if (IntersectRect(r, FPaintClip).IsEmpty()) return;
  if (const TRegion* region = TabRegion(index)) {
    TDrawContext& dc = canvas.Handle();
    const int level = dc.Save();
    const TRegion clip = *region;
    dc.SetClipRegion(&clip);
    FillTab(canvas, index, r);
    DrawTabContent(canvas, index, r);
    dc.Restore(level);
  }
  PlayOutline(canvas, TabOutline(index));
}

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
    case toTop: FillGradientRect(canvas, rect, gsVertical, unselected, shadow, 1); break;
    case toLeft: FillGradientRect(canvas, rect, gsHorizontal, unselected, shadow, 1); break;
    case toBottom: FillGradientRect(canvas, rect, gsVertical, shadow, unselected, 1); break;
    default: FillGradientRect(canvas, rect, gsHorizontal, shadow, unselected, 1);
  }
}

TRect TWkCustomTabControl::TabContentRect(const TRect& r) const {
  const bool vertical = VerticalStrip();
  const int t = vertical ? r.Width() : r.Height(), s = Slant(t), c = FCutCornerSize;
  TRect cr = r;
  auto move = [&cr](int dx, int dy) { cr = cr.Offset(dx, dy); };
  switch (FTabStyle) {
    case tsSingleSlant:
      cr = Shrink(cr, 1, 1);
      if (vertical) {
        if (FTabOrientation == toLeft) {
          cr.Top += 2 * s + 2;
          move(0, -2);
        } else {
          cr.Bottom -= 2 * s + 2;
          move(0, 2);
        }
        move(0, 1);
        if (FTabOrientation == toLeft) cr.Left += 2;
        else {
          cr.Right -= 2;
          move(1, 0);
        }
      } else {
        cr.Right -= 2 * s + 2;
        move(3, 0);
        if (FTabOrientation == toTop) cr.Top += 2;
        else {
          cr.Bottom -= 2;
          move(0, 1);
        }
      }
      break;
    case tsDoubleSlant:
      if (vertical) {
        cr = {cr.Left + 1, cr.Top - 1 + s, cr.Right - 1, cr.Bottom + 1 - s + 2};
        move(0, 1);
        if (FTabOrientation == toLeft) cr.Left += 2;
        else {
          cr.Right -= 2;
          move(1, 0);
        }
      } else {
        cr = {cr.Left - 1 + s, cr.Top + 1, cr.Right + 1 - s, cr.Bottom - 1};
        move(1, 0);
        if (FTabOrientation == toTop) cr.Top += 2;
        else {
          cr.Bottom -= 2;
          move(0, 1);
        }
      }
      break;
    case tsCutCorner: {
      const bool verticalText = VerticalText();
      if (vertical) {
        cr = verticalText ? Shrink(cr, 1, c + 3) : Shrink(cr, 1, 4);
        const int inset = verticalText ? 5 : c + 5;
        if (FTabOrientation == toLeft) cr.Left += inset;
        else {
          cr.Right -= inset;
          move(1, 0);
        }
      } else {
        cr = verticalText ? Shrink(cr, 4, 1) : Shrink(cr, c + 3, 1);
        const int inset = verticalText ? c + 3 : 3;
        if (FTabOrientation == toTop) cr.Top += inset;
        else {
          cr.Bottom -= inset;
          move(0, 1);
        }
      }
      break;
    }
    default: cr = VerticalText() ? Shrink(cr, 2, 4) : Shrink(cr, 4, 2);
  }
  return Shrink(cr, 1, 1);
}

TColor TWkCustomTabControl::HotBarColor() const {
  if (FHotTrackColorType == htctActual) return FHotTrackColor;
  const int h = HueOfColor(FHotTrackColor);
  const int shifted = h < kComplementHueShift ? h + kComplementHueShift : h - kComplementHueShift;
  return HslToRgb(uint8_t(shifted), kHotBarSaturation, kHotBarLightness);
}

void TWkCustomTabControl::DrawTabContent(TCanvas& canvas, int index, const TRect& rect) {
  const TWkTabData& tab = FTabs.Items(index);
  const TRect content = TabContentRect(rect);
  const TSize image = ImageSize(tab);
  const int m = tab.ImageIndex != -1 ? FImageMargin : 0;
  TRect text = content, imageArea = content;
  switch (FImagePosition) {
    case ipLeft: text.Left += image.cx + m; imageArea.Right = imageArea.Left + image.cx; break;
    case ipTop: text.Top += image.cy + m; imageArea.Bottom = imageArea.Top + image.cy; break;
    case ipRight: text.Right -= image.cx + m; imageArea.Left = imageArea.Right - image.cx; break;
    case ipBottom: text.Bottom -= image.cy + m; imageArea.Top = imageArea.Bottom - image.cy; break;
    default: break;
  }
  if (FImages != nullptr && tab.ImageIndex != -1) DrawTabImage(canvas, tab, imageArea);

  const bool selected = index == FTabIndex;
  const bool bold = FBoldCurrentTab && selected;
  if (!tab.Enabled) {
    TColor highlight = FTextColors->DisabledHighlight(), shadow = FTextColors->DisabledShadow();
    if (!DoGetTextColor(index, tsDisabledHighlight, highlight)) highlight = FTextColors->DisabledHighlight();
    DrawCaption(canvas, tab, text.Offset(1, 1), highlight, bold);
    if (!DoGetTextColor(index, tsDisabledShadow, shadow)) shadow = FTextColors->DisabledShadow();
    DrawCaption(canvas, tab, text, shadow, bold);
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
    DrawCaption(canvas, tab, text, color, bold);
  }
  if (FShowFocusRect && selected && Focused()) {
    TRect focus{text.Left - 1, text.Top, text.Right + 1, text.Bottom};
    if (FTabStyle == tsRoundCorners) {
      switch (FTabOrientation) {
        case toTop: focus.Top += 1; break;
        case toLeft: focus.Left += 2; break;
        case toBottom: focus.Bottom -= 1; break;
        default: focus.Right -= 2;
      }
    }
    DrawFocusFrame(canvas, focus);
  }
}

void TWkCustomTabControl::DrawTabImage(TCanvas& canvas, const TWkTabData& tab, const TRect& area) {
  const int iw = FImages->Width(), ih = FImages->Height();
  int x = area.Left, y = area.Top;
  if (FImagePosition != ipStretch) {
    if (FImageAlignment == haCenter) x += (area.Width() - iw) / 2;
    else if (FImageAlignment == haRight) x = area.Right - iw;
    if (FImageAlignmentVertical == vaCenter) y += (area.Height() - ih) / 2;
    else if (FImageAlignmentVertical == vaBottom) y = area.Bottom - ih;
  }
  if (tab.Enabled) FImages->Draw(canvas, x, y, tab.ImageIndex, true);
  else if (tab.DisabledIndex != -1) FImages->Draw(canvas, x, y, tab.DisabledIndex, true);
  else FImages->Draw(canvas, x, y, tab.ImageIndex, false);
}

// The band along the tab's outer edge; a fill with no outline leaves out its right and
// bottom edges, so three pixels of it show inside the outline on every side.
void TWkCustomTabControl::DrawBar(TCanvas& canvas, const TRect& rect, TColor color) {
  TRect band = rect.Inflate(1, 1);
  switch (FTabOrientation) {
    case toTop: band.Bottom = band.Top + kBarDepth; break;
    case toLeft: band.Right = band.Left + kBarDepth; break;
    case toBottom: band.Top = band.Bottom - kBarDepthFar; break;
    default: band.Left = band.Right - kBarDepthFar;
  }
  canvas.Pen().SetStyle(psClear);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Rectangle(band);
  canvas.Pen().SetStyle(psSolid);
}

void TWkCustomTabControl::DrawCaption(TCanvas& canvas, const TWkTabData& tab, const TRect& area, TColor color,
                                      bool bold) {
  TFont& font = canvas.Font();
  PrepareMeasuringFont(font, bold);
  font.SetColor(color);
  canvas.Brush().SetStyle(bsClear);
  canvas.SetTextAlign(0);
  const TSize block = CaptionExtent(tab.Caption, bold);
  const bool vertical = VerticalText();
  const bool downward = vertical && FTabOrientation == toRight;
  TRect r = area;
  if (vertical) {
    // Across the upward text haRight is the far side; across the downward text haLeft.
    const int free = r.Width() - block.cx;
    if (FTextAlignment == haCenter) r = {r.Left + free / 2, r.Top, r.Right - free / 2, r.Bottom};
    else if (downward && FTextAlignment == haLeft) r.Right = r.Left + block.cx;
    else if (!downward && FTextAlignment == haRight) r.Left = r.Right - block.cx;
  } else {
    const int free = r.Height() - block.cy;
    if (FTextAlignmentVertical == vaCenter) r = {r.Left, r.Top + free / 2, r.Right, r.Bottom - free / 2};
    else if (FTextAlignmentVertical == vaBottom) r.Top = r.Bottom - block.cy;
  }
  int before = 0;  // the heights of the lines drawn so far
  for (const std::string& line : CaptionLines(tab.Caption)) {
    const TCaptionPieces pieces = SplitAccelerator(line);
    const TSize e = canvas.TextExtent(pieces.Before + pieces.Marked + pieces.After);
    const int n = e.cx;
    TPoint p;
    if (!vertical) {
      const int b = FTextAlignment == haCenter ? (r.Width() - n) / 2 : FTextAlignment == haRight ? r.Width() - n : 0;
      p = {r.Left + b, r.Top + before};
    } else if (!downward) {
      const int b = FTextAlignmentVertical == vaCenter ? (r.Height() - n) / 2
                    : FTextAlignmentVertical == vaTop  ? r.Height() - n
                                                       : 0;
      p = {r.Left + before, r.Bottom - b};
    } else {
      const int b = FTextAlignmentVertical == vaCenter ? (r.Height() - n) / 2
                    : FTextAlignmentVertical == vaBottom ? r.Height() - n
                                                         : 0;
      p = {r.Right - before, r.Top + b};
    }
    DrawCaptionLine(canvas, line, p);
    before += e.cy;
  }
}

// Up to three pieces: the text before the accelerator, the underlined character, the rest.
void TWkCustomTabControl::DrawCaptionLine(TCanvas& canvas, const std::string& line, TPoint p) {
  const TCaptionPieces pieces = SplitAccelerator(line);
  const bool vertical = VerticalText();
  const bool downward = vertical && FTabOrientation == toRight;
  auto draw = [&](const std::string& text) {
    if (text.empty()) return;
    canvas.TextOut(p.X, p.Y, text);
    const int n = canvas.TextExtent(text).cx;
    if (!vertical) p.X += n;
    else if (downward) p.Y += n;
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

std::vector<int> TWkCustomTabControl::TabOutline(int index) const {
  const std::vector<TPoint> p = TabControlPoints(index);
  if (p.size() != ShapePointCount(FTabStyle)) throw EInvalidOperation("Incorrect number of points in tab shape");
  TOutline outline;
  outline.Op(opLineColor, {0, index});
  outline.Op(opPenColor);
  outline.Move(p[0]);
  for (size_t i = 1; i < p.size(); ++i) outline.Line(p[i]);
  return outline.Commands;
}

std::vector<int> TWkCustomTabControl::CardOutline(int row) const {
  const TRect c = CardRect(row);
  const TPoint tl{c.Left, c.Top}, tr{c.Right, c.Top}, br{c.Right, c.Bottom}, bl{c.Left, c.Bottom};
  TOutline o;
  o.Op(opLineColor, {1, row});
  o.Op(opPenColor);
  const bool gap = row == 0 && FTabIndex >= 0 && FTabIndex < FTabs.Count() && FTabIndex >= FFirstVisibleTab &&
                   TabInView(FTabIndex) && FTabStyle != tsRoundCorners;
  const bool shadow = ShadowShown() && !FHotTrackPaint;
  if (gap) {
    const std::vector<TPoint> shape = TabShapePoints(FTabIndex);
    const TPoint g1 = StripToControl({shape.front().X + 1, shape.front().Y}), g2 = StripToControl(shape.back());
    if (shadow) {
      o.Move(tl), o.Line(g1), o.Move(g2), o.Line({tr.X - 2, tr.Y}), o.Line({br.X - 2, br.Y - 2});
      o.Line({bl.X, bl.Y - 2}), o.Line({tl.X, tl.Y - 1});
    } else if (FShowFullFrame) {
      switch (FTabOrientation) {
        case toTop: o.Move(tl), o.Line(g1), o.Move(g2), o.Line(tr), o.Line(br), o.Line(bl), o.Line({tl.X, tl.Y - 1}); break;
        case toLeft: o.Move(tl), o.Line(tr), o.Line(br), o.Line({bl.X - 1, bl.Y}), o.Move(bl), o.Line(g1), o.Move(g2), o.Line(tl); break;
        case toBottom:
          o.Move(tl), o.Line(tr), o.Line({br.X, br.Y + 1}), o.Move(br), o.Line({g2.X - 1, g2.Y});
          o.Move({g1.X - 1, g1.Y}), o.Line(bl), o.Line(tl);
          break;
        default: o.Move(tl), o.Line({tr.X + 1, tr.Y}), o.Move(tr), o.Line(g1), o.Move(g2), o.Line(br), o.Line(bl), o.Line(tl);
      }
    } else {
      switch (FTabOrientation) {
        case toTop: o.Move(tl), o.Line(g1), o.Move(g2), o.Line(tr); break;
        case toLeft: o.Move(bl), o.Line(g1), o.Move(g2), o.Line(tl); break;
        case toBottom: o.Move(br), o.Line({g2.X - 1, g2.Y}), o.Move({g1.X - 1, g1.Y}), o.Line(bl); break;
        default: o.Move(tr), o.Line(g1), o.Move(g2), o.Line(br);
      }
    }
  } else if (shadow) {
    o.Move(tl), o.Line({tr.X - 2, tr.Y}), o.Line({br.X - 2, br.Y - 2}), o.Line({bl.X, bl.Y - 2}), o.Line(tl);
  } else if (FShowFullFrame) {
    o.Move(tl), o.Line(tr), o.Line(br), o.Line(bl), o.Line(tl);
  } else {
    // Only the edge next to the strip.
    switch (FTabOrientation) {
      case toTop: o.Move(tl), o.Line(tr); break;
      case toLeft: o.Move(tl), o.Line(bl); break;
      case toBottom: o.Move(bl), o.Line(br); break;
      default: o.Move(tr), o.Line(br);
    }
  }
  if (shadow) {
    o.Move({tr.X - 1, tr.Y + 1}), o.Op(opShadow30, {br.X - 1, br.Y - 1}), o.Op(opShadow30, {bl.X, bl.Y - 1});
    o.Move({tr.X - 1, tr.Y}), o.Op(opShadow15, tr), o.Op(opShadow15, br), o.Op(opShadow15, bl);
    o.Op(opShadow15, {bl.X, bl.Y - 1});
  }
  return o.Commands;
}

void TWkCustomTabControl::PlayOutline(TCanvas& canvas, const std::vector<int>& commands) {
  std::unique_ptr<TBitmap> background;
  TOutline probe{commands};
  if (probe.HasShadow()) {
    background = std::make_unique<TBitmap>();
    background->SetPixelFormat(pf32bit);
    background->SetSize(Width(), Height());
    PaintParentBackground(*this, background->Canvas(), false);
  }
  TColor line = ShiftLightness(FFlatColor, FFlatColorAdjustment);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(line);
  TPoint pen;
  for (size_t i = 0; i < commands.size();) {
    const int op = commands[i];
    const TPoint p = op >= opLineColor ? TPoint{commands[i + 1], commands[i + 2]} : TPoint{};
    i += op >= opLineColor ? 3 : 1;
    switch (op) {
      case opPenColor: canvas.Pen().SetColor(line); break;
      case opLineColor: line = ShiftLightness(FFlatColor, FFlatColorAdjustment); break;
      case opMove: canvas.MoveTo(p.X, p.Y), pen = p; break;
      case opLine: canvas.LineTo(p.X, p.Y), pen = p; break;
      case opShadow30:
      case opShadow15: {
        const uint8_t weight = op == opShadow30 ? kShadowWeightNear : kShadowWeightFar;
        const int dx = (p.X > pen.X) - (p.X < pen.X), dy = (p.Y > pen.Y) - (p.Y < pen.Y);
        for (TPoint q = pen;; q = {q.X + dx, q.Y + dy}) {
          canvas.SetPixel(q.X, q.Y, MixColors(clBlack, TColor(background->PixelRGB(q.X, q.Y)), weight));
          if (q == p) break;
        }
        pen = p;
        canvas.MoveTo(p.X, p.Y);
        break;
      }
      default: break;
    }
  }
}

// ---- cards ----

void TWkCustomTabControl::PaintCard(TCanvas& canvas, int row) {
  const TRect c = CardRect(row);
  if (c.Right <= c.Left && c.Bottom <= c.Top) return;
  const TRect fill{c.Left, c.Top, c.Right + 1, c.Bottom + 1};
  if (!DoPaintCardBackground(canvas, row, fill)) {
    TColor color = Color();
    if (FUseColoredTabs && FTabIndex >= 0 && FTabIndex < FTabs.Count()) {
      color = FTabs.Items(FTabIndex).Color;
      if (Color() != color) SetColor(color);
    }
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(fill);
  }
  if (FShowCardFrame) PlayOutline(canvas, CardOutline(row));
}
