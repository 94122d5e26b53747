// Invalidation, paint order, clipping and opaque controls, checked on the presented pixels.
#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, FirstPassPaintsTheWholeWindowOnce) {
  auto top = MakeTopLevel(clWhite);
  System.ProcessMessages();
  EXPECT_EQ(top->Paints, 1);
  EXPECT_EQ(Shown(*top, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Shown(*top, 199, 149), 0xFFFFFFu);
  System.ProcessMessages();
  EXPECT_EQ(top->Paints, 1) << "nothing invalid, nothing painted";
}

TEST_F(ControlsTest, InvalidationsCoalesceAndOnlyInvalidAreasRepaint) {
  auto top = MakeTopLevel(clWhite);
  System.ProcessMessages();
  top->Fill = clRed;
  top->InvalidateRect({10, 10, 20, 20}, true);
  top->InvalidateRect({10, 10, 20, 20}, true);
  top->InvalidateRect({50, 30, 60, 40}, false);
  System.ProcessMessages();
  EXPECT_EQ(top->Paints, 2) << "three invalidations, one paint";
  EXPECT_EQ(top->LastClipBox, (TRect{10, 10, 60, 40}));
  EXPECT_EQ(Shown(*top, 10, 10), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 19, 19), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 55, 35), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 20, 20), 0xFFFFFFu) << "outside the invalid rectangles";
  EXPECT_EQ(Shown(*top, 30, 15), 0xFFFFFFu) << "inside the bounding box, outside the region";
  EXPECT_EQ(Platform(*top).LastPresentRect(), (TRect{10, 10, 60, 40}));
}

TEST_F(ControlsTest, UpdatePaintsAtOnceAndRepaintInvalidatesFirst) {
  auto top = MakeTopLevel(clWhite);
  System.ProcessMessages();
  top->Fill = clLime;
  top->InvalidateRect({0, 0, 5, 5}, true);
  top->Update();
  EXPECT_EQ(top->Paints, 2);
  EXPECT_EQ(Shown(*top, 2, 2), 0x00FF00u);
  EXPECT_EQ(Shown(*top, 6, 6), 0xFFFFFFu);
  top->Repaint();
  EXPECT_EQ(top->Paints, 3);
  EXPECT_EQ(Shown(*top, 100, 100), 0x00FF00u);
}

TEST_F(ControlsTest, WindowlessChildrenPaintInZOrderClippedToThemselves) {
  auto top = MakeTopLevel(clWhite);
  auto* low = AddGraphic(top.get(), "Low", {10, 10, 60, 60}, clRed);
  auto* high = AddGraphic(top.get(), "High", {40, 40, 90, 90}, clBlue);
  high->Overdraw = true;
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 20, 20), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 50, 50), 0xFF0000u) << "the later child is on top";
  EXPECT_EQ(Shown(*top, 89, 89), 0xFF0000u);
  EXPECT_EQ(Shown(*top, 90, 90), 0xFFFFFFu) << "overdraw beyond the bounds is clipped";
  EXPECT_EQ(Shown(*top, 5, 5), 0xFFFFFFu);
  low->BringToFront();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 50, 50), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 70, 70), 0xFF0000u);
}

TEST_F(ControlsTest, ChildWindowsCoverWindowlessSiblingsAndClipToEachOther) {
  auto top = MakeTopLevel(clWhite);
  auto* win = AddWindow(top.get(), "Win", {30, 30, 80, 80}, clLime);
  auto* later = AddGraphic(top.get(), "Later", {60, 60, 120, 120}, clBlue);
  auto* upper = AddWindow(top.get(), "Upper", {70, 20, 100, 40}, clYellow);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 65, 65), 0x00FF00u) << "a window is above every window-less control";
  EXPECT_EQ(Shown(*top, 90, 90), 0xFF0000u);
  EXPECT_EQ(Shown(*top, 75, 35), 0x00FFFFu) << "the later sibling window is on top";
  EXPECT_EQ(Shown(*top, 75, 45), 0x00FF00u);
  EXPECT_EQ(win->VisibleRegion().BoundingBox(), (TRect{0, 0, 50, 50}));
  EXPECT_FALSE(win->VisibleRegion().PointIn(45, 5)) << "covered by Upper";
  // Repainting the lower window never draws over the upper one.
  win->Fill = clPurple;
  win->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 75, 35), 0x00FFFFu);
  EXPECT_EQ(Shown(*top, 35, 35), 0x800080u);
  EXPECT_EQ(later->Paints, 1) << "the child window's repaint leaves the parent's controls alone";
  EXPECT_EQ(upper->Paints, 1);
}

TEST_F(ControlsTest, ClipChildrenKeepsTheParentOffItsChildWindows) {
  auto top = MakeTopLevel(clWhite);
  auto* child = AddWindow(top.get(), "Child", {10, 10, 30, 30}, clLime);
  top->SetClipChildren(true);
  System.ProcessMessages();
  top->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(child->Paints, 1) << "invalidating a clipping parent leaves the child valid";
  EXPECT_EQ(Shown(*top, 15, 15), 0x00FF00u);
  top->SetClipChildren(false);
  top->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(child->Paints, 2) << "without clipping the child repaints over its parent";
  EXPECT_EQ(Shown(*top, 15, 15), 0x00FF00u);
}

// The top-level erases in yellow; a control that draws only its outline shows whatever
// was under it: the parent's background when not opaque, the old pixels when opaque.
TEST_F(ControlsTest, OpaqueWindowlessControlGetsNoBackgroundUnderIt) {
  auto top = MakeTopLevel(clWhite);
  top->SetColor(clYellow);
  auto* hollow = AddGraphic(top.get(), "Hollow", {20, 20, 40, 40}, clBlue);
  hollow->Hollow = true;
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0xFFFFFFu) << "the parent's paint shows through";
  EXPECT_EQ(Shown(*top, 20, 20), 0xFF0000u);

  hollow->SetOpaque(true);
  top->Fill = clRed;
  top->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0xFFFFFFu) << "neither erased nor painted by the parent";
  EXPECT_EQ(Shown(*top, 10, 10), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 20, 20), 0xFF0000u);
}

TEST_F(ControlsTest, OpaqueGraphicRepaintDrawsAtOnceWithoutTheParent) {
  auto top = MakeTopLevel(clWhite);
  auto* g = AddGraphic(top.get(), "G", {20, 20, 40, 40}, clBlue);
  auto* over = AddGraphic(top.get(), "Over", {30, 30, 50, 50}, clGreen);
  g->SetOpaque(true);
  System.ProcessMessages();
  const int parentPaints = top->Paints;
  g->Fill = clRed;
  g->Repaint();
  EXPECT_EQ(top->Paints, parentPaints);
  EXPECT_EQ(g->Paints, 2);
  EXPECT_EQ(Shown(*top, 25, 25), 0x0000FFu) << "shown without waiting for the loop";
  EXPECT_EQ(Shown(*top, 35, 35), 0x008000u) << "the sibling above stays on top";
  EXPECT_EQ(over->Paints, 1);
}

TEST_F(ControlsTest, HidingAndMovingInvalidateTheUncoveredArea) {
  auto top = MakeTopLevel(clWhite);
  auto* g = AddGraphic(top.get(), "G", {20, 20, 40, 40}, clBlue);
  System.ProcessMessages();
  g->SetLeft(60);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 25, 25), 0xFFFFFFu);
  EXPECT_EQ(Shown(*top, 65, 25), 0xFF0000u);
  g->SetVisible(false);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 65, 25), 0xFFFFFFu);
}
