// How a status pane looks: frame ring, frame styles, text area and text placement, the
// disabled look, AutoSize and the frame controller.
#include "framework/graphics/canvas_text.h"
#include "framework/graphics/png_export.h"
#include "tests/widgets/status_pane_fixture.h"
#include "widgets/frame_drawing.h"

namespace {
constexpr uint32_t kBlack = 0x000000;

int InkPixels(const TBitmap& image, uint32_t fill) {
  int count = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) count += image.PixelRGB(x, y) != fill;
  return count;
}
int FirstInkColumn(const TBitmap& image, uint32_t fill) {
  for (int x = 0; x < image.Width(); ++x)
    for (int y = 0; y < image.Height(); ++y)
      if (image.PixelRGB(x, y) != fill) return x;
  return -1;
}
}  // namespace

TEST_F(StatusPaneTest, TheMainWindowsPaneEdgeRingTextAreaAndText) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  Settle();
  Backend->SaveWindowImage(Window(), "/tmp/clock_status_pane.png");

  const uint32_t ring = uint32_t(ColorToRGB(ShiftLightness(clBtnShadow, 30)));
  for (int x = 0; x < 145; ++x) {
    ASSERT_EQ(Shown(*clock, x, 0), kSkyBlue) << x;
    ASSERT_EQ(Shown(*clock, x, 24), kSkyBlue) << x;
  }
  for (int y = 0; y < 25; ++y) {
    ASSERT_EQ(Shown(*clock, 0, y), kSkyBlue) << y;
    ASSERT_EQ(Shown(*clock, 144, y), kSkyBlue) << y;
  }
  for (const TPoint corner : {TPoint{1, 1}, TPoint{143, 1}, TPoint{1, 23}, TPoint{143, 23}})
    EXPECT_EQ(Shown(*clock, corner.X, corner.Y), kSkyBlue) << "corner " << corner.X << "," << corner.Y;
  for (int y = 2; y <= 22; ++y) {
    ASSERT_EQ(Shown(*clock, 1, y), ring) << y;
    ASSERT_EQ(Shown(*clock, 143, y), ring) << y;
  }
  for (int x = 2; x <= 142; ++x) {
    ASSERT_EQ(Shown(*clock, x, 1), ring) << x;
    ASSERT_EQ(Shown(*clock, x, 23), ring) << x;
  }

  ASSERT_EQ(clock->GetTextRect(), (TRect{2, 2, 143, 23}));
  const auto shown = ShownPart(*clock, {2, 2, 143, 23});
  EXPECT_EQ(DifferingPixels(*shown, *ExpectedText(*clock, "01/01/24 12:00:00", clWindowText, 5, TextTop(*clock))), 0)
      << "the text, black on the fill colour, from x = 5";
  EXPECT_GT(InkPixels(*shown, kGradientActiveCaption), 100) << "some text is drawn";
  EXPECT_GE(FirstInkColumn(*shown, kGradientActiveCaption) + 2, 5);
}

TEST_F(StatusPaneTest, TextRectangleInsetByFrameStyle) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetBounds(0, 0, 100, 20);
  pane->SetBorderWidth(3);
  const auto textRect = [pane](TFrameStyle style) {
    pane->SetFrameStyle(style);
    return pane->GetTextRect();
  };
  for (TFrameStyle s : {fsFlat, fsStatus, fsPopup}) EXPECT_EQ(textRect(s), (TRect{4, 4, 96, 16})) << s;
  for (TFrameStyle s : {fsNone, fsFlatBold}) EXPECT_EQ(textRect(s), (TRect{3, 3, 97, 17})) << s;
  for (TFrameStyle s : {fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp})
    EXPECT_EQ(textRect(s), (TRect{5, 5, 95, 15})) << s;
  EXPECT_EQ(pane->FrameRect(), (TRect{3, 3, 97, 17}));
}

