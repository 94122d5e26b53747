// What the glyph buttons of the main window's bottom row look like: geometry by numbers,
// faces, rings, corners, glyph and caption by pixels.
#include "tests/widgets/button_fixture.h"

namespace {
class ButtonPaint : public ButtonTest {};

// A pixel of a text-free area of the face, right of the caption.
constexpr TPoint kFaceSample{92, 12};
}  // namespace

TEST_F(ButtonPaint, MainWindowButtonGeometry) {
  EXPECT_EQ(Close->Width(), 105);
  EXPECT_EQ(Close->Height(), 25);
  EXPECT_EQ(Close->GetCaptionRect(), (TRect{27, 5, 100, 20}));
  EXPECT_EQ(Close->GetGlyphRect(), (TRect{7, 5, 23, 21}));
  EXPECT_EQ(Close->FocusRect(), (TRect{3, 3, 102, 22}));
  EXPECT_EQ(Close->NumGlyphs(), 2);
  EXPECT_TRUE(Close->Transparent()) << "HotTrack makes the push button see-through";
}

TEST_F(ButtonPaint, FocusedCloseButtonShowsBothRingsTheBlueFocusRingsAndTheParentInItsCorners) {
  Show();
  ASSERT_TRUE(Close->Focused()) << "the first tab stop takes the focus";
  const int w = 105, h = 25;
  const uint32_t dark = Rgb(DarkenColor(clBtnFace, 20)), light = Rgb(LightenColor(clBtnFace, 20));
  for (int y : {2, 12, h - 3}) {
    EXPECT_EQ(PixelOf(*Close, 0, y), dark) << y;
    EXPECT_EQ(PixelOf(*Close, w - 1, y), light) << y;
  }
  for (int x : {2, 50, w - 3}) {
    EXPECT_EQ(PixelOf(*Close, x, 0), dark) << x;
    EXPECT_EQ(PixelOf(*Close, x, h - 1), light) << x;
  }
  EXPECT_EQ(PixelOf(*Close, 1, 1), dark);
  EXPECT_EQ(PixelOf(*Close, w - 2, 1), dark);
  EXPECT_EQ(PixelOf(*Close, 1, h - 2), dark);
  EXPECT_EQ(PixelOf(*Close, w - 2, h - 2), light);
  // The three outermost pixels of every corner are the form's sky blue.
  const uint32_t sky = 0xF0CAA6;
  for (TPoint p : {TPoint{0, 0}, {1, 0}, {0, 1}, {w - 1, 0}, {w - 2, 0}, {w - 1, 1}, {0, h - 1}, {1, h - 1},
                   {0, h - 2}, {w - 1, h - 1}, {w - 2, h - 1}, {w - 1, h - 2}})
    EXPECT_EQ(PixelOf(*Close, p.X, p.Y), sky) << p.X << "," << p.Y;
  // Inner ring: the face colour darkened by 150, one pixel short of the ring's corners.
  const uint32_t inner = Rgb(DarkenColor(kButtonFace, 150));
  EXPECT_EQ(PixelOf(*Close, 1, 2), inner);
  EXPECT_EQ(PixelOf(*Close, 2, 1), inner);
  EXPECT_EQ(PixelOf(*Close, w - 2, 2), inner);
  EXPECT_EQ(PixelOf(*Close, 2, h - 2), inner);
  // Focus rings in the highlight's hue: light on top and left, dark on right and bottom.
  const TColor c = HslToRgb(HueOfColor(kButtonHighlight), 220, 220);
  const TColor d = DarkenColor(c, 30);
  EXPECT_EQ(PixelOf(*Close, 2, 10), Rgb(c));
  EXPECT_EQ(PixelOf(*Close, 50, 2), Rgb(c));
  EXPECT_EQ(PixelOf(*Close, w - 3, 10), Rgb(d));
  EXPECT_EQ(PixelOf(*Close, 50, h - 3), Rgb(d));
  EXPECT_EQ(PixelOf(*Close, 3, 11), Rgb(DarkenColor(c, 10)));
  EXPECT_EQ(PixelOf(*Close, w - 4, 9), Rgb(LightenColor(d, 10)));
  EXPECT_GT(Rgb(c) >> 16, Rgb(c) & 0xFF) << "a blue ring";
  EXPECT_EQ(PixelOf(*Close, kFaceSample.X, kFaceSample.Y), 0xF0F4F4);
  // The dotted focus rectangle (3, 3, 102, 22): dots from one pixel past each corner.
  EXPECT_EQ(PixelOf(*Close, 4, 3), 0x000000u);
  EXPECT_EQ(PixelOf(*Close, 5, 3), Rgb(DarkenColor(c, 10)));
  EXPECT_EQ(PixelOf(*Close, 3, 4), 0x000000u);
  EXPECT_EQ(PixelOf(*Close, 101, 4), 0x000000u);
  // About, not focused, has the plain face: light rows on top, dark steps below.
  EXPECT_EQ(PixelOf(*About, 50, 2), Rgb(LightenColor(kButtonFace, 20)));
  EXPECT_EQ(PixelOf(*About, 50, 3), Rgb(LightenColor(kButtonFace, 15)));
  EXPECT_EQ(PixelOf(*About, 50, 4), Rgb(LightenColor(kButtonFace, 10)));
  EXPECT_EQ(PixelOf(*About, 50, 20), Rgb(DarkenColor(kButtonFace, 10)));
  EXPECT_EQ(PixelOf(*About, 50, 21), Rgb(DarkenColor(kButtonFace, 20)));
  EXPECT_EQ(PixelOf(*About, 50, 22), Rgb(DarkenColor(kButtonFace, 30)));
  EXPECT_EQ(PixelOf(*About, 101, 10), Rgb(DarkenColor(kButtonFace, 10)));
  EXPECT_EQ(PixelOf(*About, 102, 10), Rgb(DarkenColor(kButtonFace, 20)));
  EXPECT_EQ(PixelOf(*About, 4, 3), Rgb(LightenColor(kButtonFace, 15))) << "no focus dots";
  SaveScreenshot("buttons_focused");
}

