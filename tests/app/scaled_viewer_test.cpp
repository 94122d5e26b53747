// The viewer on a screen twice as fine as its surfaces: every pixel is a 2 x 2 block of the
// frame the program shows at scale 1, except inside the shown photograph's box, where the
// photograph appears at the fitting rule's size for the doubled box (its own resolution,
// when it fits) and the window's background around it; the pointer is divided back.
#include <memory>

#include "framework/controls/window_system.h"
#include "pictures/image.h"
#include "pictures/loupe.h"
#include "pictures/jpeg_image.h"
#include "tests/app/viewer_fixture.h"

namespace {
constexpr int kScale = 2;

TRect ScaledRect(const TRect& r, int s) { return {r.Left * s, r.Top * s, r.Right * s, r.Bottom * s}; }
}  // namespace

class ScaledViewerTest : public ViewerTest {
 protected:
  // Starts the program again on a screen `scale` times finer.
  void RestartAt(int scale) {
    TearDown();
    StartScreen = THeadlessScreen{};
    StartScreen.Width = 1280 * scale;
    StartScreen.Height = 1024 * scale;
    StartScreen.Scale = scale;
    SetUp();
    ShowMainWindow();
  }
  // A click where the screen's pixel (S x + 1, S y + 1) lies: inside the block of the
  // control's middle pixel, off its top-left corner.
  void ClickInBlock(const TControl& control) {
    const TPoint p = control.ClientToScreen({control.Width() / 2, control.Height() / 2});
    Backend->Click({p.X * StartScreen.Scale + 1, p.Y * StartScreen.Scale + 1});
    Settle();
  }
  std::unique_ptr<TBitmap> MainWindowImage() const { return Backend->WindowImage(WindowOf(*Form1)); }

  // Shows test point `n` at scale 1 and at scale 2, and checks the doubled frame.
  void ExpectBlocksAndPhotograph(int n, TSize pictureSize, TRect fittedAtTwo) {
    ShowMainWindow();
    ClickTestPoint(n);
    const std::unique_ptr<TBitmap> once = MainWindowImage();
    RestartAt(kScale);
    ClickInBlock(*Form1->TestPointButton(n));
    ASSERT_TRUE(Checked(n)) << "the click at screen pixels reached the radio button";
    ASSERT_EQ(VisibleImages(), Form1->TestPointImage(n)->Name());
    const std::unique_ptr<TBitmap> twice = MainWindowImage();
    ASSERT_EQ(twice->Width(), 959 * kScale);
    ASSERT_EQ(twice->Height(), 614 * kScale);

    TImage& image = *Form1->TestPointImage(n);
    ASSERT_EQ(image.Picture()->Width(), pictureSize.cx);
    ASSERT_EQ(image.Picture()->Height(), pictureSize.cy);
    EXPECT_EQ(image.DestRect(kScale), fittedAtTwo);
    const TRect box = ScaledRect(image.BoundsRect(), kScale);
    const TRect photo = fittedAtTwo.Offset(box.Left, box.Top);
    auto* jpeg = dynamic_cast<TJPEGImage*>(image.Picture()->Graphic());
    ASSERT_NE(jpeg, nullptr);
    const TBitmap& source = jpeg->DecodeToBitmap();
    const bool oneToOne = fittedAtTwo.Width() == pictureSize.cx && fittedAtTwo.Height() == pictureSize.cy;

    int wrong = 0;
    for (int y = 0; y < twice->Height() && wrong < 10; ++y)
      for (int x = 0; x < twice->Width() && wrong < 10; ++x) {
        const uint32_t shown = twice->PixelRGB(x, y);
        uint32_t expected = 0;
        if (photo.Contains({x, y})) {
          if (!oneToOne) continue;  // a scaled photograph is checked by its size alone
          expected = source.PixelRGB(x - photo.Left, y - photo.Top);
        } else if (box.Contains({x, y})) {
          expected = kSkyBlueRGB;  // the window's background around the photograph
        } else {
          expected = once->PixelRGB(x / kScale, y / kScale);
        }
        if (shown != expected) {
          ++wrong;
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << shown << ", not " << expected;
        }
      }
  }
};

// Shrunk to 448 x 537 at scale 1; the doubled box (898 x 1074) holds it whole.
TEST_F(ScaledViewerTest, APhotographThatFitsTheDoubledBoxIsShownAtItsOwnResolution) {
  ExpectBlocksAndPhotograph(16, {451, 540}, {0, 0, 451, 540});
}

TEST_F(ScaledViewerTest, APhotographShownAtItsOwnSizeAtScaleOneStaysSoAndTheRestIsBlocks) {
  ExpectBlocksAndPhotograph(14, {635, 214}, {0, 0, 635, 214});
}

