// The canvas's hot paths: filling a window-sized surface, many small framed rectangles
// (a control's paint), and the photograph's 1024x768 -> 683x513 stretch copy.
#include <benchmark/benchmark.h>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

namespace {
std::unique_ptr<TBitmap> Surface(int width, int height, TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  return bitmap;
}

void BM_FillRect1024x768(benchmark::State& state) {
  auto surface = Surface(1024, 768, pf32bit);
  TCanvas& canvas = surface->Canvas();
  canvas.Brush().SetColor(clBtnFace);
  for (auto _ : state) canvas.FillRect({0, 0, 1024, 768});
  benchmark::DoNotOptimize(surface->ScanLine(0));
}
BENCHMARK(BM_FillRect1024x768);

void BM_Rectangles1000(benchmark::State& state) {
  auto surface = Surface(640, 480, pf32bit);
  TCanvas& canvas = surface->Canvas();
  canvas.Pen().SetColor(clBtnShadow);
  canvas.Brush().SetColor(clBtnFace);
  for (auto _ : state)
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 600, y = (i * 53) % 440;
      canvas.Rectangle(x, y, x + 16, y + 12);
    }
  benchmark::DoNotOptimize(surface->ScanLine(0));
}
BENCHMARK(BM_Rectangles1000);

void BM_StretchCopy1024x768To683x513(benchmark::State& state) {
  auto photo = Surface(1024, 768, pf24bit);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) photo->Image().SetPixelValue(x, y, RGB(x, y, x ^ y));
  auto window = Surface(700, 560, pf32bit);
  TCanvas& canvas = window->Canvas();
  for (auto _ : state) canvas.StretchDraw({0, 0, 683, 513}, *photo);
  benchmark::DoNotOptimize(window->ScanLine(0));
}
BENCHMARK(BM_StretchCopy1024x768To683x513);
}  // namespace
