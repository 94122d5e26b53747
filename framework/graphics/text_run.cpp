#include "framework/graphics/text_run.h"

#include <algorithm>

#include "framework/graphics/bitmap.h"

namespace {
// Grey coverage of a run in text space: u along the text from the pen start, v down from
// the top of the cell.
struct TCoverage {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<uint8_t> Bits;

  uint8_t At(int u, int v) const {
    u -= Left;
    v -= Top;
    if (u < 0 || v < 0 || u >= Width || v >= Height) return 0;
    return Bits[size_t(v) * size_t(Width) + size_t(u)];
  }
  void Max(int u, int v, uint8_t c) {
    if (u < Left || v < Top || u >= Left + Width || v >= Top + Height) return;
    uint8_t& cell = Bits[size_t(v - Top) * size_t(Width) + size_t(u - Left)];
    cell = std::max(cell, c);
  }
  void Line(int u0, int u1, const TFontLine& line, int baseline) {
    for (int v = baseline + line.Offset; v < baseline + line.Offset + line.Thickness; ++v)
      for (int u = std::max(u0, Left); u < std::min(u1, Left + Width); ++u) Max(u, v, 255);
  }
};

// Only the part inside `window` (text space) is composed, so a run far longer than the
// surface costs no more memory than the surface can show.
TCoverage ComposeCoverage(TFontFace& face, const TFontData& font, const TTextRun& run, const TRect& window) {
  const TTextMetric& m = face.Metric();
  const TFontLine under = face.Underline(), strike = face.StrikeOut();
  TCoverage cov;
  int u0 = 0, u1 = run.Width;
  int v0 = std::min(0, m.Ascent + strike.Offset), v1 = std::max(m.Height, m.Ascent + under.Offset + under.Thickness);
  for (const TRunChar& c : run.Chars) {
    const TGlyphImage& g = face.Glyph(c.Ch);
    if (g.Width == 0 || g.Rows == 0) continue;
    u0 = std::min(u0, c.X + g.Left);
    u1 = std::max(u1, c.X + g.Left + g.Width);
    v0 = std::min(v0, m.Ascent - g.Top);
    v1 = std::max(v1, m.Ascent - g.Top + g.Rows);
  }
  u0 = std::max(u0, window.Left), u1 = std::min(u1, window.Right);
  v0 = std::max(v0, window.Top), v1 = std::min(v1, window.Bottom);
  if (u1 <= u0 || v1 <= v0) return cov;
  cov.Left = u0, cov.Top = v0, cov.Width = u1 - u0, cov.Height = v1 - v0;
  cov.Bits.assign(size_t(cov.Width) * size_t(cov.Height), 0);
  for (const TRunChar& c : run.Chars) {
    const TGlyphImage& g = face.Glyph(c.Ch);
    if (c.X + g.Left + g.Width <= u0 || c.X + g.Left >= u1) continue;
    for (int y = 0; y < g.Rows; ++y)
      for (int x = 0; x < g.Width; ++x)
        if (uint8_t a = g.Coverage[size_t(y) * size_t(g.Width) + size_t(x)]) cov.Max(c.X + g.Left + x, m.Ascent - g.Top + y, a);
    if (c.Underline) cov.Line(c.X, c.X + g.Advance, under, m.Ascent);
  }
  if (font.Style.Contains(fsUnderline)) cov.Line(0, run.Width, under, m.Ascent);
  if (font.Style.Contains(fsStrikeOut)) cov.Line(0, run.Width, strike, m.Ascent);
  return cov;
}

// Text space (p along, q across, relative to the reference point) to device pixels and back.
// Each quadrant turns the pixel grid by exactly 90 degrees about the reference point.
struct TQuadrantMap {
  int Quadrant;
  TPoint Ref;

  TPoint ToDevice(int p, int q) const {
    switch (Quadrant) {
      case 1: return {Ref.X + q, Ref.Y - 1 - p};
      case 2: return {Ref.X - 1 - p, Ref.Y - 1 - q};
      case 3: return {Ref.X - 1 - q, Ref.Y + p};
      default: return {Ref.X + p, Ref.Y + q};
    }
  }
  TPoint ToText(int x, int y) const {
    switch (Quadrant) {
      case 1: return {Ref.Y - 1 - y, x - Ref.X};
      case 2: return {Ref.X - 1 - x, Ref.Y - 1 - y};
      case 3: return {y - Ref.Y, Ref.X - 1 - x};
      default: return {x - Ref.X, y - Ref.Y};
    }
  }
  // The device pixels of the text-space box [p0, p1) x [q0, q1).
  TRect DeviceBox(int p0, int q0, int p1, int q1) const {
    const TPoint a = ToDevice(p0, q0), b = ToDevice(p1 - 1, q1 - 1);
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1};
  }
};

