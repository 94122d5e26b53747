// The bordered base's frames and client rectangle, the display's dot geometry for the
// program's three displays, and its pixels: frame, dots, glyphs, small client areas.
#include <gtest/gtest.h>

#include "tests/widgets/led_helpers.h"

using Rows = std::vector<std::string>;

TEST(WkBorder, NewBorderIsAGroovedFiftySquare) {
  TWkBorder border(nullptr);
  EXPECT_EQ(border.Width(), 50);
  EXPECT_EQ(border.Height(), 50);
  EXPECT_TRUE(border.Caption().empty());
  EXPECT_EQ(border.BorderOuter(), fsGroove);
  EXPECT_EQ(border.BorderSides(), AllSides);
  EXPECT_EQ(border.ClientRect(), (TRect{2, 2, 48, 48}));
}

TEST(WkBorder, ClientRectangleLosesTheBandOnEverySideAndTheFramesOnTheirSides) {
  TWkBorder border(nullptr);
  border.SetBorderOuter(fsFlat);
  border.SetBorderWidth(3);
  border.SetBorderInner(fsPopup);
  border.SetBevelWidth(2);
  EXPECT_EQ(border.ClientRect(), (TRect{6, 6, 44, 44}));
  border.SetBorderSides({sdLeft, sdTop});
  EXPECT_EQ(border.ClientRect(), (TRect{6, 6, 47, 47})) << "the band is taken from the right and bottom too";
  border.SetBorderSides(AllSides);
  border.SetBorderOuter(fsNone);
  border.SetBorderInner(fsLowered);
  EXPECT_EQ(border.ClientRect(), (TRect{5, 5, 45, 45}));
  border.SetBorderInner(fsFlatBold);
  EXPECT_EQ(border.ClientRect(), (TRect{5, 5, 45, 45})) << "the bold flat frame's two rings stay outside";
  border.SetBorderWidth(-4);
  EXPECT_EQ(border.BorderWidth(), 0) << "a negative band would grow the client area past the bounds";
}

TEST(WkBorder, PaintsOuterFrameBandAndInnerFrameFromTheEdgeInwards) {
  TWkBorder border(nullptr);
  border.SetBounds(0, 0, 8, 8);
  border.SetBorderOuter(fsStatus);
  border.SetBorderWidth(1);
  border.SetBorderColor(clBlack);
  border.SetBorderInner(fsPopup);
  auto bitmap = MakeCanvasBitmap(8, 8);
  border.Perform(msgPaint, reinterpret_cast<intptr_t>(&bitmap->Canvas()));
  TLegend legend = SystemLegend();
  legend['K'] = 0x000000;
  EXPECT_PICTURE(*bitmap, legend, "SSSSSSSH", "SKKKKKKH", "SKHHHSKH", "SKH..SKH", "SKH..SKH", "SKSSSSKH", "SKKKKKKH",
                 "HHHHHHHH");
}

TEST(WkBorder, FlatFrameTakesTheFlatColourShiftedInLightness) {
  TWkBorder border(nullptr);
  border.SetBounds(0, 0, 4, 3);
  border.SetBorderOuter(fsFlat);
  border.SetFlatColor(TColor(0x808080));
  border.SetFlatColorAdjustment(-30);
  auto bitmap = MakeCanvasBitmap(4, 3);
  border.Perform(msgPaint, reinterpret_cast<intptr_t>(&bitmap->Canvas()));
  const uint32_t darker = uint32_t(DarkenColor(TColor(0x808080), 30));
  ASSERT_NE(darker, 0x808080u);
  EXPECT_PICTURE(*bitmap, (TLegend{{'F', darker}}), "FFFF", "F..F", "FFFF");
}

TEST(WkBorder, MouseEnterAndLeaveReachTheirHandlersWithTheControlAsSender) {
  TWkBorder border(nullptr);
  std::vector<std::string> log;
  border.FOnMouseEnter = [&](TObject* sender) { log.push_back(sender == &border ? "enter" : "enter?"); };
  border.Perform(ntMouseEnter);
  border.Perform(ntMouseLeave);  // no handler: nothing happens
  border.FOnMouseLeave = [&](TObject* sender) { log.push_back(sender == &border ? "leave" : "leave?"); };
  border.Perform(ntMouseLeave);
  border.SetComponentState(csDesigning, true);
  border.Perform(ntMouseEnter);
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"})) << "no enter event while designing";
}

