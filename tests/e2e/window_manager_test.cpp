// The real viewer under a real window manager (openbox) on a virtual display: the frame
// the window manager draws around the main window offers no resize and no maximise, its
// close action ends the program with status 0, on About it only hides the window, and
// clicks land on the right controls through the frame's offset.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "desktop_session.h"

namespace {
constexpr uint32_t kSkyBlue = 0xA6CAF0;  // the main window's colour, 0xRRGGBB
constexpr int kClientWidth = 959, kClientHeight = 614;
// Client points: "Test point W900" on the open page, About, and inside Image16's photograph.
constexpr int kW900X = 124, kW900Y = 201;
constexpr int kAboutX = 196, kAboutY = 596;
constexpr int kPhotoX = 500, kPhotoY = 300;
// How long a refused request is given to take effect anyway before the size is read again.
constexpr std::chrono::milliseconds kRefusalGrace{700};
}  // namespace

class ViewerUnderWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"openbox", "xdotool", "import", "xprop", "xwininfo"})
      if (!ProgramAvailable(tool)) GTEST_SKIP() << tool << " is needed to run the viewer under a window manager";
    Display = std::make_unique<TVirtualDisplay>();
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    std::string failure;
    Manager = StartWindowManager(Display->Name(), failure);
    ASSERT_TRUE(failure.empty()) << failure;
    const std::vector<std::string> env{"DISPLAY=" + Display->Name(), kNoSessionBus};
    ShotPath = WorkPath(TestName() + ".png", "wm_work");
    Viewer = std::make_unique<TChildProcess>(std::vector<std::string>{VELMORATH_VIEWER}, env,
                                             WorkPath(TestName() + ".out", "wm_work"), WorkPath(TestName() + ".err", "wm_work"));
    ASSERT_TRUE(Viewer->Started());
    ASSERT_TRUE(Eventually([&] { return !(Main = VisibleWindow("Velmorath V1.4")).empty(); })) << "no main window";
    ASSERT_TRUE(Eventually([&] { return ClientShowsNow(Main, kPhotoX, kPhotoY, kSkyBlue); }))
        << "the framed main window never showed its empty picture area";
  }

  void TearDown() override {
    Viewer.reset();
    Manager.reset();
    Display.reset();
  }

  std::string Run(const std::string& command) {
    std::string out;
    RunOnDisplay(Display->Name(), command, &out);
    return out;
  }
  std::string VisibleWindow(const std::string& caption) { return VisibleWindowId(Display->Name(), caption); }
  TClientGeometry ClientGeometry(const std::string& id) { return ClientGeometryOf(Display->Name(), id); }
  bool ClientShowsNow(const std::string& id, int x, int y, uint32_t colour, bool equal = true) {
    const TClientGeometry g = ClientGeometry(id);
    TScreenshot shot;
    if (g.X < 0 || !TakeScreenshot(Display->Name(), ShotPath, shot)) return false;
    return (shot.At(g.X + x, g.Y + y) == colour) == equal;
  }
  void ClickClient(const std::string& id, int x, int y) {
    const TClientGeometry g = ClientGeometry(id);
    ASSERT_GE(g.X, 0);
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool mousemove --sync " + std::to_string(g.X + x) + " " +
                                                std::to_string(g.Y + y) + " click 1"),
              0);
  }
  // The window manager's own close action (its Alt+F4 binding) on the window.
  void CloseThroughWindowManager(const std::string& id) {
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool windowactivate --sync " + id), 0);
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool key alt+F4"), 0);
  }

  std::unique_ptr<TVirtualDisplay> Display;
  std::unique_ptr<TChildProcess> Manager;
  std::unique_ptr<TChildProcess> Viewer;
  std::string Main;
  std::string ShotPath;
};

TEST_F(ViewerUnderWindowManager, TheFrameOffersNeitherResizeNorMaximise) {
  const std::string actions = Run("xprop -id " + Main + " _NET_WM_ALLOWED_ACTIONS");
  EXPECT_NE(actions.find("_NET_WM_ACTION_CLOSE"), std::string::npos) << actions;
  EXPECT_NE(actions.find("_NET_WM_ACTION_MOVE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("_NET_WM_ACTION_RESIZE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("_NET_WM_ACTION_MAXIMIZE"), std::string::npos) << actions;

  ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool windowsize " + Main + " 400 300"), 0);
  std::this_thread::sleep_for(kRefusalGrace);
  const TClientGeometry g = ClientGeometry(Main);
  EXPECT_EQ(g.Width, kClientWidth);
  EXPECT_EQ(g.Height, kClientHeight);
}

TEST_F(ViewerUnderWindowManager, ClicksLandThroughTheFramesOffset) {
  const TClientGeometry g = ClientGeometry(Main);
  EXPECT_EQ(g.Width, kClientWidth);
  EXPECT_EQ(g.Height, kClientHeight);
  ClickClient(Main, kW900X, kW900Y);
  EXPECT_TRUE(Eventually([&] { return ClientShowsNow(Main, kPhotoX, kPhotoY, kSkyBlue, false); }))
      << "no photograph appeared";
}

TEST_F(ViewerUnderWindowManager, ClosingAboutHidesItAndClosingTheMainWindowEndsTheProgram) {
  ClickClient(Main, kAboutX, kAboutY);
  std::string about;
  ASSERT_TRUE(Eventually([&] { return !(about = VisibleWindow("About")).empty(); })) << "About did not open";
  CloseThroughWindowManager(about);
  EXPECT_TRUE(Eventually([&] { return VisibleWindow("About").empty(); })) << "About did not hide";
  EXPECT_EQ(Viewer->WaitExit(500), -1) << "closing About does not end the program";

  CloseThroughWindowManager(Main);
  EXPECT_EQ(Viewer->WaitExit(kDesktopWaitMs), 0) << "closing the main window ends the program with status 0";
}
