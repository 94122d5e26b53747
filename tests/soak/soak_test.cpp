// A long day of the viewer on the virtual clock: a seeded random walk of clicks, keys, tab
// switches, hovering and About, with the banner and the clock ticking in between. The
// catalogue's rules are checked after every step, and the heap in use at the end must be
// what it was once every photograph had been decoded.
//   VELMORATH_SOAK_MINUTES  virtual minutes to run (default 60)
//   VELMORATH_SOAK_SEED     the walk's seed (default 20261209)
#include <gtest/gtest.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "framework/controls/keys.h"
#include "framework/controls/screen.h"
#include "pictures/image.h"
#include "tests/app/viewer_fixture.h"
#include "widgets/page_control.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitiser's allocator keeps its own count (its interface header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {
constexpr int kPageCount = 7;  // the pages with visible tabs
constexpr uint64_t kSliceMs = 100;  // the banner's tick: the clock advances by whole ticks

size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;  // small blocks in the arenas, and the large ones mapped alone
#endif
}

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

class Soak : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ShowMainWindow();
    Random.seed(unsigned(Seed));
  }

  // The virtual clock runs on by `ms`, tick by tick, with the loop's work after each.
  void Wait(uint64_t ms) {
    for (uint64_t done = 0; done < ms; done += kSliceMs) {
      Backend->AdvanceClock(kSliceMs);
      Settle();
      Now += kSliceMs;
    }
  }

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(Random); }

  TWkTabSheet* ActivePage() const { return Form1->WkPageControl1->ActivePage(); }
  // The test points on page `page` of the visible tabs, in tab order.
  std::vector<int> PointsOn(const TWkTabSheet* page) const {
    std::vector<int> points;
    for (int n = 1; n <= kTestPointCount; ++n)
      if (Form1->TestPointButton(n)->Parent() == page) points.push_back(n);
    return points;
  }
  TWkTabSheet* PageOf(int n) const { return static_cast<TWkTabSheet*>(Form1->TestPointButton(n)->Parent()); }
  bool MainWindowActive() const { return Screen()->ActiveForm() == Form1; }
  TPoint RandomPointIn(const TCustomForm& form) {
    return form.ClientToScreen({Pick(form.ClientWidth()), Pick(form.ClientHeight())});
  }
  bool Covers(const TControl& control, TPoint screen) const {
    const TPoint origin = control.ClientToScreen({0, 0});
    return screen.X >= origin.X && screen.Y >= origin.Y && screen.X < origin.X + control.Width() &&
           screen.Y < origin.Y + control.Height();
  }

  // One step of the walk; answers what it did, for the failure messages.
  std::string Step() {
    const int kind = Pick(100);
    if (kind < 25) {
      const std::vector<int> points = PointsOn(ActivePage());
      const int n = points[size_t(Pick(int(points.size())))];
      ClickTestPoint(n);
      return "click test point " + std::to_string(n);
    }
    if (kind < 40) {
      const int tab = Pick(kPageCount);
      ClickTab(tab);
      return "click tab " + std::to_string(tab);
    }
    if (kind < 45) {
      TWkTabScroller& scroller = *Form1->WkPageControl1->Scroller();
      const int part = Pick(2) == 0 ? TWkTabScroller::partUpRight : TWkTabScroller::partDownLeft;
      const TRect half = scroller.PartRect(part);
      ClickAt(scroller, {(half.Left + half.Right) / 2, (half.Top + half.Bottom) / 2});
      return "click scroller part " + std::to_string(part);
    }
    if (kind < 70) return PressRandomKey();
    if (kind < 85) {
      const TCustomForm& form = Form2->Visible() && Pick(2) == 0 ? static_cast<TCustomForm&>(*Form2) : *Form1;
      Backend->MoveMouse(RandomPointIn(form));
      Settle();
      return "hover";
    }
    if (kind < 93) {
      // Anywhere but the Close button, which would end the walk.
      TPoint p = RandomPointIn(*Form1);
      if (Covers(*Form1->WkBitBtn1, p)) p = Form1->WkBitBtn2->ClientToScreen({4, 4});
      Backend->Click(p);
      Settle();
      return "click at " + std::to_string(p.X) + "," + std::to_string(p.Y);
    }
    if (Form2->Visible()) {
      CloseBox(*Form2);
      return "close About";
    }
    ClickControl(*Form1->WkBitBtn2);
    return "click About";
  }

  std::string PressRandomKey() {
    const TWinControl* focused = Screen()->ActiveControl();
    switch (Pick(8)) {
      case 0: Key(vkTab, imCtrl); return "Ctrl+Tab";
      case 1: Key(vkTab, imCtrl | imShift); return "Ctrl+Shift+Tab";
      case 2: Key(vkTab); return "Tab";
      case 3: Key(vkTab, imShift); return "Shift+Tab";
      case 4:
        // Down repeats a focused radio button's click: its photograph comes back.
        if (MainWindowActive())
          for (int n = 1; n <= kTestPointCount; ++n)
            if (focused == Form1->TestPointButton(n) && Checked(n)) Shown = n;
        Key(vkDown);
        return "Down";
      case 5: Key(vkUp); return "Up";
      case 6: Key(Pick(2) == 0 ? vkLeft : vkRight); return "Left or Right";
      default:
        // Space presses the focused push button; on Close it would end the walk.
        if (focused == Form1->WkBitBtn1) return "(no Space on Close)";
        Key(vkSpace);
        return "Space";
    }
  }

  // The catalogue's rules after a step; the model follows the buttons that became checked.
  void CheckInvariants(const std::string& step, TWkTabSheet* pageBefore) {
    SCOPED_TRACE("step " + std::to_string(Steps) + " (" + step + "), seed " + std::to_string(Seed));
    std::array<int, kPageCount + 1> checkedOnPage{};
    int newlyChecked = 0;
    for (int n = 1; n <= kTestPointCount; ++n) {
      const bool now = Checked(n), before = WasChecked[size_t(n - 1)];
      if (now != before) {
        ASSERT_TRUE(PageOf(n) == pageBefore || PageOf(n) == ActivePage())
            << "test point " << n << " changed on a page that was not open";
      }
      if (now && !before) {
        ++newlyChecked;
        Shown = n;
      }
      if (now && !before) ++Choices;
      if (now) ++checkedOnPage[size_t(PageOf(n)->PageIndex())];
      if (before && !now) {
        bool replaced = false;
        for (int other : PointsOn(PageOf(n))) replaced = replaced || (other != n && Checked(other));
        ASSERT_TRUE(replaced) << "test point " << n << " was unchecked without another on its page";
      }
      WasChecked[size_t(n - 1)] = now;
    }
    ASSERT_LE(newlyChecked, 1) << "one step checks at most one test point";
    for (int page = 0; page < kPageCount; ++page) ASSERT_LE(checkedOnPage[size_t(page)], 1) << "page " << page;
    ASSERT_NE(ActivePage(), Form1->TabSheet6) << "the hidden page was reached";
    PagesSeen[size_t(ActivePage()->PageIndex())] = true;
    AboutOpenings += Form2->Visible() && !AboutWasVisible;
    AboutWasVisible = Form2->Visible();
    ASSERT_EQ(VisibleImages(), Shown == 0 ? "" : Form1->TestPointImage(Shown)->Name());
    if (MainWindowActive()) {
      const TWinControl* focus = Form1->ActiveControl();
      ASSERT_NE(focus, nullptr);
      // The arrow keys' dialog navigation also visits the page control, whose own arrow keys
      // then switch the pages.
      const bool outsidePages =
          focus == Form1->WkBitBtn1 || focus == Form1->WkBitBtn2 || focus == Form1->WkPageControl1;
      ASSERT_TRUE(outsidePages || focus->Parent() == ActivePage()) << "the focus is on " << focus->Name();
      for (int n = 1; n <= kTestPointCount; ++n)
        ASSERT_TRUE(focus != Form1->TestPointButton(n) || Checked(n)) << "focused test point " << n << " is not checked";
    }
  }

  // Every page and every test point once, and About opened and closed, so that every
  // photograph is decoded and every window surface made before the heap is first measured.
  void Tour() {
    for (int tab = 0; tab < kPageCount; ++tab) {
      ClickTab(tab);
      CheckInvariants("tour tab", ActivePage());
      for (int n : PointsOn(ActivePage())) {
        TWkTabSheet* page = ActivePage();
        ClickTestPoint(n);
        CheckInvariants("tour test point", page);
        Wait(500);
      }
    }
    ClickControl(*Form1->WkBitBtn2);
    Wait(2000);
    CloseBox(*Form2);
    CheckInvariants("tour About", ActivePage());
  }

  uint64_t Seed = EnvNumber("VELMORATH_SOAK_SEED", 20261209);
  std::mt19937 Random;
  std::array<bool, kTestPointCount> WasChecked{};
  int Shown = 0;  // the test point whose photograph shows; 0 before the first choice
  // What the walk did, so that a walk whose input goes nowhere fails too.
  int Choices = 0, AboutOpenings = 0;
  bool AboutWasVisible = false;
  std::array<bool, kPageCount> PagesSeen{};
  uint64_t Now = 0;
  long Steps = 0;
};

