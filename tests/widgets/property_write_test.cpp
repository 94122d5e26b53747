// The kit's one property-write step: the value is stored only when it differs, and the
// effects a writer names follow in one order (layout, then paint, then the followers).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "widgets/property_write.h"

namespace {
struct TFullOwner {
  std::vector<std::string> Calls;
  void Relayout() { Calls.push_back("relayout"); }
  void Repaint() { Calls.push_back("repaint"); }
  void Invalidate() { Calls.push_back("invalidate"); }
  void Changed() { Calls.push_back("changed"); }
};

// A component that is not a control: it has followers but no paint.
struct TFollowedOwner {
  int Notified = 0;
  void Changed() { ++Notified; }
};

using Calls = std::vector<std::string>;
}  // namespace

TEST(WriteProperty, AnUnchangedValueStoresNothingAndHasNoEffect) {
  TFullOwner owner;
  int field = 7;
  EXPECT_FALSE(WriteProperty(owner, field, 7, weRelayout | weRepaint | weChanged));
  EXPECT_EQ(field, 7);
  EXPECT_TRUE(owner.Calls.empty());
}

TEST(WriteProperty, EffectsRunLayoutThenPaintThenFollowers) {
  TFullOwner owner;
  int field = 0;
  EXPECT_TRUE(WriteProperty(owner, field, 3, weChanged | weInvalidate | weRelayout));
  EXPECT_EQ(field, 3);
  EXPECT_EQ(owner.Calls, (Calls{"relayout", "invalidate", "changed"}));

  owner.Calls.clear();
  EXPECT_TRUE(WriteProperty(owner, field, 4, weRepaint));
  EXPECT_EQ(owner.Calls, (Calls{"repaint"}));
  owner.Calls.clear();
  EXPECT_TRUE(WriteProperty(owner, field, 5));
  EXPECT_EQ(field, 5);
  EXPECT_TRUE(owner.Calls.empty()) << "no effect named, none run";
}

TEST(WriteProperty, RepaintNowMakesALaterPaintNeedless) {
  TFullOwner owner;
  bool field = false;
  WriteProperty(owner, field, true, weRepaint | weInvalidate);
  EXPECT_EQ(owner.Calls, (Calls{"repaint"}));
}

TEST(WriteProperty, TakesAValueOfAnotherTypeAndAnOwnerWithoutPaint) {
  TFullOwner owner;
  std::string caption = "Close";
  EXPECT_TRUE(WriteProperty(owner, caption, "About", weInvalidate));
  EXPECT_EQ(caption, "About");
  EXPECT_FALSE(WriteProperty(owner, caption, "About", weInvalidate));

  // A clamped value is compared after the clamp: -5 and 0 are the same width.
  int width = 0;
  EXPECT_FALSE(WriteProperty(owner, width, std::max(-5, 0), weRepaint));

  TFollowedOwner followed;
  int style = 1;
  EXPECT_TRUE(WriteProperty(followed, style, 2, weChanged));
  EXPECT_FALSE(WriteProperty(followed, style, 2, weChanged));
  EXPECT_EQ(followed.Notified, 1);
}
