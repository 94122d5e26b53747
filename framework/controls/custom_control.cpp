#include "framework/controls/custom_control.h"

#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TCustomControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TCustomControl, TWinControl>("TCustomControl");
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintMessage(TMessage& m) {
  auto* windowCanvas = reinterpret_cast<TCanvas*>(m.WParam);
  FCanvas->SetHandle(&windowCanvas->Handle());
  struct Done {
    TCanvas* c;
    ~Done() { c->SetHandle(nullptr); }
  } done{FCanvas.get()};
  FCanvas->Font().CopyFrom(Font());
  Paint();
}
