// One scroll tick of the main window's 945 x 49 banner (painted straight onto the window
// surface and presented), beside a plain fill of the same area with the same present, and
// beside the same frame drawn the plain way (every dot one rectangle in a fresh bitmap).
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/timer.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "platform/headless/headless_backend.h"
#include "widgets/frame_drawing.h"
#include "widgets/led_display.h"

namespace {
class TFilledWindow : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clSkyBlue);
    Canvas().FillRect(ClientRect());
  }
};

// An opaque window-less control that fills its bounds: the cheapest direct paint there is.
class TPlainFill : public TGraphicControl {
 public:
  explicit TPlainFill(TComponent* owner) : TGraphicControl(owner) { FControlStyle.Include(csOpaque); }

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clBlack);
    Canvas().FillRect(ClientRect());
  }
};

// The banner's frame as the plain route paints it: a new bitmap per paint, every dot one
// rectangle call, then one copy.
class TPlainBanner : public TGraphicControl {
 public:
  explicit TPlainBanner(TComponent* owner) : TGraphicControl(owner) { FControlStyle.Include(csOpaque); }
  TWkLEDDisplay* Model = nullptr;

 protected:
  void Paint() override {
    const TRect client{1, 1, Width() - 1, Height() - 1};
    DrawBevelBand(Canvas(), {0, 0, Width(), Height()}, clBtnShadow, clBtnHighlight, 1, AllSides);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(client.Width(), client.Height());
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(Model->BackColor());
    canvas.FillRect({0, 0, client.Width(), client.Height()});
    const TLedLayout layout = Model->Layout(client.Width(), client.Height());
    const int dot = Model->DotPixels(), p = layout.Pitch;
    auto cell = [&](int x, uint8_t code) {
      const TLedGlyph& glyph = LedGlyph(code);
      for (int r = 0; r < 7; ++r)
        for (int k = 0; k < 6; ++k) {
          const bool lit = k < 5 && (glyph[size_t(k)] & (0x80 >> r)) != 0;
          canvas.Brush().SetColor(lit ? Model->SegOnColor() : Model->SegOffColor());
          canvas.Rectangle(x + k * p, layout.Top + r * p, x + k * p + dot + 1, layout.Top + r * p + dot + 1);
        }
    };
    for (int x = 0; x < client.Width(); x += layout.CellWidth) cell(x, ' ');
    const std::string& text = Model->Caption();
    for (size_t i = 0; i < text.size(); ++i) cell(layout.TextLeft + int(i) * layout.CellWidth, uint8_t(text[i]));
    Canvas().Handle().BitBlt(client.Left, client.Top, client.Width(), client.Height(), bitmap, 0, 0, cmSrcCopy);
  }
};

// The main window's client area with the banner at (8, 8), scrolling, a third of the way
// through its cycle so the text fills the width.
struct TBannerWindow {
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  TWindowSystem System{*Backend};
  TFilledWindow Top{nullptr};
  TWkLEDDisplay* Banner = new TWkLEDDisplay(&Top);

  TBannerWindow() {
    Top.SetBounds(140, 96, 959, 614);
    Top.CreatePlatformWindow(*Backend);
    Banner->SetBounds(8, 8, 945, 49);
    Banner->SetCaption("Velmorath v1.4 by Dunvel");
    Banner->SetParent(&Top);
    Banner->SetScrolling(true);
    System.ProcessMessages();
    for (int i = 0; i < 150; ++i) Banner->ScrollTimer().Fire();
  }
};

void BM_LedScrollTick(benchmark::State& state) {
  TBannerWindow window;
  for (auto _ : state) window.Banner->ScrollTimer().Fire();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LedScrollTick)->Unit(benchmark::kMicrosecond);

void BM_PlainFillSameArea(benchmark::State& state) {
  TBannerWindow window;
  window.Banner->SetVisible(false);
  auto* fill = new TPlainFill(&window.Top);
  fill->SetBounds(8, 8, 945, 49);
  fill->SetParent(&window.Top);
  window.System.ProcessMessages();
  for (auto _ : state) fill->Repaint();
}
BENCHMARK(BM_PlainFillSameArea)->Unit(benchmark::kMicrosecond);

void BM_LedFrameDotByDot(benchmark::State& state) {
  TBannerWindow window;
  window.Banner->SetScrolling(false);
  window.Banner->SetVisible(false);
  auto* plain = new TPlainBanner(&window.Top);
  plain->Model = window.Banner;
  plain->SetBounds(8, 8, 945, 49);
  plain->SetParent(&window.Top);
  window.System.ProcessMessages();
  for (auto _ : state) plain->Repaint();
}
BENCHMARK(BM_LedFrameDotByDot)->Unit(benchmark::kMicrosecond);
}  // namespace
