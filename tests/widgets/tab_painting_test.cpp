// The main window's strip to the pixel: outlines in the flat colour, the gradient of
// unselected tabs, the selected tab joined to the page through the card frame's gap, the
// bars three pixels inside the outline on every edge, captions and the card shadow.
#include <algorithm>

#include "framework/graphics/canvas.h"
#include "tests/widgets/page_control_fixture.h"
#include "widgets/frame_drawing.h"

namespace {
constexpr uint32_t kFlat = 0x984E00;       // clBackground
constexpr uint32_t kSelected = 0xEBB99D;   // clGradientInactiveCaption
constexpr uint32_t kHighlight = 0xC56A31;  // clHighlight
constexpr uint32_t kFace = 0xD8E9EC;       // clBtnFace
constexpr uint32_t kSky = 0xF0CAA6;        // the form's clSkyBlue behind the strip

class TabPaintingTest : public PageControlTest {
 protected:
  void SetUp() override { Load(); }
  uint32_t At(int x, int y) const { return Control->OffscreenBitmap().PixelRGB(x, y); }
  // The bounding box of the pixels of exactly `rgb` inside `area`.
  TRect InkBox(const TRect& area, uint32_t rgb) const {
    TRect box{1 << 20, 1 << 20, -1, -1};
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (At(x, y) == rgb) box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    return box;
  }
  static bool Dark(uint32_t rgb) { return (rgb & 0xFF) < 90 && ((rgb >> 8) & 0xFF) < 90 && ((rgb >> 16) & 0xFF) < 90; }
};
}  // namespace

TEST_F(TabPaintingTest, TheLowestTabHasASquareChamferedLowerEndAStraightOuterSideAndA45DegreeSlant) {
  const TStripNumbers n = Expected();
  const int tab = Control->FirstVisibleTab();
  const TRect r = Control->TabRect(tab);
  ASSERT_EQ(r.Bottom, 504);
  for (int x = 2; x <= n.F; ++x) EXPECT_EQ(At(x, 504), kFlat) << "lower end, x " << x;
  EXPECT_EQ(At(1, 503), kFlat) << "the chamfer";
  EXPECT_EQ(At(0, 502), kFlat);
  for (TPoint cut : {TPoint{0, 504}, TPoint{1, 504}, TPoint{0, 503}}) EXPECT_EQ(At(cut.X, cut.Y), kSky) << "the outer corner is cut";
  for (int y = r.Top + n.F + 1; y <= 502; y += 7) EXPECT_EQ(At(0, y), kFlat) << "outer side, y " << y;
  const TRect s = Control->TabRect(6);
  for (int k = 0; k < n.F; ++k) EXPECT_EQ(At(k, s.Top + n.F - k), kFlat) << "slant of the selected tab, step " << k;
  EXPECT_EQ(At(1, s.Top + 2), kSky) << "beyond the slant, at the outer edge, the strip's background shows";
  EXPECT_EQ(At(n.F - 1, s.Top + 2), kSelected) << "the tab reaches farthest up next to the page";
}

TEST_F(TabPaintingTest, UnselectedTabsShadeFromTheWindowColourAtTheEdgeToTheButtonFaceAtThePage) {
  const TStripNumbers n = Expected();
  const TRect r = Control->TabRect(5);
  const int y = r.Top + n.F + 1;  // below the slant, above the caption
  auto reference = std::make_unique<TBitmap>();
  reference->SetPixelFormat(pf32bit);
  reference->SetSize(r.Width(), r.Height());
  FillGradientRect(reference->Canvas(), {0, 0, r.Width(), r.Height()}, gsHorizontal, clWindow, clBtnFace, 1);
  for (int x = 1; x < n.F; ++x) EXPECT_EQ(At(x, y), reference->PixelRGB(x, y - r.Top)) << "column " << x;
  EXPECT_EQ(At(n.F - 1, y), kFace) << "the last column is the shadow colour";
  const uint32_t first = At(1, y);
  EXPECT_GE(first & 0xFF, 250u) << "the first columns are close to white";
  EXPECT_EQ(At(n.F, y), kFlat) << "the card frame closes an unselected tab's base";
}

