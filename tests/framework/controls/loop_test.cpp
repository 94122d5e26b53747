// The message loop: timers on the virtual clock, posted messages, idling.
#include <algorithm>

#include "framework/controls/timer.h"
#include "tests/framework/controls/test_controls.h"

namespace {
// Fires into a shared log as "name@tick".
TTimer* MakeTimer(TComponent* owner, int interval, const char* name, std::vector<std::string>& log,
                  TWindowSystem& system) {
  auto* t = new TTimer(owner);
  t->SetInterval(interval);
  t->FOnTimer = [&log, &system, name](TObject*) { log.push_back(std::string(name) + "@" + std::to_string(system.TickCount())); };
  return t;
}
}  // namespace

using Strings = std::vector<std::string>;

TEST_F(ControlsTest, TimersFireAtTheirVirtualTimesInOrder) {
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "a", Log, System);
  MakeTimer(&owner, 250, "b", Log, System);
  System.RunFor(500);
  EXPECT_EQ(Log, (Strings{"a@100", "a@200", "b@250", "a@300", "a@400", "b@500", "a@500"}))
      << "at a tie, the timer scheduled first fires first";
  EXPECT_EQ(System.TickCount(), 500u);
}

TEST_F(ControlsTest, IntervalZeroDisabledAndDestroyedTimersNeverFire) {
  TComponent owner(nullptr);
  TTimer* zero = MakeTimer(&owner, 0, "zero", Log, System);
  TTimer* off = MakeTimer(&owner, 10, "off", Log, System);
  off->SetEnabled(false);
  TTimer* gone = MakeTimer(&owner, 10, "gone", Log, System);
  delete gone;
  System.RunFor(100);
  EXPECT_TRUE(Log.empty());
  uint64_t due = 0;
  EXPECT_FALSE(System.NextTimerDue(due));
  off->SetEnabled(true);
  System.RunFor(25);
  EXPECT_EQ(Log, (Strings{"off@110", "off@120"}));
  (void)zero;
}

TEST_F(ControlsTest, ChangingTheIntervalRestartsTheCount) {
  TComponent owner(nullptr);
  TTimer* t = MakeTimer(&owner, 100, "t", Log, System);
  System.RunFor(60);
  t->SetInterval(50);
  System.RunFor(120);
  EXPECT_EQ(Log, (Strings{"t@110", "t@160"}));
}

TEST_F(ControlsTest, IdleLoopWakesOncePerTickAndDoesNoOtherWork) {
  auto top = MakeTopLevel();
  System.ProcessMessages();
  const int paints = top->Paints;
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "t", Log, System);
  const int before = Backend->WakeUps();
  System.RunFor(1000);
  EXPECT_EQ(Log.size(), 10u);
  EXPECT_EQ(Backend->WakeUps() - before, 10);
  EXPECT_EQ(top->Paints, paints);
}

// A desktop serves a timer falling due within a tenth of the shorter interval (15 ms at
// most) after another in that one's wake-up; each keeps its own schedule.
TEST_F(ControlsTest, ADesktopSharesWakeUpsBetweenTimersDueCloseTogetherWithoutDrift) {
  Backend->SetCoalescesTimers(true);
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "a", Log, System);
  System.RunFor(8);
  MakeTimer(&owner, 100, "b", Log, System);  // due 8 ms after a, inside a's 10 ms slack
  System.RunFor(30);
  MakeTimer(&owner, 100, "c", Log, System);  // due 38 ms after a: a wake-up of its own
  System.RunFor(1000 - 38);
  EXPECT_EQ(std::vector<std::string>(Log.begin(), Log.begin() + 6),
            (Strings{"a@100", "b@100", "c@138", "a@200", "b@200", "c@238"}))
      << "b shares a's wake-ups, c does not";
  const int before = Backend->WakeUps();
  Log.clear();
  System.RunFor(100000);
  EXPECT_EQ(Backend->WakeUps() - before, 2000) << "two wake-ups per 100 ms, not three";
  EXPECT_EQ(std::count_if(Log.begin(), Log.end(), [](const std::string& s) { return s[0] == 'b'; }), 1000)
      << "b ticks at its exact rate";
  EXPECT_EQ(Log.back(), "b@101000") << "served at a's tick, b's next due time still follows its own";
}