TEST(WkLEDDisplay, NewDisplayDefaults) {
  TWkLEDDisplay display(nullptr);
  EXPECT_EQ(display.Width(), 100);
  EXPECT_EQ(display.Height(), 30);
  EXPECT_EQ(display.BorderOuter(), fsStatus);
  EXPECT_EQ(display.ClientRect(), (TRect{1, 1, 99, 29}));
  EXPECT_EQ(display.DotPixels(), 3);
  EXPECT_EQ(display.DotSpacing(), 0);
  EXPECT_EQ(display.ScrollSpan(), 100);
  EXPECT_EQ(display.ScrollPosition(), 0);
  EXPECT_EQ(display.ScrollType(), stRightToLeft);
  EXPECT_EQ(display.ScrollDelay(), 100);
  EXPECT_FALSE(display.Scrolling());
  EXPECT_FALSE(display.ScrollTimer().Enabled());
  EXPECT_EQ(display.ScrollTimer().Interval(), 100);
  EXPECT_EQ(display.BackColor(), clBlack);
  EXPECT_EQ(uint32_t(display.SegOnColor()), kLit);
  EXPECT_EQ(uint32_t(display.SegOffColor()), kUnlit);
  EXPECT_TRUE(display.ControlStyle().Contains(csOpaque));
}

// The program's three displays: main banner, About window's scrolling and static lines.
TEST(WkLEDDisplay, GeometryOfTheProgramsThreeDisplays) {
  struct TCase {
    int Width, Height;
    bool Scrolling;
    TRect Client;
    int Dot;
    TLedLayout Layout;
  };
  const TCase cases[] = {
      {945, 49, true, {1, 1, 944, 48}, 6, {6, 36, 42, 2, 942}},
      {545, 30, true, {1, 1, 544, 29}, 3, {3, 18, 21, 3, 543}},
      {545, 37, false, {1, 1, 544, 36}, 4, {4, 24, 28, 3, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
    auto display = MakeDisplay(c.Width, c.Height, "Velmorath v1.4 by Dunvel");
    display->SetScrolling(c.Scrolling);
    EXPECT_EQ(display->ClientRect(), c.Client);
    EXPECT_EQ(display->DotPixels(), c.Dot);
    EXPECT_EQ(display->DotSpacing(), 0);
    EXPECT_EQ(display->Layout(c.Client.Width(), c.Client.Height()), c.Layout);
  }
}

TEST(WkLEDDisplay, LargeDotsGetATenthOfTheirSizeAsSpacing) {
  auto display = MakeDisplay(200, 78);  // client 76, exactly ten dots of 7.6
  EXPECT_EQ(display->DotPixels(), 10);
  EXPECT_EQ(display->DotSpacing(), 1);
  const TLedLayout layout = display->Layout(198, 76);
  EXPECT_EQ(layout.Pitch, 11);
  EXPECT_EQ(layout.CellWidth, 66);
  EXPECT_EQ(layout.CellHeight, 76) << "seven dots and six gaps, not seven pitches";
  EXPECT_EQ(layout.Top, 0);
  display->SetHeight(40);  // client 38: exactly five dots
  EXPECT_EQ(display->DotPixels(), 5);
}

TEST(WkLEDDisplay, ScrollSpanIsTheTextsCellsPlusTheWholeWidth) {
  auto banner = MakeDisplay(945, 49, "Velmorath v1.4 by Dunvel");
  EXPECT_EQ(banner->ScrollSpan(), 36 * 24 + 945);
  banner->SetCaption("");
  EXPECT_EQ(banner->ScrollSpan(), 945);
  banner->SetCaption("abc");
  banner->SetWidth(500);
  EXPECT_EQ(banner->ScrollSpan(), 36 * 3 + 500);
}

TEST(WkLEDDisplay, BannerFrameIsAOnePixelSunkenEdge) {
  auto banner = MakeDisplay(945, 49, "Velmorath v1.4 by Dunvel");
  auto image = PaintDisplay(*banner);
  EXPECT_EQ(image->PixelRGB(0, 0), kShadow);
  EXPECT_EQ(image->PixelRGB(500, 0), kShadow);
  EXPECT_EQ(image->PixelRGB(0, 30), kShadow);
  EXPECT_EQ(image->PixelRGB(944, 0), kHighlight) << "top-right corner";
  EXPECT_EQ(image->PixelRGB(0, 48), kHighlight) << "bottom-left corner";
  EXPECT_EQ(image->PixelRGB(944, 30), kHighlight);
  EXPECT_EQ(image->PixelRGB(500, 48), kHighlight);
  EXPECT_EQ(image->PixelRGB(944, 48), kHighlight);
}

TEST(WkLEDDisplay, DotIsAPenRingAroundItsColour) {
  auto banner = MakeDisplay(945, 49, "V");
  banner->SetBackColor(clNavy);
  auto image = PaintDisplay(*banner);
  // V's first dot: client (0, 2) to (6, 8), the client area starting at (1, 1).
  for (int i = 0; i <= 6; ++i) {
    EXPECT_EQ(image->PixelRGB(1 + i, 3), kPen) << "top ring " << i;
    EXPECT_EQ(image->PixelRGB(1 + i, 9), kPen) << "bottom ring " << i;
    EXPECT_EQ(image->PixelRGB(1, 3 + i), kPen) << "left ring " << i;
    EXPECT_EQ(image->PixelRGB(7, 3 + i), kPen) << "right ring, shared with the next dot " << i;
  }
  for (int y = 4; y <= 8; ++y)
    for (int x = 2; x <= 6; ++x) EXPECT_EQ(image->PixelRGB(x, y), kLit) << x << "," << y;
  EXPECT_EQ(image->PixelRGB(9, 5), kUnlit) << "the second column of V is dark in its top row";
  EXPECT_EQ(image->PixelRGB(3, 1), 0x800000u) << "background above the cells";
  EXPECT_EQ(image->PixelRGB(3, 2), 0x800000u);
  EXPECT_EQ(image->PixelRGB(3, 3 + 42 + 1), 0x800000u) << "background below the cells";
  EXPECT_EQ(image->PixelRGB(3, 3 + 42), kPen) << "the last row's ring";
}

TEST(WkLEDDisplay, AboutDisplaysUseTheirColoursOverTheDefaultDarkGreen) {
  auto first = MakeDisplay(545, 30, "V");
  first->SetSegOnColor(clRed);
  auto image = PaintDisplay(*first);
  const TLedLayout layout = first->Layout(543, 28);
  EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 0, 0x0000FF), (Rows{"X...X.", "X...X.", "X...X.", ".X.X..", ".X.X..",
                                                                  "..X...", "..X..."}));
  EXPECT_EQ(image->PixelRGB(1 + 1, 1 + 3 + 1), 0x0000FFu);
  EXPECT_EQ(image->PixelRGB(1 + 3, 1 + 3), kPen) << "3-pixel dots: a 4-pixel square";

  auto second = MakeDisplay(545, 37, " My ICQ : 123456789");
  second->SetSegOnColor(clActiveCaption);
  image = PaintDisplay(*second);
  const uint32_t activeCaption = 0xE35400;  // RGB 0, 84, 227
  EXPECT_EQ(ReadCell(*image, {1, 1}, second->Layout(543, 35), 24 * 1, activeCaption),
            (Rows{"X...X.", "XX.XX.", "X.X.X.", "X...X.", "X...X.", "X...X.", "X...X."}))
      << "M, the second character";
  EXPECT_EQ(image->PixelRGB(1 + 24 + 2, 1 + 3 + 2), activeCaption);
}

