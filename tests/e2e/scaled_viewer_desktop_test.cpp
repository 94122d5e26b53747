// The real viewer on a virtual desktop at scale 2: its main window is twice its size at
// twice its place, every pixel of the window outside the picture area is one of 2 x 2 equal
// blocks, a click at scaled coordinates reaches its test point, and the photograph then
// shows at its own resolution. A scale it cannot take is refused with a message.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "desktop_session.h"

namespace {
constexpr int kScale = 2;
constexpr uint32_t kSkyBlue = 0xA6CAF0;  // the main window's colour, 0xRRGGBB
constexpr const char* kCaption = "Velmorath V1.4";
// Client points of the unscaled window: "Test point W900" on the open page; inside Image16's
// photograph at any scale; right of and below its 451 x 540 photograph at scale 2, which at
// scale 1 (448 x 537 up to x = 712, y = 601) would still be photograph.
constexpr int kW900X = 124, kW900Y = 201;
constexpr int kPhotoX = 400, kPhotoY = 300;
constexpr int kRightOfFineX = 264 + 451 / 2 + 2, kBelowFineY = 64 + 540 / 2 + 2;
// The picture area's bounds in unscaled client pixels, as far as Image16 reaches.
constexpr int kAreaLeft = 264, kAreaTop = 64, kAreaRight = 264 + 449, kAreaBottom = 64 + 537;
}  // namespace

class ScaledViewerOnDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Display = new TVirtualDisplay("2560x1600x24"); }
  static void TearDownTestSuite() {
    delete Display;
    Display = nullptr;
  }

  void SetUp() override {
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    if (!ProgramAvailable("xdotool") || !ProgramAvailable("import") || !ProgramAvailable("xwininfo"))
      GTEST_SKIP() << "xdotool, xwininfo and ImageMagick's import are needed to drive the desktop";
    ShotPath = WorkPath(TestName() + ".png");
  }

  void Start(const std::string& scale) {
    ErrPath = WorkPath(TestName() + ".err");
    Viewer = std::make_unique<TChildProcess>(
        std::vector<std::string>{VELMORATH_VIEWER},
        std::vector<std::string>{"DISPLAY=" + Display->Name(), kNoSessionBus, "VELMORATH_SCALE=" + scale, "GDK_SCALE"},
        WorkPath(TestName() + ".out"), ErrPath);
    ASSERT_TRUE(Viewer->Started());
    ASSERT_TRUE(Eventually([&] {
      Client = ClientGeometryOf(Display->Name(), VisibleWindowId(Display->Name(), kCaption));
      return Client.X >= 0;
    })) << "the main window never appeared";
  }
  // The client pixel (x, y) of the unscaled window, at screen pixel (sx, sy) within its block.
  bool Shows(int x, int y, const std::function<bool(uint32_t)>& colour, int sx = 0, int sy = 0) {
    return Eventually([&] {
      TScreenshot shot;
      return TakeScreenshot(Display->Name(), ShotPath, shot) &&
             colour(shot.At(Client.X + x * kScale + sx, Client.Y + y * kScale + sy));
    });
  }

  static TVirtualDisplay* Display;
  std::unique_ptr<TChildProcess> Viewer;
  std::string ShotPath, ErrPath;
  TClientGeometry Client;
};

TVirtualDisplay* ScaledViewerOnDesktop::Display = nullptr;