uint8_t BlendChannel(uint32_t fg, uint32_t bg, int shift, uint32_t a) {
  const uint32_t f = (fg >> shift) & 0xFF, b = (bg >> shift) & 0xFF;
  return uint8_t((f * a + b * (255 - a) + 127) / 255);
}

uint32_t Blend(uint32_t fg, uint32_t bg, uint8_t a) {
  if (a == 255) return fg;
  return BlendChannel(fg, bg, 0, a) | uint32_t(BlendChannel(fg, bg, 8, a)) << 8 | uint32_t(BlendChannel(fg, bg, 16, a)) << 16;
}
}  // namespace

TTextRun MakeTextRun(TFontFace& face, std::string_view text) {
  TTextRun run;
  run.Chars.reserve(text.size());
  for (char ch : text) {
    const auto byte = uint8_t(ch);
    run.Chars.push_back({byte, run.Width, false});
    run.Width += face.Advance(byte);
  }
  return run;
}

int EscapementQuadrant(int escapement) {
  const int tenths = ((escapement % 3600) + 3600) % 3600;
  return ((tenths + 450) / 900) % 4;
}

void PaintTextRun(TDrawContext& dc, TFontFace& face, const TFontData& font, const TTextRun& run,
                  const TRunPlacement& placement) {
  const TDrawState& state = dc.State();
  const TQuadrantMap map{EscapementQuadrant(placement.Escapement), placement.Reference + state.Origin};
  TBitmapImage& image = *dc.Surface();
  if (placement.Opaque && run.Width > 0) {
    const TRect cell = map.DeviceBox(placement.Along, placement.Across, placement.Along + run.Width,
                                     placement.Across + face.Metric().Height);
    const TBrushData background{state.BkColor, bsSolid, nullptr};
    dc.FillRect(cell.Offset(-state.Origin.X, -state.Origin.Y), background);
  }
  TRect visible{0, 0, image.Width, image.Height};
  if (state.Clip) visible = IntersectRect(visible, state.Clip->BoundingBox());
  if (visible.IsEmpty()) return;
  const TPoint a = map.ToText(visible.Left, visible.Top), b = map.ToText(visible.Right - 1, visible.Bottom - 1);
  const TRect window{std::min(a.X, b.X) - placement.Along, std::min(a.Y, b.Y) - placement.Across,
                     std::max(a.X, b.X) + 1 - placement.Along, std::max(a.Y, b.Y) + 1 - placement.Across};
  const TCoverage cov = ComposeCoverage(face, font, run, window);
  if (cov.Width == 0 || cov.Height == 0) return;
  const int p0 = placement.Along + cov.Left, q0 = placement.Across + cov.Top;
  const TRect box = map.DeviceBox(p0, q0, p0 + cov.Width, q0 + cov.Height);
  const uint32_t text = uint32_t(ColorToRGB(state.TextColor)) & 0xFFFFFF;
  for (int y = box.Top; y < box.Bottom; ++y) {
    dc.ForVisibleSpans(y, box.Left, box.Right, [&](int row, int x0, int x1) {
      if (map.Quadrant == 0) {
        // Upright text walks its coverage row straight along the device row.
        const int v = row - map.Ref.Y - placement.Across - cov.Top;
        if (v < 0 || v >= cov.Height) return;
        const uint8_t* coverage = cov.Bits.data() + size_t(v) * size_t(cov.Width);
        const int start = map.Ref.X + placement.Along + cov.Left;  // device x of coverage column 0
        const int from = std::max(x0, start), to = std::min(x1, start + cov.Width);
        if (image.Format == pf32bit) {
          // Blended in place, without the per-pixel format dispatch.
          uint8_t* pixel = image.Row(row) + 4 * size_t(from);
          for (int x = from; x < to; ++x, pixel += 4)
            if (const uint8_t a = coverage[x - start]) StorePixel32(pixel, Blend(text, LoadPixel32(pixel), a));
          return;
        }
        for (int x = from; x < to; ++x)
          if (const uint8_t a = coverage[x - start])
            image.SetPixelValue(x, row, image.RGBToValue(Blend(text, image.PixelRGB(x, row), a)));
        return;
      }
      for (int x = x0; x < x1; ++x) {
        const TPoint t = map.ToText(x, row);
        const uint8_t a = cov.At(t.X - placement.Along, t.Y - placement.Across);
        if (a == 0) continue;
        image.SetPixelValue(x, row, image.RGBToValue(Blend(text, image.PixelRGB(x, row), a)));
      }
    });
  }
}
