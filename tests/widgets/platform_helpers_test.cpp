// The helpers that ask the platform: the parent's background under a control, the
// screen's colour depth and the font technology.
#include <gtest/gtest.h>

#include "framework/controls/custom_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/font.h"
#include "platform/headless/headless_backend.h"
#include "tests/widgets/pixel_pattern.h"
#include "widgets/frame_drawing.h"

namespace {
// A custom-drawn parent: erased in its colour, then a red 2 x 2 block at (6, 4).
class TMarkedPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({6, 4, 8, 6});
  }
};

struct ParentBackground : ::testing::Test {
  std::unique_ptr<THeadlessBackend> backend = CreateHeadlessBackend();
  TWindowSystem system{*backend};
  std::unique_ptr<TWinControl> top = std::make_unique<TWinControl>(nullptr);

  void SetUp() override {
    top->SetBounds(0, 0, 100, 100);
    top->CreatePlatformWindow(*backend);
  }
  template <class T>
  T* Add(TWinControl* parent, TRect bounds, TColor color) {
    auto* control = new T(top.get());
    control->SetBoundsRect(bounds);
    control->SetColor(color);
    control->SetParent(parent);
    return control;
  }
  // Paints and presents everything, leaving no window invalid.
  void Settle() {
    top->SetVisible(true);
    system.ProcessMessages();
  }
};

TEST_F(ParentBackground, ParentErasesAndPaintsShiftedAndClippedToItsClientArea) {
  auto* panel = Add<TMarkedPanel>(top.get(), {10, 10, 20, 17}, clLime);  // 10 x 7
  auto* child = Add<TWinControl>(panel, {5, 3, 17, 9}, clBlue);          // reaches past the panel
  auto image = MakeCanvasBitmap(12, 6);
  PaintParentBackground(*child, image->Canvas(), false);
  const TLegend legend = {{'g', 0x00FF00}, {'r', 0x0000FF}};
  EXPECT_PICTURE(*image, legend, "ggggg.......", "grrgg.......", "grrgg.......", "ggggg.......", "............",
                 "............");
  EXPECT_EQ(image->Canvas().Handle().SaveDepth(), 0);
  EXPECT_EQ(image->Canvas().Handle().Origin(), (TPoint{0, 0}));
  EXPECT_EQ(image->Canvas().ClipRect(), (TRect{0, 0, 12, 6}));
}

TEST_F(ParentBackground, WithoutAParentNothingIsDrawn) {
  TWinControl orphan(nullptr);
  orphan.SetBounds(0, 0, 4, 4);
  auto image = MakeCanvasBitmap(4, 4);
  PaintParentBackground(orphan, image->Canvas(), true);
  EXPECT_EQ(ChangedCount(*image), 0);
}

TEST_F(ParentBackground, OnlyAPlainWindowedParentIsInvalidated) {
  auto* plain = Add<TWinControl>(top.get(), {0, 0, 50, 50}, clLime);
  auto* custom = Add<TMarkedPanel>(top.get(), {50, 0, 100, 50}, clLime);
  auto* inPlain = Add<TWinControl>(plain, {1, 1, 5, 5}, clBlue);
  auto* inCustom = Add<TWinControl>(custom, {1, 1, 5, 5}, clBlue);
  auto* inTop = Add<TWinControl>(top.get(), {0, 60, 5, 65}, clBlue);
  Settle();
  auto image = MakeCanvasBitmap(4, 4);

  PaintParentBackground(*inPlain, image->Canvas(), false);
  EXPECT_TRUE(plain->InvalidRegion().IsEmpty()) << "not asked to";
  PaintParentBackground(*inCustom, image->Canvas(), true);
  EXPECT_TRUE(custom->InvalidRegion().IsEmpty()) << "custom-drawn parent";
  PaintParentBackground(*inTop, image->Canvas(), true);
  EXPECT_TRUE(top->InvalidRegion().IsEmpty()) << "the form";
  inPlain->SetComponentState(csDesigning, true);
  PaintParentBackground(*inPlain, image->Canvas(), true);
  EXPECT_TRUE(plain->InvalidRegion().IsEmpty()) << "being designed";
  inPlain->SetComponentState(csDesigning, false);
  PaintParentBackground(*inPlain, image->Canvas(), true);
  EXPECT_EQ(plain->InvalidRegion().BoundingBox(), (TRect{0, 0, 50, 50}));
}

TEST(TrueColorDisplay, FollowsTheScreenDepth) {
  EXPECT_TRUE(HasTrueColorDisplay()) << "no window system: the default screen";
  {
    auto backend = CreateHeadlessBackend();
    TWindowSystem system(*backend);
    EXPECT_TRUE(HasTrueColorDisplay());
  }
  THeadlessScreen palette;
  palette.BitsPerPixel = 8;
  auto backend = CreateHeadlessBackend(palette);
  TWindowSystem system(*backend);
  EXPECT_FALSE(HasTrueColorDisplay());
}
TEST(FontIsTrueType, TheWindowFontsAreScalable) {
  // The platform resolves every description to a scalable face, substitutes included.
  TFont font;
  font.SetName("MS Sans Serif");
  font.SetHeight(-11);
  EXPECT_TRUE(FontIsTrueType(font));
  font.SetName("Verdana");
  font.SetHeight(-13);
  font.SetStyle({fsBold});
  EXPECT_TRUE(FontIsTrueType(font));
}
}  // namespace
