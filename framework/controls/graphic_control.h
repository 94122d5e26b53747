#pragma once
// TGraphicControl: a window-less control. It paints on its parent's surface, through a
// canvas whose origin is the control's top-left corner and whose clip is the control.
#include <memory>

#include "framework/controls/control.h"

class TCanvas;
class TControlCanvas;

class TGraphicControl : public TControl {
 public:
  VM_CLASS()
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  // Drawable always. During paint (and erase) it draws where the paint message says;
  // outside them straight onto the window's surface, clipped to what shows of the control,
  // and presented at once (see TControlCanvas).
  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintMessage(TMessage& m) override;
  // After drawing with Canvas() outside a paint that changed only `rect` (control
  // coordinates): see TControlCanvas::ChangedWithin.
  void CanvasChangedWithin(const TRect& rect);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
