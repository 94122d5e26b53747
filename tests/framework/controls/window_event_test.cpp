// What the desktop does to a top-level window reaches the control behind it: close
// requests, activation, moves.
#include <algorithm>

#include "tests/framework/controls/test_controls.h"

namespace {
long CountOf(const std::vector<uint32_t>& messages, uint32_t msg) {
  return std::count(messages.begin(), messages.end(), msg);
}
}  // namespace

TEST_F(ControlsTest, CloseRequestAndActivationArriveAsMessages) {
  auto top = MakeTopLevel();
  Backend->InjectWindowEvent(top->PlatformWindow(), TInputKind::WindowClose);
  Backend->InjectWindowEvent(top->PlatformWindow(), TInputKind::WindowActivate);
  Backend->InjectWindowEvent(top->PlatformWindow(), TInputKind::WindowDeactivate);
  System.ProcessMessages();
  EXPECT_EQ(CountOf(top->Messages, msgClose), 1);
  EXPECT_EQ(CountOf(top->Messages, msgActivate), 2);
  const auto close = std::find(top->Messages.begin(), top->Messages.end(), msgClose);
  const auto activate = std::find(top->Messages.begin(), top->Messages.end(), msgActivate);
  EXPECT_LT(close, activate) << "in the order the desktop sent them";
}

TEST_F(ControlsTest, MovedWindowTakesItsNewPositionAndMapsPointsThere) {
  auto top = MakeTopLevel();
  AddWindow(top.get(), "Child", {10, 10, 50, 50}, clGreen);
  Backend->InjectWindowEvent(top->PlatformWindow(), TInputKind::WindowMoved, {300, 200});
  System.ProcessMessages();
  EXPECT_EQ(top->Left(), 300);
  EXPECT_EQ(top->Top(), 200);
  EXPECT_EQ(top->PlatformWindow()->ScreenBounds(), Bounds(300, 200, 200, 150)) << "the size stays";
  Backend->Click({315, 215});
  System.ProcessMessages();
  EXPECT_NE(std::find(Log.begin(), Log.end(), "Child click"), Log.end()) << "a click at the new place finds the child";
}

TEST_F(ControlsTest, EventsForAWindowNoLongerThereAreDropped) {
  auto top = MakeTopLevel();
  TPlatformWindow* gone = top->PlatformWindow();
  top.reset();
  Backend->InjectWindowEvent(gone, TInputKind::WindowClose);
  Backend->InjectWindowEvent(nullptr, TInputKind::WindowMoved, {1, 1});
  System.ProcessMessages();
  TInputEvent left;
  EXPECT_FALSE(Backend->PollEvent(left)) << "taken from the queue and ignored";
}
