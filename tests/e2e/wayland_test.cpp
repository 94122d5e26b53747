// The real viewer as a native Wayland client: a compositor (weston, drawing its output into
// a window on a virtual X display, so that xdotool's pointer reaches it as seat input and
// the X screenshot shows what it composed) with both displays named in the environment.
// The viewer must take the compositor, not the X server, show its main window, answer a
// click on a test point with its photograph and end with status 0 from its Close button.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "desktop_session.h"

namespace {
constexpr uint32_t kSkyBlue = 0xA6CAF0;  // the main window's colour, 0xRRGGBB
constexpr int kClientWidth = 959, kClientHeight = 614;
// Client points: "Test point W900" on the open page, Close, and inside Image16's photograph.
constexpr int kW900X = 124, kW900Y = 201;
constexpr int kCloseX = 60, kCloseY = 596;
constexpr int kPhotoX = 500, kPhotoY = 300;
constexpr const char* kSocket = "velmorath-e2e";
// The compositor's output window covers the top left of the virtual screen; this is beside it.
constexpr int kOutputWidth = 1200, kOutputHeight = 900;
constexpr int kOutsideX = kOutputWidth + 40, kOutsideY = kOutputHeight + 40;

// Where the main window's client area lies in a screenshot: the box around every pixel of
// its colour (the compositor's own panel and background have none of it).
struct TFound {
  int X = -1, Y = -1, Width = 0, Height = 0;
};
TFound SkyBlueBox(const TScreenshot& shot) {
  int left = shot.Width, top = shot.Height, right = -1, bottom = -1;
  for (int y = 0; y < shot.Height; ++y)
    for (int x = 0; x < shot.Width; ++x)
      if (shot.At(x, y) == kSkyBlue) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}
}  // namespace

class ViewerOnWayland : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"weston", "xdotool", "import"})
      if (!ProgramAvailable(tool)) GTEST_SKIP() << tool << " is needed to run the viewer on a Wayland compositor";
    Display = std::make_unique<TVirtualDisplay>();
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    ShotPath = WorkPath(TestName() + ".png", "wayland_work");
  }

  // Starts the compositor with `backend`'s arguments, then the viewer with both displays
  // named, as on a Wayland desktop with its X11 server.
  void Start(const std::vector<std::string>& backend) {
    // The compositor's socket lives in a private runtime folder, short enough for a socket path.
    char runtime[] = "/tmp/velmorath-wl-XXXXXX";
    ASSERT_NE(mkdtemp(runtime), nullptr);
    Runtime = runtime;
    std::vector<std::string> argv{"weston", "--no-config", std::string("--socket=") + kSocket, "--idle-time=0"};
    argv.insert(argv.end(), backend.begin(), backend.end());
    const std::string errPath = WorkPath(TestName() + ".weston.err", "wayland_work");
    Compositor = std::make_unique<TChildProcess>(
        argv, std::vector<std::string>{"DISPLAY=" + Display->Name(), "XDG_RUNTIME_DIR=" + Runtime, "WAYLAND_DISPLAY", kNoSessionBus},
        WorkPath(TestName() + ".weston.out", "wayland_work"), errPath);
    const std::string socket = Runtime + "/" + kSocket;
    if (!Compositor->Started() || !Eventually([&] { return std::filesystem::exists(socket); }))
      GTEST_SKIP() << "the compositor could not run; its log is " << errPath;
    Viewer = std::make_unique<TChildProcess>(
        std::vector<std::string>{VELMORATH_VIEWER},
        std::vector<std::string>{"DISPLAY=" + Display->Name(), "XDG_RUNTIME_DIR=" + Runtime,
                                 std::string("WAYLAND_DISPLAY=") + kSocket, "SDL_VIDEODRIVER", kNoSessionBus,
                                 // In a sanitised build: the libraries SDL's Wayland driver loads
                                 // and unloads at run time keep allocations to the end; the X11
                                 // runs and the valgrind walk check the program's own.
                                 "ASAN_OPTIONS=detect_leaks=0"},
        WorkPath(TestName() + ".out", "wayland_work"), WorkPath(TestName() + ".err", "wayland_work"));
    ASSERT_TRUE(Viewer->Started());
  }

  void TearDown() override {
    Viewer.reset();
    Compositor.reset();
    Display.reset();
    if (!Runtime.empty()) std::filesystem::remove_all(Runtime);
  }

  bool Shot(TScreenshot& shot) { return TakeScreenshot(Display->Name(), ShotPath, shot); }
  // The compositor's X11 output takes the pointer's place from the pointer entering its
  // window, not from motion inside it: every click comes in from beside the output.
  void Click(int x, int y) {
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool mousemove --sync " + std::to_string(kOutsideX) + " " +
                                                std::to_string(kOutsideY) + " mousemove --sync " + std::to_string(x) +
                                                " " + std::to_string(y) + " click 1"),
              0);
  }

  std::unique_ptr<TVirtualDisplay> Display;
  std::unique_ptr<TChildProcess> Compositor;
  std::unique_ptr<TChildProcess> Viewer;
  std::string Runtime;
  std::string ShotPath;
};

TEST_F(ViewerOnWayland, TakesTheCompositorShowsAPhotographOnClickAndEndsFromClose) {
  // The compositor draws into a window on the X display; its seat is that display's input.
  Start({"--backend=x11-backend.so", "--use-pixman", "--width=" + std::to_string(kOutputWidth),
         "--height=" + std::to_string(kOutputHeight)});
  if (IsSkipped()) return;
  TScreenshot shot;
  TFound client;
  ASSERT_TRUE(Eventually([&] {
    return Shot(shot) && (client = SkyBlueBox(shot)).Width == kClientWidth && client.Height == kClientHeight;
  })) << "the compositor never showed the whole main window (sky-blue box " << client.Width << " x " << client.Height
      << ")";
  EXPECT_EQ(VisibleWindowId(Display->Name(), "Velmorath V1.4"), "") << "the viewer opened an X11 window";

  Click(client.X + kW900X, client.Y + kW900Y);
  EXPECT_TRUE(Eventually([&] { return Shot(shot) && shot.At(client.X + kPhotoX, client.Y + kPhotoY) != kSkyBlue; }))
      << "no photograph appeared";

  Click(client.X + kCloseX, client.Y + kCloseY);
  EXPECT_EQ(Viewer->WaitExit(kDesktopWaitMs), 0) << "Close ends the program with status 0";
}

// A compositor without a seat (input devices) is one SDL's Wayland driver crashes on at
// start-up: the viewer takes the X display instead.
TEST_F(ViewerOnWayland, TakesTheXDisplayWhereTheCompositorHasNoSeat) {
  Start({"--backend=headless-backend.so"});
  if (IsSkipped()) return;
  EXPECT_TRUE(Eventually([&] { return !VisibleWindowId(Display->Name(), "Velmorath V1.4").empty(); }))
      << "no main window on the X display";
  EXPECT_EQ(Viewer->WaitExit(0), -1) << "the viewer ended";
}
