// The real viewer under valgrind's memory checker on a virtual desktop, walked through
// everything a technician does: every test point on every page, every page by its tab
// (through the scroller where the tab is out of view) and by Ctrl+Tab, About opened and
// closed by its close box, and the Close button. The walk must leave no invalid access and
// no lost block behind.
//
// Where to click comes from a mirror: the same program runs in this process on the headless
// backend, takes each step first, and the desktop point is the headless control's point in
// the main window's client area. After each step the walk waits until the desktop shows
// what the mirror shows, so no click lands before the previous one took effect however slow
// the checked program is.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "framework/controls/application.h"
#include "framework/controls/keys.h"
#include "pictures/image.h"
#include "platform/headless/headless_backend.h"
#include "tests/e2e/desktop_session.h"
#include "widgets/led_display.h"
#include "widgets/page_control.h"
#include "widgets/push_buttons.h"
#include "widgets/radio_buttons.h"
#include "widgets/status_panes.h"

namespace {
// On the bare virtual display the main window's client area starts at its form position.
constexpr TPoint kDesktopClientOrigin{140, 96};
constexpr int kValgrindFailure = 99;
// Upper bounds only: under the checker the program is 20-50 times slower, on a busy machine.
constexpr int kStartUpMs = 240000, kStepMs = 90000, kExitMs = 180000, kPollMs = 300;
const char* const kWorkFolder = "valgrind_work";
std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The bytes valgrind's leak summary gives for one kind ("definitely lost"), or -1.
long long LeakBytes(const std::string& log, const std::string& kind) {
  std::smatch m;
  if (!std::regex_search(log, m, std::regex(kind + ": ([0-9,]+) bytes")))
    return log.find("no leaks are possible") != std::string::npos ? 0 : -1;
  std::string digits = m[1];
  std::erase(digits, ',');
  return std::stoll(digits);
}

// The lines of valgrind's heap, leak and error summaries.
std::string SummaryLines(const std::string& log) {
  static const char* const kFigures[] = {"in use at exit", "total heap usage", "definitely lost", "indirectly lost",
                                         "possibly lost", "still reachable", "suppressed:", "ERROR SUMMARY"};
  std::string lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);)
    if (std::any_of(std::begin(kFigures), std::end(kFigures),
                    [&](const char* figure) { return line.find(figure) != std::string::npos; }))
      lines += line + "\n";
  return lines;
}
// The viewer is built with the same flags as this test. Sanitisers may come from the
// project's option or straight from the compiler flags, so ask the compiler as well.
#ifdef VELMORATH_SANITIZED_BUILD
#elif defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELMORATH_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VELMORATH_SANITIZED_BUILD 1
#endif
#endif
}  // namespace

class ViewerUnderValgrind : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef VELMORATH_SANITIZED_BUILD
    GTEST_SKIP() << "valgrind does not run a program built with the sanitisers";
