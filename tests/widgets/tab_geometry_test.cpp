// The strip's geometry by numbers, without a control: the main window's left strip with
// captions of known lengths, tab sizes of each style, reversed and multi-line strips, the
// content rectangles, outlines, and the caption and image placement inside a tab.
#include <gtest/gtest.h>

#include "widgets/tab_geometry.h"

namespace {
// The main window's control: 242 x 505, tabs on the left, vertical captions, a line height
// of 16 and a 13-pixel font. Content: 16 across (the line), the caption's length + 2 (the
// image margin) along.
TWkTabStripSettings MainWindow() {
  TWkTabStripSettings s;
  s.Width = 242;
  s.Height = 505;
  s.Orientation = toLeft;
  s.VerticalText = true;
  s.ShowShadow = false;
  s.FixedDimension = 23;
  return s;
}

TWkTabMeasures Captions(const std::vector<int>& lengths, TSize minimum = {13, 9}, int lineHeight = 16) {
  TWkTabMeasures m;
  for (int l : lengths) m.Tabs.push_back({TSize{16, l + 2}, true});
  m.Minimum = minimum;
  m.LineHeight = lineHeight;
  return m;
}

// A top strip of tabs with horizontal captions of the given widths, 15 high.
TWkTabStripSettings TopStrip(int width = 300) {
  TWkTabStripSettings s;
  s.Width = width;
  s.Height = 150;
  s.ShowShadow = false;
  return s;
}

TWkTabMeasures Widths(const std::vector<int>& widths) {
  TWkTabMeasures m;
  for (int w : widths) m.Tabs.push_back({TSize{w, 15}, true});
  m.Minimum = {8, 13};
  m.LineHeight = 16;
  return m;
}
}  // namespace

// F = 16 + 6 = 22, slant 11, each tab 100 + 2 + 6 + 22 = 130 long, the next 130 - 11 + 1 on.
TEST(TabStripGeometry, TheMainWindowsStripRunsUpTheLeftEdgeAndScrollsTheSelectedTabIntoView) {
  TWkTabStripGeometry g(MainWindow(), Captions(std::vector<int>(7, 100)), 6, 0);
  EXPECT_EQ(g.FixedDimension(), 22);
  EXPECT_EQ(g.StripRect(), (TRect{0, 0, 22, 504}));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(g.Tab(i).Rect, (TRect{120 * i, 0, 120 * i + 130, 22})) << "tab " << i;
  ASSERT_TRUE(g.NeedScroller()) << "850 does not fit 504";
  EXPECT_EQ(g.ScrollerButtonSize(), 18) << "line height + 2";
  EXPECT_EQ(g.ScrollerBounds(), Bounds(2, 0, 18, 35)) << "at the top, the far end of the strip";
  EXPECT_EQ(g.FirstVisibleTab(), 0) << "the first tab fits from where it starts";
  EXPECT_FALSE(g.TabInView(4)) << "its end would reach 610 - 0 > 504 - 36";
  EXPECT_FALSE(g.Select(6)) << "a single row has no rows to renumber";
  EXPECT_EQ(g.FirstVisibleTab(), 4) << "the first start from which 850 ends within 468";
  EXPECT_EQ(g.OriginOffset(), 480);
  EXPECT_EQ(g.TabRect(4), (TRect{0, 374, 22, 504})) << "the first tab in view stands on the bottom";
  EXPECT_EQ(g.TabRect(6), (TRect{0, 134, 22, 264}));
  EXPECT_FALSE(g.TabInView(3));
  EXPECT_EQ(g.CardRect(0), (TRect{22, 0, 241, 504}));
  EXPECT_EQ(g.PageAreaRect(), (TRect{23, 1, 241, 504}));
  EXPECT_TRUE(g.CanScrollBackward());
  EXPECT_FALSE(g.CanScrollForward()) << "the last tab is in view";
  EXPECT_FALSE(g.ScrollerRolesExchanged());
}

