// Settings the main window leaves at their defaults: several rows, the close button,
// accelerators, caption measuring, the scroller's roles on the right edge, and the writers.
#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "formstream/stream_writer.h"
#include "formstream/text_form.h"
#include "framework/core/stream.h"
#include "tests/widgets/page_control_fixture.h"

namespace {
class PageOptionsTest : public PageControlTest {
 protected:
  void SetUp() override { Load(); }
  void TopTabs(int width) {
    Control->SetTabOrientation(toTop);
    Control->SetTextOrientation(orHorizontal);
    Control->SetShowShadow(false);
    Control->SetWidth(width);
  }
  TSize Extent(const std::string& text) const {
    TCanvas canvas;
    canvas.Font().CopyFrom(Control->Font());
    return canvas.TextExtent(text);
  }
};
}  // namespace

TEST_F(PageOptionsTest, MultiLineTabsWrapIntoRowsWithTheSelectedRowNextToThePage) {
  TopTabs(242);
  Control->SetMultiLine(true);
  Settle();
  const int rows = Control->RowCount();
  ASSERT_GT(rows, 1) << "seven tabs do not fit one 241-pixel row";
  EXPECT_FALSE(Control->NeedScroller());
  const int f = Control->FixedDimension();
  EXPECT_EQ(Control->Strip().StripDepth(), f + (f - Control->RowOverlap()) * (rows - 1));
  EXPECT_EQ(Control->Strip().Tab(6).Row, 0) << "the selected tab's row lies next to the page";
  for (int i = 0; i < 7; ++i) {
    const TWkTabPlace& tab = Control->Strip().Tab(i);
    EXPECT_EQ(tab.Rect.Top, Control->Strip().StripDepth() - f - tab.Row * (f - Control->RowOverlap())) << "tab " << i;
    EXPECT_LE(tab.Rect.Right, 241) << "tab " << i << " fits the room";
    EXPECT_TRUE(Control->TabInView(i));
  }
  const int firstRowBefore = Control->Strip().Tab(0).Row;
  Control->SetActivePage(Page(0));
  Settle();
  EXPECT_EQ(Control->Strip().Tab(0).Row, 0);
  EXPECT_NE(firstRowBefore, 0) << "tab 0 was not on the selected row before";
  EXPECT_EQ(Control->Strip().Tab(0).Rect.Left, 0) << "rows keep their places along the strip";
}

TEST_F(PageOptionsTest, AlignedRowsFillTheRoomSharingTheSpareWidth) {
  TopTabs(242);
  Control->SetMultiLine(true);
  Control->SetRowIndent(0);
  Control->SetAlignTabs(true);
  Settle();
  std::vector<int> rowEnd(size_t(Control->RowCount()), 0);
  for (int i = 0; i < 7; ++i) {
    const TWkTabPlace& tab = Control->Strip().Tab(i);
    rowEnd[size_t(tab.Row)] = std::max(rowEnd[size_t(tab.Row)], tab.Rect.Right);
  }
  for (int end : rowEnd) EXPECT_EQ(end, 241) << "every row reaches the end of the room";
}

TEST_F(PageOptionsTest, TheCloseButtonClosesTheActivePageWhenTheHandlerAllows) {
  Control->SetShowCloseButton(true);
  Settle();
  ASSERT_NE(Control->CloseButton(), nullptr);
  const int a = Control->Strip().ScrollerButtonSize();
  EXPECT_EQ(Control->CloseButton()->BoundsRect(), Bounds(Control->FixedDimension() - a - 2, 0, a, a));
  EXPECT_EQ(Control->Scroller()->Top(), a + 2) << "the scroller moves past the close button";
  int asked = 0;
  bool allow = false;
  Control->FOnClose = [&](TObject*, bool& allowClose) {
    ++asked;
    EXPECT_FALSE(allowClose) << "False on entry";
    allowClose = allow;
  };
  const TPoint centre = Control->CloseButton()->BoundsRect().TopLeft() + TPoint{a / 2, a / 2};
  Click(centre);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Control->PageCount(), 8);
  allow = true;
  Click(centre);
  EXPECT_EQ(Control->PageCount(), 7);
  EXPECT_EQ(Control->TabIndex(), 5) << "the tab before the closed one";
  EXPECT_EQ(Control->ActivePage()->Caption(), "P900");
}

