// A desktop window's pixels on a real (virtual) display: once shown they live in the
// desktop's own window surface, and every way that surface can go (a new size from the
// program or from the desktop, a frame change that remakes the window, hiding) takes them
// back first, so the picture survives and nothing reads freed memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "desktop_session.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_window.h"

namespace {
constexpr int kLeft = 100, kTop = 80;  // where the window's client area opens
constexpr const char* kCaption = "Surface test";
constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00, kGrey = 0x808080;

// Fills surface rectangle `r` with 0xRRGGBB.
void Fill(TBitmapImage& surface, const TRect& r, uint32_t colour) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      uint8_t* p = surface.Row(y) + 4 * x;
      p[0] = uint8_t(colour), p[1] = uint8_t(colour >> 8), p[2] = uint8_t(colour >> 16), p[3] = 0;
    }
}

uint32_t SurfaceColour(const TBitmapImage& surface, int x, int y) {
  const uint8_t* p = surface.Row(y) + 4 * x;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
}  // namespace

class WindowSurfaceOnDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Display = new TVirtualDisplay;
    if (!Display->Failure().empty()) return;
    // SDL opens the display once for the process; every test shares it.
    setenv("DISPLAY", Display->Name().c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    Backend = CreateSdlBackend().release();
  }
  static void TearDownTestSuite() {
    delete Backend;  // SDL itself stays up until the process ends
    Backend = nullptr;
    delete Display;
    Display = nullptr;
  }

  void SetUp() override {
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    if (!ProgramAvailable("import")) GTEST_SKIP() << "ImageMagick's import is needed for screenshots";
    ASSERT_NE(Backend, nullptr) << "the desktop backend did not start on the virtual display";
    ShotPath = WorkPath(TestName() + ".png");
    Window.reset(static_cast<TSdlWindow*>(Backend->CreateWindow(Bounds(kLeft, kTop, 200, 120)).release()));
    Window->SetFrame(TWindowFrame::None);  // no window manager here: the client area is the window
    Window->SetCaption(kCaption);
    Fill(Window->Surface(), {0, 0, 200, 120}, kRed);
  }
  void TearDown() override { Window.reset(); }

  // Lets the backend read what the display sent (exposures are presented as they come).
  void Pump() {
    TInputEvent e;
    for (int i = 0; i < 20; ++i)
      while (Backend->PollEvent(e)) {
      }
  }
  // Waits until the screen shows `colour` at client point (x, y) of the window.
  bool ShowsAt(int x, int y, uint32_t colour) {
    uint32_t seen = 0;
    const bool shown = Eventually([&] {
      Pump();
      TScreenshot shot;
      if (!TakeScreenshot(Display->Name(), ShotPath, shot)) return false;
      seen = shot.At(kLeft + x, kTop + y);
      return seen == colour;
    });
    if (!shown) ADD_FAILURE() << "at " << x << "," << y << " the screen shows " << std::hex << seen;
    return shown;
  }
  void Show() {
    Window->SetVisible(true);
    ASSERT_TRUE(ShowsAt(5, 5, kRed)) << "the window never showed its pixels";
  }

  static TVirtualDisplay* Display;
  static TSdlBackend* Backend;
  std::unique_ptr<TSdlWindow> Window;
  std::string ShotPath;
};

TVirtualDisplay* WindowSurfaceOnDesktop::Display = nullptr;
TSdlBackend* WindowSurfaceOnDesktop::Backend = nullptr;

TEST_F(WindowSurfaceOnDesktop, ShownPixelsLiveInTheDesktopSurfaceAndPresentInPlace) {
  EXPECT_FALSE(Window->Surface().Bits.Borrowed()) << "a window not yet shown keeps its own pixels";
  Show();
  EXPECT_TRUE(Window->Surface().Bits.Borrowed()) << "a 32-bit desktop surface holds them";
  Fill(Window->Surface(), {20, 30, 60, 50}, kGreen);
  Window->Present({20, 30, 60, 50});
  EXPECT_TRUE(ShowsAt(25, 35, kGreen));
  EXPECT_TRUE(ShowsAt(59, 49, kGreen));
  EXPECT_TRUE(ShowsAt(61, 49, kRed));
  EXPECT_TRUE(ShowsAt(199, 119, kRed));
}

