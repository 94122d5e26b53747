// The main window as its user meets it: the start state, the Close and About buttons with
// mouse and keyboard, and the ends of the program.
#include <gtest/gtest.h>

#include <vector>

#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "pictures/image.h"
#include "tests/app/viewer_fixture.h"
#include "widgets/led_display.h"
#include "widgets/page_control.h"
#include "widgets/push_buttons.h"

namespace {
using MainWindow = ViewerTest;

TEST_F(MainWindow, OpensAtItsPlaceWithTheCatalogueClosedAndCloseFocused) {
  ShowMainWindow();
  const THeadlessWindow& window = WindowOf(*Form1);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Caption(), "Velmorath V1.4");
  EXPECT_EQ(window.Frame(), TWindowFrame::Dialog) << "not resizable, no minimise or maximise box";
  EXPECT_EQ(Form1->ClientToScreen({0, 0}), (TPoint{140, 96}));
  EXPECT_EQ(Form1->ClientWidth(), 959);
  EXPECT_EQ(Form1->ClientHeight(), 614);
  EXPECT_EQ(App->MainForm(), Form1);
  EXPECT_EQ(App->Title(), "velmorath") << "from the file name, its first character as it is";

  EXPECT_EQ(Form1->WkPageControl1->ActivePage(), Form1->TabSheet5);
  EXPECT_EQ(Form1->WkPageControl1->TabIndex(), 6);
  for (int n = 1; n <= kTestPointCount; ++n) EXPECT_FALSE(Checked(n)) << "test point " << n;
  EXPECT_EQ(VisibleImages(), "");
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkBitBtn1);
  EXPECT_FALSE(Form2->Visible());

  // The picture area shows the window's own colour; Image16 could reach below y = 583
  // but nothing is shown yet.
  int notBackground = 0;
  for (int y = 64; y < 584; ++y)
    for (int x = 264; x < 953; ++x) notBackground += MainPixel(x, y) != kSkyBlueRGB;
  EXPECT_EQ(notBackground, 0);
}

TEST_F(MainWindow, EnterOnTheFocusedCloseButtonEndsTheProgram) {
  ShowMainWindow();
  Backend->PressKey(vkReturn);
  Backend->ReleaseKey(vkReturn);
  EXPECT_TRUE(RunUntilTheLoopEnds());
  EXPECT_TRUE(App->Terminated());
}

TEST_F(MainWindow, ClickingCloseEndsTheProgram) {
  ShowMainWindow();
  ClickControl(*Form1->WkBitBtn1);
  EXPECT_TRUE(App->Terminated());
}

TEST_F(MainWindow, TabMovesToAboutWhereEnterOpensTheAboutWindow) {
  ShowMainWindow();
  Key(vkTab);
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkBitBtn2);
  Key(vkReturn);
  EXPECT_TRUE(Form2->Visible());
  EXPECT_FALSE(App->Terminated());
  Key(vkTab);
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkBitBtn1) << "no radio button is checked, so Tab cycles between the two";
}

TEST_F(MainWindow, AboutTwiceGivesOneAboutWindowAtItsPlace) {
  ShowMainWindow();
  ClickControl(*Form1->WkBitBtn2);
  const size_t windows = Backend->Windows().size();
  ClickControl(*Form1->WkBitBtn2);
  EXPECT_EQ(Backend->Windows().size(), windows) << "the About window is not created again";
  THeadlessWindow& about = WindowOf(*Form2);
  EXPECT_TRUE(about.Visible());
  EXPECT_EQ(about.Caption(), "About");
  EXPECT_EQ(about.Frame(), TWindowFrame::ToolWindow);
  EXPECT_EQ(Form2->ClientToScreen({0, 0}), (TPoint{257, 194}));
  EXPECT_EQ(Form2->ClientWidth(), 543);
  EXPECT_EQ(Form2->ClientHeight(), 64);
  EXPECT_TRUE(Form1->Visible()) << "non-modal: the main window goes on";
  ClickTestPoint(16);  // below the About window, which covers the page's first button
  EXPECT_EQ(VisibleImages(), "Image16") << "the main window keeps working while About is open";
}

