#pragma once
// TGraphicControl: a window-less control. It paints on its parent's surface, through a
// canvas whose origin is the control's top-left corner and whose clip is the control.
#include <memory>

#include "framework/controls/control.h"

class TCanvas;

class TGraphicControl : public TControl {
 public:
  VM_CLASS()
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  // Drawable during Paint only; outside it the canvas has no surface.
  TCanvas& Canvas() { return *FCanvas; }
 protected:
  virtual void Paint() {}
  void PaintMessage(TMessage& m) override;

 private:
  std::unique_ptr<TCanvas> FCanvas;
};