TEST_F(ScaledViewerOnDesktop, TheWindowIsTwiceAsLargeAndAClickAtScaledCoordinatesShowsAPhotographAtItsOwnResolution) {
  Start("2");
  EXPECT_EQ(Client.Width, 1918);
  EXPECT_EQ(Client.Height, 1228);
  EXPECT_EQ(Client.X, 140 * kScale) << "placed at twice its place";
  EXPECT_EQ(Client.Y, 96 * kScale);
  ASSERT_TRUE(Shows(kPhotoX, kPhotoY, [](uint32_t c) { return c == kSkyBlue; })) << "no empty picture area";

  // The screen pixel (2x + 1, 2y + 1) of the radio button's pixel (x, y).
  ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool mousemove --sync " +
                                              std::to_string(Client.X + kW900X * kScale + 1) + " " +
                                              std::to_string(Client.Y + kW900Y * kScale + 1) + " click 1"),
            0);
  ASSERT_TRUE(Shows(kPhotoX, kPhotoY, [](uint32_t c) { return c != kSkyBlue; })) << "no photograph appeared";

  TScreenshot shot;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, shot));
  auto at = [&](int x, int y) { return shot.At(Client.X + x, Client.Y + y); };
  EXPECT_EQ(at(kRightOfFineX * kScale, kPhotoY * kScale), kSkyBlue) << "the photograph is 451 pixels wide";
  EXPECT_EQ(at(kPhotoX * kScale, kBelowFineY * kScale), kSkyBlue) << "and 540 high";

  // Outside the picture area each pixel is a block; inside the photograph, many are not.
  int broken = 0, fine = 0;
  for (int y = 0; y < Client.Height / kScale; ++y)
    for (int x = 0; x < Client.Width / kScale; ++x) {
      const uint32_t c = at(x * kScale, y * kScale);
      const bool block =
          at(x * kScale + 1, y * kScale) == c && at(x * kScale, y * kScale + 1) == c && at(x * kScale + 1, y * kScale + 1) == c;
      const bool inArea = x >= kAreaLeft && x < kAreaRight && y >= kAreaTop && y < kAreaBottom;
      if (!inArea && !block) ++broken;
      if (inArea && !block) ++fine;
    }
  EXPECT_EQ(broken, 0) << "pixels outside the picture area that are not 2 x 2 blocks";
  EXPECT_GT(fine, 451 * 540 / 8 / 4) << "the photograph shows detail finer than the blocks";
}

// The same clicks at scale 1 and at scale 2: outside the picture area, the banner and the
// clock pane (which move with time), every screen pixel at scale 2 is the scale-1 pixel of
// its block.
TEST_F(ScaledViewerOnDesktop, OutsideThePictureAreaTheScaledFrameIsTheUnscaledFrameInBlocks) {
  auto showW900 = [&](int scale) {
    EXPECT_EQ(RunOnDisplay(Display->Name(), "xdotool mousemove --sync " +
                                                std::to_string(Client.X + kW900X * scale + scale - 1) + " " +
                                                std::to_string(Client.Y + kW900Y * scale + scale - 1) + " click 1"),
              0);
    EXPECT_TRUE(Shows(kPhotoX * scale / kScale, kPhotoY * scale / kScale, [](uint32_t c) { return c != kSkyBlue; }));
  };
  Start("1");
  showW900(1);
  TScreenshot once;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, once));
  const TClientGeometry unscaled = Client;
  Viewer.reset();
  ASSERT_TRUE(Eventually([&] { return VisibleWindowId(Display->Name(), kCaption).empty(); }));

  Start("2");
  showW900(kScale);
  TScreenshot twice;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, twice));
  int compared = 0, wrong = 0;
  for (int y = 60; y < 614; ++y)
    for (int x = 0; x < 959; ++x) {
      const bool inArea = x >= kAreaLeft && x < kAreaRight && y >= kAreaTop && y < kAreaBottom;
      const bool inClock = x >= 808 && y >= 584;
      if (inArea || inClock) continue;
      const uint32_t expected = once.At(unscaled.X + x, unscaled.Y + y);
      for (int dy = 0; dy < kScale; ++dy)
        for (int dx = 0; dx < kScale; ++dx) {
          ++compared;
          if (twice.At(Client.X + x * kScale + dx, Client.Y + y * kScale + dy) != expected) ++wrong;
        }
    }
  EXPECT_GT(compared, 1000000);
  EXPECT_EQ(wrong, 0);
}

TEST_F(ScaledViewerOnDesktop, AScaleItCannotTakeIsRefusedWithAMessageAndTheWindowKeepsItsSize) {
  Start("5");
  EXPECT_EQ(Client.Width, 959);
  EXPECT_EQ(Client.Height, 614);
  const std::vector<std::string> lines = ReadLines(ErrPath);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "VELMORATH_SCALE must be 1, 2 or 3, not \"5\"; the windows are shown at scale 1.");
}
