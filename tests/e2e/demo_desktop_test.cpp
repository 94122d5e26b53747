// The demo program on a real (virtual) desktop: where its window opens, what it paints,
// the timer repainting, clicks, keys, typing, double clicks, the mouse staying with a
// pressed block outside the window, the close request, and the start without a display.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "desktop_suite.h"

namespace {
// Screen colours, 0xRRGGBB.
constexpr uint32_t kSkyBlue = 0xA6CAF0;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kNavy = 0x000080;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// The window's client area is 320 x 200 at (140, 96); block i (0-based) covers
// x 160 + 100i .. 239 + 100i, y 116 .. 155; the ticker strip y 276 .. 295.
int BlockLeft(int i) { return 160 + 100 * i; }
constexpr int kBlockTop = 116;
constexpr int kTickerRow = 286;

}  // namespace

class DemoOnDesktop : public TDesktopSuite {
 protected:
  void SetUp() override {
    TDesktopSuite::SetUp();
    if (IsSkipped()) return;
    OutPath = WorkPath(TestName() + ".out");
    Demo = StartOnDisplay(VELMORATH_DEMO, OutPath);
    ASSERT_TRUE(Demo->Started());
    ASSERT_TRUE(LogHas("ready")) << "the demo did not start";
    ASSERT_TRUE(ShowsAt(141, 97, kSkyBlue)) << "the window never showed its background";
  }

