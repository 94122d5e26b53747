#include "framework/controls/custom_control.h"

#include "framework/controls/control_canvas.h"
#include "framework/controls/lent_canvas.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TCustomControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TCustomControl, TWinControl>("TCustomControl");
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(*this)) {}

TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() { return FCanvas->Ready(); }

void TCustomControl::PaintMessage(TMessage& m) {
  TLentCanvas lent(*FCanvas, m, *Font());
  Paint();
}

void TCustomControl::Dispatch(TMessage& m) {
  if (m.Msg != msgEraseBackground) {
    TWinControl::Dispatch(m);
    return;
  }
  TLentCanvas lent(*FCanvas, m, *Font());
  TWinControl::Dispatch(m);
}