TEST_F(ControlsTest, TheSlackIsATenthOfTheShorterIntervalAndNeverMoreThan15Ms) {
  Backend->SetCoalescesTimers(true);
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "fast", Log, System);
  System.RunFor(5);
  MakeTimer(&owner, 500, "near", Log, System);  // due 5 ms after fast's 500 ms tick
  System.RunFor(6);
  MakeTimer(&owner, 500, "far", Log, System);  // 11 ms after: beyond a tenth of 100 ms
  System.RunFor(20);
  MakeTimer(&owner, 2000, "slow2", Log, System);  // due 2031, 31 ms after fast's tick
  System.RunFor(16);
  MakeTimer(&owner, 2000, "slow3", Log, System);  // due 2047: 16 ms after slow2, beyond 15
  System.RunFor(2100 - 47);
  const auto at = [&](const std::string& name) {
    return std::find(Log.begin(), Log.end(), name) != Log.end();
  };
  EXPECT_TRUE(at("near@500")) << "5 ms early, in fast's wake-up";
  EXPECT_TRUE(at("far@511")) << "11 ms: its own wake-up";
  EXPECT_TRUE(at("slow2@2031") && at("slow3@2047")) << "16 ms apart: beyond the 15 ms cap";
}

// A deferrable timer waits on a desktop for another's wake-up, ticks as often as before
// and keeps its own schedule, which it wakes for again once it is no longer deferrable.
TEST_F(ControlsTest, ADesktopServesADeferrableTimerOnlyInOtherWakeUps) {
  Backend->SetCoalescesTimers(true);
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "a", Log, System);
  System.RunFor(30);
  TTimer* d = MakeTimer(&owner, 100, "d", Log, System);  // due 30 ms after a: beyond the slack
  d->SetDeferrable(true);
  const int before = Backend->WakeUps();
  System.RunFor(1000 - 30);
  EXPECT_EQ(Backend->WakeUps() - before, 10) << "a's wake-ups only";
  EXPECT_EQ(std::vector<std::string>(Log.begin(), Log.begin() + 5), (Strings{"a@100", "d@200", "a@200", "d@300", "a@300"}));
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "d@1000"), 1);
  d->SetDeferrable(false);
  Log.clear();
  System.RunFor(100);
  EXPECT_EQ(Log, (Strings{"d@1030", "a@1100"})) << "back on its own schedule";
}

TEST_F(ControlsTest, ADeferrableTimerWithoutADesktopOrWithNothingElseToWakeFor) {
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "d", Log, System)->SetDeferrable(true);
  System.RunFor(200);
  EXPECT_EQ(Log, (Strings{"d@100", "d@200"})) << "the virtual clock serves it at its exact time";
  Backend->SetCoalescesTimers(true);
  uint64_t due = 0;
  EXPECT_FALSE(System.NextTimerDue(due)) << "alone on a desktop it gives the loop nothing to wake for";
}

TEST_F(ControlsTest, WithoutADesktopEveryTimerFiresAtItsExactTime) {
  TComponent owner(nullptr);
  MakeTimer(&owner, 100, "a", Log, System);
  System.RunFor(8);
  MakeTimer(&owner, 100, "b", Log, System);
  System.RunFor(200);
  EXPECT_EQ(Log, (Strings{"a@100", "b@108", "a@200", "b@208"}));
}

TEST_F(ControlsTest, TimersNeverRunInsideAPaintOrAnotherTick) {
  auto top = MakeTopLevel();
  System.ProcessMessages();
  TComponent owner(nullptr);
  bool inside = false;
  bool overlapped = false;
  TTimer* t = MakeTimer(&owner, 10, "t", Log, System);
  t->FOnTimer = [&](TObject*) {
    overlapped = overlapped || inside;
    Log.push_back("tick");
    // A handler pumping the loop must not get a nested tick or paint.
    inside = true;
    Backend->AdvanceClock(50);
    top->Invalidate();
    System.ProcessMessages();
    inside = false;
  };
  const int paints = top->Paints;
  System.RunFor(10);
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(Log, (Strings{"tick"}));
  EXPECT_EQ(top->Paints, paints + 1) << "the paint waits for the outer pass";
}

TEST_F(ControlsTest, PostedMessagesArriveInOrderAndDieWithTheirTarget) {
  auto top = MakeTopLevel();
  auto* a = AddWindow(top.get(), "A", {0, 0, 10, 10}, clRed);
  System.PostMessage(top.get(), msgUser + 1);
  System.PostMessage(a, msgUser + 2);
  constexpr uint32_t kPastNotifications = 46056;  // a number above every one the framework knows
  System.PostMessage(top.get(), kPastNotifications);
  delete a;
  top->Messages.clear();
  System.ProcessMessages();
  std::vector<uint32_t> user;
  for (uint32_t m : top->Messages)
    if (m >= msgUser && m < ntBase) user.push_back(m);
  EXPECT_EQ(user, (std::vector<uint32_t>{msgUser + 1}));
  EXPECT_NE(std::find(top->Messages.begin(), top->Messages.end(), kPastNotifications), top->Messages.end());
}
