// Reading a window-sized stream: a dozen components, six of them holding 160 KB pictures
// (about 1 MB in all), read into a fresh root each iteration.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "framework/core/filer.h"
#include "framework/core/stream.h"
#include "framework/typeinfo/class_info.h"
#include "formstream/stream_reader.h"
#include "formstream/stream_writer.h"

namespace {
class TBenchPicture : public TPersistent {
 public:
  VM_CLASS()
  void DeclareStoredData(TFiler& filer) override {
    filer.DeclareByteBlockProperty(
        "Data",
        [this](TStream& s) {
          Bytes.resize(size_t(s.Size()));
          s.ReadBuffer(Bytes.data(), int64_t(Bytes.size()));
        },
        [this](TStream& s) { s.WriteBuffer(Bytes.data(), int64_t(Bytes.size())); }, !Bytes.empty());
  }
  std::vector<uint8_t> Bytes;
};

class TBenchImage : public TComponent {
 public:
  VM_CLASS()
  using TComponent::TComponent;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  TColor FColor = clBtnFace;
  std::string FCaption;
  TBenchPicture* Picture() const { return FPicture.get(); }

 private:
  std::unique_ptr<TBenchPicture> FPicture = std::make_unique<TBenchPicture>();
};

class TBenchForm : public TComponent {
 public:
  VM_CLASS()
  explicit TBenchForm(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TBenchForm() override { Destroying(); }
  TBenchImage* Image1 = nullptr;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }
};

const TClassInfo& TBenchPicture::ClassInfo() {
  static const TClassInfo info = DefineClass<TBenchPicture, TPersistent>("TBenchPicture");
  return info;
}

const TClassInfo& TBenchImage::ClassInfo() {
  static const TClassInfo info = DefineClass<TBenchImage, TComponent>("TBenchImage")
                                     .Property("Left", &TBenchImage::FLeft, Default(0))
                                     .Property("Top", &TBenchImage::FTop, Default(0))
                                     .Property("Width", &TBenchImage::FWidth, Default(0))
                                     .Property("Height", &TBenchImage::FHeight, Default(0))
                                     .Property("Visible", &TBenchImage::FVisible, Default(1))
                                     .Property("Color", &TBenchImage::FColor, Default(clBtnFace))
                                     .Property("Caption", &TBenchImage::FCaption)
                                     .Property("Picture", &TBenchImage::Picture);
  return info;
}

const TClassInfo& TBenchForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TBenchForm, TComponent>("TBenchForm").Field("Image1", &TBenchForm::Image1);
  return info;
}

const TMemoryStream& BenchStream() {
  static const TMemoryStream stream = [] {
    TBenchForm form;
    form.SetName("Form1");
    for (int i = 0; i < 12; ++i) {
      auto* image = new TBenchImage(&form);
      image->SetName("Image" + std::to_string(i + 1));
      image->FLeft = 264;
      image->FTop = 64;
      image->FWidth = 273 + i;
      image->FHeight = 537 - i;
      image->FVisible = false;
      image->FColor = clSkyBlue;
      image->FCaption = "Test point " + std::to_string(i);
      if (i % 2 == 0) image->Picture()->Bytes.assign(160000, uint8_t(i));
    }
    TMemoryStream s;
    TStreamWriter writer(s);
    writer.WriteRootComponent(form);
    return s;
  }();
  return stream;
}
}  // namespace

static void BM_ReadFormStream(benchmark::State& state) {
  const TMemoryStream& bytes = BenchStream();
  for (auto _ : state) {
    TReadOnlyMemoryStream input(bytes.Memory(), bytes.Bytes().size());
    TBenchForm form;
    TStreamReader reader(input);
    reader.ReadRootComponent(form);
    benchmark::DoNotOptimize(form.Image1);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.Bytes().size()));
  state.counters["stream_bytes"] = double(bytes.Bytes().size());
}
BENCHMARK(BM_ReadFormStream)->Unit(benchmark::kMicrosecond);
