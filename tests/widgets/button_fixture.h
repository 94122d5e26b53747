#pragma once
// The main window's bottom row on a headless screen: a sky-blue form with the Close and
// About glyph buttons as the main window sets them up, and helpers to drive and look.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap_file.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/graphics/text_layout.h"
#include "platform/headless/headless_backend.h"
#include "widgets/frame_drawing.h"
#include "widgets/push_buttons.h"

inline constexpr TColor kSkyBlue = TColor(0xF0CAA6);
inline constexpr TColor kButtonFace = TColor(0xF0F4F4);
inline constexpr TColor kButtonHighlight = TColor(0xF48D6A);
inline constexpr TColor kOrange = TColor(0x3CC7FF);
inline constexpr uint32_t kGlyphSeeThrough = 0xD8E9EC;  // (236, 233, 216)
inline constexpr uint32_t kGlyphRed = 0x0000FF;
inline constexpr uint32_t kGlyphBlue = 0xFF0000;

// An 8-bit glyph file as the main window stores it: 32 x 16, 256 colours, 1590 bytes. The
// first cell has a red 8 x 8 square at (4, 4), the second a blue one; the rest is the
// see-through colour.
inline std::vector<uint8_t> GlyphFile(int width = 32, int height = 16) {
  TBitmapImage image;
  image.Width = width;
  image.Height = height;
  image.Format = pf8bit;
  image.ColorTable.assign(256, TRGBQuad{0, 0, 0, 0});
  image.ColorTable[0] = {216, 233, 236, 0};
  image.ColorTable[1] = {0, 0, 255, 0};
  image.ColorTable[2] = {255, 0, 0, 0};
  image.Bits.assign(size_t(image.Stride()) * size_t(height), 0);
  for (int y = 4; y < 12 && y < height; ++y)
    for (int x = 4; x < 12; ++x) {
      if (x < width) image.SetPixelValue(x, y, 1);
      if (16 + x < width) image.SetPixelValue(16 + x, y, 2);
    }
  return WriteBitmapFile(image);
}

// The stored form of a glyph: a 32-bit byte count, then the file.
inline std::vector<uint8_t> StoredGlyph(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> block(4);
  const auto n = uint32_t(file.size());
  for (int i = 0; i < 4; ++i) block[size_t(i)] = uint8_t(n >> (8 * i));
  block.insert(block.end(), file.begin(), file.end());
  return block;
}

inline void LoadGlyph(TWkBitBtn& button, const std::vector<uint8_t>& file) {
  TMemoryStream stream;
  const std::vector<uint8_t> block = StoredGlyph(file);
  stream.Write(block.data(), int64_t(block.size()));
  stream.SetPosition(0);
  button.Glyph()->ReadStoredData(stream);
}

class ButtonTest : public ::testing::Test {
 protected:
  static constexpr TPoint kFormAt{100, 100};
  static constexpr TPoint kCloseAt{8, 20};
  static constexpr TPoint kAboutAt{144, 20};

  ButtonTest() { App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin"); }

  void SetUp() override {
    App->CreateForm(Form);
    Form->SetBounds(kFormAt.X, kFormAt.Y, 300, 80);
    Form->SetColor(kSkyBlue);
    Close = AddButton("WkBitBtn1", "Close", kCloseAt);
    About = AddButton("WkBitBtn2", "About", kAboutAt);
  }

  TWkBitBtn* AddButton(const char* name, const char* caption, TPoint at) {
    auto* b = new TWkBitBtn(Form);
    b->SetName(name);
    b->SetBounds(at.X, at.Y, 105, b->Height());
    b->SetCaption(caption);
    b->SetColor(kButtonFace);
    b->Font()->SetName("MS Sans Serif");
    b->Font()->SetHeight(-13);
    b->Font()->SetStyle(TFontStyles{fsBold});
    b->SetHighlightColor(kButtonHighlight);
    b->SetHotTrack(true);
    b->SetHotTrackColor(kOrange);
    LoadGlyph(*b, GlyphFile());
    b->SetNumGlyphs(2);
    b->SetParent(Form);
    b->FOnClick = [this, b](TObject* sender) {
      EXPECT_EQ(sender, b);
      Clicks.push_back(b->Name());
    };
    return b;
  }

  void Show() {
    Form->Show();
    Settle();
  }
  void Settle() { App->ProcessMessages(); }

  // A pixel of the form's surface, in a control's client coordinates.
  uint32_t PixelOf(const TControl& c, int x, int y) const {
    return Form->PlatformWindow()->Surface().PixelRGB(c.Left() + x, c.Top() + y);
  }
  TPoint ScreenOf(const TControl& c, int x, int y) const {
    return {kFormAt.X + c.Left() + x, kFormAt.Y + c.Top() + y};
  }
  void MoveTo(const TControl& c, int x, int y) {
    Backend->MoveMouse(ScreenOf(c, x, y));
    Settle();
  }
  void Press(const TControl& c, int x, int y) {
    Backend->PressMouse(ibLeft, ScreenOf(c, x, y));
    Settle();
  }
  void Release(const TControl& c, int x, int y) {
    Backend->ReleaseMouse(ibLeft, ScreenOf(c, x, y));
    Settle();
  }
  void Key(int key, uint32_t modifiers = 0) {
    Backend->SetModifiers(modifiers);
    Backend->PressKey(key);
    Backend->ReleaseKey(key);
    Backend->SetModifiers(0);
    Settle();
  }
  // Writes what the form shows to /tmp, for looking at a failure.
  void SaveScreenshot(const std::string& name) const {
    Backend->SaveWindowImage(*static_cast<THeadlessWindow*>(Form->PlatformWindow()), "/tmp/" + name + ".png");
  }

  static uint32_t Rgb(TColor c) { return uint32_t(ColorToRGB(c)); }

  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  TForm* Form = nullptr;
  TWkBitBtn* Close = nullptr;
  TWkBitBtn* About = nullptr;
  std::vector<std::string> Clicks;
};
