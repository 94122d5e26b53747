#pragma once
// TCustomControl: a windowed control with a canvas of its own and a Paint to override.
#include <memory>

#include "framework/controls/win_control.h"

class TCanvas;

class TCustomControl : public TWinControl {
 public:
  VM_CLASS()
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  // Drawable during Paint only; outside it the canvas has no surface.
  TCanvas& Canvas() { return *FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintMessage(TMessage& m) override;

 private:
  std::unique_ptr<TCanvas> FCanvas;
};
