// A click on a test point until its photograph is presented, in the real program on the
// headless screen, beside the bare library decoding the same file and scaling it to the
// same shown size. Each timed click meets a photograph not yet decoded, as a first choice
// after start-up does: between clicks (not timed) the photograph is hidden, its button
// unchecked and its file loaded again.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/program.h"
#include "bench/bare_decode.h"
#include "bench/headless_viewer.h"
#include "framework/controls/application.h"
#include "framework/core/stream.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

namespace {
// Test points measured: the first of the start page, the largest photograph, the smallest.
constexpr int kW900 = 16, kLargest = 4, kSmallest = 7;

struct TViewer : THeadlessViewer {
  TJPEGImage& Photograph(int n) const { return static_cast<TJPEGImage&>(*Form1->TestPointImage(n)->Picture()->Graphic()); }
  std::vector<uint8_t> File(int n) const { return Photograph(n).Data()->EncodedBytes->Bytes(); }
};

void BM_ClickToPhotographPresented(benchmark::State& state) {
  const int n = int(state.range(0));
  TViewer viewer;
  TWkRadioButton& button = *Form1->TestPointButton(n);
  TImage& image = *Form1->TestPointImage(n);
  Form1->WkPageControl1->SetActivePage(static_cast<TWkTabSheet*>(button.Parent()));
  viewer.App->ProcessMessages();
  const std::vector<uint8_t> file = viewer.File(n);
  const TPoint centre = button.ClientToScreen({button.Width() / 2, button.Height() / 2});
  for (auto _ : state) {
    state.PauseTiming();
    image.SetVisible(false);
    button.SetChecked(false);
    TReadOnlyMemoryStream bytes(file.data(), file.size());
    viewer.Photograph(n).LoadFromByteStream(bytes);
    viewer.App->ProcessMessages();
    if (viewer.Photograph(n).DecodedBitmap() != nullptr) state.SkipWithError("the photograph was decoded before the click");
    state.ResumeTiming();
    // The press, the release that checks the button and shows the photograph, and the
    // loop's paint step that decodes, scales and presents it.
    viewer.Backend->Click(centre);
    viewer.App->ProcessMessages();
  }
  if (!image.Visible() || viewer.Photograph(n).DecodedBitmap() == nullptr) state.SkipWithError("the photograph was not shown");
}
BENCHMARK(BM_ClickToPhotographPresented)->Arg(kW900)->Arg(kLargest)->Arg(kSmallest)->Unit(benchmark::kMillisecond);

void BM_BareDecodeAndScale(benchmark::State& state) {
  const int n = int(state.range(0));
  TViewer viewer;
  const TRect shown = Form1->TestPointImage(n)->DestRect();
  TBareDecodeAndScale bare(viewer.File(n), shown.Width(), shown.Height());
  state.SetLabel(std::to_string(shown.Width()) + " x " + std::to_string(shown.Height()));
  for (auto _ : state) {
    bare.Decode();
    bare.Scale();
    benchmark::DoNotOptimize(bare.Shown());
  }
}
BENCHMARK(BM_BareDecodeAndScale)->Arg(kW900)->Arg(kLargest)->Arg(kSmallest)->Unit(benchmark::kMillisecond);
}  // namespace
