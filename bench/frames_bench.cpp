// Frame and gradient drawing at the sizes the main window uses.
#include <benchmark/benchmark.h>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "widgets/frame_drawing.h"

namespace {
std::unique_ptr<TBitmap> Surface(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(width, height);
  return bitmap;
}

void BM_StatusFrame945x49(benchmark::State& state) {
  auto surface = Surface(945, 49);
  for (auto _ : state) benchmark::DoNotOptimize(DrawFrame(surface->Canvas(), {0, 0, 945, 49}, fsStatus));
}
BENCHMARK(BM_StatusFrame945x49);

void BM_TabGradient23x150(benchmark::State& state) {
  // A side tab's thickness: from the outer edge (clWindow) to the page (clBtnFace).
  auto surface = Surface(23, 150);
  for (auto _ : state) {
    FillGradientRect(surface->Canvas(), {0, 0, 23, 150}, gsHorizontal, clWindow, clBtnFace, 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TabGradient23x150);
}  // namespace
