#include "framework/controls/custom_control.h"

#include "framework/controls/lent_canvas.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TCustomControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TCustomControl, TWinControl>("TCustomControl");
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintMessage(TMessage& m) {
  TLentCanvas lent(*FCanvas, m, *Font());
  Paint();
}