// Choosing another test point repaints the picture area: the first photograph's fine
// pixels go with it, and nothing of them stays beside the second.
TEST_F(ScaledViewerTest, ThePreviousPhotographLeavesNoFinePixelsBehind) {
  ShowMainWindow();
  ClickTestPoint(16);
  ClickTestPoint(14);
  const std::unique_ptr<TBitmap> once = MainWindowImage();
  RestartAt(kScale);
  ClickInBlock(*Form1->TestPointButton(16));
  ClickInBlock(*Form1->TestPointButton(14));
  ASSERT_EQ(VisibleImages(), "Image14");
  const std::unique_ptr<TBitmap> twice = MainWindowImage();
  const TRect photo = ScaledRect(Form1->Image14->BoundsRect(), kScale);
  const TRect sixteen = ScaledRect(Form1->Image16->BoundsRect(), kScale);
  int wrong = 0;
  for (int y = sixteen.Top; y < sixteen.Bottom; ++y)
    for (int x = sixteen.Left; x < sixteen.Right; ++x)
      if (!photo.Contains({x, y}) && twice->PixelRGB(x, y) != once->PixelRGB(x / kScale, y / kScale)) ++wrong;
  EXPECT_EQ(wrong, 0) << "pixels of Image16's box outside Image14's still differ from the blocks";
}

// The banner and the clock go on drawing at scale 2 as they do at scale 1: after the same
// virtual time every pixel is still the block of the scale-1 frame.
TEST_F(ScaledViewerTest, TicksOfTheBannerAndTheClockArePresentedAsBlocks) {
  ShowMainWindow();
  App->WindowSystem().RunFor(1500);
  const std::unique_ptr<TBitmap> once = MainWindowImage();
  RestartAt(kScale);
  App->WindowSystem().RunFor(1500);
  const std::unique_ptr<TBitmap> twice = MainWindowImage();
  int wrong = 0;
  for (int y = 0; y < twice->Height(); ++y)
    for (int x = 0; x < twice->Width(); ++x)
      if (twice->PixelRGB(x, y) != once->PixelRGB(x / kScale, y / kScale)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

// The doubled boxes hold every photograph of the catalogue whole: at scale 2 each is drawn
// pixel for pixel, however much scale 1 shrinks it.
TEST_F(ScaledViewerTest, EveryPhotographFitsItsDoubledBoxAtItsOwnSize) {
  for (int n = 1; n <= kTestPointCount; ++n) {
    const TImage& image = *Form1->TestPointImage(n);
    EXPECT_EQ(image.DestRect(kScale), (TRect{0, 0, image.Picture()->Width(), image.Picture()->Height()}))
        << image.Name();
  }
}

// The loupe is drawn on the surface, so at scale 2 its lens shows in blocks over the fine
// photograph; where it was, the photograph's own pixels come back once it goes.
TEST_F(ScaledViewerTest, TheLoupeShowsOverTheFinePhotographAndLeavesItWhole) {
  RestartAt(kScale);
  ClickInBlock(*Form1->TestPointButton(16));
  const TImage& image = *Form1->Image16;
  const TPoint pointer = image.ClientToScreen({200, 300});
  const TPoint screen{pointer.X * kScale + 1, pointer.Y * kScale + 1};
  Backend->PressMouse(ibRight, screen);
  Settle();
  ASSERT_TRUE(Form1->Loupe()->Shown());
  const TRegion& lens = Form1->Loupe()->OverlayArea();
  ASSERT_FALSE(lens.IsEmpty());
  const TBitmapImage& surface = Form1->PlatformWindow()->Surface();
  std::unique_ptr<TBitmap> shown = MainWindowImage();
  int wrong = 0;
  for (const TRect& r : lens.Rects())
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        wrong += shown->PixelRGB(x * kScale + 1, y * kScale + 1) != surface.PixelRGB(x, y);
  EXPECT_EQ(wrong, 0) << "lens pixels hidden under the fine photograph";

  Backend->ReleaseMouse(ibRight, screen);
  Settle();
  ASSERT_FALSE(Form1->Loupe()->Shown());
  shown = MainWindowImage();
  const auto* jpeg = dynamic_cast<const TJPEGImage*>(image.Picture()->Graphic());
  const TBitmap& source = *jpeg->DecodedBitmap();
  const TPoint origin{image.Left() * kScale, image.Top() * kScale};
  wrong = 0;
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) wrong += shown->PixelRGB(origin.X + x, origin.Y + y) != source.PixelRGB(x, y);
  EXPECT_EQ(wrong, 0) << "photograph pixels not back after the loupe went";
}