TEST(TabStripGeometry, ScrollingStepsOverTabsThatDoNotFitAndStopsAtTheEnds) {
  TWkTabStripGeometry g(MainWindow(), Captions(std::vector<int>(7, 100)), 6, 0);
  g.Select(6);
  EXPECT_FALSE(g.ScrollForward()) << "the last tab is in view already";
  EXPECT_TRUE(g.ScrollBackward());
  EXPECT_EQ(g.FirstVisibleTab(), 3);
  EXPECT_TRUE(g.CanScrollForward());
  for (int i = 0; i < 5; ++i) g.ScrollBackward();
  EXPECT_EQ(g.FirstVisibleTab(), 0);
  EXPECT_FALSE(g.ScrollBackward());
  EXPECT_TRUE(g.ScrollForward());
  EXPECT_EQ(g.FirstVisibleTab(), 1);
  EXPECT_EQ(g.Select(0), false);
  EXPECT_EQ(g.FirstVisibleTab(), 0) << "a selected tab before the first in view becomes the first";
}

TEST(TabStripGeometry, ShortCaptionsNeedNoScrollerAndTheMinimumKeepsTabsALetterLong) {
  TWkTabStripGeometry g(MainWindow(), Captions({1, 50}), 0, 0);
  EXPECT_FALSE(g.NeedScroller());
  EXPECT_EQ(g.ScrollerBounds(), Bounds(-19, -36, 18, 35)) << "out of sight";
  EXPECT_EQ(g.Tab(0).Rect.Width(), 9 + 6 + 22) << "the letter's length, not 1 + 2";
  EXPECT_EQ(g.Tab(1).Rect.Width(), 52 + 6 + 22);
  EXPECT_TRUE(g.TabInView(1));
}

// The other styles' sizes, on a top strip with one 50 x 15 caption.
TEST(TabStripGeometry, EachStyleSizesItsTabAroundTheContent) {
  struct TCase {
    TWkTabStyle Style;
    bool VerticalText;
    TSize Content;
    TRect Expected;  // strip rectangle of the tab
    int Depth;
  };
  // Vertical text on a top strip: the content is 15 wide and 50 long across the strip.
  const TCase cases[] = {
      {tsSingleSlant, false, {50, 15}, {0, 0, 50 + 6 + 2 * 10, 21}, 21},
      {tsDoubleSlant, false, {50, 15}, {0, 0, 50 + 6 + 2 * 17, 21}, 21},
      {tsCutCorner, false, {50, 15}, {0, 0, 50 + 8 + 2 * 6, 22}, 22},
      {tsCutCorner, true, {15, 50}, {0, 0, 15 + 10, 50 + 7 + 6}, 63},
      {tsRoundCorners, false, {50, 15}, {0, 3, 50 + 16, 3 + 21}, 24},
      {tsRoundCorners, true, {15, 50}, {0, 3, 15 + 6, 3 + 66}, 69},
  };
  for (const TCase& c : cases) {
    TWkTabStripSettings s = TopStrip();
    s.Style = c.Style;
    s.VerticalText = c.VerticalText;
    TWkTabMeasures m = Widths({0});
    m.Tabs[0].Size = c.Content;
    m.Minimum = {0, 0};
    const TWkTabStripGeometry g(s, m, -1, 0);
    EXPECT_EQ(g.Tab(0).Rect, c.Expected) << "style " << c.Style << " vertical " << c.VerticalText;
    EXPECT_EQ(g.StripDepth(), c.Depth) << "style " << c.Style;
  }
}

TEST(TabStripGeometry, AFixedWidthAndHeightReplaceTheMeasuredSize) {
  TWkTabStripSettings s = TopStrip();
  s.TabWidth = 40;
  s.TabHeight = 30;
  const TWkTabStripGeometry g(s, Widths({100, 10}), 0, 0);
  EXPECT_EQ(g.Tab(0).Rect, (TRect{0, 0, 40, 30}));
  EXPECT_EQ(g.Tab(1).Rect, (TRect{40 - 15 + 1, 0, 40 - 15 + 1 + 40, 30})) << "overlapping by the slant less one";
}

TEST(TabStripGeometry, ReversedTabsStartAtTheFarEndAndTheScrollerMovesToTheStart) {
  TWkTabStripSettings s = MainWindow();
  s.Sequence = tsReverse;
  TWkTabStripGeometry g(s, Captions(std::vector<int>(7, 100)), 0, 0);
  EXPECT_EQ(g.Tab(6).Rect, (TRect{0, 0, 130, 22})) << "the rows were shifted to start at 0";
  EXPECT_EQ(g.Tab(0).Rect, (TRect{720, 0, 850, 22}));
  EXPECT_EQ(g.TabRect(0), (TRect{0, 0, 22, 130})) << "the first tab at the top of a left strip";
  EXPECT_EQ(g.TabRect(1), (TRect{0, 120, 22, 250}));
  EXPECT_EQ(g.ScrollerBounds(), Bounds(2, 504 - 35 + 1, 18, 35));
  EXPECT_TRUE(g.ScrollerRolesExchanged()) << "later tabs lie below: the lower half scrolls forward";
}

