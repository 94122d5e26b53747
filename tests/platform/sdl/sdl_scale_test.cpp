// Which scale the desktop backend takes from the environment.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_scale.h"

TEST(SdlScale, TheProgramsOwnVariableWinsWhenItIsOneToThree) {
  std::string refusal;
  EXPECT_EQ(ScaleFromEnvironment("2", "3", refusal), 2);
  EXPECT_TRUE(refusal.empty());
  EXPECT_EQ(ScaleFromEnvironment("1", "2", refusal), 1);
  EXPECT_EQ(ScaleFromEnvironment("3", nullptr, refusal), 3);
  EXPECT_TRUE(refusal.empty());
}

TEST(SdlScale, AnythingElseInTheProgramsVariableIsRefusedAndGivesOne) {
  for (const char* bad : {"0", "4", "-2", "2.0", "2x", " 2", "", "two", "99999999999"}) {
    std::string refusal;
    EXPECT_EQ(ScaleFromEnvironment(bad, "2", refusal), 1) << bad;
    EXPECT_EQ(refusal, "VELMORATH_SCALE must be 1, 2 or 3, not \"" + std::string(bad) +
                           "\"; the windows are shown at scale 1.");
  }
}

TEST(SdlScale, OtherwiseTheDesktopsIntegerScaleAtMostThree) {
  std::string refusal;
  EXPECT_EQ(ScaleFromEnvironment(nullptr, "2", refusal), 2);
  EXPECT_EQ(ScaleFromEnvironment(nullptr, "4", refusal), 3);
  EXPECT_EQ(ScaleFromEnvironment(nullptr, "1.5", refusal), 1) << "not an integer: ignored";
  EXPECT_EQ(ScaleFromEnvironment(nullptr, "0", refusal), 1);
  EXPECT_EQ(ScaleFromEnvironment(nullptr, nullptr, refusal), 1);
  EXPECT_TRUE(refusal.empty());
}
