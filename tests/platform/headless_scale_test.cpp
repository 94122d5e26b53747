// The headless backend at a scale above 1: surfaces shown in blocks, the fine layer over
// them where it is shown, and screen positions divided back to surface pixels.
#include <gtest/gtest.h>

#include "framework/graphics/draw_context.h"
#include "platform/headless/headless_backend.h"

namespace {
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

struct ScaledScreen : ::testing::Test {
  THeadlessBackend Backend{THeadlessScreen{.Width = 640, .Height = 480, .Scale = 2}};
  std::unique_ptr<TPlatformWindow> Holder = Backend.CreateWindow(Bounds(10, 20, 40, 30));
  THeadlessWindow& Window = static_cast<THeadlessWindow&>(*Holder);

  void Fill(TBitmapImage& image, const TRect& r, uint32_t rgb) {
    TDrawContext dc(&image);
    dc.FillRect(r, TBrushData{TColor(rgb), bsSolid, nullptr});
  }
  uint32_t Shown(int x, int y) const { return Window.Presented().PixelRGB(x, y); }
};
}  // namespace

TEST_F(ScaledScreen, TheFrameworkSeesSurfacePixelsAndTheScreenIsFiner) {
  EXPECT_EQ(Window.Scale(), 2);
  EXPECT_EQ(Backend.ScreenSize(), (TSize{320, 240}));
  EXPECT_EQ(Window.Surface().Width, 40);
  EXPECT_EQ(Window.Presented().Width(), 80);
  EXPECT_EQ(Window.Presented().Height(), 60);
  ASSERT_NE(Window.FineLayer(), nullptr);
  EXPECT_EQ(Window.FineLayer()->Width, 80);
  EXPECT_EQ(Window.FineLayer()->Height, 60);
}

TEST_F(ScaledScreen, EachSurfacePixelIsPresentedAsABlock) {
  Holder->SetVisible(true);
  Fill(Window.Surface(), {0, 0, 40, 30}, kRed);
  Window.Surface().SetPixelValue(3, 4, Window.Surface().RGBToValue(kBlue));
  Window.Present({0, 0, 40, 30});
  for (int y = 6; y < 12; ++y)
    for (int x = 4; x < 10; ++x)
      EXPECT_EQ(Shown(x, y), (x / 2 == 3 && y / 2 == 4) ? kBlue : kRed) << x << ", " << y;
  // The screenshot places the window at twice its position.
  const std::unique_ptr<TBitmap> screen = Backend.ScreenImage();
  EXPECT_EQ(screen->Width(), 640);
  EXPECT_EQ(screen->PixelRGB(20 + 6, 40 + 8), kBlue);
  EXPECT_EQ(screen->PixelRGB(20 + 5, 40 + 8), kRed);
}

TEST_F(ScaledScreen, TheFineLayerShowsWhereMarkedUntilTheSurfaceIsDrawnThereAgain) {
  Fill(Window.Surface(), {0, 0, 40, 30}, kRed);
  TBitmapImage& fine = *Window.FineLayer();
  Fill(fine, {0, 0, 80, 60}, kGreen);
  Window.ShowFine(TRegion(TRect{5, 5, 15, 9}));  // not on block edges
  Window.Present({0, 0, 40, 30});
  EXPECT_EQ(Shown(5, 5), kGreen);
  EXPECT_EQ(Shown(14, 8), kGreen);
  EXPECT_EQ(Shown(4, 5), kRed) << "the rest of the block is the surface's";
  EXPECT_EQ(Shown(15, 8), kRed);

  // Drawing surface pixel (3, 3) anew hides the fine pixels of its block, no more.
  Window.HideFine(TRegion(TRect{3, 3, 4, 4}));
  Window.Present({0, 0, 40, 30});
  EXPECT_EQ(Shown(6, 6), kRed);
  EXPECT_EQ(Shown(7, 7), kRed);
  EXPECT_EQ(Shown(8, 6), kGreen);

  // A new size lets the fine layer go.
  Window.SetScreenBounds(Bounds(10, 20, 41, 30));
  Fill(Window.Surface(), {0, 0, 41, 30}, kRed);
  Window.Present({0, 0, 41, 30});
  EXPECT_EQ(Shown(8, 6), kRed);
  EXPECT_TRUE(Window.Fine().Shown().IsEmpty());
}

TEST_F(ScaledScreen, PresentingAPartTouchesOnlyItsBlocks) {
  Fill(Window.Surface(), {0, 0, 40, 30}, kRed);
  Window.Present({0, 0, 40, 30});
  Fill(Window.Surface(), {0, 0, 40, 30}, kBlue);
  Window.Present({2, 2, 3, 3});
  EXPECT_EQ(Shown(4, 4), kBlue);
  EXPECT_EQ(Shown(5, 5), kBlue);
  EXPECT_EQ(Shown(6, 4), kRed);
  EXPECT_EQ(Shown(3, 5), kRed);
}

// Screen pixel (2x + 1, 2y + 1) lies in the block of surface pixel (x, y); positions left of
// or above the screen's origin stay there rather than rounding onto it.
TEST_F(ScaledScreen, PointerPositionsAreDividedBackToTheBlockTheyLieIn) {
  Holder->SetVisible(true);
  Backend.PressMouse(ibLeft, {2 * 15 + 1, 2 * 25 + 1});
  Backend.ReleaseMouse(ibLeft, {2 * 15, 2 * 25});
  TInputEvent e;
  ASSERT_TRUE(Backend.PollEvent(e));
  EXPECT_EQ(e.Kind, TInputKind::MouseDown);
  EXPECT_EQ(e.ScreenPos, (TPoint{15, 25}));
  EXPECT_EQ(e.Window, Holder.get());
  ASSERT_TRUE(Backend.PollEvent(e));
  EXPECT_EQ(e.ScreenPos, (TPoint{15, 25}));
  EXPECT_EQ(Backend.CursorPos(), (TPoint{15, 25}));

  Backend.MoveMouse({2 * 10 - 1, 2 * 20});  // one screen pixel left of the window
  ASSERT_TRUE(Backend.PollEvent(e));
  EXPECT_EQ(e.ScreenPos, (TPoint{9, 20}));
  EXPECT_EQ(e.Window, nullptr);
  Backend.MoveMouse({-1, -3});
  ASSERT_TRUE(Backend.PollEvent(e));
  EXPECT_EQ(e.ScreenPos, (TPoint{-1, -2}));
}
