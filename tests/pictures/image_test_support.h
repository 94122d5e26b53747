#pragma once
// Image views on a headless screen: a shown form in the main window's sky blue, image views
// placed on it, and what the screen shows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/custom_form.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "jpeg_test_support.h"
#include "pictures/image.h"
#include "pictures/picture_classes.h"
#include "platform/headless/headless_backend.h"

// An image view that counts its picture-changed handling and its decodes.
class TCountingImage : public TImage {
 public:
  explicit TCountingImage(TComponent* owner) : TImage(owner) {
    FOnProgress = [this](TObject*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
      if (stage == psStarting) ++Decodes;
    };
  }
  int Changes = 0;
  int Decodes = 0;

 protected:
  void PictureChanged(TObject* sender) override {
    ++Changes;
    TImage::PictureChanged(sender);
  }
};

// A form that notes the palette requests it gets.
class TPaletteForm : public TForm {
 public:
  using TForm::TForm;
  int PaletteQueries = 0;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == msgQueryNewPalette) ++PaletteQueries;
    TForm::Dispatch(m);
  }
};

class ImageTest : public JpegTest {
 protected:
  explicit ImageTest(THeadlessScreen screen = {}) : Backend(CreateHeadlessBackend(screen)) {
    App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
  }
  void SetUp() override {
    JpegTest::SetUp();
    RegisterPictureClasses();
  }

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();

  // A 960 x 620 form in sky blue, not yet shown.
  TPaletteForm* MakeForm() {
    auto* form = new TPaletteForm(App.get());
    form->SetBounds(20, 20, 960, 620);
    form->SetColor(clSkyBlue);
    return form;
  }
  // An image view at (left, top) with a box of width x height, holding `file`.
  TCountingImage* AddImage(TWinControl* parent, TRect box, const TBytes& file) {
    auto* image = new TCountingImage(parent);
    image->SetBoundsRect(box);
    image->SetProportional(true);
    if (!file.empty()) {
      TMemoryStream value = StoredPicture(file);
      image->Picture()->ReadData(value);
    }
    image->SetParent(parent);
    return image;
  }
  // The stored picture value of a JPEG file.
  static TMemoryStream StoredPicture(const TBytes& file) {
    TMemoryStream value;
    const std::string name = "TJPEGImage";
    const auto length = uint8_t(name.size());
    value.WriteBuffer(&length, 1);
    value.WriteBuffer(name.data(), int64_t(name.size()));
    const TMemoryStream stored = StoredValue(file);
    value.WriteBuffer(stored.Memory(), int64_t(stored.Bytes().size()));
    value.SetPosition(0);
    return value;
  }
  static TJPEGImage& Jpeg(TImage& image) { return dynamic_cast<TJPEGImage&>(*image.Picture()->Graphic()); }
  static uint32_t Shown(TWinControl& form, int x, int y) {
    return static_cast<THeadlessWindow&>(*form.PlatformWindow()).Presented().PixelRGB(x, y);
  }
  static bool Opaque(const TControl& c) { return c.ControlStyle().Contains(csOpaque); }
};

// The sky blue of the main window's background, as RGB.
inline constexpr uint32_t kSkyBlue = 0xF0CAA6;