#endif
    if (!ProgramAvailable("valgrind")) GTEST_SKIP() << "valgrind is not installed";
    if (!ProgramAvailable("xdotool") || !ProgramAvailable("import"))
      GTEST_SKIP() << "xdotool and ImageMagick's import are needed to drive the desktop";
    if (std::string(VELMORATH_CLOSE_REQUEST).empty()) GTEST_SKIP() << "built without the X client library";
    Display = std::make_unique<TVirtualDisplay>();
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();

    Backend = CreateHeadlessBackend();
    Mirror = std::make_unique<TApplication>();
    StartVelmorath(*Mirror, *Backend, VELMORATH_VIEWER);
    Form1->SetVisible(true);
    Form1->Show();
    SettleMirror();
  }

  void TearDown() override {
    Viewer.reset();
    Mirror.reset();
    Display.reset();
  }

  void StartViewerUnderValgrind() {
    LogPath = WorkPath("memcheck.log", kWorkFolder);
    Viewer = std::make_unique<TChildProcess>(
        std::vector<std::string>{"valgrind", "--tool=memcheck", "--leak-check=full",
                                 "--errors-for-leak-kinds=definite,indirect", "--show-leak-kinds=definite,indirect,possible",
                                 "--error-exitcode=" + std::to_string(kValgrindFailure), "--num-callers=30",
                                 "--suppressions=" + std::string(VELMORATH_SUPPRESSIONS), "--log-file=" + LogPath,
                                 VELMORATH_VIEWER},
        std::vector<std::string>{"DISPLAY=" + Display->Name(), kNoSessionBus}, WorkPath("viewer.out", kWorkFolder), WorkPath("viewer.err", kWorkFolder));
    ASSERT_TRUE(Viewer->Started());
    Started = std::chrono::steady_clock::now();
  }

  // The mirror handles its messages and lets its short timers run, as the desktop's real
  // clock does meanwhile (the tab strip's hot-tracking poll notices the pointer left).
  void SettleMirror() {
    for (int i = 0; i < 4; ++i) {
      Backend->AdvanceClock(100);
      Mirror->ProcessMessages();
    }
  }

  // ---- one step on both ----

  void ClickControl(const TControl& control, TPoint client) {
    const TPoint screen = control.ClientToScreen(client);
    const TPoint desktop = Form1->ScreenToClient(screen) + kDesktopClientOrigin;
    Backend->MoveMouse(screen);
    Backend->Click(screen);
    SettleMirror();
    // Waiting for a move to where the pointer already is would only end in xdotool's timeout.
    const std::string move = desktop == Pointer ? "" : "mousemove --sync " + std::to_string(desktop.X) + " " +
                                                           std::to_string(desktop.Y) + " ";
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool " + move + "click 1"), 0);
    Pointer = desktop;
    ++Steps;
  }
  void ClickMiddle(const TControl& control) { ClickControl(control, {control.Width() / 2, control.Height() / 2}); }
  void ClickTab(int tabIndex) {
    TWkPageControl& pages = *Form1->WkPageControl1;
    // The lower half of the scroller brings earlier tabs into view, the upper half later ones;
    // a click towards the end the strip already shows would change nothing.
    const int part = tabIndex < pages.FirstVisibleTab() ? TWkTabScroller::partDownLeft : TWkTabScroller::partUpRight;
    for (int step = 0; step < 8 && !pages.TabInView(tabIndex); ++step) {
      const TRect half = pages.Scroller()->PartRect(part);
      ClickControl(*pages.Scroller(), {(half.Left + half.Right) / 2, (half.Top + half.Bottom) / 2});
      ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("scroller towards tab " + std::to_string(tabIndex)));
    }
    ASSERT_TRUE(pages.TabInView(tabIndex)) << "tab " << tabIndex;
    const TRect tab = pages.TabRect(tabIndex);
    ClickControl(pages, {(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2});
  }
  void CtrlTab() {
    Backend->SetModifiers(imCtrl);
    Backend->PressKey(vkTab);
    Backend->ReleaseKey(vkTab);
    Backend->SetModifiers(0);
    SettleMirror();
    ASSERT_EQ(RunOnDisplay(Display->Name(), "xdotool key ctrl+Tab"), 0);
    ++Steps;
  }

  // ---- what shows ----

  uint32_t MirrorPixel(int x, int y) const {
    const uint32_t bgr = static_cast<THeadlessWindow*>(Form1->PlatformWindow())->Presented().PixelRGB(x, y);
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  }
  static uint32_t DesktopPixel(const TScreenshot& shot, int x, int y) {
    return shot.At(kDesktopClientOrigin.X + x, kDesktopClientOrigin.Y + y);
  }
  static TRect PictureArea() {
    TRect area = Form1->TestPointImage(1)->BoundsRect();
    for (int n = 2; n <= kTestPointCount; ++n) {
      const TRect box = Form1->TestPointImage(n)->BoundsRect();
      area = {std::min(area.Left, box.Left), std::min(area.Top, box.Top), std::max(area.Right, box.Right),
              std::max(area.Bottom, box.Bottom)};
    }
    return area;
  }
  // Whether the block's mean colour is about the same on both. A photograph fitted a column
  // wider is resampled at columns at most one apart, which moves a block's mean far less
  // than another photograph or the empty picture area would.
  bool BlocksAlike(const TScreenshot& shot, const TRect& block) const {
    constexpr int kTolerance = 32;
    long long sums[2][3] = {};
    for (int y = block.Top; y < block.Bottom; ++y)
      for (int x = block.Left; x < block.Right; ++x) {
        const uint32_t pixels[2] = {DesktopPixel(shot, x, y), MirrorPixel(x, y)};
        for (int side = 0; side < 2; ++side)
          for (int channel = 0; channel < 3; ++channel) sums[side][channel] += (pixels[side] >> (8 * channel)) & 0xFF;
      }
    const long long count = static_cast<long long>(block.Width()) * block.Height();
    for (int channel = 0; channel < 3; ++channel)
      if (std::llabs(sums[0][channel] - sums[1][channel]) > kTolerance * count) return false;
    return true;
  }

  // Where the desktop's main window differs from the mirror's, or "" where it shows the same.
  // The scrolling banner and the clock follow their own clocks and are left out. Photographs
  // are compared by blocks of pixels: valgrind computes extended precision at double
  // precision, so a photograph fitted to its box may come out a column wider there.
  std::string Difference(const TScreenshot& shot) const {
    const TRect banner = Form1->WkLEDDisplay1->BoundsRect(), clock = Form1->WkClockStatus1->BoundsRect();
    const TRect pictures = PictureArea();
    if (shot.Width < kDesktopClientOrigin.X + Form1->ClientWidth() ||
        shot.Height < kDesktopClientOrigin.Y + Form1->ClientHeight())
      return "size: the screenshot does not hold the main window";
    const auto inside = [](const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    const auto at = [](int x, int y) { return " at client (" + std::to_string(x) + ", " + std::to_string(y) + ")"; };
    for (int y = 0; y < Form1->ClientHeight(); ++y)
      for (int x = 0; x < Form1->ClientWidth(); ++x)
        if (!inside(banner, x, y) && !inside(clock, x, y) && !inside(pictures, x, y) &&
            DesktopPixel(shot, x, y) != MirrorPixel(x, y))
          return "the pixel" + at(x, y);
    constexpr int kBlock = 16;
    for (int y = pictures.Top; y < pictures.Bottom; y += kBlock)
      for (int x = pictures.Left; x < pictures.Right; x += kBlock)
        if (!BlocksAlike(shot, {x, y, std::min(x + kBlock, pictures.Right), std::min(y + kBlock, pictures.Bottom)}))
          return "the picture area's block" + at(x, y);
    return "";
  }

  bool DesktopShowsMirror(int ms, std::string* why) {
    const std::string shotPath = WorkPath("desktop.png", kWorkFolder);
    std::string difference = "no screenshot could be taken";
    const bool same = Eventually(
        [&] {
          if (!TakeScreenshot(Display->Name(), shotPath, LastShot)) return false;
          difference = Difference(LastShot);
          return difference.empty();
        },
        ms, kPollMs);
    if (!same && why != nullptr) {
      Backend->SaveWindowImage(*static_cast<THeadlessWindow*>(Form1->PlatformWindow()), WorkPath("mirror.png", kWorkFolder));
      *why = "the desktop differs from the mirror in " + difference + "; see " + shotPath + " and " +
             WorkPath("mirror.png", kWorkFolder);
    }
    return same;
  }

  // Waits until the desktop shows what the mirror shows after a step. A step that `changes`
  // what shows must also differ from the desktop's picture before it, else the wait would
  // prove nothing about the step having taken effect.
  void ExpectDesktopShowsMirror(const std::string& step, bool changes = true, int ms = kStepMs) {
    if (changes) {
      ASSERT_FALSE(Difference(LastShot).empty()) << step << " shows nothing new in the mirror";
    }
    std::string why;
    ASSERT_TRUE(DesktopShowsMirror(ms, &why)) << "after " << step << ": " << why << "; valgrind's log is " << LogPath;
  }

  std::string VisibleWindow(const std::string& caption) {
    std::string id;
    RunOnDisplay(Display->Name(), "xdotool search --onlyvisible --name '^" + caption + "$'", &id);
    return id.substr(0, id.find('\n'));
  }

  std::unique_ptr<TVirtualDisplay> Display;
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> Mirror;
  std::unique_ptr<TChildProcess> Viewer;
  std::string LogPath;
  std::chrono::steady_clock::time_point Started;
  TScreenshot LastShot;  // the desktop's latest, once it showed what the mirror shows
  TPoint Pointer{-1, -1};  // where the desktop's pointer is
  int Steps = 0;
};

