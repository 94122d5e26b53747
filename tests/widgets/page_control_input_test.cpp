// The main window's control under the mouse and the keyboard: clicking tabs and the
// scroller, hot tracking with its poll, Ctrl+Tab, and the focus moves of a page switch.
#include "framework/core/exceptions.h"
#include "tests/widgets/page_control_fixture.h"

namespace {
class PageInputTest : public PageControlTest {
 protected:
  void SetUp() override {
    Load();
    Control->FOnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Events.push_back("down"); };
    Control->FOnChanging = [this](TObject*, int index, bool& allow) {
      Events.push_back("changing " + std::to_string(index));
      allow = Allow;
    };
    Control->FOnChange = [this](TObject*) { Events.push_back("change " + std::to_string(Control->TabIndex())); };
    Control->FOnTabClick = [this](TObject*) { Events.push_back("tabclick"); };
  }
  TPoint LowerHalf() const {
    const TRect s = Control->Scroller()->BoundsRect();
    return {s.Left + s.Width() / 2, s.Bottom - 3};
  }
  TPoint UpperHalf() const {
    const TRect s = Control->Scroller()->BoundsRect();
    return {s.Left + s.Width() / 2, s.Top + 3};
  }
  std::vector<std::string> Events;
  bool Allow = true;
};
}  // namespace

TEST_F(PageInputTest, ClickingAnotherTabRunsTheQueryThePageSwitchAndTheEventsInOrder) {
  Control->FOnChanging = [this](TObject*, int index, bool& allow) {
    Events.push_back("changing " + std::to_string(index) + (Page(5)->Visible() ? " shown" : " hidden"));
    allow = true;
  };
  Click(InsideTab(5));
  EXPECT_EQ(Events, (std::vector<std::string>{"down", "changing 5 hidden", "change 5", "tabclick"}));
  EXPECT_EQ(Control->ActivePage(), Page(5));
  EXPECT_TRUE(Page(5)->Visible());
  EXPECT_FALSE(Page(6)->Visible());
  EXPECT_FALSE(Control->Focused()) << "TabStop is off: clicking never focuses the control";
}

TEST_F(PageInputTest, ClickingTheSelectedTabOnlyReportsTheClick) {
  Click(InsideTab(6));
  EXPECT_EQ(Events, (std::vector<std::string>{"down", "tabclick"}));
}

TEST_F(PageInputTest, AChangingHandlerThatRefusesKeepsTabAndPage) {
  Allow = false;
  Click(InsideTab(4));
  EXPECT_EQ(Events, (std::vector<std::string>{"down", "changing 4"}));
  EXPECT_EQ(Control->TabIndex(), 6);
  EXPECT_EQ(Control->ActivePage(), Page(6));
}

TEST_F(PageInputTest, ADisabledTabCannotBeClickedAndTheKeyboardPassesOverIt) {
  Page(5)->SetTabEnabled(false);
  Settle();
  Click(InsideTab(5));
  EXPECT_EQ(Events, (std::vector<std::string>{"down"}));
  Control->SetTabStop(true);
  Control->SetFocus();
  Events.clear();
  Key(vkDown);
  EXPECT_EQ(Control->TabIndex(), 0) << "Down selects the next tab, wrapping from the last to the first";
  Key(vkUp);
  EXPECT_EQ(Control->TabIndex(), 6) << "Up goes back, wrapping";
  Key(vkUp);
  EXPECT_EQ(Control->TabIndex(), 4) << "the disabled tab 5 is passed over";
  Key(vkEnd);
  EXPECT_EQ(Control->TabIndex(), 6);
  Key(vkHome);
  EXPECT_EQ(Control->TabIndex(), 0);
  EXPECT_EQ(Control->ActivePage(), Page(0)) << "keys switch pages too; the hidden eighth page is never reached";
}