TEST_F(ButtonPaint, HotFaceUsesTheComplementaryHueAndShowsInThePassThePointerEnters) {
  Show();
  Backend->MoveMouse(ScreenOf(*About, 60, 12));
  App->ProcessMessages();
  ASSERT_TRUE(About->PointerInside());
  const int hue = HueOfColor(kOrange);
  const TColor c = HslToRgb(uint8_t(hue >= 120 ? hue - 120 : hue + 120), 220, 180);
  const TColor d = DarkenColor(c, 30);
  EXPECT_EQ(PixelOf(*About, 2, 10), Rgb(c));
  EXPECT_EQ(PixelOf(*About, 102, 10), Rgb(d));
  EXPECT_EQ(PixelOf(*About, 3, 11), Rgb(DarkenColor(c, 10)));
  EXPECT_EQ(PixelOf(*About, 101, 10), Rgb(LightenColor(d, 10)));
  const uint32_t ring = Rgb(c);
  EXPECT_GT(ring >> 16, ring & 0xFF) << "light blue, not orange";
  EXPECT_GT((ring >> 16) & 0xFF, 0xC0u);
  EXPECT_EQ(PixelOf(*About, 0, 0), 0xF0CAA6u) << "corners still show the form";
  SaveScreenshot("buttons_hot");

  MoveTo(*Close, 60, 12);
  EXPECT_FALSE(About->PointerInside());
  EXPECT_EQ(PixelOf(*About, 50, 2), Rgb(LightenColor(kButtonFace, 20))) << "back to the plain face";
}