TEST(WkLEDDisplay, GlyphsLowercaseAndTheBlockForCodesWithoutOne) {
  auto display = MakeDisplay(945, 49, std::string("gG\x01\x7F\xE9\x1F"));
  auto image = PaintDisplay(*display);
  const TLedLayout layout = display->Layout(943, 47);
  EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 0),
            (Rows{"......", "......", ".XXX..", "X...X.", ".XXXX.", "....X.", ".XXX.."}))
      << "lowercase g has its own glyph within the seven rows";
  EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 36),
            (Rows{".XXX..", "X...X.", "X.....", "X.XXX.", "X...X.", "X...X.", ".XXX.."}));
  const Rows block = {"......", ".XXX..", ".XXX..", ".XXX..", ".XXX..", ".XXX..", "......"};
  for (int i = 2; i < 6; ++i) EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 36 * i), block) << "character " << i;
  EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 36 * 6), Rows(7, "......")) << "the grid past the text";
}

TEST(WkLEDDisplay, EmptyCaptionShowsTheUnlitGridAcrossTheClientWidth) {
  auto banner = MakeDisplay(945, 49);
  auto image = PaintDisplay(*banner);
  const TLedLayout layout = banner->Layout(943, 47);
  for (int cell = 0; cell < 26; ++cell) EXPECT_EQ(ReadCell(*image, {1, 1}, layout, 36 * cell), Rows(7, "......"));
  // The 27th cell starts at 936: one whole dot, then the ring of the next at the edge.
  EXPECT_EQ(image->PixelRGB(1 + 937, 1 + 3), kUnlit);
  EXPECT_EQ(image->PixelRGB(1 + 942, 1 + 3), kPen);
  EXPECT_EQ(image->PixelRGB(944, 1 + 3), kHighlight) << "the frame is not painted over";
}

