// What a control asks of its surroundings without reaching for the window system: a
// message posted to itself, and the colour depth it draws for.
#include <algorithm>

#include "framework/controls/screen.h"
#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, AMessagePostedToItselfArrivesWithTheNextPass) {
  auto top = MakeTopLevel();
  top->Messages.clear();
  top->PostMessage(msgUser + 7, 3, 4);
  EXPECT_TRUE(top->Messages.empty()) << "not delivered at once";
  System.ProcessMessages();
  EXPECT_EQ(std::count(top->Messages.begin(), top->Messages.end(), msgUser + 7), 1);
}

TEST(ControlServices, WithoutAWindowSystemAPostedMessageGoesNowhere) {
  TRecordingWindow w(nullptr);
  w.Messages.clear();
  w.PostMessage(msgUser + 7);
  EXPECT_TRUE(w.Messages.empty());
}

TEST(ControlServices, ColorDepthComesFromTheScreenThenTheLoopsBackend) {
  EXPECT_EQ(ScreenColorDepth(), 32) << "nothing to ask";
  auto trueColor = CreateHeadlessBackend();
  TWindowSystem system(*trueColor);
  EXPECT_EQ(ScreenColorDepth(), 32);
  auto palette = CreateHeadlessBackend({.BitsPerPixel = 8});
  {
    TScreen screen(*palette);
    EXPECT_EQ(ScreenColorDepth(), 8) << "the screen answers first";
  }
  EXPECT_EQ(ScreenColorDepth(), 32);
}
