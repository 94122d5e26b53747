// Mouse routing: deepest window, window-less children, capture, clicks, enter and leave.
#include "tests/framework/controls/test_controls.h"

using Strings = std::vector<std::string>;

TEST_F(ControlsTest, MouseGoesToTheDeepestEnabledWindowThenItsWindowlessChild) {
  auto top = MakeTopLevel();
  auto* panel = AddWindow(top.get(), "Panel", {50, 40, 150, 140}, clLime);
  auto* inner = AddWindow(panel, "Inner", {10, 10, 40, 40}, clRed);
  auto* g = AddGraphic(panel, "G", {50, 50, 90, 90}, clBlue);
  auto* hidden = AddGraphic(panel, "Hidden", {50, 50, 90, 90}, clBlue);
  hidden->SetVisible(false);
  System.ProcessMessages();
  Log.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 65, 55));   // inner (5, 5)
  Backend->ReleaseMouse(ibLeft, Screen(*top, 65, 55));
  Backend->PressMouse(ibLeft, Screen(*top, 105, 95));  // g (5, 5) through panel
  Backend->ReleaseMouse(ibLeft, Screen(*top, 105, 95));
  System.ProcessMessages();
  inner->SetEnabled(false);
  Backend->PressMouse(ibLeft, Screen(*top, 65, 55));   // the disabled window's parent
  Backend->ReleaseMouse(ibLeft, Screen(*top, 65, 55));
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"Inner down 5,5", "Inner click", "Inner up 5,5", "G down 5,5", "G click", "G up 5,5",
                          "Panel down 15,15", "Panel click", "Panel up 15,15"}));
  (void)g;
}

TEST_F(ControlsTest, CaptureKeepsTheMouseUntilReleaseOutsideTheWindow) {
  auto top = MakeTopLevel();
  auto* button = AddWindow(top.get(), "Button", {10, 10, 50, 30}, clLime);
  auto* other = AddWindow(top.get(), "Other", {100, 10, 150, 30}, clRed);
  System.ProcessMessages();
  Log.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  EXPECT_EQ(System.CaptureControl(), button);
  Backend->MoveMouse(Screen(*top, 110, 20));     // over Other
  Backend->MoveMouse(Screen(*top, 300, -40));    // outside the top-level window
  Backend->ReleaseMouse(ibLeft, Screen(*top, 300, -40));
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"Button down 10,10", "Button move 100,10", "Button move 290,-50", "Button up 290,-50"}))
      << "no click: released outside";
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(std::count(other->Messages.begin(), other->Messages.end(), msgMouseMove), 0);
}

TEST_F(ControlsTest, WindowlessControlCapturesThroughItsParent) {
  auto top = MakeTopLevel();
  auto* g = AddGraphic(top.get(), "G", {10, 10, 50, 30}, clBlue);
  AddGraphic(top.get(), "H", {60, 10, 90, 30}, clRed);
  System.ProcessMessages();
  Log.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  Backend->MoveMouse(Screen(*top, 70, 20));
  Backend->ReleaseMouse(ibLeft, Screen(*top, 30, 25));
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"G down 10,10", "G move 60,10", "G click", "G up 20,15"}));
  EXPECT_EQ(System.CaptureControl(), nullptr);
  (void)g;
}

TEST_F(ControlsTest, WithoutCaptureStyleTheMouseFollowsThePointer) {
  auto top = MakeTopLevel();
  auto* a = AddWindow(top.get(), "A", {10, 10, 50, 30}, clLime);
  AddWindow(top.get(), "B", {100, 10, 150, 30}, clRed);
  auto style = a->ControlStyle();
  style.Exclude(csCaptureMouse);
  a->SetControlStyle(style);
  System.ProcessMessages();
  Log.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  Backend->MoveMouse(Screen(*top, 110, 20));
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"A down 10,10", "B move 10,10"}));
}

