// The main window's strip after loading: thickness, strip and page area, tabs bottom-up,
// the scroller at the top with the selected tab just below it, and the tab shapes.
#include "tests/widgets/page_control_fixture.h"

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

TEST_F(PageControlTest, LoadingTheMainWindowsControlGivesTheMeasuredThicknessStripAndPageArea) {
  Load();
  const TStripNumbers n = Expected();
  ASSERT_GE(n.L, 13);
  EXPECT_EQ(Control->FixedDimension(), n.F) << "the stored 23 only serves until the first layout";
  EXPECT_EQ(Control->StripRect(), (TRect{0, 0, n.F, 504}));
  EXPECT_EQ(Control->Strip().CardRect(0), (TRect{n.F, 0, 241, 504}));
  EXPECT_EQ(Control->PageAreaRect(), (TRect{n.F + 1, 1, 241, 504}));
  for (int i = 0; i < Control->PageCount(); ++i)
    EXPECT_EQ(Page(i)->BoundsRect(), Bounds(n.F + 1, 1, 240 - n.F, 503)) << "page " << i;
  EXPECT_EQ(Control->PageCount(), 8);
  EXPECT_EQ(Control->Tabs().Count(), 7) << "the eighth page's tab is hidden";
}

TEST_F(PageControlTest, ActivePageDecidesTheSelectionAfterLoadingWhateverTabIndexWasStored) {
  Load("    TabIndex = 2\n");
  EXPECT_EQ(Control->ActivePage(), Page(6));
  EXPECT_EQ(Control->TabIndex(), 6);
  EXPECT_EQ(Control->ActivePageIndex(), 6);
  EXPECT_TRUE(Page(6)->Visible());
  for (int i : {0, 1, 2, 3, 4, 5, 7}) EXPECT_FALSE(Page(i)->Visible()) << "page " << i;
  EXPECT_EQ(Page(7)->GetTabIndex(), -1);
  EXPECT_EQ(Page(6)->GetTabIndex(), 6);
}

namespace {
// A window whose published handlers the description binds to the control's events.
class TLoadEventsForm : public TForm {
 public:
  VM_CLASS()
  using TForm::TForm;
  std::vector<std::string> Events;
  void PagesChanging(TObject*, int index, bool&) { Events.push_back("changing " + std::to_string(index)); }
  void PagesChange(TObject* sender) {
    Events.push_back("change " + std::to_string(static_cast<TWkPageControl*>(sender)->TabIndex()));
  }
};

const TClassInfo& TLoadEventsForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TLoadEventsForm, TForm>("TLoadEventsForm")
                                     .Method("PagesChanging", &TLoadEventsForm::PagesChanging)
                                     .Method("PagesChange", &TLoadEventsForm::PagesChange);
  return info;
}
}  // namespace

TEST_F(PageControlTest, LoadingEndsWithOneChangeQueryAndOneChangeForTheActivePage) {
  auto* form = new TLoadEventsForm(nullptr);
  Load("    OnChange = PagesChange\n    OnChanging = PagesChanging\n", form);
  EXPECT_EQ(form->Events, (std::vector<std::string>{"changing 6", "change 6"}));
}

TEST_F(PageControlTest, TabsRunBottomUpAndOverlapByTheirSlantLessOne) {
  Load();
  const TStripNumbers n = Expected();
  int captionSum = 0;
  TCanvas canvas;
  canvas.Font().SetName("Verdana");
  canvas.Font().SetHeight(-13);
  canvas.Font().SetStyle(TFontStyles{fsBold});
  for (const std::string& c : Captions()) captionSum += canvas.TextExtent(c).cx;
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Right, captionSum + 62 + 8 * n.S) << "x-end of the seventh tab";
  const int o = n.Start[size_t(n.FirstVisible)];
  EXPECT_EQ(Control->Strip().OriginOffset(), o);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(Control->Strip().Tab(i).Rect, (TRect{n.Start[size_t(i)], 0, n.End[size_t(i)], n.F})) << "tab " << i;
    EXPECT_EQ(Control->TabRect(i), (TRect{0, 504 - (n.End[size_t(i)] - o), n.F, 504 - (n.Start[size_t(i)] - o)}))
        << "tab " << i;
  }
  EXPECT_EQ(Control->TabRect(n.FirstVisible).Bottom, 504) << "the first tab in view stands on the strip's bottom";
}

TEST_F(PageControlTest, TheScrollerStandsAtTheTopWithTheSelectedTabJustBelowIt) {
  Load();
  const TStripNumbers n = Expected();
  ASSERT_TRUE(Control->NeedScroller()) << "seven captions do not fit 504 pixels in this font";
  EXPECT_EQ(Control->Strip().ScrollerButtonSize(), n.A);
  ASSERT_NE(Control->Scroller(), nullptr);
  EXPECT_EQ(Control->Scroller()->BoundsRect(), Bounds(n.F - n.A - 2, 0, n.A, 2 * n.A - 1));
  EXPECT_EQ(Control->FirstVisibleTab(), n.FirstVisible);
  EXPECT_GT(n.FirstVisible, 0);
  EXPECT_TRUE(Control->TabInView(6));
  EXPECT_FALSE(Control->TabInView(n.FirstVisible - 1));
  EXPECT_GE(Control->TabRect(6).Top, 2 * n.A) << "below the scroller";
  EXPECT_LT(504 - (n.End[6] - n.Start[size_t(n.FirstVisible - 1)]), 2 * n.A)
      << "one tab more would reach under the scroller";
  EXPECT_TRUE(Control->Scroller()->DownLeftEnabled()) << "the lower half brings earlier tabs back";
  EXPECT_FALSE(Control->Scroller()->UpRightEnabled()) << "the last tab is in view";
}