TEST(TabStripGeometry, TheCloseButtonTakesTheStripsEndAndTheScrollerMovesPastIt) {
  TWkTabStripSettings s = MainWindow();
  s.ShowCloseButton = true;
  s.Margin = 3;
  const TWkTabStripGeometry g(s, Captions(std::vector<int>(7, 100)), 0, 0);
  EXPECT_EQ(g.CloseButtonSize(), 18);
  EXPECT_EQ(g.CloseButtonBounds(), Bounds(2, 3, 18, 18));
  EXPECT_EQ(g.ScrollerBounds(), Bounds(2, 18 + 3 + 2, 18, 35));
  EXPECT_EQ(g.Tab(0).Rect.Left, 3) << "the margin comes first";
  const TWkTabStripGeometry none(s, Captions({}), -1, 0);
  EXPECT_EQ(none.CloseButtonSize(), 0) << "no tabs, no close button";
  EXPECT_EQ(none.FirstVisibleTab(), -1);
  EXPECT_EQ(none.CardRect(0), (TRect{0, 0, 241, 504})) << "the card covers the control";
}

// Five tabs of 76 (50 + 6 + 2 x 10) overlapping by 9 in a room of 299 - 4 x 5: four fit the
// first row, the fifth starts the second.
TEST(TabStripGeometry, MultiLineTabsWrapIntoRowsAndTheSelectedRowMovesNextToThePage) {
  TWkTabStripSettings s = TopStrip();
  s.MultiLine = true;
  s.RowCount = 5;  // the rows before: their indents come off the room
  TWkTabStripGeometry g(s, Widths(std::vector<int>(5, 50)), 4, 0);
  ASSERT_EQ(g.RowCount(), 2);
  EXPECT_FALSE(g.NeedScroller());
  EXPECT_EQ(g.StripDepth(), 21 + 16);
  EXPECT_EQ(g.Tab(4).Row, 0) << "the selected tab's row lies next to the page";
  EXPECT_EQ(g.Tab(0).Row, 1);
  EXPECT_EQ(g.Tab(0).Rect, (TRect{0, 0, 76, 21})) << "the far row, 16 out";
  EXPECT_EQ(g.Tab(3).Rect, (TRect{201, 0, 277, 21}));
  EXPECT_EQ(g.Tab(4).Rect, (TRect{0, 16, 76, 37})) << "the selected row, next to the page";
  EXPECT_EQ(g.TabRect(0), (TRect{5, 0, 81, 21})) << "row 1 indented by RowIndent";
  EXPECT_EQ(g.CardRect(1), (TRect{5, 21, 299, 149})) << "row 1's card: 16 toward the strip, indented";
  EXPECT_TRUE(g.Select(0)) << "selecting a tab of the far row renumbers the rows";
  EXPECT_EQ(g.Tab(0).Row, 0);
  EXPECT_EQ(g.Tab(0).Rect.Top, 16);
  s.AlignTabs = true;
  s.RowIndent = 0;
  s.RowCount = 2;
  const TWkTabStripGeometry aligned(s, Widths(std::vector<int>(5, 50)), 0, 0);
  EXPECT_EQ(aligned.Tab(3).Rect.Right, 299) << "a row's spare room is shared out";
  EXPECT_EQ(aligned.Tab(0).Rect.Width(), 76 + 6) << "22 over four tabs: the first two get a pixel more";
  EXPECT_EQ(aligned.Tab(3).Rect.Width(), 76 + 5);
  EXPECT_EQ(aligned.Tab(4).Rect, (TRect{0, 0, 299, 21})) << "a lone tab takes its whole row";
}

