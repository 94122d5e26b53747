// The end-to-end demo: one dialog form on the desktop backend, run by the application,
// with three focusable blocks in tab order (Alt+1..3 are their accelerators), a strip
// that a 100 ms timer repaints, and a row of marks for typed characters. It reports what
// reaches it on standard output, one line per event, so that the driver can tell input
// that arrived from input that was only drawn.
#include <cstdio>
#include <memory>
#include <string>

#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/custom_form.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/timer.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "platform/desktop_backend.h"

namespace {
void Report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

class TDemoForm;

// A focusable block: grey, green once pressed (again: grey), blue after a double click;
// a black frame while it has the focus; a red corner after a press whose release came
// outside it (the mouse stayed with it). Space and Enter press it.
class TDemoBlock : public TCustomControl {
 public:
  TDemoBlock(TDemoForm& form, int index);
  void Press() {
    FPressed = !FPressed;
    Report(Name() + " pressed " + std::to_string(FPressed));
    Invalidate();
  }

 protected:
  void Paint() override;
  void Click() override {
    TCustomControl::Click();
    Press();
  }
  void DblClick() override {
    TCustomControl::DblClick();
    FDoubleClicked = true;
    Report(Name() + " double click");
    Invalidate();
  }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    Report(Name() + " down");
    SetFocus();
    TCustomControl::MouseDown(button, shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseUp(button, shift, x, y);
    if (ClientRect().Contains({x, y})) return;
    FReleasedOutside = true;
    Report(Name() + " released outside " + std::to_string(x) + "," + std::to_string(y));
    Invalidate();
  }
  void KeyDown(int& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DialogChar(TMessage& m) override {
    if (char(m.WParam) != char('1' + FIndex)) return;
    SetFocus();
    m.Result = 1;
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == msgSetFocus) Report("focus " + Name());
    if (m.Msg == msgSetFocus || m.Msg == msgKillFocus) Invalidate();
    TCustomControl::Dispatch(m);
  }

 private:
  TDemoForm& FForm;
  int FIndex;
  bool FPressed = false;
  bool FDoubleClicked = false;
  bool FReleasedOutside = false;
};

// White with a red square that steps 20 pixels to the right on every tick.
class TDemoTicker : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  // Answers the number of ticks so far.
  int Step() {
    ++FTicks;
    Invalidate();
    return FTicks;
  }

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clWhite);
    Canvas().FillRect(ClientRect());
    const int x = (FTicks * 20) % Width();
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({x, 0, x + 20, Height()});
  }

 private:
  int FTicks = 0;
};

// A navy mark for each typed character, on the form's background.
class TDemoMarks : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Add(char c) {
    FTyped += c;
    Invalidate();
  }

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clNavy);
    for (size_t i = 0; i < FTyped.size(); ++i) Canvas().FillRect(Bounds(int(i) * 12, 0, 10, 10));
  }

 private:
  std::string FTyped;
};

class TDemoForm : public TForm {
 public:
  explicit TDemoForm(TComponent* owner) : TForm(owner) {
    SetName("Demo");
    SetCaption("Velmorath demo");
    SetBorderStyle(bsDialog);
    SetColor(TColor(0xF0CAA6));  // sky blue
    SetBounds(140, 96, 320, 200);
    for (int i = 0; i < 3; ++i) new TDemoBlock(*this, i);
    FTicker = new TDemoTicker(this);
    FTicker->SetBounds(0, 180, 320, 20);
    FTicker->SetParent(this);
    FMarks = new TDemoMarks(this);
    FMarks->SetBounds(20, 100, 280, 10);
    FMarks->SetParent(this);
    auto* timer = new TTimer(this);
    timer->SetInterval(100);
    timer->FOnTimer = [this](TObject*) { Report("tick " + std::to_string(FTicker->Step())); };
    FOnActivate = [](TObject*) { Report("activate"); };
    FOnClose = [](TObject*, TCloseAction&) { Report("close"); };
  }
  void Typed(char c) { FMarks->Add(c); }

 private:
  TDemoTicker* FTicker = nullptr;
  TDemoMarks* FMarks = nullptr;
};

TDemoBlock::TDemoBlock(TDemoForm& form, int index) : TCustomControl(&form), FForm(form), FIndex(index) {
  SetName("Block" + std::to_string(index + 1));
  SetBounds(20 + index * 100, 20, 80, 40);
  SetTabStop(true);
  SetParent(&form);
  SetTabOrder(index);
}

void TDemoBlock::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  Report("key " + std::to_string(key) + (shift.Contains(ssAlt) ? " alt" : "") + (shift.Contains(ssShift) ? " shift" : ""));
  if (key != 13 && key != 32) return;
  Press();
  key = 0;
}

void TDemoBlock::KeyPress(char& key) {
  TCustomControl::KeyPress(key);
  if (key == ' ') return;
  // Control characters (Enter's 13) are reported by number and leave no mark.
  if (uint8_t(key) < 32) {
    Report("char " + std::to_string(int(uint8_t(key))));
    return;
  }
  Report("char " + std::string(1, key));
  FForm.Typed(key);
}

void TDemoBlock::Paint() {
  Canvas().Brush().SetColor(FDoubleClicked ? clBlue : FPressed ? clLime : clSilver);
  Canvas().FillRect(ClientRect());
  if (Focused()) {
    Canvas().Brush().SetColor(clBlack);
    for (int i = 0; i < 3; ++i) Canvas().FrameRect({i, i, Width() - i, Height() - i});
  }
  if (FReleasedOutside) {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({Width() - 10, 0, Width(), 10});
  }
}

// A 32 x 32 icon: a yellow square on blue.
std::unique_ptr<TBitmap> MakeIcon() {
  auto icon = std::make_unique<TBitmap>();
  icon->SetPixelFormat(pf32bit);
  icon->SetSize(32, 32);
  icon->Canvas().Brush().SetColor(clBlue);
  icon->Canvas().FillRect({0, 0, 32, 32});
  icon->Canvas().Brush().SetColor(clYellow);
  icon->Canvas().FillRect({8, 8, 24, 24});
  return icon;
}
}  // namespace

int main(int, char** argv) {
  std::unique_ptr<TPlatformBackend> backend = CreateDesktopBackend();
  TApplication application;
  application.Initialize(*backend, argv[0]);
  application.SetIcon(*MakeIcon());
  TDemoForm* form = nullptr;
  application.CreateForm(form);
  Report("ready");
  application.Run();
  return 0;
}