  // The number of the last "tick n" line of the demo, or 0.
  int LastTick() {
    int last = 0;
    for (const std::string& l : ReadLines(OutPath))
      if (l.rfind("tick ", 0) == 0) last = std::stoi(l.substr(5));
    return last;
  }
  bool LogHas(const std::string& line, int ms = 4000) {
    return Eventually([&] {
      for (const std::string& l : ReadLines(OutPath))
        if (l == line) return true;
      return false;
    }, ms);
  }
  TScreenshot Shot() {
    TScreenshot shot;
    EXPECT_TRUE(TakeScreenshot(Display->Name(), ShotPath, shot));
    return shot;
  }
  // Waits until the screen shows `colour` at (x, y).
  bool ShowsAt(int x, int y, uint32_t colour) {
    return Eventually([&] {
      TScreenshot shot;
      return TakeScreenshot(Display->Name(), ShotPath, shot) && shot.At(x, y) == colour;
    });
  }
  void Xdotool(const std::string& args) { ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool " + args), 0) << args; }
  std::string WindowId() {
    std::string id;
    RunOnDisplay(Display->Name(), "xdotool search --name 'Velmorath demo'", &id);
    return id.substr(0, id.find('\n'));
  }
  // Where the red square of the ticker starts in its middle row; -1 when not exactly one 20-pixel run.
  static int TickerSquare(const TScreenshot& shot) {
    int first = -1, count = 0;
    for (int x = 140; x < 460; ++x)
      if (shot.At(x, kTickerRow) == kRed) {
        if (first < 0) first = x;
        ++count;
      }
    return count == 20 ? first : -1;
  }

  std::unique_ptr<TChildProcess> Demo;
  std::string OutPath;
};

TEST_F(DemoOnDesktop, OpensAtItsPositionWithItsClientSizeAndPaints) {
  const TScreenshot shot = Shot();
  // The client area spans exactly (140, 96) .. (459, 295); the bare root around it is black.
  EXPECT_EQ(shot.At(140, 96), kSkyBlue);
  EXPECT_EQ(shot.At(459, 200), kSkyBlue);
  EXPECT_EQ(shot.At(139, 96), kBlack);
  EXPECT_EQ(shot.At(140, 95), kBlack);
  EXPECT_EQ(shot.At(460, 200), kBlack);
  EXPECT_EQ(shot.At(300, 296), kBlack);
  EXPECT_EQ(shot.At(459, 295) == kWhite || shot.At(459, 295) == kRed, true);
  // Three blocks, the first with the focus frame.
  EXPECT_EQ(shot.At(BlockLeft(0), kBlockTop), kBlack);
  EXPECT_EQ(shot.At(BlockLeft(0) + 3, kBlockTop + 3), kSilver);
  EXPECT_EQ(shot.At(BlockLeft(1), kBlockTop), kSilver);
  EXPECT_EQ(shot.At(BlockLeft(2) + 79, kBlockTop + 39), kSilver);
  EXPECT_EQ(shot.At(BlockLeft(2) + 80, kBlockTop + 39), kSkyBlue);
  EXPECT_EQ(RunOnDisplay(Display->Name(), "xdotool search --name 'Velmorath demo' >/dev/null"), 0)
      << "the caption is the window's title";
}

// The demo reports every tick; the screen is checked against the ticks reported around
// the screenshot, however fast or slow the machine runs.
TEST_F(DemoOnDesktop, EveryTimerTickRepaintsTheTicker) {
  ASSERT_TRUE(LogHas("tick 3")) << "the timer does not run";
  for (int round = 0; round < 3; ++round) {
    const int before = LastTick();
    const int square = TickerSquare(Shot());
    const int after = LastTick();
    ASSERT_GE(square, 0);
    // The square of tick n starts 20 n pixels into the strip; the shot may come just
    // before the paint of the tick reported last.
    bool matches = false;
    for (int n = before - 1; n <= after; ++n) matches = matches || square == 140 + (n * 20) % 320;
    EXPECT_TRUE(matches) << "square at " << square << " between ticks " << before << " and " << after;
    ASSERT_TRUE(LogHas("tick " + std::to_string(after + 2))) << "the ticks go on";
  }
}

TEST_F(DemoOnDesktop, ClickTabEnterAndTypingReachTheWindow) {
  Xdotool("mousemove --sync 280 136 click 1");
  ASSERT_TRUE(LogHas("Block2 pressed 1"));
  EXPECT_TRUE(ShowsAt(280, 136, kLime));
  EXPECT_TRUE(ShowsAt(BlockLeft(1), kBlockTop, kBlack)) << "the clicked block takes the focus";
  EXPECT_EQ(Shot().At(BlockLeft(0), kBlockTop), kSilver);

  Xdotool("key Tab");
  ASSERT_TRUE(LogHas("focus Block3"));
  EXPECT_TRUE(ShowsAt(BlockLeft(2) + 1, kBlockTop + 20, kBlack));
  EXPECT_EQ(Shot().At(BlockLeft(1) + 1, kBlockTop + 20), kLime);

  Xdotool("key Return");
  ASSERT_TRUE(LogHas("Block3 pressed 1"));
  EXPECT_TRUE(LogHas("char 13")) << "Enter types character 13 as well";
  EXPECT_TRUE(ShowsAt(BlockLeft(2) + 40, kBlockTop + 20, kLime));

  Xdotool("key shift+Tab");
  ASSERT_TRUE(LogHas("key 9 shift"));
  EXPECT_TRUE(ShowsAt(BlockLeft(1) + 1, kBlockTop + 20, kBlack));

  Xdotool("type ab");
  ASSERT_TRUE(LogHas("char b"));
  EXPECT_TRUE(LogHas("char a"));
  EXPECT_TRUE(ShowsAt(177, 201, kNavy));
  EXPECT_EQ(Shot().At(165, 201), kNavy);
  EXPECT_EQ(Shot().At(189, 201), kSkyBlue);
}

TEST_F(DemoOnDesktop, AltDigitReachesItsAcceleratorAndAltLetterTypesNothing) {
  Xdotool("key alt+3");
  ASSERT_TRUE(LogHas("key 51 alt"));
  EXPECT_TRUE(ShowsAt(BlockLeft(2) + 1, kBlockTop + 20, kBlack));
  Xdotool("key alt+b");
  ASSERT_TRUE(LogHas("key 66 alt"));
  Xdotool("type c");
  ASSERT_TRUE(LogHas("char c"));
  for (const std::string& line : ReadLines(OutPath)) EXPECT_NE(line, "char b") << "Alt+B is no typing";
  EXPECT_TRUE(ShowsAt(165, 201, kNavy));
  EXPECT_EQ(Shot().At(177, 201), kSkyBlue);
}

TEST_F(DemoOnDesktop, DoubleClickIsReportedAsSuch) {
  Xdotool("mousemove --sync 400 136 click --repeat 2 --delay 60 1");
  ASSERT_TRUE(LogHas("Block3 double click"));
  EXPECT_TRUE(ShowsAt(400, 136, kBlue));
}

TEST_F(DemoOnDesktop, APressedBlockKeepsTheMouseOutsideTheWindow) {
  // One step at a time, as a hand would: a burst of synthetic input can end before the
  // program has even seen the press.
  Xdotool("mousemove --sync 200 136 mousedown 1");
  ASSERT_TRUE(LogHas("Block1 down"));
  Xdotool("mousemove --sync 20 20");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Xdotool("mouseup 1");
  // The release at screen (20, 20) reaches the block, in its own coordinates.
  ASSERT_TRUE(LogHas("Block1 released outside -140,-96"));
  EXPECT_TRUE(ShowsAt(BlockLeft(0) + 75, kBlockTop + 5, kRed));
  EXPECT_EQ(Shot().At(200, 136), kSilver) << "a release outside is no click";
}

TEST_F(DemoOnDesktop, CloseRequestEndsTheProgram) {
  if (std::string(VELMORATH_CLOSE_REQUEST).empty()) GTEST_SKIP() << "built without the X client library";
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  ASSERT_EQ(RunOnDisplay(Display->Name(), std::string(VELMORATH_CLOSE_REQUEST) + " " + id), 0);
  EXPECT_TRUE(LogHas("close"));
  EXPECT_EQ(Demo->WaitExit(kDesktopWaitMs), 0);
}

// Needs no display: that is the point.
TEST(DemoWithoutDisplay, SaysSoInOneLineAndExitsWithStatusTwo) {
  const std::string out = WorkPath("nodisplay.out"), err = WorkPath("nodisplay.err");
  TChildProcess demo({VELMORATH_DEMO}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", kNoSessionBus}, out, err);
  ASSERT_TRUE(demo.Started());
  EXPECT_EQ(demo.WaitExit(kDesktopWaitMs), 2);
  const std::vector<std::string> lines = ReadLines(err);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "This program needs a graphical display, and none could be opened.");
  EXPECT_TRUE(ReadLines(out).empty());
}