TEST_F(PageOptionsTest, AnAltAcceleratorFocusesTheControlAndSelectsItsTab) {
  Page(4)->SetCaption("K&600");
  Settle();
  Backend->SetModifiers(imAlt);
  Backend->TypeChar('6');
  Backend->SetModifiers(0);
  Settle();
  EXPECT_EQ(Control->TabIndex(), 4);
  EXPECT_TRUE(Control->Focused());
}

TEST_F(PageOptionsTest, CaptionsAreMeasuredWithoutTheirAcceleratorMarkLineByLine) {
  Control->SetTextOrientation(orHorizontal);
  const TSize plain = Extent("K600"), amp = Extent("A&B"), line = Extent("A");
  EXPECT_EQ(Control->CaptionExtent("K&600", false), plain);
  EXPECT_EQ(Control->CaptionExtent("A&&B", false), amp) << "a doubled mark counts as one";
  EXPECT_EQ(Control->CaptionExtent("K600\r\nA", false), (TSize{plain.cx, plain.cy + line.cy}));
  Control->SetTextOrientation(orVertical);
  EXPECT_EQ(Control->CaptionExtent("K600\r\nA", false), (TSize{plain.cy + line.cy, plain.cx}))
      << "vertical text: lines side by side, the longest along";
}

TEST_F(PageOptionsTest, OnTheRightEdgeTheScrollersUpperHalfScrollsBack) {
  Control->SetTabOrientation(toRight);
  Control->SetActivePage(Page(0));
  Settle();
  ASSERT_TRUE(Control->NeedScroller());
  EXPECT_EQ(Control->FirstVisibleTab(), 0);
  EXPECT_EQ(Control->TabRect(0).Top, 0) << "right tabs run from the top down";
  EXPECT_FALSE(Control->Scroller()->UpRightEnabled()) << "the up half goes back here: nothing before tab 0";
  EXPECT_TRUE(Control->Scroller()->DownLeftEnabled());
  const TRect s = Control->Scroller()->BoundsRect();
  EXPECT_EQ(s.Bottom, 504 + 1) << "at the bottom, opposite the first tab";
  Click({s.Left + 3, s.Bottom - 3});
  EXPECT_EQ(Control->FirstVisibleTab(), 1);
}

TEST_F(PageOptionsTest, WritersIgnoreNegativeSizesAndLinkShadowAndFullFrame) {
  Control->SetMargin(-3);
  Control->SetCutCornerSize(-1);
  Control->SetTabWidth(-2);
  EXPECT_EQ(Control->Margin(), 0);
  EXPECT_EQ(Control->CutCornerSize(), 6);
  EXPECT_EQ(Control->TabWidth(), 0);
  Control->SetShowFullFrame(false);
  EXPECT_FALSE(Control->ShowShadow());
  Control->SetShowShadow(true);
  EXPECT_TRUE(Control->ShowFullFrame());
  Control->SetBackgroundColor(clRed);
  EXPECT_FALSE(Control->ParentBackgroundColor());
  Control->SetParentBackgroundColor(true);
  EXPECT_EQ(Control->BackgroundColor(), clSkyBlue) << "the parent's colour again";
  Settle();
  EXPECT_FALSE(Control->LayoutDirty());
  Control->SetFlatColor(clRed);
  EXPECT_FALSE(Control->LayoutDirty()) << "a colour only repaints";
  EXPECT_EQ(Control->Scroller()->FrameColor(), clRed) << "the scroller's frame follows the outline colour";
  Control->SetTabHeight(40);
  EXPECT_TRUE(Control->LayoutDirty()) << "a size lays the tabs out again";
}

TEST_F(PageOptionsTest, AFixedTabWidthReplacesTheMeasuredThickness) {
  Control->SetTabWidth(30);
  Settle();
  EXPECT_EQ(Control->FixedDimension(), 30);
  EXPECT_EQ(Page(0)->Left(), 31);
}