TEST_F(StatusPaneTest, OtherFrameStylesAreTheSharedFrames) {
  for (TFrameStyle style : {fsLowered, fsBump, fsFlatBold}) {
    auto* pane = new TWkCustomStatusPane(Form.get());
    pane->SetBounds(10, 10, 60, 18);
    pane->SetBorderWidth(2);
    pane->SetFrameStyle(style);
    pane->SetParent(Form.get());
    Settle();
    TBitmap expected;
    expected.SetPixelFormat(pf32bit);
    expected.SetSize(60, 18);
    expected.Canvas().Brush().SetColor(clSkyBlue);
    expected.Canvas().FillRect({0, 0, 60, 18});
    DrawFrame(expected.Canvas(), {2, 2, 58, 16}, style);
    expected.Canvas().Brush().SetColor(clBtnFace);
    expected.Canvas().FillRect(pane->GetTextRect());
    EXPECT_EQ(DifferingPixels(*ShownPart(*pane, {0, 0, 60, 18}), expected), 0) << "style " << style;
    delete pane;
  }
}

TEST_F(StatusPaneTest, RightAndCentredTextReferencePoints) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetBounds(20, 20, 120, 22);
  pane->SetParent(Form.get());
  pane->SetPaneText("Right");
  pane->SetAlignment(taRightJustify);
  pane->SetCaptionOffset(4);
  Settle();
  const TRect t = pane->GetTextRect();  // (2, 2, 118, 20)
  const int y = TextTop(*pane);
  EXPECT_EQ(DifferingPixels(*ShownPart(*pane, t), *ExpectedText(*pane, "Right", clWindowText, 118 - 4 - 1, y)), 0);
  pane->SetAlignment(taCenter);
  Settle();
  EXPECT_EQ(DifferingPixels(*ShownPart(*pane, t), *ExpectedText(*pane, "Right", clWindowText, 2 + 116 / 2, y)), 0);
}

TEST_F(StatusPaneTest, ADisabledPaneDrawsItsTextEmbossed) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetBounds(20, 20, 120, 22);
  pane->SetParent(Form.get());
  pane->SetPaneText("Off");
  pane->SetEnabled(false);
  Settle();
  const TRect t = pane->GetTextRect();
  const int x = t.Left + 2 + 1;
  const int y = TextTop(*pane);
  auto expected = ExpectedText(*pane, "Off", clBtnHighlight, x + 1, y + 1);
  TCanvas& canvas = expected->Canvas();
  canvas.Font().SetColor(clBtnShadow);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(x - t.Left, y - t.Top, "Off");
  const auto shown = ShownPart(*pane, t);
  EXPECT_EQ(DifferingPixels(*shown, *expected), 0);
  // Glyphs are anti-aliased: count what is lighter and darker than the fill.
  const auto lightness = [](uint32_t c) { return int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF); };
  const int fill = lightness(uint32_t(ColorToRGB(clBtnFace)));
  int lighter = 0, darker = 0, black = 0;
  for (int py = 0; py < shown->Height(); ++py)
    for (int px = 0; px < shown->Width(); ++px) {
      const uint32_t c = shown->PixelRGB(px, py);
      lighter += lightness(c) > fill + 20;
      darker += lightness(c) < fill - 20;
      black += c == kBlack;
    }
  EXPECT_GT(lighter, 5) << "the highlight copy shows";
  EXPECT_GT(darker, 5) << "the shadow copy shows";
  EXPECT_EQ(black, 0) << "no text in the font colour";
}

