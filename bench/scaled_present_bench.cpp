// Presenting the main window at scale 2 on the desktop backend, beside SDL's own nearest 2x
// enlargement of the same area onto a bare window of the same size: the whole 959 x 614
// frame (with a photograph's box, 449 x 537 at (264, 64), shown from the fine layer) and the
// banner's 945 x 49 rectangle as one scroll tick presents it. Both go through SDL's window
// surface update, so the difference is what the backend adds. Needs a display at least
// 1918 x 1228 (run it under Xvfb -screen 0 2560x1600x24); only the window being measured is
// shown, so neither is drawn under the other.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/graphics/draw_context.h"
#include "platform/sdl/sdl_backend.h"

namespace {
constexpr int kScale = 2;
constexpr TRect kFrame{0, 0, 959, 614};
constexpr TRect kBanner{8, 8, 953, 57};
constexpr TRect kPictureBox{264, 64, 264 + 449, 64 + 537};

void Fill(TBitmapImage& image, const TRect& r, TColor color) {
  TDrawContext dc(&image);
  dc.FillRect(r, TBrushData{color, bsSolid, nullptr});
}

// Lets the display answer what a shown or hidden window asks of it.
void Settle() {
  SDL_Delay(100);
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
  }
}

struct TSetup {
  std::unique_ptr<TSdlBackend> Backend;
  std::unique_ptr<TPlatformWindow> Viewer;
  SDL_Window* Bare = nullptr;
  SDL_Surface* BareSource = nullptr;

  TSetup() {
    Backend = CreateSdlBackend(kScale);
    if (Backend == nullptr) {
      std::fprintf(stderr, "scaled_present_bench: no display\n");
      std::exit(2);
    }
    Viewer = Backend->CreateWindow(Bounds(40, 40, kFrame.Width(), kFrame.Height()));
    Fill(Viewer->Surface(), kFrame, TColor(0xF0CAA6));
    Fill(Viewer->Surface(), kBanner, TColor(0x004000));
    TBitmapImage& fine = *Viewer->FineLayer();
    Fill(fine, {0, 0, fine.Width, fine.Height}, TColor(0x305030));
    const TRect box{kPictureBox.Left * kScale, kPictureBox.Top * kScale, kPictureBox.Right * kScale,
                    kPictureBox.Bottom * kScale};
    Viewer->ShowFine(TRegion(box));
    Bare = SDL_CreateWindow("bare", 80, 80, kFrame.Width() * kScale, kFrame.Height() * kScale, SDL_WINDOW_HIDDEN);
    BareSource = SDL_CreateRGBSurfaceWithFormat(0, kFrame.Width(), kFrame.Height(), 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_FillRect(BareSource, nullptr, 0xA6CAF0);
  }

  void ShowViewer() {
    SDL_HideWindow(Bare);
    Viewer->SetVisible(true);
    Settle();
  }
  void ShowBare() {
    Viewer->SetVisible(false);
    SDL_ShowWindow(Bare);
    Settle();
  }
  void BareBlit(const TRect& r) {
    SDL_Surface* target = SDL_GetWindowSurface(Bare);
    SDL_Rect from{r.Left, r.Top, r.Width(), r.Height()};
    SDL_Rect to{r.Left * kScale, r.Top * kScale, r.Width() * kScale, r.Height() * kScale};
    const SDL_Rect shown = to;
    SDL_BlitScaled(BareSource, &from, target, &to);
    SDL_UpdateWindowSurfaceRects(Bare, &shown, 1);
  }
};

TSetup& Setup() {
  static TSetup setup;
  return setup;
}

void BM_ScaledPresentFullFrame(benchmark::State& state) {
  TSetup& s = Setup();
  s.ShowViewer();
  for (auto _ : state) s.Viewer->Present(kFrame);
}
BENCHMARK(BM_ScaledPresentFullFrame)->Unit(benchmark::kMicrosecond);

void BM_BareSdlNearest2xFullFrame(benchmark::State& state) {
  TSetup& s = Setup();
  s.ShowBare();
  for (auto _ : state) s.BareBlit(kFrame);
}
BENCHMARK(BM_BareSdlNearest2xFullFrame)->Unit(benchmark::kMicrosecond);

void BM_ScaledPresentBannerTick(benchmark::State& state) {
  TSetup& s = Setup();
  s.ShowViewer();
  for (auto _ : state) s.Viewer->Present(kBanner);
}
BENCHMARK(BM_ScaledPresentBannerTick)->Unit(benchmark::kMicrosecond);

void BM_BareSdlNearest2xBannerTick(benchmark::State& state) {
  TSetup& s = Setup();
  s.ShowBare();
  for (auto _ : state) s.BareBlit(kBanner);
}
BENCHMARK(BM_BareSdlNearest2xBannerTick)->Unit(benchmark::kMicrosecond);
}  // namespace
