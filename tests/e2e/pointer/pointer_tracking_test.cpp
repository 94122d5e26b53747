// Mouse-over looks of the real viewer driven by synthetic pointer motion (what remote
// desktops and VNC deliver), on a bare display and under a window manager (openbox): the
// hot bar of a side tab stays while the pointer rests on it and goes when the pointer
// leaves the window; About shows its mouse-over rings on hover and its focus rings when
// pressed and dragged outside.
//
// What each region must look like comes from a mirror: the same program on the headless
// backend in this process, given the same pointer moves. Only the region that the step
// changes is compared; the banner and the clock go their own way on the two.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "app/form1.h"
#include "app/program.h"
#include "desktop_session.h"
#include "framework/controls/application.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"
#include "widgets/push_buttons.h"

namespace {
// Where the pointer rests outside the viewer's windows.
constexpr TPoint kAwayFromEveryWindow{20, 20};
// How long the hot bar must stay with the pointer resting: many polls of the strip.
constexpr int kRestSamples = 5;
constexpr std::chrono::milliseconds kRestSampleGap{200};
}  // namespace

// The parameter: whether a window manager frames the windows.
class PointerOnDesktop : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!ProgramAvailable("xdotool") || !ProgramAvailable("import"))
      GTEST_SKIP() << "xdotool and ImageMagick's import are needed to drive the desktop";
    if (!ProgramAvailable("xwininfo")) GTEST_SKIP() << "xwininfo is needed to find the window on the screen";
    if (GetParam() && (!ProgramAvailable("openbox") || !ProgramAvailable("xprop")))
      GTEST_SKIP() << "openbox and xprop are needed for the window-manager run";
    Display = std::make_unique<TVirtualDisplay>();
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    if (GetParam()) {
      std::string failure;
      Manager = StartWindowManager(Display->Name(), failure);
      ASSERT_TRUE(failure.empty()) << failure;
    }
    Backend = CreateHeadlessBackend();
    Mirror = std::make_unique<TApplication>();
    StartVelmorath(*Mirror, *Backend, VELMORATH_VIEWER);
    Form1->SetVisible(true);
    Form1->Show();
    SettleMirror();

    // The desktop's pointer starts away from the windows, like the mirror's.
    Xdotool("mousemove --sync " + std::to_string(kAwayFromEveryWindow.X) + " " + std::to_string(kAwayFromEveryWindow.Y));
    ShotPath = WorkPath(TestName() + ".png", "pointer_work");
    Viewer = std::make_unique<TChildProcess>(std::vector<std::string>{VELMORATH_VIEWER},
                                             std::vector<std::string>{"DISPLAY=" + Display->Name(), kNoSessionBus},
                                             WorkPath(TestName() + ".out", "pointer_work"),
                                             WorkPath(TestName() + ".err", "pointer_work"));
    ASSERT_TRUE(Viewer->Started());
    ASSERT_TRUE(Eventually([&] { return FindClientOrigin(); })) << "no main window";
    const TRect pages = Form1->WkPageControl1->BoundsRect();
    ASSERT_TRUE(Eventually([&] { return DesktopShowsMirror(pages); })) << "the viewer never showed its tabs; " << LastDifference;
  }

  void TearDown() override {
    Viewer.reset();
    Manager.reset();
    Mirror.reset();
    Display.reset();
  }

  // Where the main window's client area lies on the screen: its designed place on a bare
  // display, inside the frame under a window manager.
  bool FindClientOrigin() {
    const TClientGeometry g = ClientGeometryOf(Display->Name(), VisibleWindowId(Display->Name(), "Velmorath V1.4"));
    ClientOrigin = {g.X, g.Y};
    return g.X >= 0;
  }

  // The mirror handles its messages and lets its short timers run, as the desktop's
  // real clock does meanwhile.
  void SettleMirror() {
    for (int i = 0; i < 4; ++i) {
      Backend->AdvanceClock(100);
      Mirror->ProcessMessages();
    }
  }

  // Moves both pointers to a client point of the main window (or, for the desktop, to a
  // screen point outside it).
  void MoveTo(TPoint client) {
    Backend->MoveMouse(Form1->ClientToScreen(client));
    SettleMirror();
    Xdotool("mousemove --sync " + std::to_string(ClientOrigin.X + client.X) + " " +
            std::to_string(ClientOrigin.Y + client.Y));
  }
  void MoveAway() {
    Backend->MoveMouse({-100, -100});
    SettleMirror();
    Xdotool("mousemove --sync " + std::to_string(kAwayFromEveryWindow.X) + " " + std::to_string(kAwayFromEveryWindow.Y));
  }
  void Xdotool(const std::string& args) { ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool " + args), 0) << args; }

  uint32_t MirrorPixel(int x, int y) const {
    const uint32_t bgr = static_cast<THeadlessWindow*>(Form1->PlatformWindow())->Presented().PixelRGB(x, y);
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  }
  // Whether every pixel of `area` (main-window client coordinates) is the same on both.
  bool DesktopShowsMirror(const TRect& area) {
    TScreenshot shot;
    if (!TakeScreenshot(Display->Name(), ShotPath, shot)) return false;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (shot.At(ClientOrigin.X + x, ClientOrigin.Y + y) != MirrorPixel(x, y)) {
          std::ostringstream at;
          at << "first difference at client (" << x << ", " << y << "): desktop " << std::hex
             << shot.At(ClientOrigin.X + x, ClientOrigin.Y + y) << ", mirror " << MirrorPixel(x, y);
          LastDifference = at.str();
          return false;
        }
    return true;
  }
  TRect TabArea(int index) const {
    TWkPageControl& pages = *Form1->WkPageControl1;
    const TRect tab = pages.TabRect(index);
    const TPoint topLeft = Form1->ScreenToClient(pages.ClientToScreen(tab.TopLeft()));
    return {topLeft.X, topLeft.Y, topLeft.X + tab.Width(), topLeft.Y + tab.Height()};
  }

  std::unique_ptr<TVirtualDisplay> Display;
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> Mirror;
  std::unique_ptr<TChildProcess> Manager;
  std::unique_ptr<TChildProcess> Viewer;
  std::string ShotPath;
  TPoint ClientOrigin;
  std::string LastDifference;  // where the last comparison found the two apart
};

