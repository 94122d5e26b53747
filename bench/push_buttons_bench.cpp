// The main window's Close button: a full paint while it has the focus, and the repaint
// the pointer's arrival and departure cause on a hot-tracking button.
#include <benchmark/benchmark.h>

#include "framework/controls/application.h"
#include "framework/controls/window_system.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/bitmap_file.h"
#include "framework/graphics/font.h"
#include "platform/headless/headless_backend.h"
#include "widgets/push_buttons.h"

namespace {
// A 32 x 16 glyph of two cells, 8 bits per pixel, as the main window stores it.
void LoadGlyph(TBitmap& glyph) {
  TBitmapImage image;
  image.Width = 32;
  image.Height = 16;
  image.Format = pf8bit;
  image.ColorTable.assign(256, TRGBQuad{216, 233, 236, 0});
  image.ColorTable[1] = {0, 0, 255, 0};
  image.Bits.assign(size_t(image.Stride()) * 16, 0);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x) image.SetPixelValue(x, y, 1);
  glyph.SetImage(image);
}

struct TBottomRow {
  std::unique_ptr<THeadlessBackend> backend = CreateHeadlessBackend();
  TApplication app;
  TForm* form = nullptr;
  TWkBitBtn* close = nullptr;

  TBottomRow() {
    app.Initialize(*backend, "/usr/lib/velmorath/Velmorath.bin");
    app.CreateForm(form);
    form->SetBounds(100, 100, 300, 80);
    form->SetColor(TColor(0xF0CAA6));
    close = new TWkBitBtn(form);
    close->SetBounds(8, 20, 105, 25);
    close->SetCaption("Close");
    close->SetColor(TColor(0xF0F4F4));
    close->Font()->SetHeight(-13);
    close->Font()->SetStyle(TFontStyles{fsBold});
    close->SetHighlightColor(TColor(0xF48D6A));
    close->SetHotTrack(true);
    close->SetHotTrackColor(TColor(0x3CC7FF));
    LoadGlyph(*close->Glyph());
    close->SetParent(form);
    form->Show();
    app.ProcessMessages();
  }
};

void BM_FocusedCloseButtonFullPaint(benchmark::State& state) {
  TBottomRow row;
  if (!row.close->Focused()) state.SkipWithError("Close has no focus");
  for (auto _ : state) {
    row.close->Invalidate();
    row.app.ProcessMessages();
  }
}
BENCHMARK(BM_FocusedCloseButtonFullPaint)->Unit(benchmark::kMicrosecond);

// One iteration: the pointer enters (hot face), then leaves (focused face again).
void BM_HotTrackEnterLeaveRepaint(benchmark::State& state) {
  TBottomRow row;
  for (auto _ : state) {
    row.backend->MoveMouse({100 + 8 + 60, 100 + 20 + 12});
    row.app.ProcessMessages();
    row.backend->MoveMouse({100 + 250, 100 + 70});
    row.app.ProcessMessages();
  }
  if (row.close->PointerInside()) state.SkipWithError("pointer did not leave");
}
BENCHMARK(BM_HotTrackEnterLeaveRepaint)->Unit(benchmark::kMicrosecond);
}  // namespace
