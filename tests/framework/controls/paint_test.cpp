// Invalidation, paint order, clipping and opaque controls, checked on the presented pixels.
#include "tests/framework/controls/test_controls.h"
#include "framework/graphics/canvas_text.h"

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

// ---- the paint invariant, one fault at a time ----

TEST_F(ControlsTest, ChildRepaintedAtOnceIsNotPaintedOverByItsParentsPendingPaint) {
  auto top = MakeTopLevel(clWhite);
  auto* button = AddWindow(top.get(), "Button", {20, 20, 60, 40}, clGreen);
  System.ProcessMessages();
  top->Invalidate();  // the page opens ...
  button->Fill = clBlue;
  button->Repaint();  // ... and the button, checked and focused, repaints at once
  EXPECT_EQ(Shown(*top, 30, 30), 0xFF0000u) << "shown at once";
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0xFF0000u) << "still there after the parent's paint";
  EXPECT_EQ(Shown(*top, 10, 10), 0xFFFFFFu);
}

TEST_F(ControlsTest, ClippingContainerKeepsItsChildWindowsWhenTheFormRepaints) {
  auto top = MakeTopLevel(clWhite);
  auto* pages = AddWindow(top.get(), "Pages", {10, 10, 110, 90}, clYellow);
  pages->SetClipChildren(true);
  auto* sheet = AddWindow(pages, "Sheet", {5, 5, 95, 75}, clSilver);
  auto* radio = AddWindow(sheet, "Radio", {10, 10, 40, 30}, clGreen);
  System.ProcessMessages();
  top->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 12, 12), 0x00FFFFu) << "the container";
  EXPECT_EQ(Shown(*top, 17, 17), 0xC0C0C0u) << "its child";
  EXPECT_EQ(Shown(*top, 30, 30), 0x008000u) << "its grandchild";
  EXPECT_EQ(radio->Paints, 2);
}

TEST_F(ControlsTest, OpaqueDirectPaintLeavesTheChildWindowsAboveItAlone) {
  auto top = MakeTopLevel(clWhite);
  auto* banner = AddGraphic(top.get(), "Banner", {10, 10, 110, 40}, clBlue);
  banner->SetOpaque(true);
  auto* window = AddWindow(top.get(), "Window", {50, 20, 80, 60}, clGreen);
  System.ProcessMessages();
  banner->Fill = clRed;
  banner->Repaint();
  EXPECT_EQ(Shown(*top, 20, 20), 0x0000FFu) << "painted directly";
  EXPECT_EQ(Shown(*top, 60, 25), 0x008000u) << "the window above is not painted over";
  EXPECT_EQ(window->Paints, 1);
  EXPECT_EQ(banner->ExposedRegion(), TRegion({0, 0, 100, 30}).Combine(TRegion({40, 10, 70, 30}), roDiff));
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 60, 25), 0x008000u);
}

TEST_F(ControlsTest, WindowSentBackUncoversItsSiblingUnderAClippingParent) {
  auto top = MakeTopLevel(clWhite);
  top->SetClipChildren(true);
  auto* lower = AddWindow(top.get(), "Lower", {10, 10, 50, 50}, clGreen);
  AddWindow(top.get(), "Upper", {30, 30, 70, 70}, clBlue);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 40, 40), 0xFF0000u);
  lower->BringToFront();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 40, 40), 0x008000u);
  lower->SendToBack();
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 40, 40), 0xFF0000u);
}

TEST_F(ControlsTest, MovingAClippingWindowRepaintsTheWindowsInsideIt) {
  auto top = MakeTopLevel(clWhite);
  auto* panel = AddWindow(top.get(), "Panel", {10, 10, 60, 60}, clYellow);
  panel->SetClipChildren(true);
  AddWindow(panel, "Inner", {10, 10, 30, 30}, clGreen);
  System.ProcessMessages();
  panel->SetLeft(100);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 115, 25), 0x008000u) << "the inner window moved with its parent";
  EXPECT_EQ(Shown(*top, 25, 25), 0xFFFFFFu) << "its old place shows the form";
}