TEST(WkLEDDisplay, StaticTextLongerThanTheClientAreaIsCutAtTheRightEdge) {
  auto display = MakeDisplay(100, 30, "WWWWWWWWWW");  // 10 cells of 18 in a 98-pixel client
  auto image = PaintDisplay(*display);
  EXPECT_EQ(image->PixelRGB(1 + 90 + 1, 1 + 3 + 1), kLit) << "the sixth W's first column";
  EXPECT_EQ(image->PixelRGB(1 + 96, 1 + 3 + 1), kPen);
  EXPECT_EQ(image->PixelRGB(1 + 97, 1 + 3 + 1), kUnlit) << "its third column, cut after one pixel";
  EXPECT_EQ(image->PixelRGB(99, 1 + 3 + 1), kHighlight);
}

TEST(WkLEDDisplay, SevenPixelClientShowsOnlyTheFrame) {
  auto display = MakeDisplay(40, 9, "A");
  EXPECT_EQ(display->ClientRect().Height(), 7);
  auto image = PaintDisplay(*display);
  EXPECT_EQ(ChangedCount(*image), 2 * 40 + 2 * 7) << "the one-pixel ring and nothing inside";
  EXPECT_EQ(image->PixelRGB(5, 4), kBackground);
}

TEST(WkLEDDisplay, EightPixelClientHasTwoPixelDotsAllPen) {
  auto display = MakeDisplay(40, 10, "8888");
  EXPECT_EQ(display->DotPixels(), 1);
  auto image = PaintDisplay(*display);
  for (int y = 1; y < 9; ++y)
    for (int x = 1; x < 39; ++x) EXPECT_EQ(image->PixelRGB(x, y), kPen) << x << "," << y;
}

// A frame change after the bounds leaves the dot size as it was; a display whose height
// gave no dots must still paint (its background) without a grid.
TEST(WkLEDDisplay, NoDotsAfterAFrameChangePaintsOnlyTheBackground) {
  auto display = MakeDisplay(40, 9, "A");
  display->SetBackColor(clNavy);
  ASSERT_EQ(display->DotPixels(), 0);
  display->SetBorderOuter(fsNone);
  EXPECT_EQ(display->DotPixels(), 0);
  EXPECT_EQ(display->ClientRect().Height(), 9);
  auto image = PaintDisplay(*display);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(image->PixelRGB(x, y), 0x800000u) << x << "," << y;
}

// The display paints through cells rendered once and copied; they must give exactly what
// drawing every dot in place gives, at any position, size and colour set.
TEST(WkLEDDisplay, CopiedCellsMatchDotByDotPainting) {
  struct TCase {
    int Width, Height;
    TWkScrollType Type;
    int Ticks;
  };
  const TCase cases[] = {{945, 49, stRightToLeft, 0}, {945, 49, stRightToLeft, 101}, {945, 49, stLeftToRight, 77},
                         {545, 30, stRightToLeft, 250}, {545, 37, stNone, 0},          {300, 90, stRightToLeft, 17},
                         {300, 90, stLeftToRight, 9}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height) + " after " + std::to_string(c.Ticks));
    auto display = MakeDisplay(c.Width, c.Height, std::string("Velmorath v1.4 by Dunvel \x80\xFFq"));
    display->SetScrollType(c.Type);
    display->SetScrolling(true);
    for (int i = 0; i < c.Ticks; ++i) display->ScrollTimer().Fire();
    auto painted = PaintDisplay(*display);
    const TPoint origin = display->ClientRect().TopLeft();
    EXPECT_EQ(DifferingPixels(*painted, origin, *PlainClientPaint(*display)), 0);
    display->SetSegOnColor(clYellow);
    display->SetBackColor(clBtnFace);
    painted = PaintDisplay(*display);
    EXPECT_EQ(DifferingPixels(*painted, origin, *PlainClientPaint(*display)), 0) << "after a colour change";
    // The same dots over a wider grid placed a pixel lower.
    display->SetBounds(display->Left(), display->Top(), c.Width + 37, c.Height + 1);
    painted = PaintDisplay(*display);
    EXPECT_EQ(DifferingPixels(*painted, origin, *PlainClientPaint(*display)), 0) << "after a resize";
  }
}