TEST_P(PointerOnDesktop, TheHotBarStaysWhileThePointerRestsOnATabAndGoesWhenItLeaves) {
  TWkPageControl& pages = *Form1->WkPageControl1;
  int hovered = -1;
  for (int i = 0; i < pages.Tabs().Count() && hovered < 0; ++i)
    if (i != pages.TabIndex() && pages.TabInView(i)) hovered = i;
  ASSERT_GE(hovered, 0) << "a tab in view besides the active one";
  const TRect area = TabArea(hovered);
  MoveTo({(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2});
  ASSERT_EQ(pages.HotTab(), hovered) << "the mirror hot-tracks the tab";
  ASSERT_TRUE(Eventually([&] { return DesktopShowsMirror(area); })) << "the hot bar never appeared";
  for (int sample = 0; sample < kRestSamples; ++sample) {
    std::this_thread::sleep_for(kRestSampleGap);
    EXPECT_TRUE(DesktopShowsMirror(area)) << "the hot bar went with the pointer resting, sample " << sample;
  }

  MoveAway();
  ASSERT_EQ(pages.HotTab(), -1);
  EXPECT_TRUE(Eventually([&] { return DesktopShowsMirror(area); })) << "the hot bar stayed after the pointer left";
}

TEST_P(PointerOnDesktop, AboutShowsMouseOverRingsOnHoverAndFocusRingsWhenDraggedOutside) {
  TWkBitBtn& about = *Form1->WkBitBtn2;
  const TRect area = about.BoundsRect();
  const TPoint middle{(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2};
  MoveTo(middle);
  ASSERT_TRUE(about.PointerInside());
  EXPECT_TRUE(Eventually([&] { return DesktopShowsMirror(area); })) << "no mouse-over rings on About";

  // Pressed, then dragged off the button (and off the window): focus rings, not a click.
  Backend->PressMouse(ibLeft, Form1->ClientToScreen(middle));
  SettleMirror();
  Xdotool("mousedown 1");
  MoveAway();
  ASSERT_TRUE(about.Focused());
  ASSERT_FALSE(about.PointerInside());
  EXPECT_TRUE(Eventually([&] { return DesktopShowsMirror(area); })) << "About did not show its focus rings";
  Backend->ReleaseMouse(ibLeft, {-100, -100});
  SettleMirror();
  Xdotool("mouseup 1");
  EXPECT_TRUE(Eventually([&] { return DesktopShowsMirror(area); }));
}

INSTANTIATE_TEST_SUITE_P(BareAndFramed, PointerOnDesktop, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "UnderWindowManager" : "BareDisplay";
                         });
