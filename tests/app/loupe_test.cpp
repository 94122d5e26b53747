// The loupe over the main window's photographs, driven as a user would: the right button
// and Z show it, the wheel steps it, releasing, leaving and Escape hide it; nothing else
// of the window changes.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/draw_context.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"
#include "pictures/loupe.h"
#include "tests/app/viewer_fixture.h"
#include "widgets/led_display.h"
#include "widgets/status_panes.h"

namespace {
constexpr uint32_t kHighlightRGB = 0xC56A31;  // clHighlight, 0x00BBGGRR

class LoupeTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ShowMainWindow();
  }
  TLoupe& Loupe() const { return *Form1->Loupe(); }
  // The screen point of a point of an image view.
  static TPoint On(const TImage& image, TPoint p) { return image.ClientToScreen(p); }
  void PressRight(TPoint screen) {
    Backend->PressMouse(ibRight, screen);
    Settle();
  }
  void ReleaseRight(TPoint screen) {
    Backend->ReleaseMouse(ibRight, screen);
    Settle();
  }
  void MoveTo(TPoint screen) {
    Backend->MoveMouse(screen);
    Settle();
  }
  void Wheel(int notches, TPoint screen) {
    Backend->TurnWheel(notches, screen);
    Settle();
  }
  // The photograph's own pixel, 0x00BBGGRR.
  static uint32_t SourcePixel(const TImage& image, TPoint source) {
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(image.Picture()->Graphic());
    return jpeg->DecodedBitmap()->Image().PixelRGB(source.X, source.Y);
  }
  uint32_t PixelAt(TPoint screen) const {
    const TPoint p = Form1->ScreenToClient(screen);
    return MainPixel(p.X, p.Y);
  }
  std::unique_ptr<TBitmap> Shown() const {
    auto copy = std::make_unique<TBitmap>();
    copy->CopyFrom(&WindowOf(*Form1).Presented());
    return copy;
  }
  // The window painted afresh on a spoiled surface.
  std::unique_ptr<TBitmap> FullRepaint() {
    TBitmapImage& surface = Form1->PlatformWindow()->Surface();
    TDrawContext(&surface).FillRect({0, 0, surface.Width, surface.Height}, TBrushData{clFuchsia, bsSolid, nullptr});
    Form1->InvalidateWithChildren(Form1->ClientRect(), true);
    Settle();
    return Shown();
  }
  static int Differences(const TBitmap& a, const TBitmap& b, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) n += a.PixelRGB(x, y) != b.PixelRGB(x, y);
    return n;
  }
  static int Differences(const TBitmap& a, const TBitmap& b) { return Differences(a, b, {0, 0, a.Width(), a.Height()}); }
};

TEST_F(LoupeTest, RightPressOverImage16ShowsTheSourcePixelsAroundThePointAtOneToOne) {
  ClickTestPoint(16);
  const TImage& image = *Form1->Image16;
  const TPoint pointer = On(image, {200, 300});
  PressRight(pointer);
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_EQ(Loupe().Image(), &image);
  EXPECT_EQ(Loupe().Zoom(), 1);
  const TPoint source = *SourcePixelAt(image.DestRect(), {451, 540}, {200, 300});
  EXPECT_EQ(Loupe().SourcePixel(), source);
  EXPECT_EQ(PixelAt(pointer), SourcePixel(image, source)) << "the centre pixel";
  // 1:1 around it, where the photograph on screen drops rows and columns.
  for (TPoint d : {TPoint{37, 0}, TPoint{0, -55}, TPoint{-80, 61}, TPoint{100, 10}})
    EXPECT_EQ(PixelAt(pointer + d), SourcePixel(image, source + d)) << d.X << "," << d.Y;
  EXPECT_EQ(PixelAt(pointer + TPoint{-120, 0}), kHighlightRGB) << "the ring";
  EXPECT_EQ(PixelAt(pointer + TPoint{119, 0}), kHighlightRGB);
  EXPECT_EQ(PixelAt(pointer + TPoint{-118, 0}), SourcePixel(image, source + TPoint{-118, 0}));
  if (HasFailure()) SaveMainWindow("velmorath_loupe_image16");
}