TEST_F(MainWindow, ClosingAboutHidesItAndAboutShowsTheSameWindowAgain) {
  ShowMainWindow();
  ClickControl(*Form1->WkBitBtn2);
  TForm2* const about = Form2;
  CloseBox(*Form2);
  EXPECT_FALSE(Form2->Visible());
  EXPECT_FALSE(App->Terminated()) << "closing About never ends the program";
  EXPECT_EQ(Form2, about);
  ClickControl(*Form1->WkBitBtn2);
  EXPECT_EQ(Form2, about) << "not re-created";
  EXPECT_TRUE(WindowOf(*Form2).Visible());
  EXPECT_EQ(Form2->ClientToScreen({0, 0}), (TPoint{257, 194}));
}

TEST_F(MainWindow, ClosingTheMainWindowEndsTheProgramWhileAboutIsOpen) {
  ShowMainWindow();
  ClickControl(*Form1->WkBitBtn2);
  ASSERT_TRUE(Form2->Visible());
  Backend->InjectWindowEvent(Form1->PlatformWindow(), TInputKind::WindowClose);
  EXPECT_TRUE(RunUntilTheLoopEnds());
}

TEST_F(MainWindow, TheBannersScrollFromLoadOnEvenWhileAboutIsHidden) {
  ShowMainWindow();
  EXPECT_TRUE(Form1->WkLEDDisplay1->Scrolling());
  EXPECT_TRUE(Form2->WkLEDDisplay1->Scrolling());
  EXPECT_FALSE(Form2->WkLEDDisplay2->Scrolling());
  // The banner spans (8, 8) .. (952, 56); its dots move one pitch per 100 ms tick.
  auto banner = [&] {
    std::vector<uint32_t> pixels;
    for (int y = 8; y < 57; ++y)
      for (int x = 8; x < 953; ++x) pixels.push_back(MainPixel(x, y));
    return pixels;
  };
  const std::vector<uint32_t> before = banner();
  Backend->AdvanceClock(100);
  Settle();
  const bool changed = banner() != before;
  EXPECT_TRUE(changed) << "one tick moves the banner's dots";
}

// On a desktop the hidden About banner's steps wait for the main banner's wake-ups instead of
// waking the loop themselves; none is lost, so About opens showing what it would have.
TEST_F(MainWindow, TheHiddenAboutBannerWakesNothingOnADesktopAndOpensWhereItWouldHave) {
  const auto aboutAfterIdling = [&](bool desktop, int& wakeUps) {
    Backend->SetCoalescesTimers(desktop);
    ShowMainWindow();
    // About's steps 30 ms after the main banner's: too far apart to share a wake-up.
    Form2->WkLEDDisplay1->SetScrolling(false);
    App->WindowSystem().RunFor(30);
    Form2->WkLEDDisplay1->SetScrolling(true);
    const int before = Backend->WakeUps();
    App->WindowSystem().RunFor(9970);
    wakeUps = Backend->WakeUps() - before;
    Backend->AdvanceClock(50);  // past About's next step
    ClickControl(*Form1->WkBitBtn2);
    const TBitmap& shown = WindowOf(*Form2).Presented();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x) pixels.push_back(shown.PixelRGB(x, y));
    return pixels;
  };
  int exactWakeUps = 0, desktopWakeUps = 0;
  const std::vector<uint32_t> exact = aboutAfterIdling(false, exactWakeUps);
  App.reset();
  SetUp();
  const std::vector<uint32_t> desktop = aboutAfterIdling(true, desktopWakeUps);
  EXPECT_EQ(exactWakeUps, 100 + 99) << "each banner's steps at their own time";
  EXPECT_EQ(desktopWakeUps, 100) << "the main banner's steps only";
  ASSERT_FALSE(desktop.empty());
  EXPECT_TRUE(desktop == exact) << "About opens with its banner where every step at its own time left it";
}
}  // namespace
