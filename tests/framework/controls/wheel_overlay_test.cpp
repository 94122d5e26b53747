// The mouse wheel's road to a control, and an overlay above a top-level window's content.
#include "framework/controls/overlay.h"
#include "framework/graphics/draw_context.h"
#include "tests/framework/controls/test_controls.h"

using Strings = std::vector<std::string>;

namespace {
void RecordWheel(TControl* c, Strings& log) {
  c->FOnMouseWheel = [c, &log](TObject*, TShiftState shift, int notches, int x, int y) {
    log.push_back(c->Name() + " wheel " + std::to_string(notches) + " at " + std::to_string(x) + "," +
                  std::to_string(y) + (shift.Contains(ssCtrl) ? " ctrl" : ""));
  };
}

// A solid square that can be moved, telling its window as an overlay's holder must.
class TSquareOverlay : public TOverlay {
 public:
  TSquareOverlay(TWinControl& window, TColor color) : FWindow(window), FColor(color) { FWindow.SetOverlay(this); }
  ~TSquareOverlay() override { FWindow.SetOverlay(nullptr); }
  void MoveTo(const TRect& rect) {
    const TRegion old = FArea;
    FArea = TRegion(rect);
    FWindow.OverlayChanged(old);
  }
  const TRegion& OverlayArea() const override { return FArea; }
  void PaintOverlay(TBitmapImage& surface) override {
    TDrawContext(&surface).FillRegion(FArea, TBrushData{FColor, bsSolid, nullptr});
  }

 private:
  TWinControl& FWindow;
  TColor FColor;
  TRegion FArea;
};
}  // namespace

TEST_F(ControlsTest, TheWheelGoesToTheControlUnderThePointerOrToTheOneHoldingTheMouse) {
  auto top = MakeTopLevel();
  auto* panel = AddWindow(top.get(), "Panel", {50, 40, 150, 140}, clLime);
  auto* g = AddGraphic(panel, "G", {50, 50, 90, 90}, clBlue);
  auto* h = AddGraphic(top.get(), "H", {10, 10, 40, 30}, clRed);
  for (TControl* c : {static_cast<TControl*>(top.get()), static_cast<TControl*>(panel), static_cast<TControl*>(g),
                      static_cast<TControl*>(h)})
    RecordWheel(c, Log);
  System.ProcessMessages();
  Log.clear();
  Backend->TurnWheel(1, Screen(*top, 105, 95));  // g (5, 5) through the panel
  Backend->SetModifiers(imCtrl);
  Backend->TurnWheel(-2, Screen(*top, 60, 45));  // the panel (10, 5)
  Backend->SetModifiers(0);
  Backend->TurnWheel(3, Screen(*top, 5, 140));   // the top-level window itself
  Backend->TurnWheel(1, Screen(*top, 400, 400)); // outside every window: nobody
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"G wheel 1 at 5,5", "Panel wheel -2 at 10,5 ctrl", "Top wheel 3 at 5,140"}));
  // A press on H gives it the mouse: the wheel follows it wherever the pointer is.
  Log.clear();
  Backend->PressMouse(ibLeft, Screen(*top, 20, 20));
  Backend->TurnWheel(1, Screen(*top, 105, 95));
  Backend->ReleaseMouse(ibLeft, Screen(*top, 105, 95));
  Backend->TurnWheel(1, Screen(*top, 105, 95));
  System.ProcessMessages();
  EXPECT_EQ(Log, (Strings{"H down 10,10", "H wheel 1 at 95,85", "H up 95,85", "G wheel 1 at 5,5"}));
}

TEST_F(ControlsTest, AnOverlayCoversEveryPaintBeneathAndWhatItUncoversIsPaintedAgain) {
  auto top = MakeTopLevel();
  auto* panel = AddWindow(top.get(), "Panel", {50, 40, 150, 140}, clLime);
  auto* g = AddGraphic(top.get(), "G", {10, 10, 60, 60}, clBlue);
  g->SetOpaque(true);
  System.ProcessMessages();
  TSquareOverlay overlay(*top, clYellow);
  overlay.MoveTo({30, 30, 80, 80});  // over G, the panel and the window's own area
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 30, 30), 0x00FFFFu);
  EXPECT_EQ(Shown(*top, 79, 79), 0x00FFFFu);
  EXPECT_EQ(Shown(*top, 29, 29), 0xFF0000u) << "G beside it";
  EXPECT_EQ(Shown(*top, 80, 79), 0x00FF00u) << "the panel beside it";
  // Paint beneath it, by every road, leaves it alone.
  g->Fill = clRed;
  g->Repaint();
  panel->Fill = clBlack;
  panel->Invalidate();
  top->InvalidateWithChildren(top->ClientRect(), true);
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 35, 35), 0x00FFFFu);
  EXPECT_EQ(Shown(*top, 70, 70), 0x00FFFFu);
  EXPECT_EQ(Shown(*top, 20, 20), 0x0000FFu) << "G repainted beside it";
  EXPECT_EQ(Shown(*top, 90, 70), 0x000000u);
  // Moved, it uncovers what was beneath, painted as it is now; gone, it leaves nothing.
  overlay.MoveTo({100, 100, 120, 120});
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 35, 35), 0x0000FFu);
  EXPECT_EQ(Shown(*top, 70, 70), 0x000000u);
  EXPECT_EQ(Shown(*top, 40, 70), 0xFFFFFFu);
  EXPECT_EQ(Shown(*top, 110, 110), 0x00FFFFu);
  overlay.MoveTo({});
  System.ProcessMessages();
  EXPECT_EQ(Shown(*top, 110, 110), 0x000000u);
  EXPECT_FALSE(top->PaintPending());
}