TEST(TabStripGeometry, TheFrameAloneUsesTheStoredThickness) {
  const TWkTabStripGeometry g(MainWindow(), 8);
  EXPECT_EQ(g.FixedDimension(), 23);
  EXPECT_EQ(g.PageAreaRect(), (TRect{24, 1, 241, 504}));
  TWkTabStripSettings s = MainWindow();
  s.ShowCard = false;
  EXPECT_EQ(TWkTabStripGeometry(s, 8).PageAreaRect(), (TRect{-2, -2, -1, -1})) << "a bare strip hides its pages";
  s = TopStrip();
  s.FixedDimension = 20;
  s.ShowShadow = true;
  EXPECT_EQ(TWkTabStripGeometry(s, 1).StripRect(), (TRect{0, 0, 297, 20})) << "the shadow takes two pixels";
  EXPECT_EQ(TWkTabStripGeometry(s, 1).PageAreaRect(), (TRect{1, 21, 297, 147}));
}

// ---- painting rectangles ----

TEST(TabStripGeometry, ContentRectanglesKeepTheSlantedEndFreeOfText) {
  TWkTabStripGeometry g(MainWindow(), Captions({100}), 0, 0);
  EXPECT_EQ(g.ContentRect({0, 100, 22, 230}), (TRect{4, 100 + 22 + 3, 20, 227})) << "(X0 + 4, Y0 + 2s + 3, X1 - 2, Y1 - 3)";
  TWkTabStripSettings s = TopStrip();
  const TWkTabStripGeometry top(s, Widths({50}), 0, 0);
  EXPECT_EQ(top.ContentRect({0, 0, 76, 21}), (TRect{5, 4, 76 - 21, 19})) << "the slant on the right";
  s.Style = tsCutCorner;
  const TWkTabStripGeometry cut(s, Widths({50}), 0, 0);
  EXPECT_EQ(cut.ContentRect({0, 0, 70, 22}), (TRect{10, 5, 60, 20})) << "the corner's size + 3 off each end";
  s.Style = tsRoundCorners;
  const TWkTabStripGeometry round(s, Widths({50}), 0, 0);
  EXPECT_EQ(round.ContentRect({0, 3, 66, 24}), (TRect{5, 6, 61, 21}));
  EXPECT_EQ(round.FocusRect({5, 6, 61, 21}), (TRect{4, 7, 62, 21}));
}

TEST(TabStripGeometry, BarsLieAlongTheOuterEdge) {
  TWkTabStripSettings s = TopStrip();
  const TRect tab{10, 0, 86, 21};
  EXPECT_EQ(TWkTabStripGeometry(s, 0).BarRect(tab), (TRect{9, -1, 87, 5}));
  s.Orientation = toBottom;
  EXPECT_EQ(TWkTabStripGeometry(s, 0).BarRect(tab), (TRect{9, 18, 87, 22}));
  s.Orientation = toRight;
  EXPECT_EQ(TWkTabStripGeometry(s, 0).BarRect(tab), (TRect{83, -1, 87, 22}));
}

TEST(TabStripGeometry, OutlinesAreSegmentsAndTheCardFrameOpensForTheSelectedTab) {
  TWkTabStripGeometry g(MainWindow(), Captions({100, 100}), 1, 0);
  const std::vector<TPoint> p = g.TabControlPoints(1);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(g.TabOutline(1), (TWkOutline{{p[0], p[1]}, {p[1], p[2]}, {p[2], p[3]}, {p[3], p[4]}}))
      << "the base is left to the card";
  const TRect r = g.TabRect(1);
  const TPoint tl{22, 0}, tr{241, 0}, br{241, 504}, bl{22, 504};
  const TPoint g1{22, r.Bottom - 1}, g2{22, r.Top};
  EXPECT_EQ(g.CardOutline(0, true),
            (TWkOutline{{tl, tr}, {tr, br}, {br, {21, 504}}, {bl, g1}, {g2, tl}}))
      << "open between the selected tab's base corners";
  EXPECT_EQ(g.CardOutline(1, true).size(), 4u) << "no gap on another row's card";
}