TEST_F(ViewerUnderValgrind, AWalkThroughEveryPageAndTestPointLeavesNoErrorAndNoLeak) {
  StartViewerUnderValgrind();
  ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("start-up", false, kStartUpMs));

  // Every page by its tab, and on it every test point.
  TWkPageControl& pages = *Form1->WkPageControl1;
  const int tabs = pages.Tabs().Count();
  ASSERT_EQ(tabs, 7) << "the hidden page has no tab";
  int pointsChosen = 0;
  for (int tab = 0; tab < tabs; ++tab) {
    ASSERT_NO_FATAL_FAILURE(ClickTab(tab));
    ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("a click on tab " + std::to_string(tab)));
    for (int n = 1; n <= kTestPointCount; ++n) {
      if (Form1->TestPointButton(n)->Parent() != pages.ActivePage()) continue;
      ASSERT_NO_FATAL_FAILURE(ClickMiddle(*Form1->TestPointButton(n)));
      ASSERT_TRUE(Form1->TestPointImage(n)->Visible()) << "the mirror shows test point " << n;
      ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("a click on test point " + std::to_string(n)));
      ++pointsChosen;
    }
  }
  EXPECT_EQ(pointsChosen, kTestPointCount);

  // Every page again by the keyboard, round to where the walk began.
  const TWkTabSheet* before = pages.ActivePage();
  for (int tab = 0; tab < tabs; ++tab) {
    ASSERT_NO_FATAL_FAILURE(CtrlTab());
    ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("Ctrl+Tab number " + std::to_string(tab + 1)));
  }
  EXPECT_EQ(pages.ActivePage(), before);

  // About, and its close box.
  ASSERT_NO_FATAL_FAILURE(ClickMiddle(*Form1->WkBitBtn2));
  ASSERT_TRUE(Form2->Visible());
  ASSERT_TRUE(Eventually([&] { return !VisibleWindow("About").empty(); }, kStepMs, kPollMs)) << "About did not open";
  ASSERT_EQ(RunOnDisplay(Display->Name(), std::string(VELMORATH_CLOSE_REQUEST) + " " + VisibleWindow("About")), 0);
  Backend->InjectWindowEvent(Form2->PlatformWindow(), TInputKind::WindowClose);
  SettleMirror();
  ++Steps;
  ASSERT_FALSE(Form2->Visible());
  ASSERT_TRUE(Eventually([&] { return VisibleWindow("About").empty(); }, kStepMs, kPollMs)) << "About did not hide";
  ASSERT_NO_FATAL_FAILURE(ExpectDesktopShowsMirror("About closed", false));

  // The Close button ends the program, and valgrind's verdict is its exit status.
  ASSERT_NO_FATAL_FAILURE(ClickMiddle(*Form1->WkBitBtn1));
  const int status = Viewer->WaitExit(kExitMs);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
  const std::string log = FileText(LogPath);
  std::printf("%d steps in %.0f s under valgrind\n%s", Steps, seconds, SummaryLines(log).c_str());
  EXPECT_EQ(status, 0) << "valgrind found errors (status " << kValgrindFailure << ") or the program failed; see "
                       << LogPath;
  EXPECT_NE(log.find("ERROR SUMMARY: 0 errors"), std::string::npos) << "see " << LogPath;
  EXPECT_EQ(LeakBytes(log, "definitely lost"), 0) << "see " << LogPath;
  EXPECT_EQ(LeakBytes(log, "indirectly lost"), 0) << "see " << LogPath;
}
