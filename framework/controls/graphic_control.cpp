#include "framework/controls/graphic_control.h"

#include "framework/controls/control_canvas.h"
#include "framework/controls/lent_canvas.h"
#include "framework/controls/win_control.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TGraphicControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TGraphicControl, TControl>("TGraphicControl");
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(*this)) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() { return FCanvas->Ready(); }

void TGraphicControl::CanvasChangedWithin(const TRect& rect) { FCanvas->ChangedWithin(rect); }

void TGraphicControl::PaintMessage(TMessage& m) {
  TLentCanvas lent(*FCanvas, m, *Font());
  Paint();
}

