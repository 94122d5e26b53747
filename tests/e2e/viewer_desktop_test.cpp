// The real viewer on a virtual desktop: it opens at its place with an empty picture area,
// a click on a test point shows its photograph, About opens and its close box hides it,
// the main window's close request ends the program, and without a display it says so.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "desktop_suite.h"

namespace {
constexpr uint32_t kSkyBlue = 0xA6CAF0;  // the main window's colour, 0xRRGGBB
// The main window's client area starts at screen (140, 96).
constexpr int kClientX = 140, kClientY = 96;
// Client points: the middle of "Test point W900" on the open page, of the About button, and
// three points of the picture area: inside Image16's photograph, right of it, below its box.
constexpr int kW900X = 124, kW900Y = 201;
constexpr int kAboutX = 196, kAboutY = 596, kCloseX = 60;
constexpr int kPhotoX = 500, kPhotoY = 300;
constexpr int kRightOfPhotoX = 760, kBelowPhotoY = 605;

}  // namespace

class ViewerOnDesktop : public TDesktopSuite {
 protected:
  void SetUp() override {
    TDesktopSuite::SetUp();
    if (IsSkipped()) return;
    Viewer = StartOnDisplay(VELMORATH_VIEWER, WorkPath(TestName() + ".out"));
    ASSERT_TRUE(Viewer->Started());
    ASSERT_TRUE(ClientShows(kPhotoX, kPhotoY, [](uint32_t c) { return c == kSkyBlue; }))
        << "the main window never showed its empty picture area";
  }

  bool ClientShows(int x, int y, const std::function<bool(uint32_t)>& colour) {
    return Eventually([&] {
      TScreenshot shot;
      return TakeScreenshot(Display->Name(), ShotPath, shot) && colour(shot.At(kClientX + x, kClientY + y));
    });
  }
  void ClickClient(int x, int y) {
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool mousemove --sync " + std::to_string(kClientX + x) + " " +
                                                std::to_string(kClientY + y) + " click 1"),
              0);
  }
  // The id of the visible window with exactly this caption, or "".
  std::string VisibleWindow(const std::string& caption) { return VisibleWindowId(Display->Name(), caption); }
  void RequestClose(const std::string& id) {
    ASSERT_FALSE(id.empty());
    ASSERT_EQ(RunOnDisplay(Display->Name(), std::string(VELMORATH_CLOSE_REQUEST) + " " + id), 0);
  }

  std::unique_ptr<TChildProcess> Viewer;
};


TEST_F(ViewerOnDesktop, AClickOnATestPointShowsItsPhotograph) {
  EXPECT_FALSE(VisibleWindow("Velmorath V1.4").empty()) << "the caption is the window's title";
  ClickClient(kW900X, kW900Y);
  EXPECT_TRUE(ClientShows(kPhotoX, kPhotoY, [](uint32_t c) { return c != kSkyBlue; })) << "no photograph appeared";
  TScreenshot shot;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, shot));
  EXPECT_EQ(shot.At(kClientX + kRightOfPhotoX, kClientY + kPhotoY), kSkyBlue) << "Image16 ends at x = 712";
  EXPECT_EQ(shot.At(kClientX + kPhotoX, kClientY + kBelowPhotoY), kSkyBlue) << "and at y = 601";
}

// What a window manager reads: the class of the desktop entry, and a dialog frame that
// offers moving and closing only (no resize, minimise or maximise), as a dialog.
TEST_F(ViewerOnDesktop, TheWindowTellsWindowManagersItsClassAndItsFixedFrame) {
  if (!ProgramAvailable("xprop")) GTEST_SKIP() << "xprop is needed to read the window's properties";
  const std::string id = VisibleWindow("Velmorath V1.4");
  ASSERT_FALSE(id.empty());
  std::string props;
  ASSERT_EQ(RunOnDisplay(Display->Name(), "xprop -id " + id + " WM_CLASS _MOTIF_WM_HINTS _NET_WM_WINDOW_TYPE", &props), 0);
  EXPECT_NE(props.find("WM_CLASS(STRING) = \"org.velmorath.Velmorath\", \"org.velmorath.Velmorath\""),
            std::string::npos) << props;
  // Flags: functions and decorations; functions: move (4) and close (32); decorations:
  // border, title and menu (2 + 8 + 16).
  EXPECT_NE(props.find("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0"), std::string::npos) << props;
  EXPECT_NE(props.find("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG, _NET_WM_WINDOW_TYPE_NORMAL"),
            std::string::npos)
      << props;
}

TEST_F(ViewerOnDesktop, AboutOpensAndItsCloseBoxOnlyHidesIt) {
  if (std::string(VELMORATH_CLOSE_REQUEST).empty()) GTEST_SKIP() << "built without the X client library";
  ASSERT_TRUE(VisibleWindow("About").empty()) << "hidden at start";
  ClickClient(kAboutX, kAboutY);
  ASSERT_TRUE(Eventually([&] { return !VisibleWindow("About").empty(); })) << "About did not open";
  RequestClose(VisibleWindow("About"));
  EXPECT_TRUE(Eventually([&] { return VisibleWindow("About").empty(); })) << "About did not hide";
  EXPECT_EQ(Viewer->WaitExit(500), -1) << "closing About does not end the program";
  ClickClient(kAboutX, kAboutY);
  EXPECT_TRUE(Eventually([&] { return !VisibleWindow("About").empty(); })) << "About did not open again";
}

TEST_F(ViewerOnDesktop, TheMainWindowsCloseRequestEndsTheProgramWhileAboutIsOpen) {
  if (std::string(VELMORATH_CLOSE_REQUEST).empty()) GTEST_SKIP() << "built without the X client library";
  ClickClient(kAboutX, kAboutY);
  ASSERT_TRUE(Eventually([&] { return !VisibleWindow("About").empty(); }));
  RequestClose(VisibleWindow("Velmorath V1.4"));
  EXPECT_EQ(Viewer->WaitExit(kDesktopWaitMs), 0);
}

TEST_F(ViewerOnDesktop, TheCloseButtonEndsTheProgram) {
  ClickClient(kCloseX, kAboutY);
  EXPECT_EQ(Viewer->WaitExit(kDesktopWaitMs), 0);
}

// Needs no display: that is the point.
TEST(ViewerWithoutDisplay, SaysSoAndExitsWithStatusTwo) {
  const std::string out = WorkPath("viewer_nodisplay.out"), err = WorkPath("viewer_nodisplay.err");
  TChildProcess viewer({VELMORATH_VIEWER}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", kNoSessionBus}, out, err);
  ASSERT_TRUE(viewer.Started());
  EXPECT_EQ(viewer.WaitExit(kDesktopWaitMs), 2);
  const std::vector<std::string> lines = ReadLines(err);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "This program needs a graphical display, and none could be opened.");
}
