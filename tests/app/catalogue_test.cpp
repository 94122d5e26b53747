// The test-point catalogue: choosing test points with the mouse and the keyboard, page
// changes, and what the picture area shows.
#include <gtest/gtest.h>

#include "framework/controls/keys.h"
#include "pictures/image.h"
#include "tests/app/viewer_fixture.h"
#include "widgets/page_control.h"

namespace {
// Visible-tab indices of the pages, bottom tab first.
constexpr int kT610 = 0, kZ600 = 1, kZ800 = 2, kK600 = 4, kW550 = 6;

class Catalogue : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ShowMainWindow();
  }
  // Pixels of row `y` from `x0` up to `x1` (excluded) that differ from the window colour.
  int PictureCells(int y, int x0, int x1) const {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += MainPixel(x, y) != kSkyBlueRGB;
    return n;
  }
  int PictureCellsInColumn(int x, int y0, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) n += MainPixel(x, y) != kSkyBlueRGB;
    return n;
  }
};

TEST_F(Catalogue, TestPointW900ShowsItsPhotographFittedToItsBox) {
  ClickTestPoint(16);
  EXPECT_TRUE(Checked(16));
  EXPECT_EQ(VisibleImages(), "Image16");
  const TImage& image = *Form1->Image16;
  EXPECT_EQ((TPoint{image.Left(), image.Top()}), (TPoint{264, 64}));
  EXPECT_EQ(image.DestRect(), (TRect{0, 0, 448, 537}));
  // The photograph covers x 264..711 and y 64..600; the box's last column stays background.
  EXPECT_EQ(PictureCells(64, 264, 712), 448);
  EXPECT_EQ(PictureCells(600, 264, 712), 448) << "its lower edge is at y = 601";
  EXPECT_EQ(PictureCellsInColumn(712, 64, 614), 0);
  EXPECT_EQ(PictureCellsInColumn(264, 64, 601), 537);
  EXPECT_EQ(PictureCells(601, 264, 712), 0);
  EXPECT_EQ(PictureCells(600, 250, 264), 0) << "it does not touch the About button's column";
  if (HasFailure()) SaveMainWindow("velmorath_w900");
}

TEST_F(Catalogue, ASmallPhotographIsShownAtItsOwnSize) {
  ClickTab(kT610);
  EXPECT_EQ(Form1->WkPageControl1->ActivePage(), Form1->WkTabSheet1);
  ClickTestPoint(2);
  EXPECT_EQ(VisibleImages(), "Image2");
  EXPECT_EQ(Form1->Image2->DestRect(), (TRect{0, 0, 403, 168}));
  EXPECT_EQ(PictureCells(64 + 100, 264, 264 + 409), 403) << "not enlarged to its 409-pixel box";
  EXPECT_EQ(PictureCellsInColumn(264 + 100, 64, 64 + 169), 168);
}

TEST_F(Catalogue, TheSecondPointOfAPageUnchecksTheFirstAndReplacesItsPhotograph) {
  ClickTab(kK600);
  ClickTestPoint(9);
  EXPECT_EQ(VisibleImages(), "Image9");
  ClickTestPoint(10);
  EXPECT_EQ(VisibleImages(), "Image10");
  EXPECT_FALSE(Checked(9));
  EXPECT_TRUE(Checked(10));
}

TEST_F(Catalogue, AnAlreadyCheckedButtonDoesNotBringItsPhotographBack) {
  ClickTestPoint(14);  // page A: W550-W600-W900
  ClickTab(kZ800);     // page B: its first button takes the focus and is checked
  EXPECT_EQ(VisibleImages(), "Image5");
  ClickTestPoint(6);
  EXPECT_EQ(VisibleImages(), "Image6");
  ClickTab(kW550);
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkRadioButton14) << "the focus moves to the checked button";
  EXPECT_EQ(VisibleImages(), "Image6");
  ClickTestPoint(14);
  EXPECT_EQ(VisibleImages(), "Image6") << "a checked button fires no event";
  EXPECT_TRUE(Checked(14));
  EXPECT_TRUE(Checked(6)) << "each page keeps its own checked button";
  ClickTestPoint(15);
  ClickTestPoint(14);
  EXPECT_EQ(VisibleImages(), "Image14") << "choosing another button first brings it back";
}

TEST_F(Catalogue, ATabClickChangesNoPhotographBeforeTheFirstChoice) {
  ClickTab(kZ600);
  EXPECT_EQ(Form1->WkPageControl1->ActivePage(), Form1->WkTabSheet2);
  EXPECT_EQ(VisibleImages(), "");
  EXPECT_FALSE(Checked(3));
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkBitBtn1) << "the page control takes no focus";
}

TEST_F(Catalogue, ATabClickAfterAChoiceChecksTheNewPagesFirstPoint) {
  ClickTestPoint(14);
  ClickTab(kZ600);
  EXPECT_TRUE(Checked(3));
  EXPECT_EQ(VisibleImages(), "Image3");
  EXPECT_EQ(PictureCells(64 + 10, 264, 953), 689) << "Image3 shown 689 x 344";
  EXPECT_EQ(PictureCellsInColumn(264 + 10, 64, 614), 344);
}

TEST_F(Catalogue, CtrlTabOpensTheNextPageAndDownRepeatsTheFocusedButtonsClick) {
  ClickTab(kZ600);
  ClickTestPoint(3);
  Key(vkTab, imCtrl);
  EXPECT_EQ(Form1->WkPageControl1->ActivePage(), Form1->TabSheet1);
  EXPECT_TRUE(Checked(5)) << "the focus lands on Z800's first button";
  EXPECT_EQ(VisibleImages(), "Image5");
  Key(vkTab, imCtrl | imShift);
  EXPECT_EQ(Form1->WkPageControl1->ActivePage(), Form1->WkTabSheet2);
  EXPECT_EQ(Form1->ActiveControl(), Form1->WkRadioButton3);
  EXPECT_EQ(VisibleImages(), "Image5") << "Z600's checked button keeps its state and fires nothing";
  Key(vkDown);
  EXPECT_EQ(VisibleImages(), "Image3") << "Down fires the checked button's click again";
  EXPECT_TRUE(Checked(3));
}

TEST_F(Catalogue, TheHiddenEighthPageIsNeverReached) {
  TWkPageControl& pages = *Form1->WkPageControl1;
  ClickTestPoint(14);
  // Ctrl+Tab from the last visible page wraps past the hidden page to the first.
  for (int i = 0; i < 10; ++i) {
    Key(vkTab, imCtrl);
    EXPECT_NE(pages.ActivePage(), Form1->TabSheet6);
  }
  for (int i = 0; i < 10; ++i) {
    Key(vkTab, imCtrl | imShift);
    EXPECT_NE(pages.ActivePage(), Form1->TabSheet6);
  }
  // Clicking along the whole strip, scrolled both ways, never opens it either.
  for (int tab = 0; tab < 7; ++tab) {
    ClickTab(tab);
    EXPECT_NE(pages.ActivePage(), Form1->TabSheet6);
  }
  const TRect strip = pages.StripRect();
  for (int y = strip.Top; y < strip.Bottom; y += 4) {
    ClickAt(pages, {(strip.Left + strip.Right) / 2, y});
    EXPECT_NE(pages.ActivePage(), Form1->TabSheet6) << "y " << y;
  }
}
}  // namespace
