// The loupe in the real viewer on a virtual desktop, driven by synthetic input: the right
// button held over the photograph shows the ringed lens, the wheel changes what it shows,
// releasing and Escape hide it, Z held shows it, and the photograph is as before after.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop_suite.h"

namespace {
constexpr uint32_t kSkyBlue = 0xA6CAF0;   // the main window's colour, 0xRRGGBB
constexpr uint32_t kHighlight = 0x316AC5;  // the lens's ring
// The main window's client area starts at screen (140, 96).
constexpr int kClientX = 140, kClientY = 96;
// "Test point W900" on the open page, and a point of Image16's photograph whose lens
// stays clear of the banner and the bottom row.
constexpr int kW900X = 124, kW900Y = 201;
constexpr int kPointerX = kClientX + 500, kPointerY = kClientY + 300;
constexpr int kRadius = 120;

class LoupeOnDesktop : public TDesktopSuite {
 protected:
  void SetUp() override {
    TDesktopSuite::SetUp();
    if (IsSkipped()) return;
    Viewer = StartOnDisplay(VELMORATH_VIEWER, WorkPath(TestName() + ".out"));
    ASSERT_TRUE(Viewer->Started());
    ASSERT_TRUE(Shows([](const TScreenshot& s) { return s.At(kPointerX, kPointerY) == kSkyBlue; }))
        << "the main window never showed its empty picture area";
    Xdotool("mousemove --sync " + std::to_string(kClientX + kW900X) + " " + std::to_string(kClientY + kW900Y) +
            " click 1");
    Xdotool("mousemove --sync " + std::to_string(kPointerX) + " " + std::to_string(kPointerY));
    ASSERT_TRUE(Shows([](const TScreenshot& s) { return s.At(kPointerX, kPointerY) != kSkyBlue; }))
        << "the photograph never appeared";
    ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, Before));
  }

  void Xdotool(const std::string& args) { ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool " + args), 0) << args; }
  bool Shows(const std::function<bool(const TScreenshot&)>& state) {
    return Eventually([&] {
      TScreenshot shot;
      return TakeScreenshot(Display->Name(), ShotPath, shot) && state(shot);
    });
  }
  static bool RingShows(const TScreenshot& s) {
    return s.At(kPointerX - kRadius, kPointerY) == kHighlight && s.At(kPointerX + kRadius - 1, kPointerY) == kHighlight &&
           s.At(kPointerX, kPointerY - kRadius) == kHighlight && s.At(kPointerX, kPointerY + kRadius - 1) == kHighlight;
  }
  // The pixels of the lens's square that differ from the photograph shown before.
  int ChangedInLens(const TScreenshot& s) const {
    int n = 0;
    for (int y = kPointerY - kRadius; y < kPointerY + kRadius; ++y)
      for (int x = kPointerX - kRadius; x < kPointerX + kRadius; ++x) n += s.At(x, y) != Before.At(x, y);
    return n;
  }
  bool BackAsBefore() {
    return Shows([&](const TScreenshot& s) { return ChangedInLens(s) == 0; });
  }

  std::unique_ptr<TChildProcess> Viewer;
  TScreenshot Before;
};

}  // namespace

TEST_F(LoupeOnDesktop, TheRightButtonShowsTheLensTheWheelZoomsAndReleaseRestores) {
  ASSERT_FALSE(RingShows(Before));
  Xdotool("mousedown 3");
  ASSERT_TRUE(Shows(RingShows)) << "no ringed lens around the pointer";
  TScreenshot atOne;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, atOne));
  EXPECT_GT(ChangedInLens(atOne), 10000) << "the lens shows the photograph at its own resolution";
  Xdotool("click 4");  // the wheel, away from the user
  EXPECT_TRUE(Shows([&](const TScreenshot& s) {
    int n = 0;
    for (int d = -100; d < 100; d += 5) n += s.At(kPointerX + d, kPointerY + d / 2) != atOne.At(kPointerX + d, kPointerY + d / 2);
    return RingShows(s) && n > 10;
  })) << "the wheel did not magnify";
  Xdotool("mouseup 3");
  EXPECT_TRUE(BackAsBefore()) << "the photograph underneath is not as before";
  EXPECT_EQ(Viewer->WaitExit(200), -1);
}

TEST_F(LoupeOnDesktop, EscapeHidesItAndHoldingZShowsIt) {
  Xdotool("mousedown 3");
  ASSERT_TRUE(Shows(RingShows));
  Xdotool("key Escape");
  EXPECT_TRUE(BackAsBefore()) << "Escape did not hide the lens";
  Xdotool("mouseup 3");
  Xdotool("keydown z");
  EXPECT_TRUE(Shows(RingShows)) << "Z did not show the lens";
  Xdotool("keyup z");
  EXPECT_TRUE(BackAsBefore());
}
