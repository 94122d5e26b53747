// The end-to-end demo: one top-level dialog window on the desktop backend with three
// focusable blocks, a strip that a 100 ms timer repaints, and a row of marks for typed
// characters. It reports what reaches it on standard output, one line per event, so
// that the driver can tell input that arrived from input that was only drawn.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/timer.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "platform/desktop_backend.h"

namespace {
void Report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

class TDemoWindow;

// A focusable block: grey, green once clicked (again: grey), blue after a double click;
// a black frame while it has the focus; a red corner after a press whose release came
// outside it (the mouse stayed with it).
class TDemoBlock : public TCustomControl {
 public:
  TDemoBlock(TDemoWindow& window, int index);
  void SetFocused(bool value) {
    FFocused = value;
    Invalidate();
  }
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
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseUp(button, shift, x, y);
    if (ClientRect().Contains({x, y})) return;
    FReleasedOutside = true;
    Report(Name() + " released outside " + std::to_string(x) + "," + std::to_string(y));
    Invalidate();
  }

 private:
  TDemoWindow& FWindow;
  int FIndex;
  bool FFocused = false;
  bool FPressed = false;
  bool FDoubleClicked = false;
  bool FReleasedOutside = false;
};

// White with a red square that steps 20 pixels to the right on every tick.
class TDemoTicker : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Step() {
    ++FTicks;
    Invalidate();
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

class TDemoWindow : public TCustomControl {
 public:
  TDemoWindow() : TCustomControl(nullptr) {
    SetName("Demo");
    SetCaption("Velmorath demo");
    SetColor(TColor(0xF0CAA6));  // sky blue
    SetBounds(140, 96, 320, 200);
    for (int i = 0; i < 3; ++i) FBlocks.push_back(new TDemoBlock(*this, i));
    FTicker = new TDemoTicker(this);
    FTicker->SetBounds(0, 180, 320, 20);
    FTicker->SetParent(this);
    FTimer = new TTimer(this);
    FTimer->SetInterval(100);
    FTimer->FOnTimer = [this](TObject*) { FTicker->Step(); };
    Focus(0);
  }

  void Focus(int index) {
    FBlocks[size_t(FFocus)]->SetFocused(false);
    FFocus = (index + int(FBlocks.size())) % int(FBlocks.size());
    FBlocks[size_t(FFocus)]->SetFocused(true);
    Report("focus " + FBlocks[size_t(FFocus)]->Name());
  }
  void Focus(TDemoBlock* block) {
    for (size_t i = 0; i < FBlocks.size(); ++i)
      if (FBlocks[i] == block) Focus(int(i));
  }

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clNavy);
    for (size_t i = 0; i < FTyped.size(); ++i) Canvas().FillRect(Bounds(20 + int(i) * 12, 100, 10, 10));
  }
  void KeyDown(int& key, TShiftState shift) override {
    TCustomControl::KeyDown(key, shift);
    Report("key " + std::to_string(key) + (shift.Contains(ssAlt) ? " alt" : "") + (shift.Contains(ssShift) ? " shift" : ""));
    if (key == 9) Focus(FFocus + (shift.Contains(ssShift) ? -1 : 1));
    else if (key == 13 || key == 32) FBlocks[size_t(FFocus)]->Press();
    else if (shift.Contains(ssAlt) && key >= '1' && key <= '3') Focus(key - '1');
  }
  void KeyPress(char& key) override {
    TCustomControl::KeyPress(key);
    FTyped += key;
    Report("char " + std::string(1, key));
    Invalidate();
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == msgClose) {
      Report("close");
      TWindowSystem::Current()->Terminate();
      return;
    }
    if (m.Msg == msgActivate) Report("activate " + std::to_string(m.WParam));
    TCustomControl::Dispatch(m);
  }

 private:
  std::vector<TDemoBlock*> FBlocks;
  TDemoTicker* FTicker = nullptr;
  TTimer* FTimer = nullptr;
  int FFocus = 0;
  std::string FTyped;
};

TDemoBlock::TDemoBlock(TDemoWindow& window, int index) : TCustomControl(&window), FWindow(window), FIndex(index) {
  SetName("Block" + std::to_string(index + 1));
  SetBounds(20 + index * 100, 20, 80, 40);
  SetTabStop(true);
  SetParent(&window);
}

void TDemoBlock::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  Report(Name() + " down");
  FWindow.Focus(this);
  TCustomControl::MouseDown(button, shift, x, y);
}

void TDemoBlock::Paint() {
  Canvas().Brush().SetColor(FDoubleClicked ? clBlue : FPressed ? clLime : clSilver);
  Canvas().FillRect(ClientRect());
  if (FFocused) {
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

int main() {
  std::unique_ptr<TPlatformBackend> backend = CreateDesktopBackend();
  backend->SetIcon(MakeIcon().get());
  TWindowSystem system(*backend);
  auto window = std::make_unique<TDemoWindow>();
  window->CreatePlatformWindow(*backend);
  window->PlatformWindow()->SetFrame(TWindowFrame::Dialog);
  system.SetKeyTarget(window.get());
  Report("ready");
  system.Run();
  window.reset();
  return 0;
}