TEST_F(ControlsTest, DoubleClickIsASecondPressWithoutTheDoubleClickStyle) {
  auto top = MakeTopLevel();
  auto* a = AddWindow(top.get(), "A", {10, 10, 50, 30}, clLime);
  int dbl = 0;
  a->FOnDblClick = [&](TObject*) { ++dbl; };
  Backend->Click(Screen(*top, 20, 20));
  Backend->DoubleClickMouse(ibLeft, Screen(*top, 20, 20));
  Backend->ReleaseMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "A click"), 1);
  auto style = a->ControlStyle();
  style.Exclude(csDoubleClicks);
  a->SetControlStyle(style);
  Log.clear();
  Backend->Click(Screen(*top, 20, 20));
  Backend->DoubleClickMouse(ibLeft, Screen(*top, 20, 20));
  Backend->ReleaseMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "A click"), 2) << "a double click gives two clicks";
}

TEST_F(ControlsTest, EnterAndLeaveComeInPairsIncludingLeavingTheWindow) {
  auto top = MakeTopLevel();
  AddGraphic(top.get(), "G", {10, 10, 50, 30}, clBlue);
  AddWindow(top.get(), "W", {100, 10, 150, 30}, clRed);
  System.ProcessMessages();
  for (TPoint p : {TPoint{80, 80}, TPoint{20, 20}, TPoint{25, 25}, TPoint{110, 20}, TPoint{500, 500}}) {
    Backend->MoveMouse(Screen(*top, p.X, p.Y));
    System.ProcessMessages();
  }
  EXPECT_EQ(Hover, (Strings{"Top enter", "Top leave", "G enter", "G leave", "W enter", "W leave"}));
  EXPECT_EQ(System.MouseControl(), nullptr);
}

// The pointer rests; what lies under it changes.
TEST_F(ControlsTest, ARestingPointerEntersWhatComesUnderItAndLeavesWhatGoes) {
  auto top = MakeTopLevel();
  auto* g = AddGraphic(top.get(), "G", {10, 10, 50, 30}, clBlue);
  auto* w = AddWindow(top.get(), "W", {100, 10, 150, 30}, clRed);
  Backend->MoveMouse(Screen(*top, 20, 20));
  System.ProcessMessages();
  Hover.clear();
  g->SetEnabled(false);
  System.ProcessMessages();
  g->SetEnabled(true);
  System.ProcessMessages();
  g->SetBounds(60, 10, 40, 20);  // away from the pointer
  System.ProcessMessages();
  w->SetBounds(10, 10, 50, 20);  // the window comes under it
  System.ProcessMessages();
  w->SetVisible(false);
  System.ProcessMessages();
  for (int i = 0; i < 3; ++i) System.ProcessMessages();
  EXPECT_EQ(Hover, (Strings{"G leave", "Top enter", "Top leave", "G enter", "G leave", "Top enter", "Top leave",
                            "W enter", "W leave", "Top enter"}));
  EXPECT_EQ(System.MouseControl(), top.get());
}

TEST_F(ControlsTest, WhileCapturedOnlyTheCapturingControlEntersAndLeaves) {
  auto top = MakeTopLevel();
  AddWindow(top.get(), "A", {10, 10, 50, 30}, clLime);
  AddWindow(top.get(), "B", {100, 10, 150, 30}, clRed);
  Backend->MoveMouse(Screen(*top, 20, 20));
  System.ProcessMessages();
  Hover.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  Backend->MoveMouse(Screen(*top, 110, 20));
  System.ProcessMessages();
  Backend->MoveMouse(Screen(*top, 20, 20));
  System.ProcessMessages();
  Backend->ReleaseMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  EXPECT_EQ(Hover, (Strings{"A leave", "A enter"}));
}

TEST_F(ControlsTest, DestroyingTheCapturingControlReleasesTheMouse) {
  auto top = MakeTopLevel();
  auto* a = AddWindow(top.get(), "A", {10, 10, 50, 30}, clLime);
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  ASSERT_EQ(System.CaptureControl(), a);
  delete a;
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(System.MouseControl(), nullptr);
  Backend->ReleaseMouse(ibLeft, Screen(*top, 20, 20));
  System.ProcessMessages();
  EXPECT_EQ(Log.back(), "Top up 20,20");
}
