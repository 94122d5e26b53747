#pragma once
// Deterministic randomness for the generated pictures: the same seed gives the same picture
// with any standard library (the standard distributions are not portable, so none is used).
#include <cmath>
#include <cstdint>

class TRandom {
 public:
  explicit TRandom(uint64_t seed) : FState(seed) {}
  uint64_t Next() {
    // splitmix64
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  float Uniform(float lo = 0, float hi = 1) { return lo + (hi - lo) * float(Next() >> 40) * (1.0f / 16777216.0f); }
  int Below(int n) { return int(Next() % uint64_t(n)); }
  bool Chance(float p) { return Uniform() < p; }
  // Roughly normal with standard deviation 1 (sum of four uniforms).
  float Normal() { return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0f) * 1.7320508f; }

 private:
  uint64_t FState;
};

// Smooth value noise in [0, 1] on a lattice of cell size 1, and its fractal sum.
inline float LatticeValue(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xFFFFFF) / 16777215.0f;
}

inline float ValueNoise(float x, float y, uint32_t seed) {
  const int xi = int(std::floor(x)), yi = int(std::floor(y));
  const float fx = x - float(xi), fy = y - float(yi);
  const float u = fx * fx * (3 - 2 * fx), v = fy * fy * (3 - 2 * fy);
  const float a = LatticeValue(xi, yi, seed), b = LatticeValue(xi + 1, yi, seed);
  const float c = LatticeValue(xi, yi + 1, seed), d = LatticeValue(xi + 1, yi + 1, seed);
  return (a + (b - a) * u) * (1 - v) + (c + (d - c) * u) * v;
}

inline float FractalNoise(float x, float y, uint32_t seed, int octaves = 4) {
  float sum = 0, amplitude = 0.5f, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + uint32_t(i) * 101u) * amplitude;
    total += amplitude;
    x *= 2.03f;
    y *= 2.03f;
    amplitude *= 0.5f;
  }
  return sum / total;
}