TEST_F(ButtonPaint, ActualHotTrackColourRingsAndHoverWinsOverFocusButKeepsTheDots) {
  Close->SetHotTrackColorType(htctActual);
  Show();
  MoveTo(*Close, 60, 12);
  EXPECT_EQ(PixelOf(*Close, 2, 10), Rgb(LightenColor(kOrange, 30)));
  EXPECT_EQ(PixelOf(*Close, 102, 10), Rgb(DarkenColor(kOrange, 30)));
  EXPECT_EQ(PixelOf(*Close, 4, 3), 0x000000u) << "focused: the dotted rectangle stays";
}

TEST_F(ButtonPaint, PressedFaceIsTheDarkenedColourAndTheGlyphStaysInPlace) {
  Show();
  Press(*About, 60, 12);
  ASSERT_TRUE(About->PressedLook());
  EXPECT_EQ(PixelOf(*About, 2, 2), Rgb(DarkenColor(kButtonFace, 10)));
  EXPECT_EQ(PixelOf(*About, kFaceSample.X, kFaceSample.Y), Rgb(DarkenColor(kButtonFace, 10)));
  EXPECT_EQ(About->GetGlyphRect(), (TRect{7, 5, 23, 21}));
  EXPECT_EQ(PixelOf(*About, 7 + 4, 5 + 4), kGlyphRed);
  Release(*About, 60, 12);
}

TEST_F(ButtonPaint, GlyphIsTheFirstCellWithItsBottomLeftColourSeeThrough) {
  EXPECT_EQ(GlyphFile().size(), 1590u);
  Show();
  const TRect g = About->GetGlyphRect();
  EXPECT_EQ(PixelOf(*About, g.Left + 4, g.Top + 4), kGlyphRed);
  EXPECT_EQ(PixelOf(*About, g.Left + 11, g.Top + 11), kGlyphRed);
  // Around the square the face shows through: its middle rows are the face colour.
  EXPECT_EQ(PixelOf(*About, g.Left + 1, g.Top + 8), 0xF0F4F4u);
  EXPECT_EQ(PixelOf(*About, g.Left + 1, g.Top + 15), Rgb(DarkenColor(kButtonFace, 10))) << "the face's lower step";
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_NE(PixelOf(*About, g.Left + x, g.Top + y), kGlyphSeeThrough);
}

TEST_F(ButtonPaint, DisabledButtonShowsTheSecondCellAndNoOuterRing) {
  About->SetEnabled(false);
  Show();
  const TRect g = About->GetGlyphRect();
  EXPECT_EQ(PixelOf(*About, g.Left + 4, g.Top + 4), kGlyphBlue);
  EXPECT_EQ(PixelOf(*About, 0, 10), 0xF0CAA6u) << "no outer ring: the form shows";
  EXPECT_EQ(PixelOf(*About, 1, 10), Rgb(DarkenColor(kButtonFace, 80)));
  EXPECT_EQ(PixelOf(*About, 2, 2), 0xF0F4F4u);
  SaveScreenshot("buttons_disabled");

  About->SetNumGlyphs(1);
  Settle();
  EXPECT_EQ(PixelOf(*About, g.Left + 4, g.Top + 4), kGlyphRed) << "one cell: shown unchanged";
}

TEST_F(ButtonPaint, OnlyTheFirstTwoCellsAreEverShown) {
  LoadGlyph(*About, GlyphFile(64, 16));
  EXPECT_EQ(About->NumGlyphs(), 4);
  Show();
  const TRect g = About->GetGlyphRect();
  EXPECT_EQ(PixelOf(*About, g.Left + 4, g.Top + 4), kGlyphRed);
  About->SetEnabled(false);
  Settle();
  EXPECT_EQ(PixelOf(*About, g.Left + 4, g.Top + 4), kGlyphBlue);
}

TEST_F(ButtonPaint, DisabledFaceOnButtonFaceColourUsesTheLightenedShadowRing) {
  About->SetColor(clBtnFace);
  About->SetEnabled(false);
  Show();
  EXPECT_EQ(PixelOf(*About, 1, 10), Rgb(LightenColor(clBtnShadow, 30)));
}

