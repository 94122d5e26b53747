// One move of the loupe, from the pointer's motion to the presented window, in the real
// program on the headless screen, beside a bare nearest-neighbour copy of the same lens
// area out of the same photograph followed by the same present. Both run in one program
// so that their ratio is measured on one machine at one moment. The same pair again on a
// screen twice as fine, where the lens is drawn at the screen's resolution into the fine layer.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/form1.h"
#include "bench/headless_viewer.h"
#include "framework/controls/window_system.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"
#include "pictures/loupe.h"
#include "pictures/loupe_geometry.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

namespace {
// The largest photograph, 1024 x 768 shown at 683 x 513.
constexpr int kImage4 = 4;
// The pointer sweeps this many pixels per motion event, as a hand moving steadily does.
constexpr int kStep = 3;

THeadlessScreen ScreenAt(int scale) {
  THeadlessScreen screen;
  screen.Width *= scale;
  screen.Height *= scale;
  screen.Scale = scale;
  return screen;
}

struct TLoupeViewer : THeadlessViewer {
  TImage& Image = *Form1->TestPointImage(kImage4);
  const int Scale;
  explicit TLoupeViewer(int scale = 1) : THeadlessViewer(ScreenAt(scale)), Scale(scale) {
    TWkRadioButton& button = *Form1->TestPointButton(kImage4);
    Form1->WkPageControl1->SetActivePage(static_cast<TWkTabSheet*>(button.Parent()));
    App->ProcessMessages();
    button.SetChecked(true);
    App->ProcessMessages();
  }
  // The sweep's pointer positions: across the middle of the photograph and back (at scale
  // 2 a shorter sweep on the left, where the photograph's own pixels fill the wider lens).
  TPoint Pointer(int i) const {
    const int left = Scale == 1 ? 190 : 120, width = Scale == 1 ? 300 : 150;
    const int span = width / kStep, phase = i % (2 * span);
    const int x = left + kStep * (phase < span ? phase : 2 * span - phase);
    return Image.ClientToScreen({x, 250});
  }
  // Where the pointer is on the screen, inside its block.
  TPoint OnScreen(TPoint p) const { return {p.X * Scale, p.Y * Scale}; }
};

void LoupeMove(benchmark::State& state, int scale) {
  const int zoom = int(state.range(0));
  TLoupeViewer viewer(scale);
  viewer.Backend->PressMouse(ibRight, viewer.OnScreen(viewer.Pointer(0)));
  for (int z = 1; z < zoom; z *= 2) viewer.Backend->TurnWheel(1, viewer.OnScreen(viewer.Pointer(0)));
  viewer.App->ProcessMessages();
  const TLoupe& loupe = *Form1->Loupe();
  if (!loupe.Shown() || loupe.Zoom() != zoom) state.SkipWithError("the loupe did not show");
  int i = 1;
  for (auto _ : state) {
    viewer.Backend->MoveMouse(viewer.OnScreen(viewer.Pointer(i++)));
    viewer.App->ProcessMessages();
  }
  if (!loupe.Shown()) state.SkipWithError("the loupe went");
  viewer.Backend->ReleaseMouse(ibRight, viewer.OnScreen(viewer.Pointer(i)));
  viewer.App->ProcessMessages();
}

void BM_LoupeMove(benchmark::State& state) { LoupeMove(state, 1); }
BENCHMARK(BM_LoupeMove)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);
void BM_LoupeMoveAtScale2(benchmark::State& state) { LoupeMove(state, 2); }
BENCHMARK(BM_LoupeMoveAtScale2)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// The least a lens move must do: each lens pixel fetched from the photograph by nearest
// neighbour straight into the window's surface (no disc, no ring, no repair underneath),
// then the rectangle a move presents (the old and the new lens square).
void BM_BareNearestCopyAndPresent(benchmark::State& state) {
  const int zoom = int(state.range(0));
  TLoupeViewer viewer;
  const auto& jpeg = static_cast<const TJPEGImage&>(*viewer.Image.Picture()->Graphic());
  const TBitmapImage& source = jpeg.DecodedBitmap()->Image();
  TPlatformWindow& window = *Form1->PlatformWindow();
  TBitmapImage& surface = window.Surface();
  const TRect place = viewer.Image.DestRect();
  int i = 1;
  for (auto _ : state) {
    const TPoint before = Form1->ScreenToClient(viewer.Pointer(i - 1)), at = Form1->ScreenToClient(viewer.Pointer(i));
    ++i;
    const TPoint p = viewer.Image.ScreenToClient(Form1->ClientToScreen(at));
    const TPoint centre = *SourcePixelAt(place, {source.Width, source.Height}, p);
    const TRect lens = LoupeBounds(at), from = LoupeSourceRect(centre, zoom);
    for (int y = 0; y < kLoupeDiameter; ++y) {
      const uint8_t* row = source.Row(from.Top + y / zoom);
      auto* out = reinterpret_cast<uint32_t*>(surface.Row(lens.Top + y)) + lens.Left;
      for (int x = 0; x < kLoupeDiameter; ++x) {
        const uint8_t* s = row + 3 * size_t(from.Left + x / zoom);
        out[x] = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16;
      }
    }
    window.Present(UnionRect(LoupeBounds(before), lens));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BareNearestCopyAndPresent)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// The same at scale 2: each of the lens's 480 x 480 screen pixels fetched from the
// photograph into the window's fine layer, shown over the photograph's area from the start,
// then the present of the same surface rectangle (blocks, then the fine layer over them).
void BM_BareNearestCopyAndPresentAtScale2(benchmark::State& state) {
  constexpr int kScale = 2, kDiameter = kLoupeDiameter * kScale;
  const int zoom = int(state.range(0));
  TLoupeViewer viewer(kScale);
  const auto& jpeg = static_cast<const TJPEGImage&>(*viewer.Image.Picture()->Graphic());
  const TBitmapImage& source = jpeg.DecodedBitmap()->Image();
  TPlatformWindow& window = *Form1->PlatformWindow();
  TBitmapImage& layer = *window.FineLayer();
  const TRect place = viewer.Image.DestRect(kScale);
  const TPoint origin = Form1->ScreenToClient(viewer.Image.ClientToScreen({0, 0}));
  window.ShowFine(TRegion(place.Offset(origin.X * kScale, origin.Y * kScale)));
  int i = 1;
  for (auto _ : state) {
    const TPoint before = Form1->ScreenToClient(viewer.Pointer(i - 1)), at = Form1->ScreenToClient(viewer.Pointer(i));
    ++i;
    const TPoint p = viewer.Image.ScreenToClient(Form1->ClientToScreen(at));
    const TPoint centre = *SourcePixelAt(place, {source.Width, source.Height}, {p.X * kScale, p.Y * kScale});
    const TRect lens = LoupeBounds(at), from = LoupeSourceRect(centre, zoom, kScale);
    for (int y = 0; y < kDiameter; ++y) {
      const uint8_t* row = source.Row(from.Top + y / zoom);
      auto* out = reinterpret_cast<uint32_t*>(layer.Row(lens.Top * kScale + y)) + lens.Left * kScale;
      for (int x = 0; x < kDiameter; ++x) {
        const uint8_t* s = row + 3 * size_t(from.Left + x / zoom);
        out[x] = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16;
      }
    }
    window.Present(UnionRect(LoupeBounds(before), lens));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BareNearestCopyAndPresentAtScale2)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);
}  // namespace