TEST_F(PageInputTest, TheScrollersLowerHalfBringsEarlierTabsBackAndTheUpperHalfReturns) {
  const int first = Control->FirstVisibleTab();
  ASSERT_GT(first, 0);
  Click(LowerHalf());
  EXPECT_EQ(Control->FirstVisibleTab(), first - 1);
  EXPECT_TRUE(Control->Scroller()->UpRightEnabled()) << "the last tab went out of view";
  EXPECT_FALSE(Control->TabInView(6));
  Click(UpperHalf());
  EXPECT_EQ(Control->FirstVisibleTab(), first);
  Click(UpperHalf());
  EXPECT_EQ(Control->FirstVisibleTab(), first) << "the last tab is in view: the upper half is disabled";
  for (int i = 0; i < 10; ++i) Click(LowerHalf());
  EXPECT_EQ(Control->FirstVisibleTab(), 0);
  EXPECT_FALSE(Control->Scroller()->DownLeftEnabled());
  EXPECT_TRUE(Events.empty()) << "the scroller is no tab: " << Events.size();
}

TEST_F(PageInputTest, APressOnAHalfHoldsWhileThePointerStaysInsideAndReleasingOutsideDoesNotScroll) {
  const int first = Control->FirstVisibleTab();
  const TPoint lower = LowerHalf();
  Backend->PressMouse(ibLeft, ScreenOf(lower));
  Settle();
  EXPECT_EQ(Control->Scroller()->PressedPart(), TWkTabScroller::partDownLeft);
  Backend->MoveMouse(ScreenOf({lower.X + 3, lower.Y}));
  Settle();
  EXPECT_TRUE(Control->Scroller()->PressedInside()) << "a few pixels sideways stay in the half";
  Backend->MoveMouse(ScreenOf(UpperHalf()));
  Settle();
  EXPECT_FALSE(Control->Scroller()->PressedInside()) << "the other half is not the pressed one";
  Backend->ReleaseMouse(ibLeft, ScreenOf(UpperHalf()));
  Settle();
  EXPECT_EQ(Control->FirstVisibleTab(), first);
  EXPECT_EQ(Control->Scroller()->PressedPart(), 0);
  Backend->PressMouse(ibLeft, ScreenOf(lower));
  Backend->MoveMouse(ScreenOf({lower.X - 2, lower.Y + 1}));
  Backend->ReleaseMouse(ibLeft, ScreenOf({lower.X - 2, lower.Y + 1}));
  Settle();
  EXPECT_EQ(Control->FirstVisibleTab(), first - 1);
}

TEST_F(PageInputTest, SelectingATabOutOfViewScrollsItIntoView) {
  for (int i = 0; i < 10; ++i) Click(LowerHalf());
  ASSERT_FALSE(Control->TabInView(6));
  Control->SetActivePage(Page(5));
  Settle();
  EXPECT_TRUE(Control->TabInView(5));
  Control->SetTabIndex(0);
  Settle();
  EXPECT_EQ(Control->FirstVisibleTab(), 0);
}

TEST_F(PageInputTest, HotTrackingFollowsThePointerAndEndsWithinOnePollAfterItLeavesWithoutAMove) {
  Backend->MoveMouse(ScreenOf(InsideTab(5)));
  Settle();
  EXPECT_EQ(Control->HotTab(), 5);
  EXPECT_TRUE(Control->HotTrackTimerRunning());
  Backend->MoveMouse(ScreenOf(InsideTab(4)));
  Settle();
  EXPECT_EQ(Control->HotTab(), 4);
  // The pointer jumps onto the form: the control sees no move of its own.
  Backend->MoveMouse(Form->ClientToScreen({300, 20}));
  Settle();
  EXPECT_EQ(Control->HotTab(), 4) << "no move message reached the control";
  Tick(TWkCustomTabControl::kHotTrackPollMs);
  EXPECT_EQ(Control->HotTab(), -1);
  EXPECT_FALSE(Control->HotTrackTimerRunning());
}

TEST_F(PageInputTest, MovingOntoTheStripsFreeAreaEndsHotTrackingAtOnce) {
  Backend->MoveMouse(ScreenOf(InsideTab(6)));
  Settle();
  ASSERT_EQ(Control->HotTab(), 6);
  Backend->MoveMouse(ScreenOf({3, Control->Scroller()->BoundsRect().Bottom + 2}));
  Settle();
  EXPECT_EQ(Control->HotTab(), -1);
  EXPECT_FALSE(Control->HotTrackTimerRunning());
  Control->SetHotTrack(false);
  Backend->MoveMouse(ScreenOf(InsideTab(6)));
  Settle();
  EXPECT_EQ(Control->HotTab(), -1) << "neither hot tracking nor tab hints";
}

