// The image view's first paint of a photograph (decode, then the colour-on-colour reduction
// into the window surface) against the bare library decoding the same bytes plus a plain
// nearest-neighbour scale of them; and the canvas stretch paths on their own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/bare_decode.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_form.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"
#include "pictures/picture_classes.h"
#include "platform/headless/headless_backend.h"

namespace {
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kBoxWidth = 689, kBoxHeight = 513;
constexpr int kShownWidth = 683, kShownHeight = 513;

// A photograph-like picture: smooth shading with fine grain in every block.
std::unique_ptr<TBitmap> PhotographPixels(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  TBitmap& pixels = *bitmap;
  pixels.SetPixelFormat(pf24bit);
  pixels.SetSize(width, height);
  uint32_t seed = 2024;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = pixels.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int grain = int(seed >> 27) - 16;
      const double shade = 0.5 + 0.5 * std::sin(x * 0.011) * std::cos(y * 0.017);
      row[3 * x + 0] = uint8_t(std::clamp(int(50 + 140 * shade) + grain, 0, 255));
      row[3 * x + 1] = uint8_t(std::clamp(int(80 + 110 * (1 - shade)) + grain, 0, 255));
      row[3 * x + 2] = uint8_t(std::clamp(int(30 + 200 * shade * shade) + grain, 0, 255));
    }
  }
  return bitmap;
}

const std::vector<uint8_t>& PhotographFile() {
  static const std::vector<uint8_t> file = [] {
    TJPEGImage image;
    image.CopyFrom(PhotographPixels(kWidth, kHeight).get());
    TMemoryStream out;
    image.SaveToByteStream(out);
    return out.Bytes();
  }();
  return file;
}

// The stored picture value of the photograph.
TMemoryStream PictureValue() {
  TMemoryStream value;
  const char name[] = "TJPEGImage";
  const uint8_t length = sizeof name - 1;
  value.WriteBuffer(&length, 1);
  value.WriteBuffer(name, length);
  const std::vector<uint8_t>& file = PhotographFile();
  const auto count = int32_t(file.size());
  value.WriteBuffer(&count, 4);
  value.WriteBuffer(file.data(), count);
  value.SetPosition(0);
  return value;
}

// A shown form in the main window's colour, for the views to be painted on.
struct TPaintStage {
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  TForm* Form = nullptr;
  TPaintStage() {
    App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
    RegisterPictureClasses();
    Form = new TForm(App.get());
    Form->SetBounds(0, 0, 960, 620);
    Form->SetColor(clSkyBlue);
    Form->Show();
    App->ProcessMessages();
  }
};

void BM_FirstPaintOfAShownImage(benchmark::State& state) {
  TPaintStage stage;
  for (auto _ : state) {
    state.PauseTiming();
    auto* image = new TImage(stage.Form);
    image->SetVisible(false);
    image->SetBounds(264, 64, kBoxWidth, kBoxHeight);
    image->SetProportional(true);
    TMemoryStream value = PictureValue();
    image->Picture()->ReadData(value);
    image->SetParent(stage.Form);
    stage.App->ProcessMessages();
    state.ResumeTiming();
    // Showing it and painting what that made invalid into the window's surface, as the
    // message loop's paint step does (putting the surface on the screen is not counted).
    image->SetVisible(true);
    stage.Form->PaintInvalidWindows();
    state.PauseTiming();
    delete image;
    stage.App->ProcessMessages();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstPaintOfAShownImage)->Unit(benchmark::kMillisecond);

void BM_LibraryDecodeAndNearestScale(benchmark::State& state) {
  TBareDecodeAndScale bare(PhotographFile(), kShownWidth, kShownHeight);
  for (auto _ : state) {
    bare.Decode();
    bare.Scale();
    benchmark::DoNotOptimize(bare.Shown());
  }
}
BENCHMARK(BM_LibraryDecodeAndNearestScale)->Unit(benchmark::kMillisecond);

// The two halves of the first paint apart: the decode alone, here and in the bare library.
void BM_DecodeAlone(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto image = std::make_unique<TJPEGImage>();
    TReadOnlyMemoryStream stream(PhotographFile().data(), PhotographFile().size());
    image->LoadFromByteStream(stream);
    state.ResumeTiming();
    benchmark::DoNotOptimize(image->DecodeToBitmap().Image().Bits.data());
    state.PauseTiming();
    image.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DecodeAlone)->Unit(benchmark::kMillisecond);

void BM_LibraryDecodeAlone(benchmark::State& state) {
  TBareDecodeAndScale bare(PhotographFile(), kShownWidth, kShownHeight);
  for (auto _ : state) {
    bare.Decode();
    benchmark::DoNotOptimize(bare.Decoded());
  }
}
BENCHMARK(BM_LibraryDecodeAlone)->Unit(benchmark::kMillisecond);

// The canvas stretch paths: source size, destination size, target depth, halftone or not.
void StretchCase(benchmark::State& state, int sw, int sh, int dw, int dh, TPixelFormat target, bool halftone) {
  const std::unique_ptr<TBitmap> source = PhotographPixels(sw, sh);
  TBitmap surface;
  surface.SetPixelFormat(target);
  surface.SetSize(dw + 10, dh + 10);
  TDrawContext& dc = surface.Canvas().Handle();
  for (auto _ : state) {
    dc.State().StretchMode = halftone ? smHalftone : smColorOnColor;
    dc.StretchBlt({5, 5, 5 + dw, 5 + dh}, *source, {0, 0, sw, sh}, cmSrcCopy);
    benchmark::DoNotOptimize(surface.Image().Bits.data());
  }
}
void BM_StretchShrink24To32(benchmark::State& s) { StretchCase(s, kWidth, kHeight, kShownWidth, kShownHeight, pf32bit, false); }
void BM_StretchEnlarge24To32(benchmark::State& s) { StretchCase(s, 403, 168, 806, 336, pf32bit, false); }
void BM_HalftoneShrink24To32(benchmark::State& s) { StretchCase(s, kWidth, kHeight, kShownWidth, kShownHeight, pf32bit, true); }
void BM_HalftoneShrink24To8(benchmark::State& s) { StretchCase(s, kWidth, kHeight, kShownWidth, kShownHeight, pf8bit, true); }
BENCHMARK(BM_StretchShrink24To32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchEnlarge24To32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalftoneShrink24To32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalftoneShrink24To8)->Unit(benchmark::kMillisecond);
}  // namespace
