// The message loop: timers on the virtual clock, posted messages, idling.
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
