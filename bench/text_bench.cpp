// Text hot paths: measuring and drawing a 20-character caption, horizontal and rotated (the
// side tabs' vertical captions), with the glyph cache warm as it is after the first paint.
#include <benchmark/benchmark.h>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

namespace {
constexpr const char* kCaption = "Test point 12 (Z600)";  // 20 characters

std::unique_ptr<TBitmap> Surface() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(200, 200);
  bitmap->Canvas().Font().SetHeight(-11);
  bitmap->Canvas().Brush().SetStyle(bsClear);
  return bitmap;
}

void BM_CaptionExtent(benchmark::State& state) {
  auto surface = Surface();
  for (auto _ : state) benchmark::DoNotOptimize(surface->Canvas().TextExtent(kCaption));
}
BENCHMARK(BM_CaptionExtent);

void BM_CaptionDraw(benchmark::State& state) {
  auto surface = Surface();
  TCanvas& canvas = surface->Canvas();
  canvas.Font().SetEscapement(int(state.range(0)));
  const int y = state.range(0) == 900 ? 150 : 50;
  for (auto _ : state) canvas.TextOut(50, y, kCaption);
  benchmark::DoNotOptimize(surface->ScanLine(0));
}
BENCHMARK(BM_CaptionDraw)->Arg(0)->Arg(900)->Arg(2700);
}  // namespace