TEST_F(ControlsTest, OpaqueWindowIsNotErasedAndOthersAre) {
  auto top = MakeTopLevel(clWhite);
  auto* plain = AddWindow(top.get(), "Plain", {0, 0, 20, 20}, clGreen);
  auto* opaque = AddWindow(top.get(), "Opaque", {30, 0, 50, 20}, clGreen);
  auto style = opaque->ControlStyle();
  style.Include(csOpaque);
  opaque->SetControlStyle(style);
  System.ProcessMessages();
  auto erased = [](TRecordingWindow* w) {
    return std::count(w->Messages.begin(), w->Messages.end(), msgEraseBackground);
  };
  plain->Messages.clear();
  opaque->Messages.clear();
  plain->Invalidate();
  opaque->Invalidate();
  opaque->InvalidateRect({0, 0, 5, 5}, true);
  System.ProcessMessages();
  EXPECT_EQ(erased(plain), 1);
  EXPECT_EQ(erased(opaque), 0);
  EXPECT_EQ(opaque->Paints, 2);
  plain->Repaint(false);
  EXPECT_EQ(erased(plain), 1) << "repainted without erasing";
  EXPECT_EQ(plain->Paints, 3);
}

TEST_F(ControlsTest, WindowlessRectangleInvalidationRepaintsOnlyThatPart) {
  auto top = MakeTopLevel(clWhite);
  auto* g = AddGraphic(top.get(), "G", {20, 20, 60, 60}, clBlue);
  System.ProcessMessages();
  g->Fill = clRed;
  g->InvalidateRect({5, 5, 10, 10}, false);
  g->InvalidateRect({-50, -50, 100, 2}, true);  // only the part inside the control counts
  EXPECT_EQ(top->InvalidRegion(),
            TRegion({25, 25, 30, 30}).Combine(TRegion({20, 20, 60, 22}), roOr));
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 26, 26), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 40, 20), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 40, 40), 0xFF0000u) << "outside the invalidated parts";
  EXPECT_EQ(Shown(*top, 40, 10), 0xFFFFFFu);
}

namespace {
// A label that draws its text right-aligned at its right edge, and one that leaves the
// context's text alignment as it finds it.
class TRightLabel : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetStyle(bsClear);
    Canvas().SetTextAlign(talRight);
    Canvas().Handle().State().StretchMode = smHalftone;
    Canvas().Handle().Save();  // left unbalanced on purpose
    Canvas().TextOut(Width(), 0, "Right");
  }
};
class TPlainLabel : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  int SeenAlign = -1;
  TStretchMode SeenStretch = smHalftone;
  int SeenDepth = -1;

 protected:
  void Paint() override {
    SeenAlign = Canvas().TextAlign();
    SeenStretch = Canvas().Handle().State().StretchMode;
    SeenDepth = Canvas().Handle().SaveDepth();
    Canvas().Brush().SetStyle(bsClear);
    Canvas().TextOut(2, 0, "Left");
  }
};
}  // namespace

TEST_F(ControlsTest, ARightAlignedLabelLeavesItsSiblingsTextAlone) {
  auto top = MakeTopLevel(clWhite);
  auto* right = new TRightLabel(top.get());
  right->SetBounds(10, 10, 80, 20);
  right->SetParent(top.get());
  auto* plain = new TPlainLabel(top.get());
  plain->SetBounds(10, 40, 80, 20);
  plain->SetParent(top.get());
  System.ProcessMessages();
  EXPECT_EQ(plain->SeenAlign, talLeft);
  EXPECT_EQ(plain->SeenStretch, smColorOnColor);
  int inked = 0;
  for (int x = 12; x < 40; ++x)
    for (int y = 40; y < 60; ++y) inked += Shown(*top, x, y) != 0xFFFFFFu;
  EXPECT_GT(inked, 10) << "the text starts at its own left edge";
  const int depthAfterSibling = plain->SeenDepth;
  right->SetVisible(false);
  plain->Invalidate();
  System.ProcessMessages();
  EXPECT_EQ(plain->SeenDepth, depthAfterSibling) << "a save left open by the sibling does not reach it";
}

