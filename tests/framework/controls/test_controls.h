#pragma once
// Controls that record what happens to them, on a headless screen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/canvas.h"
#include "platform/headless/headless_backend.h"

// Records mouse traffic and hover changes of a control class, by the control's name.
template <class Base>
class TRecordingMouse : public Base {
 public:
  using Base::Base;
  std::vector<std::string>* Log = nullptr;
  std::vector<std::string>* HoverLog = nullptr;

 protected:
  void MouseEnter(TMessage&) override { RecordHover("enter"); }
  void MouseLeave(TMessage&) override { RecordHover("leave"); }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Base::MouseDown(b, s, x, y);
    Record("down " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseMove(TShiftState s, int x, int y) override {
    Base::MouseMove(s, x, y);
    Record("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Base::MouseUp(b, s, x, y);
    Record("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void Click() override {
    Base::Click();
    Record("click");
  }

 private:
  void Record(const std::string& what) {
    if (Log != nullptr) Log->push_back(this->Name() + " " + what);
  }
  void RecordHover(const std::string& what) {
    if (HoverLog != nullptr) HoverLog->push_back(this->Name() + " " + what);
  }
};

// A windowed control that fills what it is asked to paint with its fill colour.
class TRecordingWindow : public TRecordingMouse<TCustomControl> {
 public:
  using TRecordingMouse::TRecordingMouse;
  TColor Fill = clRed;
  int Paints = 0;
  TRect LastClipBox;
  std::vector<uint32_t> Messages;

 protected:
  void Paint() override {
    ++Paints;
    LastClipBox = Canvas().ClipRect();
    Canvas().Brush().SetColor(Fill);
    Canvas().FillRect(ClientRect());
  }
  void Dispatch(TMessage& m) override {
    Messages.push_back(m.Msg);
    TCustomControl::Dispatch(m);
  }
};

// A window-less control that fills its bounds, or draws only its outline when Hollow.
class TRecordingGraphic : public TRecordingMouse<TGraphicControl> {
 public:
  using TRecordingMouse::TRecordingMouse;
  TColor Fill = clBlue;
  bool Hollow = false;
  bool Overdraw = false;  // paints far beyond its bounds, to show the clipping
  int Paints = 0;
  void SetOpaque(bool on) {
    auto s = ControlStyle();
    if (on) s.Include(csOpaque);
    else s.Exclude(csOpaque);
    SetControlStyle(s);
  }

 protected:
  void Paint() override {
    ++Paints;
    Canvas().Brush().SetColor(Fill);
    if (Hollow) Canvas().FrameRect(ClientRect());
    else Canvas().FillRect(Overdraw ? TRect{-500, -500, 500, 500} : ClientRect());
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  TWindowSystem System{*Backend};
  std::vector<std::string> Log;
  std::vector<std::string> Hover;

  // A shown top-level window at screen (100, 50), 200 x 150.
  std::unique_ptr<TRecordingWindow> MakeTopLevel(TColor fill = clWhite) {
    auto w = std::make_unique<TRecordingWindow>(nullptr);
    w->SetName("Top");
    w->Fill = fill;
    w->Log = &Log;
    w->HoverLog = &Hover;
    w->SetBounds(100, 50, 200, 150);
    w->CreatePlatformWindow(*Backend);
    return w;
  }
  TRecordingGraphic* AddGraphic(TWinControl* parent, const char* name, TRect bounds, TColor fill) {
    auto* g = new TRecordingGraphic(parent);
    g->SetName(name);
    g->Fill = fill;
    g->Log = &Log;
    g->HoverLog = &Hover;
    g->SetBoundsRect(bounds);
    g->SetParent(parent);
    return g;
  }
  TRecordingWindow* AddWindow(TWinControl* parent, const char* name, TRect bounds, TColor fill) {
    auto* w = new TRecordingWindow(parent);
    w->SetName(name);
    w->Fill = fill;
    w->Log = &Log;
    w->HoverLog = &Hover;
    w->SetBoundsRect(bounds);
    w->SetParent(parent);
    return w;
  }
  static THeadlessWindow& Platform(TWinControl& w) { return static_cast<THeadlessWindow&>(*w.PlatformWindow()); }
  // The colour shown on screen at client point (x, y) of top-level window `w`.
  static uint32_t Shown(TWinControl& w, int x, int y) { return Platform(w).Presented().PixelRGB(x, y); }
  TPoint Screen(TWinControl& top, int x, int y) { return top.ClientToScreen({x, y}); }
};
