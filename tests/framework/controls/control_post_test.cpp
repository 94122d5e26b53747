// A control's message to itself, queued through the loop.
#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, APostedMessageArrivesAtTheNextPassBeforeItsPaint) {
  auto top = MakeTopLevel();
  System.ProcessMessages();
  top->Messages.clear();
  ASSERT_TRUE(top->PostMessage(msgUser + 7, 1, 2));
  top->Invalidate();
  EXPECT_TRUE(top->Messages.empty()) << "nothing is delivered before the loop runs";
  System.ProcessMessages();
  const auto posted = std::find(top->Messages.begin(), top->Messages.end(), msgUser + 7);
  const auto paint = std::find(top->Messages.begin(), top->Messages.end(), msgPaint);
  ASSERT_NE(posted, top->Messages.end());
  ASSERT_NE(paint, top->Messages.end());
  EXPECT_LT(posted, paint);
}

TEST(ControlPost, WithoutALoopNothingIsQueued) {
  TRecordingWindow w(nullptr);
  EXPECT_FALSE(w.PostMessage(msgUser + 7));
}