TEST(TabStripGeometry, OnlyATopStripShowsTheShadowAndAHotTrackingRepaintLeavesItOut) {
  TWkTabStripSettings s = TopStrip();
  s.ShowShadow = true;
  const TWkTabStripGeometry g(s, Widths({50}), -1, 0);
  auto shadows = [](const TWkOutline& o) {
    return std::count_if(o.begin(), o.end(), [](const TWkOutlineSegment& seg) { return seg.Kind != okLine; });
  };
  const TWkOutline card = g.CardOutline(0, true);
  EXPECT_EQ(shadows(card), 6);
  EXPECT_EQ(card.front(), (TWkOutlineSegment{{0, 21}, {297, 21}, okLine})) << "the frame two pixels in";
  EXPECT_EQ(card[4], (TWkOutlineSegment{{298, 22}, {298, 148}, okShadowNear}));
  EXPECT_EQ(card[9], (TWkOutlineSegment{{0, 149}, {0, 148}, okShadowFar})) << "both ends included";
  EXPECT_EQ(shadows(g.CardOutline(0, false)), 0);
  s.Orientation = toBottom;
  EXPECT_EQ(shadows(TWkTabStripGeometry(s, Widths({50}), -1, 0).CardOutline(0, true)), 0);
}

// ---- inside a tab ----

TEST(TabContent, TheImageSitsBesideAboveBelowOrBehindTheCaption) {
  const TSize caption{40, 15}, image{10, 12};
  EXPECT_EQ(TabContentSize(caption, image, ipLeft, 2), (TSize{52, 15}));
  EXPECT_EQ(TabContentSize(caption, image, ipBottom, 2), (TSize{40, 29}));
  EXPECT_EQ(TabContentSize(caption, image, ipBack, 2), (TSize{40, 15}));
  EXPECT_EQ(TabContentSize(caption, image, ipStretch, 2), caption);
  EXPECT_EQ(TabContentSize(caption, {0, 0}, ipTop, 2), (TSize{40, 17})) << "the margin counts without an image";
  const TRect content{10, 20, 60, 50};
  const TWkTabContentAreas right = SplitTabContent(content, image, ipRight, 2);
  EXPECT_EQ(right.Text, (TRect{10, 20, 48, 50}));
  EXPECT_EQ(right.Image, (TRect{50, 20, 60, 50}));
  const TWkTabContentAreas top = SplitTabContent(content, image, ipTop, 2);
  EXPECT_EQ(top.Text, (TRect{10, 34, 60, 50}));
  EXPECT_EQ(top.Image, (TRect{10, 20, 60, 32}));
  EXPECT_EQ(SplitTabContent(content, image, ipBack, 2).Text, content);
  EXPECT_EQ(PlaceTabImage({10, 20, 60, 50}, image, ipLeft, haCenter, vaCenter), (TPoint{30, 29}));
  EXPECT_EQ(PlaceTabImage({10, 20, 60, 50}, image, ipLeft, haRight, vaBottom), (TPoint{50, 38}));
  EXPECT_EQ(PlaceTabImage({10, 20, 60, 50}, image, ipStretch, haRight, vaBottom), (TPoint{10, 20}));
}

TEST(TabContent, CaptionLinesAreAlignedAsABlockThenOneByOne) {
  EXPECT_EQ(CaptionLines("K600\r\nA\r\n"), (std::vector<std::string>{"K600", "A", ""}));
  EXPECT_EQ(CaptionLines("K600"), (std::vector<std::string>{"K600"}));
  const std::vector<TSize> lines{{40, 16}, {10, 16}};
  EXPECT_EQ(CaptionBlockExtent(lines, false), (TSize{40, 32}));
  EXPECT_EQ(CaptionBlockExtent(lines, true), (TSize{32, 40})) << "vertical lines stand side by side";
  const TRect area{0, 0, 60, 40};
  EXPECT_EQ(CaptionLineStarts(area, {40, 32}, lines, cdAcross, haCenter, vaCenter),
            (std::vector<TPoint>{{10, 4}, {25, 20}}));
  EXPECT_EQ(CaptionLineStarts(area, {40, 32}, lines, cdAcross, haRight, vaBottom),
            (std::vector<TPoint>{{20, 8}, {50, 24}}));
  const TRect tall{0, 0, 40, 60};
  EXPECT_EQ(CaptionLineStarts(tall, {32, 40}, lines, cdUpward, haCenter, vaCenter),
            (std::vector<TPoint>{{4, 50}, {20, 35}}))
      << "upward lines start at the bottom, the first on the left";
  EXPECT_EQ(CaptionLineStarts(tall, {32, 40}, lines, cdDownward, haLeft, vaTop),
            (std::vector<TPoint>{{32, 0}, {16, 0}}))
      << "downward lines start at the top, the first on the right";
}
