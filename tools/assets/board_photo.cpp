#include "tools/assets/board_photo.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/noise.h"
#include "tools/assets/text_mask.h"

namespace {
constexpr float kPi = 3.14159265f;

// Colours of the materials on a board.
const TRgb kTin = Rgb255(196, 198, 196);
const TRgb kGold = Rgb255(214, 172, 78);
const TRgb kGoldLight = Rgb255(250, 226, 150);
const TRgb kEpoxy = Rgb255(30, 30, 33);
const TRgb kSilk = Rgb255(232, 232, 222);
const TRgb kShieldMetal = Rgb255(168, 171, 174);
const TRgb kBench = Rgb255(58, 56, 54);
const TRgb kMarkRed = Rgb255(232, 22, 26);

struct TBox {
  float X0, Y0, X1, Y1;
  bool Overlaps(const TBox& o) const { return X0 < o.X1 && o.X0 < X1 && Y0 < o.Y1 && o.Y0 < Y1; }
};

// Places the parts: a part is kept only where it overlaps nothing placed before it.
class TLayout {
 public:
  TLayout(int w, int h) : FW(float(w)), FH(float(h)) {}
  void Reserve(TBox b) { FTaken.push_back(b); }
  bool TryTake(TBox b, float gap) {
    const TBox padded{b.X0 - gap, b.Y0 - gap, b.X1 + gap, b.Y1 + gap};
    if (padded.X1 < 0 || padded.Y1 < 0 || padded.X0 > FW || padded.Y0 > FH) return false;
    for (const TBox& t : FTaken)
      if (padded.Overlaps(t)) return false;
    FTaken.push_back(b);
    return true;
  }

 private:
  float FW, FH;
  std::vector<TBox> FTaken;
};

class TPhotoPainter {
 public:
  TPhotoPainter(const TPhotoPlan& plan, float grain)
      : FPlan(plan),
        FGrain(grain),
        FImage(plan.Width, plan.Height),
        FRandom(plan.Seed),
        FLayout(plan.Width, plan.Height),
        FScale(std::max(7.0f, float(std::max(plan.Width, plan.Height)) / 34.0f)),
        FPoint{plan.PointX * float(plan.Width), plan.PointY * float(plan.Height)},
        FLight{FRandom.Uniform(0.15f, 0.75f) * float(plan.Width), FRandom.Uniform(0.05f, 0.45f) * float(plan.Height)} {}

  TRaster Paint() {
    PlanMarking();
    PaintMask();
    PaintTraces();
    if (FPlan.Shield) PaintShield();
    if (FPlan.KeypadSide) PaintKeyContacts();
    PaintLargeChip();
    PaintPartClusters();
    PaintGoldPads();
    PaintVias();
    PaintTestPoint();
    if (FPlan.Edge != beNone) PaintBoardEdge();
    PaintLight();
    PaintLens();
    PaintGrain();
    PaintMarking();
    return std::move(FImage);
  }

 private:
  float Mm(float mm) const { return mm * FScale; }
  float W() const { return float(FPlan.Width); }
  float H() const { return float(FPlan.Height); }

  // --- the marking, planned first so that no part hides under the label ---
  void PlanMarking() {
    FFontPx = std::clamp(int(std::lround(std::min(W(), H()) / 19)), 10, 24);
    FLine1 = RenderTextMask(FPlan.Group, "Verdana", FFontPx, true);
    FLine2 = RenderTextMask(FPlan.Point, "Verdana", FFontPx, true);
    const float pad = std::max(4.0f, FFontPx * 0.45f);
    const float bw = float(std::max(FLine1.Width, FLine2.Width)) + 2 * pad;
    const float bh = float(FLine1.Height + FLine2.Height) + 2 * pad;
    // The label goes into the corner furthest from the test point.
    const float margin = std::max(6.0f, H() * 0.03f);
    const bool right = FPoint.X < W() / 2, bottom = FPoint.Y < H() / 2;
    const float x0 = right ? W() - margin - bw : margin;
    const float y0 = bottom ? H() - margin - bh : margin;
    FLabel = {x0, y0, x0 + bw, y0 + bh};
    FLabelPad = pad;
    FRingRadius = std::max(9.0f, Mm(1.5f));
    FLayout.Reserve({FPoint.X - FRingRadius, FPoint.Y - FRingRadius, FPoint.X + FRingRadius, FPoint.Y + FRingRadius});
  }