TEST_F(TabPaintingTest, TheSelectedTabTakesThePageColourThroughAGapInTheCardFrame) {
  const TStripNumbers n = Expected();
  const TRect r = Control->TabRect(6);
  EXPECT_EQ(At(n.F - 2, r.Bottom - 2), kSelected) << "outside the caption area";
  EXPECT_EQ(At(n.F, r.Top), kFlat) << "upper base corner";
  EXPECT_EQ(At(n.F, r.Bottom), kFlat) << "lower base corner";
  for (int y = r.Top + 1; y < r.Bottom; y += 5) EXPECT_EQ(At(n.F, y), kSelected) << "gap, y " << y;
  EXPECT_EQ(At(n.F, r.Bottom - 1), kSelected);
  EXPECT_EQ(At(n.F, r.Top - 4), kFlat) << "the frame goes on above the gap";
  EXPECT_EQ(At(n.F, r.Bottom + 4), kFlat) << "and below it";
  EXPECT_EQ(At(241, 200), kFlat) << "right side of the card";
  EXPECT_EQ(At(120, 0), kFlat) << "top side";
  EXPECT_EQ(At(120, 504), kFlat) << "bottom side";
  EXPECT_EQ(At(120, 200), kSelected) << "the card's fill";
}

TEST_F(TabPaintingTest, WithTheActivePagesTabHiddenTheFrameHasNoGap) {
  const TStripNumbers n = Expected();
  Control->SetActivePage(Page(7));
  Settle();
  for (int y = 1; y < 504; y += 3) ASSERT_EQ(At(n.F, y), kFlat) << "y " << y;
}

TEST_F(TabPaintingTest, SelectionAndHotBarsLieThreePixelsInsideTheOutlineOnEveryEdge) {
  const uint32_t hot = uint32_t(ColorToRGB(Control->HotBarColor()));
  ASSERT_NE(hot, kHighlight);
  for (TWkTabOrientation o : {toLeft, toTop, toBottom, toRight}) {
    Control->SetTabOrientation(o);
    Control->SetTextOrientation(o == toLeft || o == toRight ? orVertical : orHorizontal);
    Control->SetActivePage(Page(0));
    Settle();
    Backend->MoveMouse(ScreenOf(InsideTab(1)));
    Settle();
    ASSERT_EQ(Control->HotTab(), 1) << "orientation " << o;
    for (int tab : {0, 1}) {
      const TRect r = Control->TabRect(tab);
      const uint32_t bar = tab == 0 ? kHighlight : hot;
      // From the outer edge inward: outline, three bar pixels, then no bar.
      std::vector<TPoint> line;
      switch (o) {
        case toLeft: for (int i = 0; i < 5; ++i) line.push_back({r.Left + i, r.Bottom - 6}); break;
        case toTop: for (int i = 0; i < 5; ++i) line.push_back({r.Left + 6, r.Top + i}); break;
        case toBottom: for (int i = 0; i < 5; ++i) line.push_back({r.Left + 6, r.Bottom - i}); break;
        default: for (int i = 0; i < 5; ++i) line.push_back({r.Right - i, r.Top + 6});
      }
      EXPECT_EQ(At(line[0].X, line[0].Y), kFlat) << "orientation " << o << " tab " << tab;
      for (int i = 1; i <= 3; ++i) EXPECT_EQ(At(line[i].X, line[i].Y), bar) << "orientation " << o << " tab " << tab << " depth " << i;
      EXPECT_NE(At(line[4].X, line[4].Y), bar) << "orientation " << o << " tab " << tab;
    }
    Backend->MoveMouse(Form->ClientToScreen({390, 20}));
    Tick(TWkCustomTabControl::kHotTrackPollMs);
  }
}

TEST_F(TabPaintingTest, TheComplementaryHotColourTurnsTheHueByAThird) {
  // Colours whose measured hue is exactly the one wanted.
  auto ofHue = [](int hue) {
    for (int h = hue - 3; h <= hue + 3; ++h)
      if (TColor c = HslToRgb(uint8_t(h), 240, 120); HueOfColor(c) == hue) return c;
    return TColor(clNone);
  };
  Control->SetHotTrackColor(ofHue(200));
  EXPECT_EQ(Control->HotBarColor(), HslToRgb(80, 240, 140));
  Control->SetHotTrackColor(ofHue(40));
  EXPECT_EQ(Control->HotBarColor(), HslToRgb(160, 240, 140));
  Control->SetHotTrackColorType(htctActual);
  EXPECT_EQ(Control->HotBarColor(), ofHue(40));
}

