#include "framework/controls/graphic_control.h"

#include "framework/controls/win_control.h"
#include "framework/graphics/bitmap.h"
#include "framework/controls/lent_canvas.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "platform/backend.h"

const TClassInfo& TGraphicControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TGraphicControl, TControl>("TGraphicControl");
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintMessage(TMessage& m) {
  TLentCanvas lent(*FCanvas, m, *Font());
  Paint();
}

void TGraphicControl::Repaint() {
  TWinControl* parent = Parent();
  if (!ControlStyle().Contains(csOpaque) || parent == nullptr || !IsShowing()) {
    TControl::Repaint();
    return;
  }
  TPlatformWindow* window = parent->TopLevel()->PlatformWindow();
  if (window == nullptr) return;
  // What shows of this control: the parent's visible part, less window-less siblings above it.
  TRegion clip = parent->VisibleRegion().Combine(TRegion(BoundsRect()), roAnd);
  bool above = false;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this) above = true;
    else if (above && c->Visible() && dynamic_cast<TWinControl*>(c) == nullptr)
      clip = clip.Combine(TRegion(c->BoundsRect()), roDiff);
  }
  if (clip.IsEmpty()) return;
  const TPoint offset = parent->SurfaceOffset();
  clip.Offset(offset.X, offset.Y);
  TDrawContext context(&window->Surface());
  context.SetOrigin(offset + TPoint{Left(), Top()});
  context.SetClipRegion(&clip);
  TCanvas canvas;
  canvas.SetHandle(&context);
  Perform(msgPaint, reinterpret_cast<intptr_t>(&canvas));
  canvas.SetHandle(nullptr);
  window->Present(clip.BoundingBox());
}