TEST_F(ButtonPaint, ClassicFaceFocusedHasTheFrameRingAndTintedEdge) {
  Close->SetHotTrack(false);
  About->SetHotTrack(false);
  Show();
  EXPECT_FALSE(Close->Transparent());
  EXPECT_EQ(PixelOf(*Close, 0, 0), 0x000000u) << "window-frame ring of the focused button";
  EXPECT_EQ(PixelOf(*Close, 1, 1), Rgb(LightenColor(kButtonFace, 100)));
  EXPECT_EQ(PixelOf(*Close, 103, 23), Rgb(DarkenColor(kButtonFace, 100)));
  EXPECT_EQ(PixelOf(*About, 0, 0), Rgb(LightenColor(kButtonFace, 100))) << "no ring when not focused";
  EXPECT_EQ(PixelOf(*About, 1, 1), Rgb(LightenColor(kButtonFace, 40)));
  EXPECT_EQ(PixelOf(*About, kFaceSample.X, kFaceSample.Y), 0xF0F4F4u) << "erased in Color";

  Press(*About, 60, 12);
  EXPECT_EQ(About->GetCaptionRect(), (TRect{27 + 1, 6, 101, 21})) << "the caption moves with the press";
  EXPECT_EQ(About->GetGlyphRect(), (TRect{8, 6, 24, 22}));
  EXPECT_EQ(PixelOf(*About, 0, 0), Rgb(DarkenColor(kButtonFace, 100)));
  Release(*About, 60, 12);
}

TEST_F(ButtonPaint, LatchedButtonShowsTheCheckerPattern) {
  About->SetGroupIndex(1);
  About->SetDown(true);
  Show();
  // Device parity decides the pattern; the button lies at even coordinates.
  EXPECT_EQ(PixelOf(*About, 90, 6), 0xC0C0C0u);
  EXPECT_EQ(PixelOf(*About, 91, 6), 0xF0F4F4u);
  EXPECT_EQ(PixelOf(*About, 91, 7), 0xC0C0C0u);
  EXPECT_EQ(About->FocusRect(), (TRect{4, 4, 103, 23})) << "moved with the latched look";

  TBitmap pattern;
  About->SetColor(clSilver);
  About->MakeDownPattern(pattern);
  EXPECT_EQ(pattern.PixelRGB(0, 0), 0x808080u) << "grey dots on a silver face";
  EXPECT_EQ(pattern.PixelRGB(1, 0), 0xC0C0C0u);
}

// ---- caption drawing ----

namespace {
struct TInk {
  int Left = 1 << 30, Right = -1, Top = 1 << 30, Bottom = -1, Count = 0;
};
TInk InkOf(const TBitmap& b, uint32_t color) {
  TInk ink;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.PixelRGB(x, y) == color) {
        ink.Left = std::min(ink.Left, x);
        ink.Right = std::max(ink.Right, x);
        ink.Top = std::min(ink.Top, y);
        ink.Bottom = std::max(ink.Bottom, y);
        ++ink.Count;
      }
  return ink;
}

// Draws About's caption on white with the given style; answers the picture.
std::unique_ptr<TBitmap> Caption(TWkBitBtn& b, const TRect& rect, unsigned flags) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(120, 60);
  bitmap->Canvas().Brush().SetColor(clWhite);
  bitmap->Canvas().FillRect({0, 0, 120, 60});
  b.DrawCaption(bitmap->Canvas(), rect, flags);
  return bitmap;
}
}  // namespace

