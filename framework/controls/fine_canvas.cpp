#include "framework/controls/fine_canvas.h"

#include "framework/controls/win_control.h"
#include "framework/port/backend_port.h"

namespace {
TPlatformWindow* HostWindow(TControl& control) {
  auto* window = dynamic_cast<TWinControl*>(&control);
  if (window == nullptr) window = control.Parent();
  return window != nullptr ? window->TopLevel()->PlatformWindow() : nullptr;
}
}  // namespace

TFineCanvas::TFineCanvas(TControl& control, TCanvas& paintCanvas) {
  TPlatformWindow* window = HostWindow(control);
  if (window == nullptr || window->Scale() <= 1 || !paintCanvas.HandleAllocated()) return;
  const TDrawContext& paint = paintCanvas.Handle();
  if (paint.Surface() != &window->Surface()) return;  // an off-screen copy of the control
  TBitmapImage* layer = window->FineLayer();
  if (layer == nullptr) return;
  FWindow = window;
  FScale = window->Scale();
  FSurface = paint.Surface();
  FClip = paint.VisibleRegion();
  FSurfaceBox = FClip.BoundingBox();
  FClip.Scale(FScale);
  FContext.emplace(layer);
  FContext->SetOrigin({paint.Origin().X * FScale, paint.Origin().Y * FScale});
  FContext->SetClipRegion(&FClip);
  FCanvas.SetHandle(&*FContext);
}

TFineCanvas::~TFineCanvas() { FCanvas.SetHandle(nullptr); }

void TFineCanvas::CopySurface() {
  if (!Active() || FSurfaceBox.IsEmpty()) return;
  const TRect& s = FSurfaceBox;
  // Enlarging by a whole factor, the stretching rule repeats each pixel into a block.
  TDrawContext copy(FContext->Surface());
  copy.SetClipRegion(&FClip);
  copy.StretchBlt({s.Left * FScale, s.Top * FScale, s.Right * FScale, s.Bottom * FScale}, *FSurface, s, cmSrcCopy);
}

void TFineCanvas::Show() {
  if (Active()) FWindow->ShowFine(FClip);
}