// ---- the loop paints before it waits ----

namespace {
// Lights up while the pointer is over it, as a hot-tracking button does.
class THotGraphic : public TRecordingGraphic {
 public:
  using TRecordingGraphic::TRecordingGraphic;

 protected:
  void MouseEnter(TMessage& m) override {
    TRecordingGraphic::MouseEnter(m);
    Fill = clYellow;
    Invalidate();
  }
  void MouseLeave(TMessage& m) override {
    TRecordingGraphic::MouseLeave(m);
    Fill = clBlue;
    Invalidate();
  }
};
}  // namespace

TEST_F(ControlsTest, HoverLightsUpInTheSamePassWithNoTimerRunning) {
  auto top = MakeTopLevel(clWhite);
  auto* hot = new THotGraphic(top.get());
  hot->SetBounds(20, 20, 40, 40);
  hot->SetParent(top.get());
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0xFF0000u);
  Backend->MoveMouse(Screen(*top, 30, 30));
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0x00FFFFu) << "lit in the pass that saw the pointer arrive";
  Backend->MoveMouse(Screen(*top, 150, 100));
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0xFF0000u);
}

TEST_F(ControlsTest, WhatWasInvalidatedBetweenPassesIsPaintedBeforeTheLoopWaits) {
  auto top = MakeTopLevel(clWhite);
  System.ProcessMessages();
  top->Fill = clRed;
  top->Invalidate();
  EXPECT_TRUE(System.PaintPending());
  const int wakeUps = Backend->WakeUps();
  System.HandleMessage();
  EXPECT_EQ(Backend->WakeUps(), wakeUps) << "painted without waiting first";
  EXPECT_EQ(Shown(*top, 5, 5), 0x0000FFu);
  EXPECT_FALSE(System.PaintPending());
}

// An idle pass does not walk the windows again until something could have become due for
// paint; whatever does must still be found.
TEST_F(ControlsTest, AfterAPassFoundNothingToPaintEveryKindOfChangeIsStillFound) {
  auto top = MakeTopLevel(clWhite);
  auto* outer = new TRecordingWindow(top.get());
  outer->SetBounds(10, 10, 100, 80);
  outer->SetParent(top.get());
  auto* inner = new TRecordingWindow(outer);
  inner->SetBounds(5, 5, 40, 30);
  inner->SetParent(outer);
  System.ProcessMessages();
  ASSERT_FALSE(System.PaintPending());

  inner->Fill = clLime;
  inner->Invalidate();
  EXPECT_TRUE(System.PaintPending()) << "a window two levels down made invalid";
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 20, 20), 0x00FF00u);
  EXPECT_FALSE(System.PaintPending());

  outer->SetVisible(false);
  System.ProcessMessages();
  EXPECT_FALSE(System.PaintPending());
  inner->Fill = clBlue;
  inner->Invalidate();
  EXPECT_FALSE(System.PaintPending()) << "invalid inside a hidden window";
  outer->SetVisible(true);
  EXPECT_TRUE(System.PaintPending()) << "shown again";
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 20, 20), 0xFF0000u);

  // A top-level window made invalid before it has a platform window paints once it has one.
  auto second = std::make_unique<TRecordingWindow>(nullptr);
  second->SetBounds(400, 50, 60, 60);
  second->Fill = clYellow;
  second->Invalidate();
  EXPECT_FALSE(System.PaintPending());
  second->CreatePlatformWindow(*Backend);
  EXPECT_TRUE(System.PaintPending());
  System.ProcessMessages();
  EXPECT_EQ(Shown(*second, 5, 5), 0x00FFFFu);
  EXPECT_FALSE(System.PaintPending());
}