TEST_F(PageControlTest, ASingleSlantTabOnTheLeftEdgeHasAChamferedLowerEndAndA45DegreeSlant) {
  Load();
  const TStripNumbers n = Expected();
  const TRect r = Control->TabRect(6);
  const std::vector<TPoint> p = Control->Strip().TabControlPoints(6);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0], (TPoint{n.F, r.Bottom})) << "base corner on the page";
  EXPECT_EQ(p[1], (TPoint{2, r.Bottom}));
  EXPECT_EQ(p[2], (TPoint{0, r.Bottom - 2})) << "two-pixel chamfer at the outer corner";
  EXPECT_EQ(p[3], (TPoint{0, r.Top + n.F}));
  EXPECT_EQ(p[4], (TPoint{n.F, r.Top})) << "the slant rises over the full thickness";
}

TEST_F(PageControlTest, WhereTabsOverlapTheSelectedTabWinsThenTheLowerOne) {
  Load();
  const TStripNumbers n = Expected();
  const int lower = n.FirstVisible, upper = n.FirstVisible + 1;
  const int top = Control->TabRect(lower).Top;
  ASSERT_EQ(Control->TabRect(upper).Bottom, top + n.S - 1) << "they overlap by s - 1 rows";
  // The lower tab's slant runs from the outer edge up to the page: in the shared rows it
  // covers the page side, and only the upper tab reaches the outer edge.
  const TPoint shared{n.F - 3, top + n.S - 2};
  const TPoint outside{3, top + n.S - 2};
  EXPECT_EQ(Control->TabAtPos(shared), lower) << "the lower tab's slanted end lies over its neighbour";
  EXPECT_EQ(Control->TabAtPos(outside), upper) << "beyond the slant only the upper tab is there";
  EXPECT_EQ(Control->TabAtPos({n.F + 5, 300}), -1) << "the page area holds no tab";
  EXPECT_EQ(Control->TabAtPos({5, 5}), -1) << "the scroller's corner holds no tab";
  Control->SetTabIndex(upper);
  Settle();
  EXPECT_EQ(Control->TabAtPos(shared), upper) << "the selected tab is tested first";
}

TEST_F(PageControlTest, TheRegionCacheKeepsTheMostRecentTabAndRefusesABadCapacity) {
  Load();
  EXPECT_EQ(Control->RegionCache().Capacity(), 1);
  Control->TabAtPos(InsideTab(6));
  EXPECT_EQ(Control->RegionCache().Count(), 1);
  try {
    Control->RegionCache().SetCapacity(0);
    FAIL() << "capacity 0 accepted";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Capacity must be -1 (to cache all regions) or > 0");
  }
  Control->SetRegionCacheSize(-5);
  EXPECT_EQ(Control->RegionCache().Capacity(), 1) << "the control's own writer ignores such values";
  Control->SetRegionCacheSize(-1);
  for (int i = 0; i < 7; ++i) Control->TabRegion(i);
  EXPECT_EQ(Control->RegionCache().Count(), 7);
  Control->SetMargin(1);
  Control->UpdateLayout();
  EXPECT_EQ(Control->RegionCache().Count(), 0) << "every layout clears the cache";
}

TEST_F(PageControlTest, ReversedTabsStartAtTheTopOfALeftStrip) {
  Load("    TabSequence = tsReverse\n");
  const TStripNumbers n = Expected();
  Control->SetActivePage(Page(0));
  Settle();
  EXPECT_EQ(Control->TabRect(0).Top, 0);
  EXPECT_LT(Control->TabRect(0).Bottom, Control->TabRect(1).Bottom) << "the next tab lies below";
  ASSERT_NE(Control->Scroller(), nullptr);
  EXPECT_EQ(Control->Scroller()->BoundsRect(), Bounds(n.F - n.A - 2, 504 - (2 * n.A - 1) + 1, n.A, 2 * n.A - 1))
      << "at the far end, opposite the first tab";
}

TEST_F(PageControlTest, EveryOrientationMapsTheStripOntoItsEdge) {
  Load();
  const int w = Control->Width(), h = Control->Height();
  struct TCase {
    TWkTabOrientation Orientation;
    bool OnEdge(const TRect& r, int w, int h) const {
      switch (Orientation) {
        case toTop: return r.Top == 0;
        case toLeft: return r.Left == 0;
        case toBottom: return r.Bottom == h - 1;
        default: return r.Right == w - 1;
      }
    }
  };
  for (TCase c : {TCase{toTop}, TCase{toBottom}, TCase{toRight}, TCase{toLeft}}) {
    Control->SetTabOrientation(c.Orientation);
    Control->SetTextOrientation(c.Orientation == toTop || c.Orientation == toBottom ? orHorizontal : orVertical);
    Control->SetActivePage(Page(0));
    Control->UpdateLayout();
    const TRect r = Control->TabRect(0);
    EXPECT_TRUE(c.OnEdge(r, w, h)) << "orientation " << c.Orientation;
    const TRect card = Control->Strip().CardRect(0);
    EXPECT_TRUE(IntersectRect(card, r.Inflate(-1, -1)).IsEmpty()) << "the card lies beside the tabs";
  }
}
