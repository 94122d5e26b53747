// The main window's page control: a full paint, and the repaint of a hot-track change.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/controls/application.h"
#include "framework/controls/custom_form.h"
#include "framework/graphics/font.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"

namespace {
constexpr const char* kCaptions[] = {"T610-T630", "Z600", "Z800", "K300-K500-K700", "K600", "P900", "W550-W600-W900"};

// The main window's settings, built in code.
struct TMainStrip {
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  std::unique_ptr<TForm> Form;
  TWkPageControl* Control = nullptr;

  TMainStrip() {
    App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(140, 96, 400, 614);
    Form->SetColor(clSkyBlue);
    Control = new TWkPageControl(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(8, 64, 242, 505);
    Control->SetColor(clGradientInactiveCaption);
    TFont font;
    font.SetName("Verdana");
    font.SetHeight(-13);
    font.SetStyle(TFontStyles{fsBold});
    Control->SetFont(&font);
    Control->SetFlatColor(clBackground);
    Control->SetHotTrackColor(clActiveCaption);
    Control->SetImagePosition(ipBottom);
    Control->SetShowFocusRect(false);
    Control->SetShowShadow(false);
    Control->SetTextOrientation(orVertical);
    Control->SetTabOrientation(toLeft);
    Control->SetTabStop(false);
    for (int i = 0; i < 8; ++i) {
      auto* page = new TWkTabSheet(Form.get());
      if (i < 7) page->SetCaption(kCaptions[i]);
      else page->SetTabVisible(false);
      page->SetPageControl(Control);
    }
    Control->SetActivePage(Control->Pages(6));
    Form->Show();
    App->ProcessMessages();
  }
  TPoint Inside(int tab) const {
    const TRect r = Control->TabRect(tab);
    return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
  }
};

void BM_MainStripFullPaint(benchmark::State& state) {
  TMainStrip strip;
  for (auto _ : state) {
    strip.Control->Invalidate();
    strip.App->ProcessMessages();
  }
}
BENCHMARK(BM_MainStripFullPaint)->Unit(benchmark::kMicrosecond);

// The pointer moves from one tab to its neighbour: the strip repaints with the new hot tab.
void BM_MainStripHotTrackRepaint(benchmark::State& state) {
  TMainStrip strip;
  const TPoint a = strip.Control->ClientToScreen(strip.Inside(5));
  const TPoint b = strip.Control->ClientToScreen(strip.Inside(4));
  bool flip = false;
  for (auto _ : state) {
    strip.Backend->MoveMouse((flip = !flip) ? a : b);
    strip.App->ProcessMessages();
  }
  if (strip.Control->HotTab() < 0) state.SkipWithError("the pointer found no tab");
}
BENCHMARK(BM_MainStripHotTrackRepaint)->Unit(benchmark::kMicrosecond);
}  // namespace
