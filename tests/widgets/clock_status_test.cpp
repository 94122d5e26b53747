// The clock pane on the virtual clock, the shared polling timer, the blink phases, the
// life of the shared lists and streaming.
#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "tests/widgets/status_pane_fixture.h"
#include "widgets/kit_messages.h"
#include "widgets/widget_classes.h"

TEST_F(StatusPaneTest, TheClockRedrawsItsTextOncePerChangeAndNeverItsFrame) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  Settle();
  clock->Frames = clock->Texts = 0;
  System.RunFor(10000);  // twenty polling ticks, two per second
  EXPECT_EQ(clock->Texts, 10) << "one redraw per new second";
  EXPECT_EQ(clock->Frames, 0) << "the frame is painted only by the paint cycle";
  EXPECT_EQ(clock->TimeText(), "01/01/24 12:00:10");
  EXPECT_EQ(clock->PaneText(), clock->TimeText());
  const auto shown = ShownPart(*clock, clock->GetTextRect());
  EXPECT_EQ(DifferingPixels(*shown, *ExpectedText(*clock, "01/01/24 12:00:10", clWindowText, 5, TextTop(*clock))), 0);
}

TEST_F(StatusPaneTest, TheNewTextIsOnTheScreenAtOnce) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  Settle();
  const int presents = Window().PresentCount();
  Backend->AdvanceClock(61000);
  clock->UpdateTime();  // no loop pass: the pane draws and presents by itself
  EXPECT_GT(Window().PresentCount(), presents);
  const auto shown = ShownPart(*clock, clock->GetTextRect());
  EXPECT_EQ(DifferingPixels(*shown, *ExpectedText(*clock, "01/01/24 12:01:01", clWindowText, 5, TextTop(*clock))), 0);
  const int texts = clock->Texts;
  clock->UpdateTime();
  EXPECT_EQ(clock->Texts, texts) << "the unchanged text is not drawn again";
}

TEST_F(StatusPaneTest, AFixedDateTimeFreezesTheText) {
  auto* clock = AddMainWindowClock();
  int asked = 0;
  clock->FOnGetDateTime = [&asked](TObject*, TDateTime& d) {
    ++asked;
    d = EncodeDateTime(2030, 6, 15, 8, 30, 0, 0);
  };
  clock->AfterLoad();
  Settle();
  EXPECT_EQ(clock->TimeText(), "06/15/30 08:30:00");
  clock->Texts = 0;
  System.RunFor(5000);
  EXPECT_EQ(asked, 11) << "asked on loading and on every tick";
  EXPECT_EQ(clock->Texts, 0);
  EXPECT_EQ(clock->TimeText(), "06/15/30 08:30:00");
}

TEST_F(StatusPaneTest, AFormatReplacesTheDefaultFormAtOnce) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  clock->SetFormat("dddd hh:nn");
  EXPECT_EQ(clock->TimeText(), "Monday 12:00");
  clock->SetFormat("");
  EXPECT_EQ(clock->TimeText(), "01/01/24 12:00:00");
}

TEST_F(StatusPaneTest, TimerExpiredFiresOnEveryTickAfterTheUpdate) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  std::vector<std::string> seen;
  clock->FOnTimerExpired = [&seen, clock](TObject* sender) {
    EXPECT_EQ(sender, clock);
    seen.push_back(clock->TimeText());
  };
  System.RunFor(1500);
  EXPECT_EQ(seen, (std::vector<std::string>{"01/01/24 12:00:00", "01/01/24 12:00:01", "01/01/24 12:00:01"}));
}

namespace {
struct BeforeMidnight : StatusPaneTest {
  BeforeMidnight() : StatusPaneTest(THeadlessScreen{.StartTime = {2024, 12, 31, 23, 59, 59, 0, 2}}) {}
};
}  // namespace

TEST_F(BeforeMidnight, AtMidnightTheDefaultFormIsTheDateAlone) {
  auto* clock = AddMainWindowClock();
  clock->AfterLoad();
  EXPECT_EQ(clock->TimeText(), "12/31/24 23:59:59");
  System.RunFor(1000);
  EXPECT_EQ(clock->TimeText(), "01/01/25");
  System.RunFor(1000);
  EXPECT_EQ(clock->TimeText(), "01/01/25 00:00:01");
}

