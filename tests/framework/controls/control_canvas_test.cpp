// A control's canvas outside its paint: placed at the control, clipped to what shows of
// it, with its own drawing state, presented at once; and the canvas during erase.
#include "framework/graphics/canvas_text.h"
#include "tests/framework/controls/test_controls.h"

namespace {
void FillAll(TCanvas& canvas, TColor color) {
  canvas.Brush().SetColor(color);
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect({-100, -100, 400, 400});
}

// Erases with its own canvas: a yellow band across the top over its colour.
class TBandedWindow : public TRecordingWindow {
 public:
  using TRecordingWindow::TRecordingWindow;

 protected:
  void EraseBackground(TMessage& m) override {
    TRecordingWindow::EraseBackground(m);
    Canvas().Brush().SetColor(clYellow);
    Canvas().FillRect({0, 0, Width(), 5});
  }
  void Paint() override { ++Paints; }
};
}  // namespace

TEST_F(ControlsTest, WindowlessCanvasOutsidePaintDrawsOnlyWhatShowsAndAtOnce) {
  auto top = MakeTopLevel(clWhite);
  auto* clock = AddGraphic(top.get(), "Clock", {20, 20, 80, 40}, clBlue);
  AddGraphic(top.get(), "Above", {70, 20, 90, 40}, clGreen);
  AddWindow(top.get(), "Window", {20, 35, 40, 60}, clLime);
  System.ProcessMessages();
  const int presents = Platform(*top).PresentCount();
  FillAll(clock->Canvas(), clRed);
  EXPECT_EQ(Platform(*top).PresentCount(), presents + 1) << "presented by the drawing itself";
  EXPECT_EQ(Shown(*top, 30, 25), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 75, 25), 0x008000u) << "the control above it";
  EXPECT_EQ(Shown(*top, 30, 37), 0x00FF00u) << "the window above it";
  EXPECT_EQ(Shown(*top, 30, 45), 0x00FF00u);
  EXPECT_EQ(Shown(*top, 10, 10), 0xFFFFFFu) << "outside the control";
  EXPECT_EQ(clock->Paints, 1) << "no paint message involved";
  EXPECT_EQ(clock->Canvas().ClipRect(), (TRect{0, 0, 50, 20})) << "less the control above";
}

TEST_F(ControlsTest, CanvasOutsidePaintFollowsTheControlAndKeepsItsOwnState) {
  auto top = MakeTopLevel(clWhite);
  auto* g = AddGraphic(top.get(), "G", {20, 20, 40, 40}, clBlue);
  System.ProcessMessages();
  g->Canvas().SetTextAlign(talRight);
  g->SetLeft(100);
  System.ProcessMessages();
  FillAll(g->Canvas(), clRed);
  EXPECT_EQ(Shown(*top, 105, 25), 0x0000FFu) << "drawn at the new place";
  EXPECT_EQ(Shown(*top, 25, 25), 0xFFFFFFu);
  EXPECT_EQ(g->Canvas().TextAlign(), talRight) << "its state outlives the move";
  g->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 105, 25), 0xFF0000u) << "the paint draws over it as usual";
  EXPECT_EQ(g->Canvas().TextAlign(), talRight) << "and leaves that state alone";
}

TEST_F(ControlsTest, CanvasOfAControlThatDoesNotShowDrawsNowhere) {
  auto top = MakeTopLevel(clWhite);
  auto* g = AddGraphic(top.get(), "G", {20, 20, 40, 40}, clBlue);
  auto* w = AddWindow(top.get(), "W", {50, 20, 70, 40}, clLime);
  System.ProcessMessages();
  g->SetVisible(false);
  w->SetVisible(false);
  System.ProcessMessages();
  const int presents = Platform(*top).PresentCount();
  FillAll(g->Canvas(), clRed);
  FillAll(w->Canvas(), clRed);
  EXPECT_EQ(Platform(*top).PresentCount(), presents);
  EXPECT_EQ(Shown(*top, 25, 25), 0xFFFFFFu);
  EXPECT_EQ(Shown(*top, 55, 25), 0xFFFFFFu);
  TRecordingGraphic orphan(nullptr);
  FillAll(orphan.Canvas(), clRed);  // no parent, no window: nothing to draw on
  EXPECT_TRUE(orphan.Canvas().ClipRect().IsEmpty());
}

TEST_F(ControlsTest, WindowedCanvasOutsidePaintLeavesItsChildWindowsAlone) {
  auto top = MakeTopLevel(clWhite);
  auto* panel = AddWindow(top.get(), "Panel", {10, 10, 90, 90}, clLime);
  AddWindow(panel, "Inner", {10, 10, 30, 30}, clBlue);
  System.ProcessMessages();
  FillAll(panel->Canvas(), clRed);
  EXPECT_EQ(Shown(*top, 15, 15), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 25, 25), 0xFF0000u) << "the child window stays on top";
}

TEST_F(ControlsTest, CanvasIsUsableDuringErase) {
  auto top = MakeTopLevel(clWhite);
  auto* w = new TBandedWindow(top.get());
  w->SetBounds(10, 10, 50, 30);
  w->SetColor(clNavy);
  w->SetParent(top.get());
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 20, 12), 0x00FFFFu) << "the band erase drew with Canvas()";
  EXPECT_EQ(Shown(*top, 20, 30), 0x800000u) << "the erase colour below it";
  EXPECT_EQ(w->Paints, 1);
}
