#include "widgets/frame_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/controls/custom_control.h"
#include "framework/controls/screen.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/glyph_cache.h"

VM_ENUM_INFO(TFrameStyle, "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
             "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold")
VM_ENUM_INFO(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")
VM_ENUM_INFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
VM_ENUM_INFO(TWkHotTrackColorType, "htctComplement", "htctActual")
VM_ENUM_INFO(TOrientation, "orHorizontal", "orVertical")

namespace {
struct TEdgeColors {
  TColor UL;
  TColor LR;
};

// Left/top and right/bottom colours by frame style. The edge styles (lowered, raised,
// button up and down) and fsNone never read theirs.
constexpr std::array<TEdgeColors, 11> kFrameColors = {{
    {clWindow, clWindow},
    {cl3DDkShadow, cl3DDkShadow},
    {clBtnShadow, clBtnHighlight},
    {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnHighlight},
    {clNone, clNone},
    {cl3DDkShadow, clBtnFace},
    {clNone, clNone},
    {clBtnShadow, clBtnHighlight},
    {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnShadow},
}};

// Two rings, outer first.
struct TRingColors {
  TEdgeColors Outer;
  TEdgeColors Inner;
};
constexpr TRingColors kRaisedEdge = {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
constexpr TRingColors kLoweredEdge = {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
constexpr TRingColors kButtonUpEdge = {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
constexpr TRingColors kButtonDownEdge = {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};

// The tinted looks draw in shades of their colour, these lightness steps (of 240) away;
// the raised tinted button's inner highlight stays nearer its face.
constexpr uint8_t kTintNear = 50;
constexpr uint8_t kTintFar = 100;
constexpr uint8_t kTintButtonInnerLight = 40;

// The platform's round-half-even, which the rounding rules of the arithmetic rely on.
uint8_t RoundByte(double value) { return uint8_t(std::nearbyint(value)); }

struct TUnitRgb {
  double R, G, B;
};

TUnitRgb UnitRgb(TColor color) {
  const uint32_t rgb = uint32_t(ColorToRGB(color));
  return {GetRValue(rgb) / 255.0, GetGValue(rgb) / 255.0, GetBValue(rgb) / 255.0};
}

TRect Shrink(const TRect& rect, TSides sides, int by) {
  TRect r = rect;
  if (sides.Contains(sdLeft)) r.Left += by;
  if (sides.Contains(sdTop)) r.Top += by;
  if (sides.Contains(sdRight)) r.Right -= by;
  if (sides.Contains(sdBottom)) r.Bottom -= by;
  return r;
}

void Line(TCanvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

TRect DrawRings(TCanvas& canvas, const TRect& rect, const TRingColors& rings, TSides sides) {
  const TRect inner = DrawBevelBand(canvas, rect, rings.Outer.UL, rings.Outer.LR, 1, sides);
  return DrawBevelBand(canvas, inner, rings.Inner.UL, rings.Inner.LR, 1, sides);
}

TRect DrawSteps(TCanvas& canvas, const TRect& rect, TEdgeColors outer, TEdgeColors inner, TSides sides) {
  const TRect r = DrawBevelStep(canvas, rect, outer.UL, outer.LR, sides);
  return DrawBevelStep(canvas, r, inner.UL, inner.LR, sides);
}

// A line of `ul` outside `lr` at the left and top and the reverse at the right and bottom;
// the corner pixels keep each line's ends clean when only some sides are drawn.
TRect DrawEtched(TCanvas& canvas, const TRect& r, TColor ul, TColor lr, TSides sides) {
  const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop);
  const bool right = sides.Contains(sdRight), bottom = sides.Contains(sdBottom);
  if (right) canvas.SetPixel(r.Right - 1, r.Top, lr);
  else if (top) canvas.SetPixel(r.Right - 1, r.Top, ul);
  if (bottom) canvas.SetPixel(r.Left, r.Bottom - 1, lr);
  else if (left) canvas.SetPixel(r.Left, r.Bottom - 1, ul);
  if (top && !left) canvas.SetPixel(r.Left, r.Top + 1, lr);
  if (left && !top) canvas.SetPixel(r.Left + 1, r.Top, lr);
  if (bottom && !right) canvas.SetPixel(r.Right - 1, r.Bottom - 2, ul);
  if (right && !bottom) canvas.SetPixel(r.Right - 2, r.Bottom - 1, ul);
  DrawBevelStep(canvas, {r.Left + 1, r.Top + 1, r.Right, r.Bottom}, lr, lr, sides);
  DrawBevelStep(canvas, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, ul, ul, sides);
  return Shrink(r, sides, 2);
}
}  // namespace

// ---- Colour arithmetic ----

THsl RgbToHsl(TColor color) {
  const TUnitRgb c = UnitRgb(color);
  const double max = std::max(std::max(c.R, c.G), c.B);
  const double min = std::min(std::min(c.R, c.G), c.B);
  const double l = (max + min) / 2;
  double h = 0, s = 0;
  if (max != min) {
    const double d = max - min;
    s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (c.R == max) h = (c.G - c.B) / d;
    else if (c.G == max) h = 2 + (c.B - c.R) / d;
    else h = 4 + (c.R - c.G) / d;
    h = h / 6;
    if (h < 0) h += 1;
  }
  return {RoundByte(h * 240), RoundByte(s * 240), RoundByte(l * 240)};
}

uint8_t HueOfColor(TColor color) { return RgbToHsl(color).H; }

TColor HslToRgb(uint8_t hue, uint8_t saturation, uint8_t lightness) {
  const double h = hue / 239.0, s = saturation / 240.0, l = lightness / 240.0;
  const double v = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (v <= 0) return clBlack;
  const double m = 2 * l - v;
  const double sv = (v - m) / v;
  const double x = 6 * h;
  const int sextant = int(x);
  const double f = x - sextant;
  const double k = v * sv * f;
  const double up = m + k, down = v - k;
  double r = v, g = up, b = m;  // sextant 0, and 6 for the top two hues
  switch (sextant) {
    case 1: r = down, g = v, b = m; break;
    case 2: r = m, g = v, b = up; break;
    case 3: r = m, g = down, b = v; break;
    case 4: r = up, g = m, b = v; break;
    case 5: r = v, g = m, b = down; break;
    default: break;
  }
  // Saturations above 240 can push m below 0; a channel never leaves [0, 1].
  const auto byte = [](double channel) { return RoundByte(std::clamp(channel, 0.0, 1.0) * 255); };
  return RGB(byte(r), byte(g), byte(b));
}

TColor DarkenColor(TColor color, uint8_t amount) {
  const THsl hsl = RgbToHsl(color);
  return HslToRgb(hsl.H, hsl.S, uint8_t(std::max(int(hsl.L) - amount, 0)));
}

TColor LightenColor(TColor color, uint8_t amount) {
  const THsl hsl = RgbToHsl(color);
  return HslToRgb(hsl.H, hsl.S, uint8_t(std::min(int(hsl.L) + amount, 255)));
}

TColor ShiftLightness(TColor color, int amount) {
  const auto magnitude = uint8_t(std::min(std::abs(amount), 255));
  if (amount < 0) return DarkenColor(color, magnitude);
  if (amount > 0) return LightenColor(color, magnitude);
  return color;
}

TColor MixColors(TColor a, TColor b, uint8_t weight) {
  const uint32_t ca = uint32_t(ColorToRGB(a)), cb = uint32_t(ColorToRGB(b));
  // The weight is a single-precision value; the blend itself is exact in double.
  const double x = float(weight) / 255.0f;
  const auto mix = [x](int pa, int pb) { return RoundByte(pa * x + pb * (1 - x)); };
  return RGB(mix(GetRValue(ca), GetRValue(cb)), mix(GetGValue(ca), GetGValue(cb)),
             mix(GetBValue(ca), GetBValue(cb)));
}

bool ColorsNearlyEqual(TColor a, TColor b) {
  const THsl ha = RgbToHsl(a), hb = RgbToHsl(b);
  return std::abs(ha.H - hb.H) < 20 && std::abs(ha.L - hb.L) < 60;
}

bool HasTrueColorDisplay() {
  return ScreenColorDepth() > 8;
}

// ---- Frames ----

TRect DrawBevelStep(TCanvas& canvas, const TRect& r, TColor ul, TColor lr, TSides sides) {
  canvas.Pen().SetColor(ul);
  if (sides.Contains(sdLeft)) Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
  if (sides.Contains(sdTop)) Line(canvas, r.Left, r.Top, r.Right, r.Top);
  canvas.Pen().SetColor(lr);
  if (sides.Contains(sdRight)) Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
  if (sides.Contains(sdBottom)) Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  return Shrink(r, sides, 1);
}

TRect DrawBevelBand(TCanvas& canvas, const TRect& rect, TColor ul, TColor lr, int width, TSides sides) {
  canvas.Pen().SetWidth(1);
  TRect r = rect;
  for (int i = 0; i < width; ++i) r = DrawBevelStep(canvas, r, ul, lr, sides);
  return r;
}

TRect Draw3DEdgeSides(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides) {
  return DrawRings(canvas, rect, lowered ? kLoweredEdge : kRaisedEdge, sides);
}

TRect DrawButtonEdge(TCanvas& canvas, const TRect& rect, bool down) {
  return DrawButtonEdgeSides(canvas, rect, down, AllSides);
}

TRect DrawButtonEdgeSides(TCanvas& canvas, const TRect& rect, bool down, TSides sides) {
  return DrawRings(canvas, rect, down ? kButtonDownEdge : kButtonUpEdge, sides);
}

TRect DrawTintedButtonEdge(TCanvas& canvas, const TRect& rect, TColor face, bool down) {
  return DrawTintedButtonEdgeSides(canvas, rect, face, down, AllSides);
}

TRect DrawTintedButtonEdgeSides(TCanvas& canvas, const TRect& rect, TColor face, bool down, TSides sides) {
  const TColor darkest = DarkenColor(face, kTintFar), dark = DarkenColor(face, kTintNear);
  if (down) return DrawSteps(canvas, rect, {darkest, darkest}, {dark, dark}, sides);
  const TColor lightest = LightenColor(face, kTintFar), light = LightenColor(face, kTintButtonInnerLight);
  return DrawSteps(canvas, rect, {lightest, darkest}, {light, dark}, sides);
}

TRect DrawFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style) {
  return DrawFrameSides(canvas, rect, style, AllSides);
}

TRect DrawFrameSides(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides) {
  switch (style) {
    case fsNone: return rect;
    case fsLowered: return Draw3DEdgeSides(canvas, rect, true, sides);
    case fsRaised: return Draw3DEdgeSides(canvas, rect, false, sides);
    case fsButtonDown: return DrawButtonEdgeSides(canvas, rect, true, sides);
    case fsButtonUp: return DrawButtonEdgeSides(canvas, rect, false, sides);
    default: break;
  }
  const bool known = style >= fsNone && style <= fsFlatBold;
  const TEdgeColors c = kFrameColors[size_t(known ? style : fsBump)];
  switch (style) {
    case fsFlat:
    case fsStatus:
    case fsPopup: return DrawBevelStep(canvas, rect, c.UL, c.LR, sides);
    case fsFlatBold: return DrawBevelBand(canvas, rect, c.UL, c.LR, 2, sides);
    default: return DrawEtched(canvas, rect, c.UL, c.LR, sides);  // groove, bump and unknown styles
  }
}

TRect DrawTintedFrame(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style) {
  return DrawTintedFrameSides(canvas, rect, color, style, AllSides);
}

TRect DrawTintedFrameSides(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style, TSides sides) {
  if (style == fsNone) return rect;
  if (style == fsButtonDown || style == fsButtonUp)
    return DrawTintedButtonEdgeSides(canvas, rect, color, style == fsButtonDown, sides);
  const TColor dark = DarkenColor(color, kTintNear), darkest = DarkenColor(color, kTintFar);
  const TColor light = LightenColor(color, kTintNear), lightest = LightenColor(color, kTintFar);
  switch (style) {
    case fsFlat: return DrawBevelStep(canvas, rect, dark, dark, sides);
    case fsGroove: return DrawEtched(canvas, rect, dark, lightest, sides);
    case fsLowered: return DrawSteps(canvas, rect, {dark, lightest}, {darkest, light}, sides);
    case fsRaised: return DrawSteps(canvas, rect, {light, darkest}, {lightest, dark}, sides);
    case fsStatus: return DrawBevelStep(canvas, rect, dark, lightest, sides);
    case fsPopup: return DrawBevelStep(canvas, rect, lightest, dark, sides);
    case fsFlatBold: return DrawSteps(canvas, rect, {dark, dark}, {dark, dark}, sides);
    default: return DrawEtched(canvas, rect, lightest, dark, sides);  // bump and unknown styles
  }
}

TRect DrawFocusFrame(TCanvas& canvas, const TRect& r) {
  for (int y = r.Top + 1; y < r.Bottom; y += 2) {
    canvas.SetPixel(r.Left, y, clBlack);
    canvas.SetPixel(r.Right - 1, y, clBlack);
  }
  for (int x = r.Left + 1; x < r.Right; x += 2) {
    canvas.SetPixel(x, r.Top, clBlack);
    canvas.SetPixel(x, r.Bottom - 1, clBlack);
  }
  return r.Inflate(-1, -1);
}

// ---- Arrows ----

namespace {
// The triangle of a classic arrow around (cx, cy); empty for an unknown direction.
std::vector<TPoint> ArrowPoints(int direction, int cx, int cy) {
  switch (direction) {
    case adUp: return {{cx, cy - 5}, {cx + 4, cy}, {cx - 4, cy}};
    case adDown: return {{cx, cy + 1}, {cx - 3, cy - 3}, {cx + 4, cy - 3}};
    case adLeft: return {{cx, cy}, {cx + 4, cy - 4}, {cx + 4, cy + 4}};
    case adRight: return {{cx + 4, cy}, {cx, cy + 4}, {cx, cy - 4}};
    default: return {};
  }
}
}  // namespace

void DrawArrowGlyph(TCanvas& canvas, const TRect& r, int /*look*/, int direction, bool pressed, bool enabled) {
  const TColor savedBrush = canvas.Brush().Color();
  canvas.Brush().SetColor(enabled ? clBlack : clBtnShadow);
  canvas.Pen().SetStyle(psClear);
  int cx = r.Left + (r.Right - r.Left) / 2;
  int cy = r.Top + (r.Bottom - r.Top) / 2;
  if ((r.Bottom - r.Top) % 2 == 0) --cy;
  if (direction == adUp || direction == adDown) cy += 2;
  else if (direction == adLeft || direction == adRight) cx -= 2;
  if (pressed && enabled) ++cx, ++cy;
  const std::vector<TPoint> points = ArrowPoints(direction, cx, cy);
  if (!points.empty()) canvas.Polygon(points);
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetColor(savedBrush);
}

// ---- Gradients ----

namespace {
// Channel values in 1/65536 steps from B toward A.
struct TGradientRamp {
  std::array<int64_t, 3> Start{};
  std::array<int64_t, 3> Delta{};

  TGradientRamp(uint32_t a, uint32_t b, int length) {
    const std::array<int, 3> pa = {GetRValue(a), GetGValue(a), GetBValue(a)};
    const std::array<int, 3> pb = {GetRValue(b), GetGValue(b), GetBValue(b)};
    for (size_t i = 0; i < 3; ++i) {
      Start[i] = int64_t(pb[i]) * 65536;
      Delta[i] = length > 0 ? (int64_t(pa[i]) * 65536 - Start[i]) / length : 0;
    }
  }
  // The colour at distance k from the B edge.
  TColor At(int k) const {
    const auto channel = [&](size_t i) { return int((Start[i] + k * Delta[i]) / 65536); };
    return RGB(channel(0), channel(1), channel(2));
  }
};

int MinimumBand(int colorStep) {
  if (colorStep <= 1) return 1;
  return colorStep <= 8 ? colorStep : 255 / colorStep + 1;
}

// Fills the strip's bands from the B edge; `band(k0, k1)` maps distances [k0, k1) to a rectangle.
template <class BandRect>
void FillBands(TCanvas& strip, const TGradientRamp& ramp, int length, int colorStep, BandRect band) {
  const int minimum = MinimumBand(colorStep);
  int k0 = 0;
  while (k0 < length) {
    const TColor color = ramp.At(k0);
    int k1 = k0 + 1;
    while (k1 < length && (k1 - k0 < minimum || ramp.At(k1) == color)) ++k1;
    strip.Brush().SetColor(color);
    strip.FillRect(band(k0, k1));
    k0 = k1;
  }
}
}  // namespace

void FillGradientRect(TCanvas& canvas, const TRect& rect, int style, TColor a, TColor b, int colorStep) {
  if ((style != gsVertical && style != gsHorizontal) || rect.IsEmpty()) return;
  const bool vertical = style == gsVertical;
  const int width = rect.Width(), height = rect.Height();
  const int length = vertical ? height : width;
  const TGradientRamp ramp(uint32_t(ColorToRGB(a)), uint32_t(ColorToRGB(b)), length);

  TBitmap work;
  work.SetPixelFormat(pf32bit);
  work.SetSize(width, height);
  TCanvas& wc = work.Canvas();
  wc.Pen().SetStyle(psClear);
  const int strip = std::min(8, vertical ? width : height);
  if (vertical)
    FillBands(wc, ramp, length, colorStep, [&](int k0, int k1) { return TRect{0, height - k1, strip, height - k0}; });
  else
    FillBands(wc, ramp, length, colorStep, [&](int k0, int k1) { return TRect{width - k1, 0, width - k0, strip}; });

  // Replicate the strip by doubling copies across the rest of the bitmap.
  const int across = vertical ? width : height;
  for (int done = strip; done < across; done *= 2) {
    const int n = std::min(done, across - done);
    if (vertical) wc.CopyRect({done, 0, done + n, height}, wc, {0, 0, n, height});
    else wc.CopyRect({0, done, width, done + n}, wc, {0, 0, width, n});
  }
  canvas.Draw(rect.Left, rect.Top, work);
}

// ---- Masked bitmaps ----

void DrawMaskedBitmap(TCanvas& canvas, const TBitmap& bitmap, const TRect& dest, TColor seeThrough,
                      const TRect& sourceRect) {
  const int width = dest.Width(), height = dest.Height();
  if (width <= 0 || height <= 0) return;
  TBitmap scaled;
  scaled.SetPixelFormat(pf24bit);
  scaled.SetSize(width, height);
  scaled.Canvas().Handle().StretchBlt({0, 0, width, height}, bitmap, sourceRect, cmSrcCopy);
  const std::unique_ptr<TBitmap> mask = scaled.CreateMask(seeThrough);
  canvas.RequireState();
  canvas.Handle().MaskedStretchBlt(dest, scaled, {0, 0, width, height}, *mask);
  canvas.Changed();
}

// ---- Parent backgrounds ----

void PaintParentBackground(TControl& control, TCanvas& canvas, bool invalidateParent) {
  TWinControl* parent = control.Parent();
  if (parent == nullptr) return;
  TDrawContext& context = canvas.Handle();
  context.Save();
  context.OffsetOrigin(-control.Left(), -control.Top());
  context.IntersectClipRect(parent->ClientRect());
  parent->Perform(msgEraseBackground, reinterpret_cast<intptr_t>(&canvas));
  parent->Perform(msgPaint, reinterpret_cast<intptr_t>(&canvas));
  context.Restore(-1);
  // Forms are the top-level windows; custom-drawn parents repaint themselves whole.
  const bool paintsItself = dynamic_cast<TCustomControl*>(parent) != nullptr || parent->Parent() == nullptr;
  if (invalidateParent && !paintsItself && !control.ComponentState().Contains(csDesigning)) parent->Invalidate();
}

bool FontIsTrueType(const TFont& font) { return (FontMetric(font.Data()).PitchAndFamily & kTrueTypeFontBit) != 0; }
