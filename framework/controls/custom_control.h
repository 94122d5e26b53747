#pragma once
// TCustomControl: a windowed control with a canvas of its own and a Paint to override.
#include <memory>

#include "framework/controls/win_control.h"

class TCanvas;
class TControlCanvas;

class TCustomControl : public TWinControl {
 public:
  VM_CLASS()
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  // Drawable always. During paint (and erase) it draws where the paint message says;
  // outside them straight onto the window's surface, clipped to what shows of the control,
  // and presented at once (see TControlCanvas).
  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintMessage(TMessage& m) override;
  // Lends the canvas for the erase message too, so EraseBackground can draw with Canvas().
  void Dispatch(TMessage& m) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