TEST_F(PageInputTest, TabHintsShowEachTabsHintAndRestoreTheControlsOwn) {
  Control->SetHint("strip");
  Control->AfterLoad();  // the saved hint is the one loaded
  Control->SetHotTrack(false);
  Control->SetTabHints(true);
  Page(3)->SetHint("the K300 group");
  Control->RebuildTabs();  // a hint alone does not rebuild the records
  Settle();
  Backend->MoveMouse(ScreenOf(InsideTab(3)));
  Settle();
  EXPECT_EQ(Control->Hint(), "the K300 group");
  Backend->MoveMouse(ScreenOf({Control->Width() - 20, 200}));
  Settle();
  EXPECT_EQ(Control->Hint(), "the K300 group") << "the page took the move";
  Tick(TWkCustomTabControl::kHotTrackPollMs);
  EXPECT_EQ(Control->Hint(), "strip");
}

// ---- the page switch and the focus ----

TEST_F(PageInputTest, BeforeAnyChoiceChangingPagesMovesNoFocus) {
  ASSERT_EQ(FocusName(), "Close");
  Click(InsideTab(4));
  EXPECT_EQ(Control->ActivePage(), Page(4));
  EXPECT_EQ(FocusName(), "Close");
  EXPECT_FALSE(Radio("Radio5_1")->Checked());
  EXPECT_FALSE(Radio("Radio5_2")->Checked());
}

TEST_F(PageInputTest, OpeningAPageWhileTheFocusIsOnTheOldOneChecksTheNewPagesFirstButton) {
  Click(Radio("Radio7_2")->BoundsRect().TopLeft() + TPoint{Page(6)->Left() + 2, Page(6)->Top() + 2});
  ASSERT_EQ(FocusName(), "Radio7_2");
  ASSERT_TRUE(Radio("Radio7_2")->Checked()) << "checked by the click";
  Click(InsideTab(4));
  EXPECT_EQ(FocusName(), "Radio5_1") << "no tab stop on the new page: its first control";
  EXPECT_TRUE(Radio("Radio5_1")->Checked()) << "focus other than by a press checks it";
  Click(InsideTab(6));
  EXPECT_EQ(FocusName(), "Radio7_2") << "the checked button is the page's tab stop";
  EXPECT_TRUE(Radio("Radio5_1")->Checked()) << "each page keeps its own checked button";
}

TEST_F(PageInputTest, AfterTheLoopSettlesTheScreenShowsTheNewPageWithItsFocusedButton) {
  Click(Radio("Radio7_1")->BoundsRect().TopLeft() + TPoint{Page(6)->Left() + 2, Page(6)->Top() + 2});
  Click(InsideTab(5));
  const TPoint pageOrigin = Control->BoundsRect().TopLeft() + Page(5)->BoundsRect().TopLeft();
  const TPoint first = pageOrigin + Radio("Radio6_1")->BoundsRect().TopLeft();
  const TPoint second = pageOrigin + Radio("Radio6_2")->BoundsRect().TopLeft();
  EXPECT_EQ(ShownAt(first), 0x000000u) << "the focused button's frame";
  EXPECT_EQ(ShownAt(first + TPoint{5, 5}), uint32_t(TFocusRadio::kCheckedColor));
  EXPECT_EQ(ShownAt(second + TPoint{5, 5}), uint32_t(TFocusRadio::kUncheckedColor));
  EXPECT_EQ(ShownAt(pageOrigin + TPoint{150, 300}), 0xEBB99Du) << "the page's clGradientInactiveCaption";
}

TEST_F(PageInputTest, CtrlTabWalksThePagesWithVisibleTabsWhileTheFocusIsInside) {
  Click(Radio("Radio7_1")->BoundsRect().TopLeft() + TPoint{Page(6)->Left() + 2, Page(6)->Top() + 2});
  ASSERT_EQ(FocusName(), "Radio7_1");
  std::vector<int> forward;
  for (int i = 0; i < 3; ++i) {
    Key(vkTab, imCtrl);
    forward.push_back(Control->ActivePageIndex());
  }
  EXPECT_EQ(forward, (std::vector<int>{0, 1, 2})) << "the hidden eighth page is skipped";
  EXPECT_EQ(FocusName(), "Radio3_1");
  Key(vkTab, imCtrl | imShift);
  Key(vkTab, imCtrl | imShift);
  Key(vkTab, imCtrl | imShift);
  EXPECT_EQ(Control->ActivePageIndex(), 6);
}