// Within a pass of the loop presents are held and sent together at its end; a nested
// pass's end (a modal loop inside a handler) sends them too.
TEST_F(WindowSurfaceOnDesktop, APassSendsItsPresentsTogetherWhenItEnds) {
  Show();
  Backend->BeginPass();
  Fill(Window->Surface(), {20, 30, 60, 50}, kGreen);
  Window->Present({20, 30, 60, 50});
  Fill(Window->Surface(), {100, 30, 140, 50}, kBlue);
  Window->Present({100, 30, 140, 50});
  TScreenshot shot;
  ASSERT_TRUE(TakeScreenshot(Display->Name(), ShotPath, shot));
  EXPECT_EQ(shot.At(kLeft + 25, kTop + 35), kRed) << "held while the pass runs";
  EXPECT_EQ(shot.At(kLeft + 105, kTop + 35), kRed);
  Backend->BeginPass();
  Fill(Window->Surface(), {20, 60, 60, 80}, kYellow);
  Window->Present({20, 60, 60, 80});
  Backend->EndPass();
  EXPECT_TRUE(ShowsAt(25, 35, kGreen));
  EXPECT_TRUE(ShowsAt(105, 35, kBlue));
  EXPECT_TRUE(ShowsAt(25, 65, kYellow));
  Fill(Window->Surface(), {150, 60, 190, 80}, kGrey);
  Window->Present({150, 60, 190, 80});
  Backend->EndPass();
  EXPECT_TRUE(ShowsAt(155, 65, kGrey));
  Fill(Window->Surface(), {150, 90, 190, 110}, kGreen);
  Window->Present({150, 90, 190, 110});
  EXPECT_TRUE(ShowsAt(155, 95, kGreen)) << "outside a pass a present goes at once";
}

TEST_F(WindowSurfaceOnDesktop, ANewSizeKeepsThePictureAndTheNewSurfaceHoldsItAgain) {
  Show();
  Fill(Window->Surface(), {100, 0, 200, 120}, kBlue);
  Window->SetScreenBounds(Bounds(kLeft, kTop, 300, 160));
  EXPECT_FALSE(Window->Surface().Bits.Borrowed());
  ASSERT_EQ(Window->Surface().Width, 300);
  EXPECT_EQ(SurfaceColour(Window->Surface(), 10, 10), kRed) << "the shared part is kept";
  EXPECT_EQ(SurfaceColour(Window->Surface(), 150, 100), kBlue);
  EXPECT_EQ(SurfaceColour(Window->Surface(), 250, 150), 0u) << "new pixels are black";
  Fill(Window->Surface(), {200, 0, 300, 160}, kGrey);
  Fill(Window->Surface(), {0, 120, 200, 160}, kGrey);
  EXPECT_TRUE(Eventually([&] {
    Pump();
    Window->Present({0, 0, 300, 160});
    return Window->Surface().Bits.Borrowed();
  })) << "the desktop surface of the new size never took the pixels";
  EXPECT_TRUE(ShowsAt(10, 10, kRed));
  EXPECT_TRUE(ShowsAt(150, 100, kBlue));
  EXPECT_TRUE(ShowsAt(295, 155, kGrey));
}

// The desktop may resize a window the program never asked to: SDL then replaces its
// surface at the next request for it, freeing the old one the pixels lived in.
TEST_F(WindowSurfaceOnDesktop, ADesktopResizeTakesThePixelsBackBeforeTheirSurfaceGoes) {
  if (!ProgramAvailable("xdotool")) GTEST_SKIP() << "xdotool is needed to resize the window";
  Show();
  Fill(Window->Surface(), {0, 0, 100, 120}, kYellow);
  Window->PresentAll();
  ASSERT_TRUE(ShowsAt(50, 60, kYellow));
  std::string ids;
  ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool search --onlyvisible --name '^Surface test$'", &ids), 0);
  ASSERT_FALSE(ids.empty());
  ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool windowsize " + ids.substr(0, ids.find('\n')) + " 260 150"), 0);
  EXPECT_TRUE(Eventually([&] {
    Pump();
    Window->PresentAll();
    return !Window->Surface().Bits.Borrowed();
  })) << "the pixels stayed in a surface the desktop had replaced";
  // Ours again, and whole: reading every pixel would fault on a detached surface.
  uint32_t yellow = 0, red = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) (SurfaceColour(Window->Surface(), x, y) == kYellow ? yellow : red) += 1;
  EXPECT_EQ(yellow, 100u * 120u);
  EXPECT_EQ(red, 100u * 120u);
  Fill(Window->Surface(), {150, 0, 200, 120}, kGreen);
  Window->PresentAll();
  EXPECT_TRUE(ShowsAt(50, 60, kYellow));
  EXPECT_TRUE(ShowsAt(120, 60, kRed));
  EXPECT_TRUE(ShowsAt(180, 60, kGreen));
}

TEST_F(WindowSurfaceOnDesktop, AFrameThatRemakesTheWindowKeepsThePicture) {
  Show();
  Fill(Window->Surface(), {0, 60, 200, 120}, kBlue);
  Window->SetFrame(TWindowFrame::ToolWindow);  // the utility type needs a new desktop window
  EXPECT_TRUE(ShowsAt(10, 10, kRed));
  EXPECT_TRUE(ShowsAt(10, 100, kBlue));
  EXPECT_TRUE(Window->Surface().Bits.Borrowed());
}

TEST_F(WindowSurfaceOnDesktop, PixelsDrawnWhileHiddenShowWithTheWindow) {
  Show();
  Window->SetVisible(false);
  Fill(Window->Surface(), {0, 0, 200, 120}, kGrey);
  Window->Present({0, 0, 200, 120});  // hidden: nothing to show
  Window->SetVisible(true);
  EXPECT_TRUE(ShowsAt(100, 60, kGrey));
}