TEST_F(LoupeTest, TheWheelStepsOneTwoFourTimesAndBack) {
  ClickTestPoint(16);
  const TImage& image = *Form1->Image16;
  const TPoint pointer = On(image, {200, 300});
  PressRight(pointer);
  const TPoint source = Loupe().SourcePixel();
  const int expected[] = {2, 4, 4};
  for (int zoom : expected) {
    Wheel(1, pointer);
    EXPECT_EQ(Loupe().Zoom(), zoom);
  }
  // At 4x each source pixel covers 4 x 4 lens pixels, the centre's starting at the pointer.
  for (int dx : {0, 3}) EXPECT_EQ(PixelAt(pointer + TPoint{dx, 0}), SourcePixel(image, source));
  EXPECT_EQ(PixelAt(pointer + TPoint{4, 0}), SourcePixel(image, source + TPoint{1, 0}));
  EXPECT_EQ(PixelAt(pointer + TPoint{-1, -1}), SourcePixel(image, source + TPoint{-1, -1}));
  EXPECT_EQ(PixelAt(pointer + TPoint{40, 80}), SourcePixel(image, source + TPoint{10, 20}));
  Wheel(-1, pointer);
  EXPECT_EQ(Loupe().Zoom(), 2);
  EXPECT_EQ(PixelAt(pointer + TPoint{2, 0}), SourcePixel(image, source + TPoint{1, 0}));
  Wheel(-5, pointer);
  EXPECT_EQ(Loupe().Zoom(), 1);
  EXPECT_EQ(PixelAt(pointer + TPoint{1, 0}), SourcePixel(image, source + TPoint{1, 0}));
}

TEST_F(LoupeTest, ReleaseHidesAndTheWindowEqualsAFullRepaint) {
  ClickTestPoint(16);
  const TImage& image = *Form1->Image16;
  MoveTo(On(image, {260, 250}));  // off the radio button, whose hover look goes
  const auto before = Shown();
  PressRight(On(image, {200, 300}));
  EXPECT_GT(Differences(*before, *Shown()), 20000);
  // The lens follows the pointer, zooms, and goes with the release.
  MoveTo(On(image, {260, 250}));
  EXPECT_EQ(Loupe().Bounds(), LoupeBounds(Form1->ScreenToClient(On(image, {260, 250}))));
  Wheel(2, On(image, {260, 250}));
  ReleaseRight(On(image, {260, 250}));
  EXPECT_FALSE(Loupe().Shown());
  const auto after = Shown();
  EXPECT_EQ(Differences(*before, *after), 0) << "the photograph underneath is exactly as before";
  EXPECT_EQ(Differences(*after, *FullRepaint()), 0);
}

TEST_F(LoupeTest, RightPressOutsideAPhotographOrWithNoneShownDoesNothing) {
  const TPoint empty = Form1->ClientToScreen({500, 300});  // the empty picture area
  MoveTo(empty);
  const auto start = Shown();
  PressRight(empty);
  Wheel(1, empty);
  ReleaseRight(empty);
  EXPECT_FALSE(Loupe().Shown());
  EXPECT_EQ(Differences(*start, *Shown()), 0);
  const TPoint about = Form1->WkBitBtn2->ClientToScreen({20, 10});
  MoveTo(about);
  const auto overAbout = Shown();
  PressRight(about);
  ReleaseRight(about);
  EXPECT_EQ(Differences(*overAbout, *Shown()), 0);
  EXPECT_FALSE(Form2->Visible());
  ClickTab(1);  // Z600
  ClickTestPoint(4);
  // Image4's box is 689 wide, its photograph 683: the strip beside it is not the photograph.
  const TPoint strip = On(*Form1->Image4, {686, 200});
  MoveTo(strip);
  const auto withImage4 = Shown();
  PressRight(strip);
  EXPECT_FALSE(Loupe().Shown());
  Wheel(1, strip);
  ReleaseRight(strip);
  EXPECT_EQ(Differences(*withImage4, *Shown()), 0);
  EXPECT_EQ(VisibleImages(), "Image4");
  EXPECT_TRUE(Checked(4));
}

TEST_F(LoupeTest, EscapeOrLeavingThePhotographHides) {
  ClickTestPoint(16);
  const TImage& image = *Form1->Image16;
  MoveTo(On(image, {100, 100}));
  const auto before = Shown();
  PressRight(On(image, {100, 100}));
  ASSERT_TRUE(Loupe().Shown());
  Key(vkEscape);
  EXPECT_FALSE(Loupe().Shown());
  EXPECT_EQ(Differences(*before, *Shown()), 0);
  MoveTo(On(image, {120, 100}));
  EXPECT_FALSE(Loupe().Shown()) << "hidden until the next press";
  ReleaseRight(On(image, {120, 100}));
  PressRight(On(image, {100, 100}));
  ASSERT_TRUE(Loupe().Shown());
  MoveTo(On(image, {448, 100}));  // just past the photograph's right edge
  EXPECT_FALSE(Loupe().Shown());
  ReleaseRight(On(image, {448, 100}));
  EXPECT_EQ(Differences(*before, *Shown()), 0);
  EXPECT_TRUE(Checked(16)) << "Escape changed nothing else";
}