TEST_F(StatusPaneTest, TheUsersLocaleGivesTheForms) {
  struct TCase {
    const char* Locale;
    const char* Text;
  };
  for (const TCase& c : {TCase{"C", "01/01/24 12:00:00"}, TCase{"en_US.UTF-8", "01/01/2024 12:00:00 PM"},
                         TCase{"de_DE.UTF-8", "01.01.2024 12:00:00"}}) {
    TFormatSettings probe;
    if (!LocaleFormatSettings(c.Locale, probe)) {
      std::cout << "[ INFO ] skipping " << c.Locale << ": not installed (tools/test.sh generates it)\n";
      continue;
    }
    TScopedTimeLocale locale(c.Locale);
    auto clock = std::make_unique<TWkClockStatus>(nullptr);
    clock->AfterLoad();
    EXPECT_EQ(clock->TimeText(), c.Text) << c.Locale;
  }
}

TEST_F(StatusPaneTest, InvisiblePanesAreSkippedAndKeepTheirText) {
  auto* shown = AddMainWindowClock();
  auto* hidden = AddMainWindowClock();
  shown->AfterLoad();
  hidden->AfterLoad();
  int shownTicks = 0, hiddenTicks = 0;
  shown->FOnTimerExpired = [&shownTicks](TObject*) { ++shownTicks; };
  hidden->FOnTimerExpired = [&hiddenTicks](TObject*) { ++hiddenTicks; };
  hidden->SetVisible(false);
  System.RunFor(3000);
  EXPECT_EQ(shownTicks, 6);
  EXPECT_EQ(hiddenTicks, 0);
  EXPECT_EQ(hidden->TimeText(), "01/01/24 12:00:00");
  EXPECT_EQ(shown->TimeText(), "01/01/24 12:00:03");
}

TEST_F(StatusPaneTest, IntervalAndActiveAreSharedByEveryPollingPane) {
  auto* a = new TWkPollingStatus(Form.get());
  auto* b = new TWkPollingStatus(Form.get());
  int ticks = 0;
  a->FOnTimerExpired = [&ticks](TObject*) { ++ticks; };
  b->FOnTimerExpired = [&ticks](TObject*) { ++ticks; };
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(b->Interval(), 500);
  a->SetInterval(700);
  b->SetInterval(1000);  // the one set last wins, as when loading
  EXPECT_EQ(a->Interval(), 1000);
  EXPECT_EQ(PollingList()->TimerPeriod(), 1000);
  System.RunFor(3000);
  EXPECT_EQ(ticks, 6) << "three ticks for each of the two panes";

  b->SetInterval(0);
  System.RunFor(3000);
  EXPECT_EQ(ticks, 6) << "period 0 stops every pane";
  a->SetInterval(500);
  a->SetActive(false);
  EXPECT_FALSE(b->Active());
  System.RunFor(3000);
  EXPECT_EQ(ticks, 6) << "inactive";
  b->SetActive(true);
  System.RunFor(1000);
  EXPECT_EQ(ticks, 10);
  EXPECT_EQ(PollingList()->PaneCount(), 2);
}

TEST_F(StatusPaneTest, TheListsLiveWithTheirPanesAndStartAgainWithDefaults) {
  EXPECT_EQ(PollingList(), nullptr);
  EXPECT_EQ(BlinkingList(), nullptr);
  auto plain = std::make_unique<TWkCustomStatusPane>(nullptr);
  EXPECT_EQ(PollingList(), nullptr) << "a plain pane does not poll";
  ASSERT_NE(BlinkingList(), nullptr);
  auto a = std::make_unique<TWkClockStatus>(nullptr);
  auto b = std::make_unique<TWkClockStatus>(nullptr);
  ASSERT_NE(PollingList(), nullptr);
  EXPECT_EQ(PollingList()->PaneCount(), 2);
  EXPECT_EQ(BlinkingList()->PaneCount(), 3);
  a->SetInterval(1200);
  a->SetActive(false);
  a->SetBlinkIntervalOn(90);
  a.reset();
  ASSERT_NE(PollingList(), nullptr);
  EXPECT_EQ(PollingList()->PaneCount(), 1);
  b.reset();
  EXPECT_EQ(PollingList(), nullptr) << "gone with its last pane";
  ASSERT_NE(BlinkingList(), nullptr);
  plain.reset();
  EXPECT_EQ(BlinkingList(), nullptr);
  uint64_t due = 0;
  EXPECT_FALSE(System.NextTimerDue(due)) << "and the timers with them";

  auto c = std::make_unique<TWkClockStatus>(nullptr);
  EXPECT_TRUE(c->Active());
  EXPECT_EQ(c->Interval(), 500);
  EXPECT_EQ(c->BlinkIntervalOn(), 500);
  EXPECT_TRUE(BlinkingList()->BlinkColorShown());
}

