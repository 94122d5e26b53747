#pragma once
// A floating-point RGB canvas for drawing photographs: shapes are given as signed distance
// functions (negative inside, in pixels), so every edge comes out anti-aliased, and each
// shape's colour may depend on where in the shape a pixel lies (bevels, highlights).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

struct TRgb {
  float R = 0, G = 0, B = 0;
};
inline TRgb operator*(TRgb c, float k) { return {c.R * k, c.G * k, c.B * k}; }
inline TRgb operator+(TRgb a, TRgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
inline TRgb Mix(TRgb a, TRgb b, float t) { return a * (1 - t) + b * t; }
// Colours are written as 0..255 values for readability.
inline TRgb Rgb255(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

struct TVec {
  float X = 0, Y = 0;
};
inline TVec operator-(TVec a, TVec b) { return {a.X - b.X, a.Y - b.Y}; }
inline TVec operator+(TVec a, TVec b) { return {a.X + b.X, a.Y + b.Y}; }
inline TVec operator*(TVec a, float k) { return {a.X * k, a.Y * k}; }
inline float Dot(TVec a, TVec b) { return a.X * b.X + a.Y * b.Y; }
inline float Length(TVec a) { return std::sqrt(Dot(a, a)); }

// Signed distances, in pixels.
float SdCircle(TVec p, TVec centre, float radius);
// A box of half-size (hx, hy) turned by `angle` radians, corners rounded by `radius`.
float SdBox(TVec p, TVec centre, float hx, float hy, float angle, float radius = 0);
// A stroke of width `width` from a to b with round ends.
float SdSegment(TVec p, TVec a, TVec b, float width);
// A convex polygon given counter-clockwise or clockwise; exact near the edges.
float SdConvex(TVec p, const std::vector<TVec>& points);

// Box in the coordinates of a shape's own axes: where a pixel lies inside a turned box,
// from -1 to 1 along each axis.
TVec BoxLocal(TVec p, TVec centre, float hx, float hy, float angle);

class TRaster {
 public:
  TRaster(int width, int height, TRgb fill = {});
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRgb& At(int x, int y) { return FPixels[size_t(y) * size_t(FWidth) + size_t(x)]; }
  const TRgb& At(int x, int y) const { return FPixels[size_t(y) * size_t(FWidth) + size_t(x)]; }

  // Blends `shade(p, distance)` over every pixel the shape covers, scaled by `opacity`.
  // `reach` bounds the shape: pixels further than it from `centre` are not visited.
  template <class Sdf, class Shade>
  void Paint(TVec centre, float reach, Sdf sdf, Shade shade, float opacity = 1) {
    const int x0 = std::max(0, int(std::floor(centre.X - reach - 1)));
    const int x1 = std::min(FWidth - 1, int(std::ceil(centre.X + reach + 1)));
    const int y0 = std::max(0, int(std::floor(centre.Y - reach - 1)));
    const int y1 = std::min(FHeight - 1, int(std::ceil(centre.Y + reach + 1)));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const TVec p{x + 0.5f, y + 0.5f};
        const float d = sdf(p);
        const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f) * opacity;
        if (coverage <= 0) continue;
        TRgb& px = At(x, y);
        px = Mix(px, shade(p, d), coverage);
      }
  }
  template <class Sdf>
  void Fill(TVec centre, float reach, Sdf sdf, TRgb colour, float opacity = 1) {
    Paint(centre, reach, sdf, [colour](TVec, float) { return colour; }, opacity);
  }
  // A soft dark halo around a shape: full `strength` inside, fading over `softness` pixels.
  template <class Sdf>
  void Shadow(TVec centre, float reach, Sdf sdf, float softness, float strength) {
    const float r = reach + softness;
    const int x0 = std::max(0, int(centre.X - r - 1)), x1 = std::min(FWidth - 1, int(centre.X + r + 1));
    const int y0 = std::max(0, int(centre.Y - r - 1)), y1 = std::min(FHeight - 1, int(centre.Y + r + 1));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const float d = sdf(TVec{x + 0.5f, y + 0.5f});
        const float t = std::clamp(1 - d / softness, 0.0f, 1.0f);
        At(x, y) = At(x, y) * (1 - strength * t * t);
      }
  }

  // Multiplies every pixel by `light(x, y)`.
  template <class Light>
  void Illuminate(Light light) {
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x) {
        const TRgb l = light(x + 0.5f, y + 0.5f);
        TRgb& p = At(x, y);
        p = {p.R * l.R, p.G * l.G, p.B * l.B};
      }
  }

  // Lens softness: a [1 2 1] blur applied `passes` times, mixed in by `amount(x, y)`.
  template <class Amount>
  void Soften(int passes, Amount amount) {
    std::vector<TRgb> blurred = FPixels;
    for (int i = 0; i < passes; ++i) BlurOnce(blurred);
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x) {
        const size_t i = size_t(y) * size_t(FWidth) + size_t(x);
        FPixels[i] = Mix(FPixels[i], blurred[i], std::clamp(amount(x + 0.5f, y + 0.5f), 0.0f, 1.0f));
      }
  }

  // Interleaved 8-bit red, green, blue rows, top row first.
  std::vector<uint8_t> ToRgb8() const;

 private:
  void BlurOnce(std::vector<TRgb>& pixels) const;

  int FWidth, FHeight;
  std::vector<TRgb> FPixels;
};
