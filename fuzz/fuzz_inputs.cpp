#include "fuzz/fuzz_inputs.h"

#include <memory>
#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/custom_form.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/timer.h"
#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/bitmap_file.h"
#include "framework/graphics/palette.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "formstream/stream_reader.h"
#include "pictures/jpeg_image.h"
#include "platform/headless/headless_backend.h"
#include "widgets/widget_classes.h"

namespace {
// Every class a stream may name; widget families add theirs through RegisterWidgetClasses.
void SetUpFormReading() {
  static bool done = false;
  if (done) return;
  done = true;
  static std::unique_ptr<THeadlessBackend> backend = CreateHeadlessBackend({});
  static TApplication app;
  app.Initialize(*backend, "/usr/lib/velmorath/Velmorath.bin");
  RegisterWidgetClasses();
  for (const TClassInfo* cls : {&TForm::ClassInfo(), &TCustomControl::ClassInfo(), &TGraphicControl::ClassInfo(),
                                &TTimer::ClassInfo(), &TBitmap::ClassInfo(), &TJPEGImage::ClassInfo()})
    if (LookupStreamClass(cls->Name) == nullptr) RegisterStreamClass(*cls);
}

[[noreturn]] void Fault() { __builtin_trap(); }
}  // namespace

void FuzzFormReader(const uint8_t* data, size_t size) {
  SetUpFormReading();
  TReadOnlyMemoryStream stream(data, size);
  auto form = std::make_unique<TForm>(nullptr);
  try {
    TStreamReader reader(stream);
    reader.ReadRootComponent(*form);
  } catch (const Exception&) {
  }
}

void FuzzBitmapFile(const uint8_t* data, size_t size) {
  try {
    const TBitmapImage image = ReadBitmapFile(data, size);
    // What was read writes back and reads again to the same picture.
    const std::vector<uint8_t> file = WriteBitmapFile(image);
    const TBitmapImage again = ReadBitmapFile(file.data(), file.size());
    if (again.Bits != image.Bits || again.Width != image.Width || again.Height != image.Height) Fault();
  } catch (const EInvalidGraphic&) {
  }
}

void FuzzGlyphBitmap(const uint8_t* data, size_t size) {
  TReadOnlyMemoryStream stream(data, size);
  TBitmap bitmap;
  try {
    bitmap.ReadStoredData(stream);
    TMemoryStream written;
    bitmap.WriteStoredData(written);
    written.SetPosition(0);
    TBitmap copy;
    copy.ReadStoredData(written);
    if (copy.Width() != bitmap.Width() || copy.Height() != bitmap.Height()) Fault();
  } catch (const Exception&) {
  }
}

constexpr int64_t kFuzzMaxJpegPixels = int64_t(1) << 20;  // the largest photograph has 1024 x 768

void FuzzJpeg(const uint8_t* data, size_t size) {
  if (size < 1) return;
  const uint8_t choice = data[0];
  TReadOnlyMemoryStream stream(data + 1, size - 1);
  TJPEGImage image;
  TJPEGSettings settings = image.Settings();
  settings.OutputDepth = (choice & 1) ? od8Bit : od24Bit;
  settings.ShowEachScan = (choice & 2) != 0;
  settings.GrayscaleOutput = (choice & 4) != 0;
  settings.ScaleShift = uint8_t((choice >> 3) & 3);
  settings.DecodeSpeed = (choice & 0x20) ? dsBestSpeed : dsBestQuality;
  image.SetSettings(settings);
  try {
    image.LoadFromByteStream(stream);
    (void)image.Width();
    (void)image.Height();
    // A few header bytes can ask for a picture of hundreds of megabytes that then decodes,
    // warning by warning, for seconds. The size limits have tests of their own; here only
    // pictures up to the program's own sizes are decoded, so the fuzzer keeps its pace.
    if (int64_t(image.Data()->HeaderWidth) * image.Data()->HeaderHeight > kFuzzMaxJpegPixels) return;
    if (choice & 0x40) {
      // Quantising to a small display palette, as on an 8-bit screen.
      const TPalette palette(
          std::vector<TPaletteEntry>{{0, 0, 0, 0}, {255, 255, 255, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}});
      image.SetPalette(&palette);
    }
    TJPEGImage copy;
    copy.CopyFrom(&image);
    TBitmap& bitmap = image.DecodeToBitmap();
    if (bitmap.PixelFormat() == pf8bit && bitmap.Palette() != nullptr && !bitmap.Empty()) {
      // Every index must name an entry of the palette the bitmap carries.
      const size_t entries = bitmap.Palette()->Entries().size();
      const TBitmapImage& pixels = bitmap.Image();
      for (int y = 0; y < pixels.Height; ++y)
        for (int x = 0; x < pixels.Width; ++x)
          if (pixels.Bits[size_t(y) * size_t(pixels.Stride()) + size_t(x)] >= entries) Fault();
    }
    copy.DecodeToBitmap();
  } catch (const Exception&) {
  }
}