TEST_F(StatusPaneTest, AutoSizeFollowsTheTextWithoutALengthLimit) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetParent(Form.get());
  EXPECT_EQ(pane->Width(), 100);
  pane->SetPaneText("Hello");
  EXPECT_EQ(pane->Width(), 100) << "AutoSize is off";
  pane->SetPaneText("");
  pane->SetAutoSize(true);
  EXPECT_EQ(pane->Width(), 40) << "empty text: DefaultWidth";
  pane->SetDefaultWidth(55);
  EXPECT_EQ(pane->Width(), 55);

  TCanvas measure;
  measure.Font().CopyFrom(pane->Font());
  pane->SetPaneText("Hello");
  EXPECT_EQ(pane->Width(), 2 + measure.TextWidth("Hello") + 2 + 6);
  pane->SetCaptionOffset(10);
  pane->SetBorderWidth(3);
  pane->SetPaneText("Hello!");
  EXPECT_EQ(pane->Width(), 6 + measure.TextWidth("Hello!") + 10 + 6);

  const std::string longText(400, 'W');
  pane->SetPaneText(longText);
  EXPECT_EQ(pane->Width(), 6 + measure.TextWidth(longText) + 10 + 6) << "all 400 characters count";
  pane->SetPaneText("a\tb");
  EXPECT_EQ(pane->Width(), 6 + 8 * measure.TextMetric().AveCharWidth + measure.TextWidth("b") + 10 + 6)
      << "the tab is expanded to the next stop";
  pane->SetPaneText("&b");
  EXPECT_EQ(pane->Width(), 6 + measure.TextWidth("&b") + 10 + 6) << "an ampersand is measured as written";
}

TEST_F(StatusPaneTest, AutoSizeWaitsWhileLoading) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetComponentState(csLoading, true);
  pane->SetAutoSize(true);
  pane->SetPaneText("Loading");
  EXPECT_EQ(pane->Width(), 100);
  pane->AfterLoad();
  TCanvas measure;
  measure.Font().CopyFrom(pane->Font());
  EXPECT_EQ(pane->Width(), 2 + measure.TextWidth("Loading") + 2 + 6);
}

TEST_F(StatusPaneTest, FontColourIsRememberedOutsideLoadingAndKeptWhileBlinking) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->Font()->SetColor(clMaroon);
  EXPECT_EQ(pane->NormalTextColor(), clMaroon);
  EXPECT_EQ(pane->CurrentTextColor(), clMaroon);
  pane->SetBlinking(true);
  pane->Font()->SetColor(clNavy);
  EXPECT_EQ(pane->NormalTextColor(), clNavy);
  EXPECT_EQ(pane->CurrentTextColor(), clMaroon) << "the blink phase owns the current colour";
  pane->SetComponentState(csLoading, true);
  pane->Font()->SetColor(clGreen);
  EXPECT_EQ(pane->NormalTextColor(), clNavy) << "not while loading";
  pane->AfterLoad();
  EXPECT_EQ(pane->NormalTextColor(), clGreen);
  EXPECT_EQ(pane->CurrentTextColor(), clGreen) << "loading finished takes the font colour for both";
}

TEST_F(StatusPaneTest, AFrameControllerImposesItsLookAndIsForgotten) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  auto* controller = new TWkFrameController(Form.get());
  controller->SetFrameStyle(fsRaised);
  controller->SetFrameColor(clRed);
  controller->SetColor(clYellow);
  pane->SetFrameController(controller);
  EXPECT_EQ(pane->FrameStyle(), fsRaised);
  EXPECT_EQ(pane->FlatColor(), clRed);
  EXPECT_EQ(pane->FlatColorAdjustment(), 0);
  EXPECT_EQ(pane->FillColor(), clYellow);
  EXPECT_FALSE(pane->ParentColor());
  controller->SetFrameColor(clLime);
  EXPECT_EQ(pane->FlatColor(), clLime) << "a changed setting reaches the joined panes";
  controller->SetFrameVisible(false);
  controller->SetFrameColor(clBlue);
  EXPECT_EQ(pane->FlatColor(), clLime) << "a controller without a visible frame imposes nothing";

  auto* other = new TWkCustomStatusPane(Form.get());
  other->SetFrameController(controller);
  EXPECT_EQ(controller->ControlCount(), 2);
  delete other;
  EXPECT_EQ(controller->ControlCount(), 1) << "a freed pane leaves its controller";
  delete controller;
  EXPECT_EQ(pane->FrameController(), nullptr) << "a freed controller is forgotten";
  pane->SetFlatColor(clGray);  // and nothing refers to it any more
  EXPECT_EQ(pane->FlatColor(), clGray);
}