TEST_F(LoupeTest, HoldingZShowsTheLensAtThePointer) {
  const TPoint pointer = Form1->ClientToScreen({264 + 150, 64 + 150});
  MoveTo(pointer);
  Backend->PressKey('Z');
  Settle();
  EXPECT_FALSE(Loupe().Shown()) << "no photograph is shown";
  Backend->ReleaseKey('Z');
  ClickTestPoint(16);
  MoveTo(pointer);
  const auto before = Shown();
  Backend->PressKey('Z');
  Backend->PressKey('Z');  // the key's repeat
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_EQ(PixelAt(pointer), SourcePixel(*Form1->Image16, Loupe().SourcePixel()));
  MoveTo(pointer + TPoint{30, 40});
  EXPECT_EQ(Loupe().Bounds(), LoupeBounds(Form1->ScreenToClient(pointer + TPoint{30, 40})));
  Wheel(1, pointer + TPoint{30, 40});
  EXPECT_EQ(Loupe().Zoom(), 2);
  Backend->ReleaseKey('Z');
  Settle();
  EXPECT_FALSE(Loupe().Shown());
  EXPECT_EQ(Differences(*before, *Shown()), 0);
  // Leaving the image view entirely hides it as well.
  Backend->PressKey('Z');
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  MoveTo(Form1->ClientToScreen({900, 300}));
  EXPECT_FALSE(Loupe().Shown());
  Backend->ReleaseKey('Z');
  Settle();
  EXPECT_EQ(Differences(*before, *Shown()), 0);
}

TEST_F(LoupeTest, TheBannerStaysClearAndKeepsScrolling) {
  ClickTestPoint(16);
  const TRect banner = Form1->WkLEDDisplay1->BoundsRect();
  const TPoint pointer = On(*Form1->Image16, {100, 50});
  MoveTo(pointer);
  const auto before = Shown();
  PressRight(pointer);
  Wheel(2, pointer);
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_EQ(Differences(*before, *Shown(), banner), 0) << "the lens lies under the banner";
  // Above the banner the lens shows: 110 rows above the centre at 4x is 28 source rows up.
  EXPECT_EQ(PixelAt(Form1->ClientToScreen({364, 4})),
            SourcePixel(*Form1->Image16, Loupe().SourcePixel() + TPoint{0, -28}));
  App->WindowSystem().RunFor(300);
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_GT(Differences(*before, *Shown(), banner), 0) << "the banner scrolled";
  EXPECT_EQ(PixelAt(pointer), SourcePixel(*Form1->Image16, Loupe().SourcePixel()));
  ReleaseRight(pointer);
  const auto after = Shown();
  EXPECT_EQ(Differences(*after, *FullRepaint()), 0);
}

TEST_F(LoupeTest, TheClockTicksUnderTheLensWithoutSpoilingIt) {
  ClickTestPoint(16);
  const TImage& image = *Form1->Image16;
  const TPoint pointer = On(image, {440, 530});  // the lens reaches over the clock pane
  PressRight(pointer);
  ASSERT_TRUE(Loupe().Shown());
  const TRect clock = Form1->WkClockStatus1->BoundsRect();
  ASSERT_TRUE(IntersectRect(Loupe().Bounds(), clock) != TRect{});
  const auto lensUp = Shown();
  App->WindowSystem().RunFor(2000);
  const auto later = Shown();
  // Inside the lens nothing changed; the clock's own pixels beside it did.
  int changedInLens = 0;
  const TRect lens = Loupe().Bounds();
  for (int y = lens.Top; y < lens.Bottom; ++y)
    for (int x = lens.Left; x < lens.Right; ++x)
      if (Loupe().OverlayArea().PointIn(x, y)) changedInLens += lensUp->PixelRGB(x, y) != later->PixelRGB(x, y);
  EXPECT_EQ(changedInLens, 0);
  ReleaseRight(pointer);
  EXPECT_EQ(Differences(*Shown(), *FullRepaint()), 0);
}

TEST_F(LoupeTest, TheMainWindowLosingTheKeyboardHidesTheLens) {
  ClickTestPoint(16);
  const TPoint pointer = On(*Form1->Image16, {150, 150});
  MoveTo(pointer);
  const auto before = Shown();
  Backend->PressKey('Z');
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  // Z is released in another window: the main window never hears of it.
  Backend->InjectWindowEvent(Form1->PlatformWindow(), TInputKind::WindowDeactivate);
  Settle();
  EXPECT_FALSE(Loupe().Shown());
  EXPECT_EQ(Differences(*before, *Shown()), 0);
}

TEST_F(LoupeTest, ChoosingAnotherPhotographByKeyHidesTheLens) {
  ClickTestPoint(16);  // focuses Test point W900
  const TPoint pointer = On(*Form1->Image16, {150, 150});
  MoveTo(pointer);
  Backend->PressKey('Z');
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  Key(vkUp);  // the focus and the check move to W600: Image15 replaces Image16
  EXPECT_EQ(VisibleImages(), "Image15");
  EXPECT_FALSE(Loupe().Shown());
  Backend->ReleaseKey('Z');
  Settle();
  EXPECT_EQ(Differences(*Shown(), *FullRepaint()), 0);
}
}  // namespace