TEST_F(PageInputTest, CtrlTabIsLeftAloneWhileTheFocusIsOutsideTheControl) {
  ASSERT_EQ(FocusName(), "Close");
  Key(vkTab, imCtrl);
  EXPECT_EQ(Control->ActivePageIndex(), 6);
}

// ---- pages ----

TEST_F(PageInputTest, APageWithAHiddenTabCanStillBeShownWithoutASelection) {
  Control->SetActivePage(Page(7));
  Settle();
  EXPECT_EQ(Control->ActivePage(), Page(7));
  EXPECT_EQ(Control->TabIndex(), -1);
  EXPECT_TRUE(Page(7)->Visible());
  EXPECT_FALSE(Page(6)->Visible());
  EXPECT_EQ(Events, (std::vector<std::string>{})) << "no tab was selected or left through the writer";
}

TEST_F(PageInputTest, PageIndexMovesAPageAndRefusesAnIndexPastTheLast) {
  Page(0)->SetPageIndex(2);
  Settle();
  EXPECT_EQ(Control->Pages(2), Radio("Radio1_1")->Parent());
  EXPECT_EQ(Control->Tabs().Items(2).Caption, "T610-T630");
  EXPECT_EQ(Control->TabIndex(), 6) << "the active page keeps its tab";
  try {
    Page(0)->SetPageIndex(Control->PageCount());
    FAIL() << "an index past the last was accepted";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "8 is an invalid PageIndex value. PageIndex must be between 0 and 7");
  }
  EXPECT_THROW(Page(0)->SetPageIndex(-1), EListError) << "a negative index is refused the same way";
  EXPECT_EQ(Control->PageCount(), 8);
}

TEST_F(PageInputTest, APagesVisibilityCannotBeChangedDirectly) {
  try {
    Page(2)->SetVisible(true);
    FAIL() << "visibility changed";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "You cannot change the Visible property of a page");
  }
  EXPECT_FALSE(Page(2)->Visible());
}

TEST_F(PageInputTest, HidingTheActivePagesTabClearsTheSelectionAndHidingAllTabsLeavesNoTabs) {
  Page(6)->SetTabVisible(false);
  Settle();
  EXPECT_EQ(Control->TabIndex(), -1);
  EXPECT_EQ(Control->ActivePage(), Page(6));
  Page(6)->SetTabVisible(true);
  Settle();
  EXPECT_EQ(Control->TabIndex(), 6) << "the active page's tab index again";
  for (int i = 0; i < 7; ++i) Page(i)->SetTabVisible(false);
  Settle();
  EXPECT_EQ(Control->Tabs().Count(), 0);
  EXPECT_EQ(Control->FirstVisibleTab(), -1);
  EXPECT_EQ(Control->TabAtPos({5, 300}), -1);
  EXPECT_EQ(Control->Strip().CardRect(0), (TRect{0, 0, 241, 504})) << "the card covers the whole client area";
}

TEST_F(PageInputTest, AColouredPageTurnsColouredTabsOnAndTurningThemOffRestoresTheControlsColour) {
  Page(3)->SetColor(clYellow);
  EXPECT_TRUE(Control->UseColoredTabs());
  EXPECT_EQ(Control->Tabs().Items(3).Color, clYellow);
  Control->SetUseColoredTabs(false);
  EXPECT_EQ(Page(3)->Color(), Control->Color());
  Control->SetColor(clWhite);
  EXPECT_EQ(Page(0)->Color(), clWhite) << "without coloured tabs the pages follow the control";
}

TEST_F(PageInputTest, FreeingAPageRemovesItsTabAndFreeingTheControlUnlinksItsPages) {
  delete Page(2);
  Settle();
  EXPECT_EQ(Control->PageCount(), 7);
  EXPECT_EQ(Control->Tabs().Count(), 6);
  EXPECT_EQ(Control->TabIndex(), 5) << "the active page moved down one tab";
  delete Control;
  Control = nullptr;
  Settle();
}
