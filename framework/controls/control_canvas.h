#pragma once
// TControlCanvas: the canvas a control draws with. During a paint or erase message it
// borrows that message's drawing context (see TLentCanvas). Outside them, Ready() gives it
// a context of its own onto the control's window surface: placed at the control, clipped
// to what shows of it (TControl::ExposedRegion), with a drawing state of its own that
// lasts between uses, and every primitive drawn there is presented at once. A control that
// does not show draws nowhere.
#include <memory>

#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/canvas.h"

class TControl;
class TPlatformWindow;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl& control);
  ~TControlCanvas() override;

  // The canvas, drawable: the lent context inside a paint or erase, else the control's own.
  TCanvas& Ready();
  // After drawing outside a paint that changed only `logical` (control coordinates): on a
  // scaled window, where every presented pixel is enlarged first, only that part is
  // presented; elsewhere all that shows of the control, as after any primitive.
  void ChangedWithin(const TRect& logical);

 private:
  bool DrawsOutsidePaint();
  void Attach(uint64_t generation);
  void PresentDrawn();
  void PresentPart(const TRect& box);

  TControl& FControl;
  std::unique_ptr<TDrawContext> FOutside;
  uint64_t FGeneration = 0;
  TPlatformWindow* FWindow = nullptr;
  TRect FShownBox;  // surface coordinates
  TBitmapImage FNowhere;
};
