#include "tools/assets/raster.h"

float SdCircle(TVec p, TVec centre, float radius) { return Length(p - centre) - radius; }

TVec BoxLocal(TVec p, TVec centre, float hx, float hy, float angle) {
  const TVec d = p - centre;
  const float c = std::cos(angle), s = std::sin(angle);
  return {(d.X * c + d.Y * s) / hx, (-d.X * s + d.Y * c) / hy};
}

float SdBox(TVec p, TVec centre, float hx, float hy, float angle, float radius) {
  const TVec d = p - centre;
  const float c = std::cos(angle), s = std::sin(angle);
  const float lx = std::fabs(d.X * c + d.Y * s) - (hx - radius);
  const float ly = std::fabs(-d.X * s + d.Y * c) - (hy - radius);
  const float outside = Length({std::max(lx, 0.0f), std::max(ly, 0.0f)});
  return outside + std::min(std::max(lx, ly), 0.0f) - radius;
}

float SdSegment(TVec p, TVec a, TVec b, float width) {
  const TVec ab = b - a, ap = p - a;
  const float len2 = Dot(ab, ab);
  const float t = len2 > 0 ? std::clamp(Dot(ap, ab) / len2, 0.0f, 1.0f) : 0;
  return Length(ap - ab * t) - width / 2;
}

float SdConvex(TVec p, const std::vector<TVec>& points) {
  // Orientation-independent: the edge normals are turned to point away from the centroid.
  TVec centroid;
  for (TVec q : points) centroid = centroid + q;
  centroid = centroid * (1.0f / float(points.size()));
  float d = -1e9f;
  for (size_t i = 0; i < points.size(); ++i) {
    const TVec a = points[i], b = points[(i + 1) % points.size()];
    const TVec edge = b - a;
    TVec normal{edge.Y, -edge.X};
    normal = normal * (1.0f / Length(normal));
    if (Dot(centroid - a, normal) > 0) normal = normal * -1;
    d = std::max(d, Dot(p - a, normal));
  }
  return d;
}

TRaster::TRaster(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height), FPixels(size_t(width) * size_t(height), fill) {}

void TRaster::BlurOnce(std::vector<TRgb>& pixels) const {
  std::vector<TRgb> row(pixels.size());
  auto idx = [this](int x, int y) { return size_t(y) * size_t(FWidth) + size_t(x); };
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const int l = std::max(0, x - 1), r = std::min(FWidth - 1, x + 1);
      row[idx(x, y)] = (pixels[idx(l, y)] + pixels[idx(x, y)] * 2 + pixels[idx(r, y)]) * 0.25f;
    }
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const int u = std::max(0, y - 1), d = std::min(FHeight - 1, y + 1);
      pixels[idx(x, y)] = (row[idx(x, u)] + row[idx(x, y)] * 2 + row[idx(x, d)]) * 0.25f;
    }
}

std::vector<uint8_t> TRaster::ToRgb8() const {
  std::vector<uint8_t> out;
  out.reserve(FPixels.size() * 3);
  auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  for (const TRgb& p : FPixels) {
    out.push_back(byte(p.R));
    out.push_back(byte(p.G));
    out.push_back(byte(p.B));
  }
  return out;
}