TEST_F(Soak, AnHourOfRandomUseKeepsTheCatalogueRightAndTheHeapLevel) {
  const uint64_t endMs = EnvNumber("VELMORATH_SOAK_MINUTES", 60) * 60'000;
  ASSERT_GE(endMs, 120'000u) << "the soak needs at least two minutes";
  Tour();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_LT(Now, 60'000u) << "the tour fits in the first minute";
  size_t heapAtMinute = 0;
  while (Now < endMs) {
    TWkTabSheet* page = ActivePage();
    const std::string step = Step();
    ++Steps;
    CheckInvariants(step, page);
    if (HasFatalFailure()) return;
    if (Form1 == nullptr || !Form1->Visible()) FAIL() << "the main window closed at step " << Steps;
    const uint64_t before = Now;
    Wait(kSliceMs * uint64_t(1 + Pick(30)));
    if (before < 60'000 && Now >= 60'000) heapAtMinute = HeapInUse();
  }
  // The end state once more, after the last ticks.
  CheckInvariants("end", ActivePage());
  const size_t heapAtEnd = HeapInUse();
  const double change = (double(heapAtEnd) - double(heapAtMinute)) / double(heapAtMinute);
  std::printf("soak: seed %llu, %llu virtual minutes, %ld steps, invariants checked after each; %d test points "
              "chosen, About opened %d times; heap in use %zu bytes at minute 1, %zu at the end (%+.3f %%)\n",
              (unsigned long long)Seed, (unsigned long long)(endMs / 60'000), Steps, Choices, AboutOpenings,
              heapAtMinute, heapAtEnd, change * 100);
  RecordProperty("steps", int(Steps));
  RecordProperty("heap_at_minute_1", std::to_string(heapAtMinute));
  RecordProperty("heap_at_end", std::to_string(heapAtEnd));
  EXPECT_GT(heapAtMinute, 0u);
  for (int page = 0; page < kPageCount; ++page) EXPECT_TRUE(PagesSeen[size_t(page)]) << "page " << page;
  EXPECT_GT(Choices, int(endMs / 60'000)) << "about one choice a minute at least";
  EXPECT_GT(AboutOpenings, 1);
  EXPECT_LE(std::abs(change), 0.01) << "the heap in use grew or shrank by more than 1 %";
}
}  // namespace