TEST_F(PageOptionsTest, TheLayoutMovesTheSelectionOffATabThatCannotBeSelected) {
  Page(6)->SetTabEnabled(false);
  Settle();
  EXPECT_EQ(Control->TabIndex(), 5) << "none after it, so the nearest before it";
  EXPECT_EQ(Control->ActivePage(), Page(5));
  Page(0)->SetTabEnabled(false);
  Control->SetActivePage(Page(0));
  Settle();
  EXPECT_EQ(Control->TabIndex(), 5) << "a disabled tab cannot be chosen through the writer";
}

TEST_F(PageOptionsTest, ATabImageTakesItsPlaceBelowTheCaptionAndGoesWithItsList) {
  const int before = Control->Strip().Tab(6).Rect.Width();
  auto* images = new TImageList(Form);
  images->SetWidth(10);
  images->SetHeight(10);
  TBitmap blue;
  blue.SetPixelFormat(pf32bit);
  blue.SetSize(10, 10);
  blue.Canvas().Brush().SetColor(clBlue);
  blue.Canvas().FillRect({0, 0, 10, 10});
  images->AddMasked(blue, clNone);
  Control->SetImages(images);
  Page(6)->SetImageIndex(0);
  Settle();
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), before + 10) << "ipBottom: the image adds its height";
  const TRect content = Control->Strip().ContentRect(Control->TabRect(6));
  const int x = content.Left + (content.Width() - 10) / 2;
  EXPECT_EQ(Control->OffscreenBitmap().PixelRGB(x + 5, content.Bottom - 5), 0xFF0000u) << "drawn at the bottom";
  delete images;
  Settle();
  EXPECT_EQ(Control->Images(), nullptr);
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), before) << "laid out again without it";
}

TEST_F(PageOptionsTest, TheFocusRectangleFramesTheSelectedCaptionWhileTheControlHasTheFocus) {
  Control->SetShowFocusRect(true);
  Control->SetTabStop(true);
  const TRect r = Control->TabRect(6);
  auto blackInColumn = [&](int x) {
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y) count += Control->OffscreenBitmap().PixelRGB(x, y) == 0 ? 1 : 0;
    return count;
  };
  Settle();
  EXPECT_EQ(blackInColumn(3), 0) << "the bar's last column, without the focus";
  Control->SetFocus();
  Settle();
  EXPECT_GT(blackInColumn(3), 10) << "the dotted frame one pixel left of the caption area";
}

TEST_F(PageOptionsTest, TheThicknessIsWrittenWithTheControlAndDefaultsAreLeftOut) {
  TMemoryStream stream;
  {
    TStreamWriter writer(stream);
    writer.WriteRootComponent(*Form);
    writer.FlushBuffer();
  }
  stream.SetPosition(0);
  const std::string text = BinaryToText(stream);
  EXPECT_NE(text.find("FixedDimension = " + std::to_string(Control->FixedDimension())), std::string::npos) << text;
  EXPECT_NE(text.find("TabOrientation = toLeft"), std::string::npos);
  EXPECT_EQ(text.find("CutCornerSize"), std::string::npos) << "a default is not stored";
  EXPECT_EQ(text.find("BackgroundColor"), std::string::npos) << "it follows the parent";
  EXPECT_EQ(text.find("PageIndex"), std::string::npos);
}

TEST_F(PageOptionsTest, RoundedTabsLeaveRoomForTheirCornersAndTheSelectedOneStandsOut) {
  Control->SetTabStyle(tsRoundCorners);
  Settle();
  const int f = Control->FixedDimension();
  EXPECT_EQ(Control->Strip().StripDepth(), f + 3);
  const TWkTabPlace& selected = Control->Strip().Tab(6);
  const TRect r = Control->TabRect(6);
  EXPECT_EQ(r.Left, selected.Rect.Top - 2) << "two pixels farther out";
  EXPECT_EQ(r.Height(), selected.Rect.Width() + 4) << "two pixels longer at each end";
  EXPECT_EQ(Control->Strip().TabControlPoints(6).size(), 6u);
  EXPECT_EQ(Control->TabAtPos({r.Left + 4, r.Top + 1}), 6) << "the enlarged end answers hit tests";
}
