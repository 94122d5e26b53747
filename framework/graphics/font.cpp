#include "framework/graphics/font.h"

#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
VM_ENUM_INFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

namespace {
// a * b / c rounded to nearest, halves away from zero.
int MulDivRound(int a, int b, int c) {
  const int64_t p = int64_t(a) * b;
  return int((p >= 0 ? p + c / 2 : p - c / 2) / c);
}
}  // namespace

const TClassInfo& TFont::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TFont, TPersistent>("TFont")
          .Property("Charset", &TFont::Charset, &TFont::SetCharset, Default(DEFAULT_CHARSET))
          .Property("Color", &TFont::Color, &TFont::SetColor, NoDefault())
          .Property("Height", &TFont::Height, &TFont::SetHeight, NoDefault())
          .Property("Name", &TFont::Name, &TFont::SetName)
          .Property("Pitch", &TFont::Pitch, &TFont::SetPitch, Default(fpDefault))
          .Property("Size", &TFont::Size, &TFont::SetSize, StoredNever())
          .Property("Style", &TFont::Style, &TFont::SetStyle, Default(0));
  return info;
}

void TFont::SetName(const std::string& value) {
  if (value.empty() || value == FData.Name) return;
  FData.Name = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == FData.Height) return;
  FData.Height = value;
  Changed();
}

int TFont::Size() const { return -MulDivRound(FData.Height, 72, kPixelsPerInch); }

void TFont::SetSize(int value) { SetHeight(-MulDivRound(value, kPixelsPerInch, 72)); }

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FData.Style) return;
  FData.Style = value;
  Changed();
}

void TFont::SetCharset(TFontCharset value) {
  if (value == FData.Charset) return;
  FData.Charset = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == FData.Pitch) return;
  FData.Pitch = value;
  Changed();
}

void TFont::SetEscapement(int value) {
  if (value == FData.Escapement) return;
  FData.Escapement = value;
  Changed();
}

void TFont::CopyFrom(const TPersistent* source) {
  const auto* font = dynamic_cast<const TFont*>(source);
  if (font == nullptr) return TPersistent::CopyFrom(source);
  FData = font->FData;
  FColor = font->FColor;
  Changed();
}
