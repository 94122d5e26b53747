// Values a form description gives controls: extreme bounds and scales, and the parent the
// form reader asks for.
#include <climits>

#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, ExtremeBoundsAreClampedSoTheirRectanglesCannotOverflow) {
  TRecordingWindow window(nullptr);
  window.SetBounds(INT_MAX, INT_MIN, INT_MAX, 240);
  const TRect r = window.BoundsRect();
  EXPECT_EQ(r.Left, 1 << 24);
  EXPECT_EQ(r.Top, -(1 << 24));
  EXPECT_EQ(r.Width(), 1 << 24);
  EXPECT_EQ(r.Height(), 240);
  window.SetBounds(10, 20, 30, 40);
  EXPECT_EQ(window.BoundsRect(), (TRect{10, 20, 40, 60})) << "ordinary bounds are kept as they are";
}

TEST_F(ControlsTest, ScalingSaturatesInsteadOfWrapping) {
  EXPECT_EQ(MulDiv(400000000, 13, 1), INT_MAX);
  EXPECT_EQ(MulDiv(-400000000, 13, 1), INT_MIN);
  EXPECT_EQ(MulDiv(100, 13, 10), 130);
  EXPECT_EQ(MulDiv(-15, 1, 2), -8);
}

TEST_F(ControlsTest, AControlReportsItsParentToTheFormReader) {
  TRecordingWindow parent(nullptr);
  auto* child = new TRecordingGraphic(&parent);
  EXPECT_EQ(child->GetParentComponent(), nullptr);
  child->SetParent(&parent);
  EXPECT_EQ(child->GetParentComponent(), &parent);
}
