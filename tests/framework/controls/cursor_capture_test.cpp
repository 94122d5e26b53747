// The pointer's shape over the controls, and the mouse capture being taken away.
#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, PointerTakesTheCursorOfTheControlUnderItOrItsParent) {
  auto top = MakeTopLevel();
  auto* link = AddGraphic(top.get(), "Link", {10, 10, 50, 30}, clBlue);
  link->SetCursor(crHandPoint);
  auto* edit = AddWindow(top.get(), "Edit", {60, 10, 160, 60}, clWhite);
  edit->SetCursor(crIBeam);
  AddGraphic(edit, "Inside", {5, 5, 20, 20}, clRed);
  auto* sizer = AddWindow(top.get(), "Sizer", {10, 80, 30, 100}, clGray);
  sizer->SetCursor(crSizeWE);
  System.ProcessMessages();
  auto shapeAt = [&](int x, int y) {
    Backend->MoveMouse(Screen(*top, x, y));
    System.ProcessMessages();
    return Backend->CursorShape();
  };
  EXPECT_EQ(shapeAt(20, 20), TCursorShape::HandPoint);
  EXPECT_EQ(shapeAt(100, 40), TCursorShape::IBeam);
  EXPECT_EQ(shapeAt(70, 20), TCursorShape::IBeam) << "a child left at crDefault shows its parent's";
  EXPECT_EQ(shapeAt(20, 90), TCursorShape::SizeWE);
  EXPECT_EQ(shapeAt(180, 120), TCursorShape::Arrow) << "the form's default";
  shapeAt(20, 20);
  link->SetCursor(crHourGlass);
  EXPECT_EQ(Backend->CursorShape(), TCursorShape::Wait) << "a change shows at once";
}

TEST_F(ControlsTest, EveryCursorValueHasAShape) {
  EXPECT_EQ(CursorShapeOf(crDefault), TCursorShape::Arrow);
  EXPECT_EQ(CursorShapeOf(crArrow), TCursorShape::Arrow);
  EXPECT_EQ(CursorShapeOf(crNone), TCursorShape::Hidden);
  EXPECT_EQ(CursorShapeOf(crSizeNS), TCursorShape::SizeNS);
  EXPECT_EQ(CursorShapeOf(crSizeNWSE), TCursorShape::SizeNWSE);
  EXPECT_EQ(CursorShapeOf(crSizeAll), TCursorShape::SizeAll);
  EXPECT_EQ(CursorShapeOf(crNo), TCursorShape::No);
  EXPECT_EQ(CursorShapeOf(TCursor(-99)), TCursorShape::Arrow) << "a value no shape is known for";
}

namespace {
// Counts the cancel-mode hook.
class TCancelledWindow : public TRecordingWindow {
 public:
  using TRecordingWindow::TRecordingWindow;
  int Cancels = 0;

 protected:
  void CancelMode(TMessage& m) override {
    TRecordingWindow::CancelMode(m);
    ++Cancels;
  }
};
}  // namespace

class CaptureTest : public ControlsTest {
 protected:
  std::unique_ptr<TRecordingWindow> Top = MakeTopLevel();
  TCancelledWindow* Button = nullptr;
  void SetUp() override {
    Button = new TCancelledWindow(Top.get());
    Button->SetName("Button");
    Button->Log = &Log;
    Button->SetBounds(10, 10, 50, 30);
    Button->SetParent(Top.get());
    Button->FOnClick = [this](TObject*) { Log.push_back("clicked"); };
    System.ProcessMessages();
  }
  void Press() {
    Backend->PressMouse(ibLeft, Screen(*Top, 20, 20));
    System.ProcessMessages();
    ASSERT_EQ(System.CaptureControl(), Button);
  }
  void ReleaseOver() {
    Backend->ReleaseMouse(ibLeft, Screen(*Top, 20, 20));
    System.ProcessMessages();
  }
  bool Clicked() const { return std::find(Log.begin(), Log.end(), "clicked") != Log.end(); }
};

TEST_F(CaptureTest, AReleaseEndsTheCaptureWithoutCancelling) {
  Press();
  ReleaseOver();
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(Button->Cancels, 0);
  EXPECT_TRUE(Clicked());
}

TEST_F(CaptureTest, DeactivatingTheWindowCancelsTheCapture) {
  Press();
  Backend->InjectWindowEvent(Top->PlatformWindow(), TInputKind::WindowDeactivate);
  System.ProcessMessages();
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(Button->Cancels, 1);
  ReleaseOver();
  EXPECT_FALSE(Clicked()) << "the press was cancelled";
}

TEST_F(CaptureTest, HidingOrDisablingTheHolderOrItsParentCancelsTheCapture) {
  Press();
  Button->SetEnabled(false);
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(Button->Cancels, 1);
  Button->SetEnabled(true);
  ReleaseOver();
  Press();
  Top->SetVisible(false);
  EXPECT_EQ(System.CaptureControl(), nullptr);
  EXPECT_EQ(Button->Cancels, 2);
}
