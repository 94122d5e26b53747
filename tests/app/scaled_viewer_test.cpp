// The viewer on a screen twice as fine as its surfaces: every pixel is a 2 x 2 block of the
// frame the program shows at scale 1, except inside the shown photograph's box, where the
// photograph appears at the fitting rule's size for the doubled box (its own resolution,
// when it fits) and the window's background around it; the pointer is divided back.
#include <memory>

#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "pictures/image.h"
#include "pictures/loupe.h"
#include "pictures/jpeg_image.h"
#include "tests/app/viewer_fixture.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

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

// A scroll step presents only the dots it changed, enlarged; the screen must still show the
// whole surface as blocks after every step.
TEST_F(ScaledViewerTest, EachScrollStepPresentsItsChangesAndLeavesTheBannerWhole) {
  RestartAt(kScale);
  THeadlessWindow& window = WindowOf(*Form1);
  const TRect banner{8, 8, 953, 57};
  bool partial = false;
  for (int tick = 0; tick < 60; ++tick) {
    const int presents = window.PresentCount();
    App->WindowSystem().RunFor(100);
    const TRect last = window.LastPresentRect();  // surface pixels
    if (window.PresentCount() > presents && last != banner && IntersectRect(last, banner) == last) partial = true;
    const TBitmapImage& surface = window.Surface();
    for (int y = banner.Top * kScale; y < banner.Bottom * kScale; ++y)
      for (int x = banner.Left * kScale; x < banner.Right * kScale; ++x)
        ASSERT_EQ(window.Presented().PixelRGB(x, y), surface.PixelRGB(x / kScale, y / kScale))
            << "tick " << tick << " at (" << x << ", " << y << ")";
  }
  EXPECT_TRUE(partial) << "no step presented less than the whole banner";
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

// The loupe on a screen twice as fine: the lens is drawn at the screen's own resolution, each
// source pixel zoom x zoom screen pixels around the source pixel under the pointer's screen
// pixel, its ring the blocks of the surface's ring.
class ScaledLoupeTest : public ScaledViewerTest {
 protected:
  static constexpr uint32_t kHighlightRGB = 0xC56A31;  // clHighlight, 0x00BBGGRR

  TLoupe& Loupe() const { return *Form1->Loupe(); }
  // The screen pixel inside the block of a point of an image view, off its top-left corner.
  static TPoint OnScreen(const TImage& image, TPoint p) {
    const TPoint q = image.ClientToScreen(p);
    return {q.X * kScale + 1, q.Y * kScale + 1};
  }
  void ShowPhotograph(int n) {
    RestartAt(kScale);
    TWkRadioButton& button = *Form1->TestPointButton(n);
    Form1->WkPageControl1->SetActivePage(static_cast<TWkTabSheet*>(button.Parent()));
    Settle();
    ClickInBlock(button);
    ASSERT_EQ(VisibleImages(), Form1->TestPointImage(n)->Name());
    // The pointer leaves the button (which shows it was under it) for the photograph.
    const TImage& image = *Form1->TestPointImage(n);
    Backend->MoveMouse(OnScreen(image, {image.Width() / 2, image.Height() / 2}));
    Settle();
  }
  // The lens's centre pixel in the window's screen pixels.
  TPoint LensCentre() const {
    const TRect b = Loupe().Bounds();
    return {(b.Left + kLoupeDiameter / 2) * kScale, (b.Top + kLoupeDiameter / 2) * kScale};
  }
  static const TBitmap& Source(const TImage& image) {
    return *dynamic_cast<const TJPEGImage*>(image.Picture()->Graphic())->DecodedBitmap();
  }
  // Every screen pixel of the lens's square: the ring's blocks in the highlight colour, the
  // disc the source pixels the geometry names (the window's colour beyond the picture), and
  // outside the disc what `before` showed.
  int WrongLensPixels(const TImage& image, const TBitmap& before) const {
    const std::unique_ptr<TBitmap> shown = MainWindowImage();
    const TBitmap& source = Source(image);
    const TRect from = LoupeSourceRect(Loupe().SourcePixel(), Loupe().Zoom(), kScale);
    const TRect square = ScaledRect(Loupe().Bounds(), kScale);
    TRegion disc = LensDisc(), ring = LensRing();
    disc.Scale(kScale);
    ring.Scale(kScale);
    int wrong = 0;
    for (int v = 0; v < square.Height(); ++v)
      for (int u = 0; u < square.Width(); ++u) {
        const int x = square.Left + u, y = square.Top + v;
        if (x < 0 || y < 0 || x >= shown->Width() || y >= shown->Height()) continue;
        uint32_t expected = before.PixelRGB(x, y);
        if (ring.PointIn(u, v)) {
          expected = kHighlightRGB;
        } else if (disc.PointIn(u, v)) {
          const TPoint s{from.Left + u / Loupe().Zoom(), from.Top + v / Loupe().Zoom()};
          const bool inPicture = s.X >= 0 && s.Y >= 0 && s.X < source.Width() && s.Y < source.Height();
          expected = inPicture ? source.PixelRGB(s.X, s.Y) : kSkyBlueRGB;
        }
        if (shown->PixelRGB(x, y) != expected && ++wrong <= 5)
          ADD_FAILURE() << "lens pixel (" << u << ", " << v << ") is " << std::hex << shown->PixelRGB(x, y)
                        << ", not " << expected;
      }
    return wrong;
  }
  // Every screen pixel of the window the same, and the fine layer shown over the same area.
  void ExpectRestored(const TBitmap& before, const TRegion& fineBefore) const {
    const std::unique_ptr<TBitmap> after = MainWindowImage();
    int wrong = 0;
    for (int y = 0; y < after->Height(); ++y)
      for (int x = 0; x < after->Width(); ++x) wrong += after->PixelRGB(x, y) != before.PixelRGB(x, y);
    EXPECT_EQ(wrong, 0) << "screen pixels changed by the lens";
    EXPECT_TRUE(WindowOf(*Form1).Fine().Shown().Combine(fineBefore, roXor).IsEmpty())
        << "the fine layer shows over another area than before the lens";
  }
};

// Image4 (1024 x 768) is shown at its own size at scale 2; the pointer's block at (200, 250)
// of the view has its top-left screen pixel on source pixel (400, 500). The expected source
// pixels are worked out by hand: at zoom z the lens's 480 screen pixels show 480 / z source
// pixels, the centre screen pixel on (400, 500).
TEST_F(ScaledLoupeTest, EachSourcePixelFillsZoomByZoomScreenPixelsAroundTheOneUnderThePointer) {
  ShowPhotograph(4);
  const TImage& image = *Form1->Image4;
  ASSERT_EQ(image.DestRect(kScale), (TRect{0, 0, 1024, 768}));
  const TPoint at = OnScreen(image, {200, 250});
  Backend->PressMouse(ibRight, at);
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_EQ(Loupe().SourcePixel(), (TPoint{400, 500}));
  struct TCase {
    int Zoom;
    TPoint Offset, Source;  // from the lens's centre screen pixel; the source pixel shown there
  };
  const TCase cases[] = {
      {1, {0, 0}, {400, 500}}, {1, {1, 0}, {401, 500}},  {1, {0, 1}, {400, 501}},  {1, {-150, 100}, {250, 600}},
      {2, {0, 0}, {400, 500}}, {2, {1, 1}, {400, 500}},  {2, {2, 0}, {401, 500}},  {2, {-1, 0}, {399, 500}},
      {2, {-100, 37}, {350, 518}}, {4, {0, 0}, {400, 500}}, {4, {3, 3}, {400, 500}}, {4, {4, 0}, {401, 500}},
      {4, {-1, -1}, {399, 499}}, {4, {101, -57}, {425, 485}},
  };
  const TBitmap& source = Source(image);
  for (const TCase& c : cases) {
    while (Loupe().Zoom() < c.Zoom) {
      Backend->TurnWheel(1, at);
      Settle();
    }
    ASSERT_EQ(Loupe().Zoom(), c.Zoom);
    const TPoint p = LensCentre() + c.Offset;
    EXPECT_EQ(MainWindowImage()->PixelRGB(p.X, p.Y), source.PixelRGB(c.Source.X, c.Source.Y))
        << "zoom " << c.Zoom << ", offset (" << c.Offset.X << ", " << c.Offset.Y << ")";
  }
}

// The whole square at each magnification, and the surface's own lens: the middle screen
// pixel of each block, so that the blocks show the same lens.
TEST_F(ScaledLoupeTest, TheWholeLensIsAtScreenResolutionWithItsRingInBlocks) {
  ShowPhotograph(4);
  const TImage& image = *Form1->Image4;
  const std::unique_ptr<TBitmap> before = MainWindowImage();
  const TPoint at = OnScreen(image, {300, 200});
  Backend->PressMouse(ibRight, at);
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  for (int zoom : {1, 2, 4}) {
    ASSERT_EQ(Loupe().Zoom(), zoom);
    EXPECT_EQ(WrongLensPixels(image, *before), 0) << "zoom " << zoom;
    const std::unique_ptr<TBitmap> shown = MainWindowImage();
    const TBitmapImage& surface = Form1->PlatformWindow()->Surface();
    int wrong = 0;
    for (const TRect& r : Loupe().OverlayArea().Rects())
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
          wrong += surface.PixelRGB(x, y) != shown->PixelRGB(x * kScale + kScale / 2, y * kScale + kScale / 2);
    EXPECT_EQ(wrong, 0) << "surface lens pixels that are not their block's middle screen pixel, zoom " << zoom;
    Backend->TurnWheel(1, at);
    Settle();
  }
}

// Image16 (451 x 540) is shown at its own size at scale 2, smaller than the blocks of its
// scale-1 placement: low on that placement the lens shows the photograph's bottom edge and
// the window's colour beneath it, as the screen does there.
TEST_F(ScaledLoupeTest, WhereTheFinePhotographIsTheSmallerTheLensShowsItsEdge) {
  ShowPhotograph(16);
  const TImage& image = *Form1->Image16;
  const std::unique_ptr<TBitmap> before = MainWindowImage();
  Backend->PressMouse(ibRight, OnScreen(image, {200, 300}));
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  EXPECT_EQ(Loupe().SourcePixel(), (TPoint{400, 600})) << "beyond the picture's 540 rows";
  EXPECT_EQ(WrongLensPixels(image, *before), 0);
}

// However the lens goes (the button released, Escape, Z released), every screen pixel is
// as before, blocks and fine photograph alike, after it moved and was magnified; a lens
// reaching past the photograph over other controls included.
TEST_F(ScaledLoupeTest, HidingTheLensRestoresEveryScreenPixel) {
  ShowPhotograph(4);
  const TImage& image = *Form1->Image4;
  const std::unique_ptr<TBitmap> before = MainWindowImage();
  const TRegion fineBefore = WindowOf(*Form1).Fine().Shown();
  ASSERT_FALSE(fineBefore.IsEmpty());

  Backend->PressMouse(ibRight, OnScreen(image, {30, 400}));
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  Backend->TurnWheel(1, OnScreen(image, {30, 400}));
  Backend->MoveMouse(OnScreen(image, {10, 480}));
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  Backend->ReleaseMouse(ibRight, OnScreen(image, {10, 480}));
  Settle();
  ASSERT_FALSE(Loupe().Shown());
  ExpectRestored(*before, fineBefore);

  Backend->PressMouse(ibRight, OnScreen(image, {600, 40}));
  Backend->TurnWheel(2, OnScreen(image, {600, 40}));
  Settle();
  ASSERT_EQ(Loupe().Zoom(), 4);
  Key(vkEscape);
  Settle();
  ASSERT_FALSE(Loupe().Shown());
  Backend->ReleaseMouse(ibRight, OnScreen(image, {600, 40}));
  Settle();
  ExpectRestored(*before, fineBefore);

  Backend->MoveMouse(OnScreen(image, {340, 250}));
  Backend->PressKey('Z');
  Settle();
  ASSERT_TRUE(Loupe().Shown());
  Backend->ReleaseKey('Z');
  Settle();
  ASSERT_FALSE(Loupe().Shown());
  ExpectRestored(*before, fineBefore);
}
