#include "framework/graphics/pen_brush.h"

#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TPenStyle, "psSolid", "psDot", "psClear")
VM_ENUM_INFO(TBrushStyle, "bsSolid", "bsClear")

const TClassInfo& TPen::ClassInfo() {
  static const TClassInfo info = DefineClass<TPen, TPersistent>("TPen")
                                     .Property("Color", &TPen::Color, &TPen::SetColor, Default(clBlack))
                                     .Property("Style", &TPen::Style, &TPen::SetStyle, Default(psSolid))
                                     .Property("Width", &TPen::Width, &TPen::SetWidth, Default(1));
  return info;
}

void TPen::SetColor(TColor value) {
  if (value == FData.Color) return;
  FData.Color = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value == FData.Width) return;
  FData.Width = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == FData.Style) return;
  FData.Style = value;
  Changed();
}

void TPen::CopyFrom(const TPersistent* source) {
  const auto* pen = dynamic_cast<const TPen*>(source);
  if (pen == nullptr) return TPersistent::CopyFrom(source);
  FData = pen->FData;
  Changed();
}

const TClassInfo& TBrush::ClassInfo() {
  static const TClassInfo info = DefineClass<TBrush, TPersistent>("TBrush")
                                     .Property("Color", &TBrush::Color, &TBrush::SetColor, Default(clWhite))
                                     .Property("Style", &TBrush::Style, &TBrush::SetStyle, Default(bsSolid));
  return info;
}

void TBrush::SetColor(TColor value) {
  if (value == FData.Color && FData.Style != bsClear) return;
  FData.Color = value;
  if (FData.Style == bsClear) FData.Style = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == FData.Style) return;
  FData.Style = value;
  Changed();
}

void TBrush::SetBitmap(const TBitmap* value) {
  if (value == FData.Pattern) return;
  FData.Pattern = value;
  Changed();
}

void TBrush::CopyFrom(const TPersistent* source) {
  const auto* brush = dynamic_cast<const TBrush*>(source);
  if (brush == nullptr) return TPersistent::CopyFrom(source);
  FData = brush->FData;
  Changed();
}