TEST_F(ButtonPaint, CaptionEffectsPlaceTheirCopies) {
  const TRect rect{10, 10, 110, 50};
  About->Font()->SetColor(clBlack);
  About->SetTextShadowColor(clRed);
  About->SetTextHighlightColor(clBlue);
  About->SetTextShadowDepth(3);
  const TInk plain = InkOf(*Caption(*About, rect, tfLeft), 0x000000);
  ASSERT_GT(plain.Count, 20);

  About->SetTextStyle(tsShadow);
  auto shadowed = Caption(*About, rect, tfLeft);
  const TInk shadow = InkOf(*shadowed, 0x0000FF);
  EXPECT_EQ(shadow.Right, plain.Right + 3);
  EXPECT_EQ(shadow.Bottom, plain.Bottom + 3);

  About->SetTextStyle(tsRaised);
  auto raised = Caption(*About, rect, tfLeft);
  EXPECT_EQ(InkOf(*raised, 0xFF0000).Left, plain.Left - 1) << "highlight copy up and left";
  EXPECT_EQ(InkOf(*raised, 0x0000FF).Right, plain.Right + 1) << "shadow copy down and right";
  About->SetLightTextStyle(true);
  raised = Caption(*About, rect, tfLeft);
  EXPECT_GT(InkOf(*raised, 0xFF0000).Count, 0);
  EXPECT_EQ(InkOf(*raised, 0x0000FF).Count, 0) << "light style: only the highlight copy";

  About->SetTextStyle(tsRecessed);
  auto recessed = Caption(*About, rect, tfLeft);
  EXPECT_EQ(InkOf(*recessed, 0xFF0000).Right, plain.Right + 1) << "recessed: highlight below right";
  EXPECT_EQ(InkOf(*recessed, 0x0000FF).Count, 0);
}

TEST_F(ButtonPaint, RightAlignedCaptionMovesLeftByTheShadowDepthWhateverTheStyle) {
  const TRect rect{10, 10, 110, 50};
  About->Font()->SetColor(clBlack);
  About->SetTextShadowDepth(0);
  const int flush = InkOf(*Caption(*About, rect, tfRight), 0x000000).Right;
  About->SetTextShadowDepth(4);
  EXPECT_EQ(InkOf(*Caption(*About, rect, tfRight), 0x000000).Right, flush - 4);
  About->SetTextStyle(tsShadow);
  About->SetTextShadowColor(clRed);
  auto shadowed = Caption(*About, rect, tfRight);
  EXPECT_EQ(InkOf(*shadowed, 0x0000FF).Right, flush) << "the shadow copy moves only down";
}

TEST_F(ButtonPaint, DisabledCaptionIsEmbossed) {
  About->SetEnabled(false);
  auto picture = Caption(*About, {10, 10, 110, 50}, tfLeft);
  const TInk dark = InkOf(*picture, Rgb(clBtnShadow));
  const TInk light = InkOf(*picture, 0xFFFFFF);  // the white background counts too
  ASSERT_GT(dark.Count, 20);
  EXPECT_EQ(picture->PixelRGB(dark.Right + 1, dark.Bottom + 1), 0xFFFFFFu);
  EXPECT_GT(light.Count, dark.Count);
}

TEST_F(ButtonPaint, VerticalPlacementCentresEvenWhenTheCaptionOverflows) {
  About->Font()->SetColor(clBlack);
  const TRect thin{10, 30, 110, 34};
  const int t = About->CaptionHeight(thin);
  ASSERT_GT(t, 4);
  const TInk centred = InkOf(*Caption(*About, thin, tfLeft), 0x000000);
  EXPECT_LT(centred.Top, thin.Top) << "overflows above";
  EXPECT_GE(centred.Bottom, thin.Bottom) << "and below";
  EXPECT_GE(centred.Top, (30 + 34 - t) / 2);

  About->SetAlignmentVertical(avTop);
  EXPECT_GE(InkOf(*Caption(*About, {10, 30, 110, 58}, tfLeft), 0x000000).Top, 30);
  About->SetAlignmentVertical(avBottom);
  const TInk bottom = InkOf(*Caption(*About, {10, 10, 110, 58}, tfLeft), 0x000000);
  EXPECT_LT(bottom.Bottom, 58 - 1);
  EXPECT_GE(bottom.Top, 58 - t - 1);
}