TEST_F(TabPaintingTest, ACaptionsInkLiesInsideItsTextAreaAndReadsUpward) {
  Page(6)->SetCaption("I----");
  Settle();
  const TRect r = Control->TabRect(6);
  const TRect text = Control->Strip().ContentRect(r);
  TRect ink{1 << 20, 1 << 20, -1, -1};
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = 4; x < r.Right; ++x)
      if (Dark(At(x, y))) ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1), std::max(ink.Bottom, y + 1)};
  ASSERT_GT(ink.Right, ink.Left) << "no caption drawn";
  EXPECT_GE(ink.Left, text.Left);
  EXPECT_LE(ink.Right, text.Right);
  EXPECT_GE(ink.Top, text.Top);
  EXPECT_LE(ink.Bottom, text.Bottom);
  EXPECT_GT(ink.Height(), ink.Width()) << "the text runs along the tab";
  auto runWidth = [&](int y) {
    int count = 0;
    for (int x = ink.Left; x < ink.Right; ++x) count += Dark(At(x, y)) ? 1 : 0;
    return count;
  };
  EXPECT_GE(runWidth(ink.Bottom - 1), 6) << "the I, lying across the tab, comes first at the bottom";
  EXPECT_LE(runWidth(ink.Top), 3) << "the last dash, standing along the tab, ends at the top";
}

TEST_F(TabPaintingTest, ADisabledCaptionIsEmbossedWithTheHighlightOnePixelRightAndDown) {
  Control->TextColors()->SetDisabledHighlight(clLime);
  Control->TextColors()->SetDisabledShadow(clRed);
  Page(5)->SetTabEnabled(false);
  Settle();
  const TRect r = Control->TabRect(5);
  const TRect shadow = InkBox(r, 0x0000FF), highlight = InkBox(r, 0x00FF00);
  ASSERT_GT(shadow.Right, shadow.Left);
  ASSERT_GT(highlight.Right, highlight.Left);
  EXPECT_EQ(highlight.Right, shadow.Right + 1);
  EXPECT_EQ(highlight.Bottom, shadow.Bottom + 1);
}

TEST_F(TabPaintingTest, AHandledTextColourReplacesTheControlsChoice) {
  std::vector<int> asked;
  Control->FOnGetTextColor = [&](TObject*, int tab, TWkTextStyle style, TColor& color, bool& handled) {
    asked.push_back(tab);
    if (style == tsSelected) {
      color = clRed;
      handled = true;
    }
  };
  Control->Invalidate();
  Settle();
  const TRect selected = Control->Strip().ContentRect(Control->TabRect(6));
  const TRect other = Control->Strip().ContentRect(Control->TabRect(5));
  EXPECT_GT(InkBox(selected, 0x0000FF).Right, 0) << "the selected caption in the handler's colour";
  EXPECT_EQ(InkBox(other, 0x0000FF).Right, -1);
  EXPECT_NE(std::find(asked.begin(), asked.end(), 5), asked.end());
}

TEST_F(TabPaintingTest, TheShadowShowsOnlyOnTopTabsAndNotInAHotTrackingRepaint) {
  for (TWkTabOrientation o : {toLeft, toBottom, toRight, toTop}) {
    Control->SetTabOrientation(o);
    Control->SetShowShadow(false);
    Settle();
    const std::unique_ptr<TBitmap> without = std::make_unique<TBitmap>();
    without->CopyFrom(&Control->OffscreenBitmap());
    Control->SetShowShadow(true);
    Settle();
    int changed = 0;
    for (int y = 0; y < without->Height(); ++y)
      for (int x = 0; x < without->Width(); ++x) changed += without->PixelRGB(x, y) != At(x, y) ? 1 : 0;
    if (o == toTop) EXPECT_GT(changed, 0);
    else EXPECT_EQ(changed, 0) << "orientation " << o;
  }
  const int x = Control->Width() - 2, y = Control->Height() / 2;
  const uint32_t shaded = At(x, y);
  EXPECT_NE(shaded, kSky) << "the shadow darkens the parent's background";
  EXPECT_EQ(shaded, uint32_t(ColorToRGB(MixColors(clBlack, TColor(kSky), 30))));
}

TEST_F(TabPaintingTest, AHandledBackgroundReplacesTheStripFill) {
  Control->FOnPaintBackground = [](TObject*, TCanvas* canvas, const TRect& rect, bool& handled) {
    canvas->Brush().SetColor(clYellow);
    canvas->FillRect(rect);
    handled = true;
  };
  Control->Invalidate();
  Settle();
  EXPECT_EQ(At(0, 20), 0x00FFFFu) << "beside the scroller, above the tabs";
}
