// A full paint of a 945 x 658 window holding child windows and window-less controls,
// through the message loop on the headless backend.
#include <benchmark/benchmark.h>

#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/canvas.h"
#include "platform/headless/headless_backend.h"

namespace {
class TFilledWindow : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clBtnFace);
    Canvas().FillRect(ClientRect());
  }
};

class TFilledGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clGreen);
    Canvas().FillRect(ClientRect());
  }
};

void BM_FullWindowPaint(benchmark::State& state) {
  auto backend = CreateHeadlessBackend();
  TWindowSystem system(*backend);
  TFilledWindow top(nullptr);
  top.SetBounds(0, 0, 945, 658);
  top.CreatePlatformWindow(*backend);
  for (int i = 0; i < 16; ++i) {
    auto* w = new TFilledWindow(&top);
    w->SetBounds(10 + (i % 4) * 60, 80 + (i / 4) * 30, 55, 25);
    w->SetParent(&top);
    auto* g = new TFilledGraphic(&top);
    g->SetBounds(250 + (i % 4) * 170, 60 + (i / 4) * 130, 160, 120);
    g->SetParent(&top);
  }
  for (auto _ : state) {
    top.Invalidate();
    system.ProcessMessages();
  }
}
BENCHMARK(BM_FullWindowPaint)->Unit(benchmark::kMicrosecond);
}  // namespace