TEST_F(StatusPaneTest, PanesFreedDuringATickAreSkippedAndTheLastTakesTheListAlong) {
  auto* first = new TWkPollingStatus(nullptr);
  auto* second = new TWkPollingStatus(nullptr);
  auto* third = new TWkPollingStatus(nullptr);
  std::vector<std::string> log;
  first->FOnTimerExpired = [&](TObject*) {
    log.push_back("first");
    delete second;
  };
  second->FOnTimerExpired = [&](TObject*) { log.push_back("second"); };
  third->FOnTimerExpired = [&](TObject*) {
    log.push_back("third");
    delete first;
    delete third;  // the last pane: the list and its timer go inside their own tick
  };
  System.RunFor(500);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "third"}));
  EXPECT_EQ(PollingList(), nullptr);
  System.RunFor(1000);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(StatusPaneTest, BlinkPhasesAlternateWithTheSharedIntervals) {
  auto* pane = new TWkCustomStatusPane(Form.get());
  pane->SetBounds(20, 20, 80, 20);
  pane->SetParent(Form.get());
  pane->SetPaneText("Blink");
  pane->SetBlinkColor(clRed);
  pane->SetBlinkIntervalOn(200);
  pane->SetBlinkIntervalOff(700);
  auto* steady = new TWkCustomStatusPane(Form.get());
  EXPECT_EQ(steady->Perform(BlinkQuery), 0);
  pane->SetBlinking(true);
  EXPECT_EQ(pane->Perform(BlinkQuery), 1);
  Settle();
  const auto colourAt = [&](uint64_t tick) {
    System.RunFor(tick - System.TickCount());
    return pane->CurrentTextColor();
  };
  EXPECT_EQ(colourAt(499), clWindowText) << "switching on waits for a phase";
  EXPECT_EQ(colourAt(500), clWindowText) << "the first tick starts a font-colour phase";
  EXPECT_EQ(BlinkingList()->TimerPeriod(), 700);
  EXPECT_EQ(colourAt(1199), clWindowText);
  EXPECT_EQ(colourAt(1200), clRed) << "after BlinkIntervalOff";
  EXPECT_EQ(colourAt(1399), clRed);
  EXPECT_EQ(colourAt(1400), clWindowText) << "after BlinkIntervalOn";
  EXPECT_EQ(colourAt(2100), clRed);
  EXPECT_EQ(steady->CurrentTextColor(), clWindowText) << "a pane that does not blink is left alone";

  int red = 0;
  const auto shown = ShownPart(*pane, pane->GetTextRect());
  for (int y = 0; y < shown->Height(); ++y)
    for (int x = 0; x < shown->Width(); ++x) red += shown->PixelRGB(x, y) == 0x0000FF;
  EXPECT_GT(red, 5) << "the blink colour is on the screen";

  pane->SetBlinking(false);
  EXPECT_EQ(pane->CurrentTextColor(), clWindowText) << "switched off in the blink phase: the font colour at once";
  const auto after = ShownPart(*pane, pane->GetTextRect());
  int stillRed = 0;
  for (int y = 0; y < after->Height(); ++y)
    for (int x = 0; x < after->Width(); ++x) stillRed += after->PixelRGB(x, y) == 0x0000FF;
  EXPECT_EQ(stillRed, 0) << "repainted before the loop runs again";
}

TEST(StatusPaneClasses, KnownToTheLoaderWithTheirDefaults) {
  RegisterWidgetClasses();
  for (const char* name : {"TWkPollingStatus", "TWkClockStatus", "TWkFrameController"})
    EXPECT_NE(LookupStreamClass(name), nullptr) << name;
  const TClassInfo& clock = RequireStreamClass("TWkClockStatus");
  EXPECT_EQ(clock.FindProperty("Width")->Default, 150);
  EXPECT_EQ(clock.FindProperty("Height")->Default, 20);
  EXPECT_EQ(clock.FindProperty("Interval")->Default, 500);
  EXPECT_EQ(clock.FindProperty("FrameStyle")->Default, fsFlat);
  EXPECT_EQ(clock.FindProperty("FlatColorAdjustment")->Default, 30);
  EXPECT_NE(clock.FindProperty("Format"), nullptr);
  EXPECT_NE(clock.FindProperty("OnGetDateTime"), nullptr);
  std::unique_ptr<TObject> made(clock.Create(nullptr));
  auto* pane = dynamic_cast<TWkClockStatus*>(made.get());
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->Width(), 150);
  EXPECT_EQ(pane->Height(), 20);
  clock.FindProperty("Format")->Set(*pane, std::string("yyyy"));
  EXPECT_EQ(pane->Format(), "yyyy");
}