  // --- the bare board ---
  void PaintMask() {
    const uint32_t seed = uint32_t(FPlan.Seed);
    const float weave = Mm(0.55f);
    for (int y = 0; y < FPlan.Height; ++y)
      for (int x = 0; x < FPlan.Width; ++x) {
        const float fx = float(x) / Mm(9), fy = float(y) / Mm(9);
        const float cloud = FractalNoise(fx, fy, seed);
        const float fibre = std::sin(float(x) * 2 * kPi / weave) * std::sin(float(y) * 2 * kPi / weave);
        const float k = 0.82f + 0.32f * cloud + 0.025f * fibre;
        const float tint = FractalNoise(fx * 0.5f, fy * 0.5f, seed + 7) - 0.5f;
        TRgb c = FPlan.Mask * k;
        c.G += tint * 0.04f;
        c.B -= tint * 0.03f;
        FImage.At(x, y) = c;
      }
  }

  // Copper under the mask shows as slightly brighter, more saturated lines.
  void PaintTraces() {
    const TRgb copper = Mix(FPlan.Mask * 1.35f, Rgb255(150, 120, 60), 0.12f);
    const int count = int(W() * H() / (Mm(1) * Mm(1) * 7)) + 6;
    for (int i = 0; i < count; ++i) {
      TVec p{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      int dir = FRandom.Below(8);
      const float width = Mm(FRandom.Uniform(0.1f, 0.28f));
      const int legs = 2 + FRandom.Below(4);
      for (int leg = 0; leg < legs; ++leg) {
        const float len = Mm(FRandom.Uniform(1.0f, 6.0f));
        const float a = float(dir) * kPi / 4;
        const TVec q = p + TVec{std::cos(a), std::sin(a)} * len;
        const TVec mid = (p + q) * 0.5f;
        FImage.Fill(mid, len / 2 + width, [=](TVec v) { return SdSegment(v, p, q, width); }, copper, 0.35f);
        p = q;
        dir = (dir + (FRandom.Chance(0.5f) ? 1 : 7)) % 8;
      }
    }
  }

  void PaintVias() {
    const int count = int(W() * H() / (Mm(1) * Mm(1) * 5)) + 8;
    const float r = std::max(1.6f, Mm(0.2f));
    for (int i = 0; i < count; ++i) {
      const TVec c{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      if (!FLayout.TryTake({c.X - r, c.Y - r, c.X + r, c.Y + r}, 1)) continue;
      FImage.Fill(c, r * 1.6f, [=](TVec v) { return SdCircle(v, c, r * 1.5f); }, FPlan.Mask * 1.3f, 0.8f);
      FImage.Fill(c, r, [=](TVec v) { return SdCircle(v, c, r * 0.55f); }, Rgb255(20, 22, 18), 0.9f);
    }
  }

  // --- parts ---
  // A rectangular part seen from above: a shadow, a body and optional metal ends.
  void PaintPart(TVec c, float hx, float hy, float angle, TRgb body, float endFraction, TRgb ends) {
    const TVec offset{Mm(0.12f) + 1, Mm(0.18f) + 1};
    const float reach = std::hypot(hx, hy) + 2;
    FImage.Shadow(c + offset, reach, [=](TVec v) { return SdBox(v, c + offset, hx, hy, angle, 1); },
                  Mm(0.3f) + 1.5f, 0.45f);
    FImage.Paint(c, reach, [=](TVec v) { return SdBox(v, c, hx, hy, angle, std::min(hx, hy) * 0.2f); },
                 [=](TVec v, float d) {
                   const TVec l = BoxLocal(v, c, hx, hy, angle);
                   const bool metal = std::fabs(l.X) > 1 - 2 * endFraction;
                   TRgb base = metal ? ends : body;
                   // A bevel: lighter towards the light's side, darker at the far edges.
                   const float bevel = std::clamp(-d / 2.5f, 0.0f, 1.0f);
                   float k = 0.8f + 0.2f * bevel - 0.08f * (l.X + l.Y);
                   if (metal) k += 0.25f * std::max(0.0f, 1 - std::fabs(l.Y + 0.4f) * 1.6f);
                   return base * k;
                 });
  }

  void PaintPartClusters() {
    const int clusters = int(W() * H() / (Mm(4) * Mm(4))) + 3;
    for (int i = 0; i < clusters; ++i) {
      const TVec origin{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      const bool vertical = FRandom.Chance(0.5f);
      const int kind = FRandom.Below(10);
      const float len = kind < 6 ? 1.0f : kind < 9 ? 1.6f : 3.2f;  // 0402, 0603, tantalum
      const float hx = Mm(len / 2), hy = Mm(len / 4);
      const int count = 2 + FRandom.Below(9);
      const float pitch = hy * 2 + Mm(FRandom.Uniform(0.35f, 0.8f));
      for (int n = 0; n < count; ++n) {
        const TVec c = origin + (vertical ? TVec{pitch * float(n), 0} : TVec{0, pitch * float(n)});
        const float angle = vertical ? kPi / 2 : 0;
        const float ex = vertical ? hy : hx, ey = vertical ? hx : hy;
        if (!FLayout.TryTake({c.X - ex, c.Y - ey, c.X + ex, c.Y + ey}, Mm(0.15f))) continue;
        PaintSilkOutline(c, ex + Mm(0.25f), ey + Mm(0.25f));
        PaintPart(c, hx, hy, angle, PassiveBody(kind), kind == 9 ? 0.12f : 0.2f, kind == 9 ? kGold : kTin);
      }
    }
  }

  TRgb PassiveBody(int kind) {
    if (kind == 9) return Rgb255(205, 160, 45);                          // tantalum
    if (kind % 3 == 0) return Rgb255(36, 34, 34);                         // resistor
    return FRandom.Chance(0.5f) ? Rgb255(168, 136, 92) : Rgb255(118, 98, 80);  // ceramic capacitors
  }

  void PaintSilkOutline(TVec c, float ex, float ey) {
    if (!FRandom.Chance(0.3f)) return;
    const float w = std::max(0.9f, Mm(0.08f));
    FImage.Fill(c, std::hypot(ex, ey) + w, [=](TVec v) { return std::fabs(SdBox(v, c, ex, ey, 0)) - w / 2; }, kSilk,
                0.55f);
  }

  void PaintLargeChip() {
    for (int attempt = 0; attempt < 20; ++attempt) {
      const float half = Mm(FRandom.Uniform(3.0f, 5.5f));
      const TVec c{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      if (!FLayout.TryTake({c.X - half - Mm(0.8f), c.Y - half - Mm(0.8f), c.X + half + Mm(0.8f), c.Y + half + Mm(0.8f)}, 2))
        continue;
      PaintChip(c, half, half * FRandom.Uniform(0.7f, 1.0f), FRandom.Chance(0.5f));
      break;
    }
    // A few smaller chips.
    const int small = 2 + int(W() * H() / (Mm(12) * Mm(12)));
    for (int i = 0; i < small; ++i) {
      const float hx = Mm(FRandom.Uniform(0.9f, 2.2f)), hy = hx * FRandom.Uniform(0.6f, 1.0f);
      const TVec c{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      if (!FLayout.TryTake({c.X - hx - Mm(0.5f), c.Y - hy - Mm(0.5f), c.X + hx + Mm(0.5f), c.Y + hy + Mm(0.5f)}, 2))
        continue;
      PaintChip(c, hx, hy, true);
    }
  }

  // A moulded package: leads along the sides, pin-one dot, faint laser marking.
  void PaintChip(TVec c, float hx, float hy, bool leads) {
    if (leads) {
      const float pitch = std::max(2.5f, Mm(0.5f));
      const float lead = Mm(0.6f);
      for (float t = -hx + pitch / 2; t < hx - pitch / 4; t += pitch)
        for (float side : {-1.0f, 1.0f}) {
          const TVec a{c.X + t, c.Y + side * (hy + lead / 2)};
          PaintPart(a, pitch * 0.22f, lead / 2, 0, kTin, 0, kTin);
        }
      for (float t = -hy + pitch / 2; t < hy - pitch / 4; t += pitch)
        for (float side : {-1.0f, 1.0f}) {
          const TVec a{c.X + side * (hx + lead / 2), c.Y + t};
          PaintPart(a, lead / 2, pitch * 0.22f, 0, kTin, 0, kTin);
        }
    }
    PaintPart(c, hx, hy, 0, kEpoxy, 0, kEpoxy);
    const float dot = std::max(1.5f, Mm(0.3f));
    const TVec pin{c.X - hx + dot * 2.5f, c.Y - hy + dot * 2.5f};
    FImage.Fill(pin, dot + 1, [=](TVec v) { return SdCircle(v, pin, dot); }, Rgb255(20, 20, 22), 0.9f);
    if (hx > 24) PaintChipMarking(c, hx);
  }

  void PaintChipMarking(TVec c, float hx) {
    static const char* const kCodes[] = {"VX2210 A", "KT66 04", "N2201 B", "MR48 1C", "2W67 88", "QL7 0401"};
    const TTextMask text = RenderTextMask(kCodes[FRandom.Below(6)], "Verdana", std::max(8, int(hx / 5)), false);
    const int x0 = int(c.X) - text.Width / 2, y0 = int(c.Y) - text.Height / 2;
    Stamp(text, x0, y0, Rgb255(120, 120, 118), 0.45f);
  }

  void PaintShield() {
    const bool left = FPoint.X > W() / 2;
    const float width = W() * FRandom.Uniform(0.22f, 0.32f);
    const float x0 = left ? -Mm(2) : W() - width, x1 = left ? width : W() + Mm(2);
    const float y0 = FRandom.Uniform(-0.2f, 0.15f) * H(), y1 = H() * FRandom.Uniform(0.75f, 1.2f);
    const TVec c{(x0 + x1) / 2, (y0 + y1) / 2};
    const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    FLayout.Reserve({x0 - Mm(0.4f), y0 - Mm(0.4f), x1 + Mm(0.4f), y1 + Mm(0.4f)});
    const uint32_t seed = uint32_t(FPlan.Seed) + 31;
    const float corner = Mm(0.5f);
    const TVec shadow = c + TVec{Mm(0.3f), Mm(0.4f)};
    FImage.Shadow(shadow, std::hypot(hx, hy), [=](TVec v) { return SdBox(v, shadow, hx, hy, 0, corner); }, Mm(0.6f), 0.5f);
    FImage.Paint(c, std::hypot(hx, hy) + 2, [=](TVec v) { return SdBox(v, c, hx, hy, 0, corner); },
                 [=, this](TVec v, float d) {
                   // Brushed metal: streaks along x, a raised rim, a broad reflection of the lamp.
                   const float streak = ValueNoise(v.X / Mm(3), v.Y / 1.3f, seed);
                   const float rim = d > -Mm(0.5f) ? 1.12f : 1.0f;
                   const float glow = std::exp(-Dot(v - FLight, v - FLight) / (2 * H() * H() * 0.08f));
                   return kShieldMetal * ((0.86f + 0.14f * streak) * rim) + Rgb255(40, 40, 38) * glow;
                 });
    // Ventilation and pick-up holes in a grid.
    const float pitch = Mm(2.2f), r = std::max(1.5f, Mm(0.35f));
    for (float y = y0 + pitch; y < y1 - pitch / 2; y += pitch)
      for (float x = x0 + pitch; x < x1 - pitch / 2; x += pitch) {
        const TVec h{x, y};
        FImage.Fill(h, r + 1, [=](TVec v) { return SdCircle(v, h, r); }, Rgb255(38, 40, 40), 0.85f);
      }
  }

  // Key contacts: a gold ring around a gold centre, with bare mask between them.
  void PaintKeyContacts() {
    const float pitch = Mm(7.5f);
    const float ox = FRandom.Uniform(0, pitch), oy = FRandom.Uniform(0, pitch);
    for (float y = oy - pitch; y < H() + pitch; y += pitch)
      for (float x = ox - pitch; x < W() + pitch; x += pitch) {
        const TVec c{x, y};
        const float outer = Mm(2.7f), inner = Mm(1.1f), band = Mm(0.35f);
        if (!FLayout.TryTake({c.X - outer, c.Y - outer, c.X + outer, c.Y + outer}, Mm(0.5f))) continue;
        FImage.Paint(c, outer + 1, [=](TVec v) { return std::fabs(SdCircle(v, c, outer - band)) - band; },
                     [=, this](TVec v, float) { return Gold(v); });
        FImage.Paint(c, inner + 1, [=](TVec v) { return SdCircle(v, c, inner); },
                     [=, this](TVec v, float) { return Gold(v); });
      }
  }

  // Immersion gold: warm, and bright where it mirrors the lamp.
  TRgb Gold(TVec v) const {
    const float glow = std::exp(-Dot(v - FLight, v - FLight) / (2 * H() * H() * 0.05f));
    const float grain = ValueNoise(v.X / 2.5f, v.Y / 2.5f, uint32_t(FPlan.Seed) + 3);
    return Mix(kGold * (0.88f + 0.16f * grain), kGoldLight, 0.55f * glow);
  }

  void PaintGoldPads() {
    const int count = int(W() * H() / (Mm(5) * Mm(5))) + 3;
    for (int i = 0; i < count; ++i) {
      const TVec c{FRandom.Uniform(0, W()), FRandom.Uniform(0, H())};
      const bool round = FRandom.Chance(0.45f);
      const float r = Mm(round ? FRandom.Uniform(0.4f, 0.6f) : FRandom.Uniform(0.3f, 0.7f));
      const float ry = round ? r : r * FRandom.Uniform(0.4f, 0.9f);
      if (!FLayout.TryTake({c.X - r, c.Y - ry, c.X + r, c.Y + ry}, Mm(0.3f))) continue;
      if (round)
        FImage.Paint(c, r + 1, [=](TVec v) { return SdCircle(v, c, r); }, [=, this](TVec v, float) { return Gold(v); });
      else
        FImage.Paint(c, std::hypot(r, ry) + 1, [=](TVec v) { return SdBox(v, c, r, ry, 0, 1); },
                     [=, this](TVec v, float) { return Gold(v); });
    }
    // A plated mounting hole near a corner.
    const TVec m{W() * (FPoint.X > W() / 2 ? 0.08f : 0.92f), H() * (FPoint.Y > H() / 2 ? 0.12f : 0.88f)};
    const float outer = Mm(1.6f);
    if (FLayout.TryTake({m.X - outer, m.Y - outer, m.X + outer, m.Y + outer}, 0)) {
      FImage.Paint(m, outer + 1, [=](TVec v) { return SdCircle(v, m, outer); }, [=, this](TVec v, float) { return Gold(v); });
      FImage.Fill(m, outer, [=](TVec v) { return SdCircle(v, m, outer * 0.55f); }, Rgb255(14, 14, 14));
    }
  }

  // The test point: a round gold pad with a small solder dome.
  void PaintTestPoint() {
    const float r = std::max(4.0f, Mm(0.55f));
    const TVec c = FPoint;
    FImage.Fill(c, r * 1.5f, [=](TVec v) { return SdCircle(v, c, r * 1.35f); }, FPlan.Mask * 0.7f, 0.7f);
    FImage.Paint(c, r + 1, [=](TVec v) { return SdCircle(v, c, r); },
                 [=, this](TVec v, float) {
                   const TVec toward = (FLight - c) * (1.0f / std::max(1.0f, Length(FLight - c)));
                   const TVec spot = c + toward * (r * 0.35f);
                   const float shine = std::exp(-Dot(v - spot, v - spot) / (r * r * 0.12f));
                   return Mix(Gold(v), Rgb255(255, 244, 210), 0.8f * shine);
                 });
  }

  // Beyond the board's edge lies the bench, out of focus.
  void PaintBoardEdge() {
    const float depth = Mm(FRandom.Uniform(1.2f, 2.5f));
    for (int y = 0; y < FPlan.Height; ++y)
      for (int x = 0; x < FPlan.Width; ++x) {
        float d = 0;  // distance past the edge
        switch (FPlan.Edge) {
          case beLeft: d = depth - float(x); break;
          case beRight: d = float(x) - (W() - depth); break;
          case beTop: d = depth - float(y); break;
          case beBottom: d = float(y) - (H() - depth); break;
          case beNone: break;
        }
        if (d < -2) continue;
        const float t = std::clamp(d + 0.5f, 0.0f, 1.0f);
        const float edgeLine = d > -2 && d < 1 ? 0.25f : 0;
        TRgb& p = FImage.At(x, y);
        p = Mix(p, kBench * (0.9f + 0.2f * ValueNoise(float(x) / 30, float(y) / 30, 5)), t);
        p = Mix(p, Rgb255(200, 200, 170), edgeLine);
      }
  }

  // --- the camera ---
  void PaintLight() {
    const float diagonal = std::hypot(W(), H());
    const TVec centre{W() / 2, H() / 2};
    FImage.Illuminate([=, this](float x, float y) {
      const TVec p{x, y};
      const float lamp = std::exp(-Dot(p - FLight, p - FLight) / (2 * 0.3f * diagonal * diagonal));
      const float vignette = 1 - 0.35f * Dot(p - centre, p - centre) / (0.25f * diagonal * diagonal);
      const float k = (0.55f + 0.6f * lamp) * vignette;
      return TRgb{k * 1.05f, k, k * 0.93f};  // a warm lamp
    });
  }

  // The depth of field is shallow: sharp along the test point's row, softer away from it.
  void PaintLens() {
    const float focus = FPoint.Y;
    FImage.Soften(2, [=, this](float, float y) { return 0.3f + 1.4f * std::fabs(y - focus) / H(); });
  }

  void PaintGrain() {
    TRandom grain(FPlan.Seed ^ 0xA5A5A5A5ull);
    for (int y = 0; y < FPlan.Height; ++y)
      for (int x = 0; x < FPlan.Width; ++x) {
        TRgb& p = FImage.At(x, y);
        const float luma = grain.Normal() * 0.024f * FGrain;
        p.R += luma + grain.Normal() * 0.009f * FGrain;
        p.G += luma + grain.Normal() * 0.007f * FGrain;
        p.B += luma + grain.Normal() * 0.011f * FGrain;
      }
  }

  // --- the marking, drawn over the finished photograph ---
  void PaintMarking() {
    const float stroke = std::max(2.0f, FRingRadius * 0.16f);
    const TVec c = FPoint;
    const float ring = FRingRadius;
    FImage.Fill(c, ring + stroke, [=](TVec v) { return std::fabs(SdCircle(v, c, ring)) - stroke / 2; }, kMarkRed);
    PaintArrow(stroke);
    PaintLabel();
  }

  void PaintArrow(float stroke) {
    // From the label's nearest corner region towards the ring, ending at the ring's edge.
    const TVec from{std::clamp(FPoint.X, FLabel.X0 + 4, FLabel.X1 - 4), std::clamp(FPoint.Y, FLabel.Y0 + 4, FLabel.Y1 - 4)};
    TVec dir = FPoint - from;
    const float dist = Length(dir);
    dir = dir * (1.0f / dist);
    const TVec tip = FPoint - dir * (FRingRadius + stroke * 1.5f);
    const float headLength = stroke * 3.5f + 5, headWidth = stroke * 2.4f + 4;
    const TVec base = tip - dir * headLength;
    const TVec side{-dir.Y, dir.X};
    FImage.Fill((from + base) * 0.5f, Length(base - from) / 2 + stroke,
                [=](TVec v) { return SdSegment(v, from, base + dir * 1.0f, stroke); }, kMarkRed);
    const std::vector<TVec> head{tip, base + side * headWidth, base - side * headWidth};
    FImage.Fill(tip, headLength + headWidth, [head](TVec v) { return SdConvex(v, head); }, kMarkRed);
  }

  void PaintLabel() {
    const TBox b = FLabel;
    const TVec c{(b.X0 + b.X1) / 2, (b.Y0 + b.Y1) / 2};
    const float hx = (b.X1 - b.X0) / 2, hy = (b.Y1 - b.Y0) / 2;
    FImage.Shadow(c + TVec{2, 2}, std::hypot(hx, hy), [=](TVec v) { return SdBox(v, c + TVec{2, 2}, hx, hy, 0, 3); }, 4,
                  0.5f);
    FImage.Fill(c, std::hypot(hx, hy) + 2, [=](TVec v) { return SdBox(v, c, hx, hy, 0, 3); }, Rgb255(251, 250, 246));
    FImage.Fill(c, std::hypot(hx, hy) + 2, [=](TVec v) { return std::fabs(SdBox(v, c, hx - 0.5f, hy - 0.5f, 0, 3)) - 0.6f; },
                kMarkRed);
    const int x = int(b.X0 + FLabelPad), y = int(b.Y0 + FLabelPad);
    Stamp(FLine1, x, y, Rgb255(28, 28, 30), 1);
    Stamp(FLine2, x, y + FLine1.Height, kMarkRed * 0.9f, 1);
  }

  void Stamp(const TTextMask& text, int x0, int y0, TRgb colour, float opacity) {
    for (int y = 0; y < text.Height; ++y)
      for (int x = 0; x < text.Width; ++x) {
        const int px = x0 + x, py = y0 + y;
        if (px < 0 || py < 0 || px >= FPlan.Width || py >= FPlan.Height) continue;
        TRgb& p = FImage.At(px, py);
        p = Mix(p, colour, text.At(x, y) * opacity);
      }
  }

  const TPhotoPlan& FPlan;
  float FGrain;
  TRaster FImage;
  TRandom FRandom;
  TLayout FLayout;
  float FScale;  // pixels per millimetre of board
  TVec FPoint;
  TVec FLight;
  int FFontPx = 12;
  TTextMask FLine1, FLine2;
  TBox FLabel{};
  float FLabelPad = 4;
  float FRingRadius = 10;
};
}  // namespace

const std::vector<TPhotoPlan>& CataloguePhotos() {
  const TRgb green = Rgb255(34, 96, 52), teal = Rgb255(22, 84, 78), blue = Rgb255(26, 58, 104);
  const TRgb darkGreen = Rgb255(24, 70, 40), navy = Rgb255(22, 40, 80), black = Rgb255(36, 40, 40);
  static const std::vector<TPhotoPlan> photos = {
      {"image01.jpg", 1021, 528, 154122, "T610-T630", "Test point 1", green, 1101, 0.62f, 0.48f, false, true, beNone},
      {"image02.jpg", 403, 168, 53310, "T610-T630", "Test point 2", green, 1102, 0.30f, 0.55f, false, false, beBottom},
      {"image03.jpg", 701, 350, 75810, "Z600", "Test point 1", teal, 1201, 0.58f, 0.40f, true, false, beNone},
      {"image04.jpg", 1024, 768, 133685, "Z600", "Test point 2", teal, 1202, 0.40f, 0.62f, false, true, beRight},
      {"image05.jpg", 450, 311, 33193, "Z800", "Test point 1", blue, 1301, 0.66f, 0.35f, false, true, beNone},
      {"image06.jpg", 500, 345, 33534, "Z800", "Test point 2", blue, 1302, 0.35f, 0.60f, true, false, beLeft},
      {"image07.jpg", 274, 212, 16327, "K300-K500-K700", "Test point 1", darkGreen, 1401, 0.60f, 0.62f, false, false, beNone},
      {"image08.jpg", 274, 212, 14248, "K300-K500-K700", "Test point 2", darkGreen, 1402, 0.38f, 0.40f, false, true, beTop},
      {"image09.jpg", 773, 426, 74677, "K600", "Test point 1", navy, 1501, 0.55f, 0.45f, false, true, beNone},
      {"image10.jpg", 771, 438, 74486, "K600", "Test point 2", navy, 1502, 0.42f, 0.58f, true, false, beBottom},
      {"image11.jpg", 770, 447, 77091, "K600", "Test point 3", navy, 1503, 0.68f, 0.36f, false, false, beRight},
      {"image12.jpg", 367, 267, 21791, "P900", "Test point 1", green, 1601, 0.36f, 0.42f, false, true, beNone},
      {"image13.jpg", 367, 267, 22863, "P900", "Test point 2", green, 1602, 0.64f, 0.60f, false, false, beLeft},
      {"image14.jpg", 635, 214, 39455, "W550-W600-W900", "Test point W550", black, 1701, 0.30f, 0.50f, false, true, beNone},
      {"image15.jpg", 607, 205, 38034, "W550-W600-W900", "Test point W600", black, 1702, 0.70f, 0.45f, true, false, beTop},
      {"image16.jpg", 451, 540, 51306, "W550-W600-W900", "Test point W900", black, 1703, 0.52f, 0.38f, false, true, beNone},
  };
  return photos;
}

TRaster RenderBoardPhoto(const TPhotoPlan& plan, float grain) { return TPhotoPainter(plan, grain).Paint(); }
