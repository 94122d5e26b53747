#pragma once
// The font description a canvas writes text with: name, signed pixel height (negative:
// the em height; positive: the cell height), colour, style, character set and pitch.
#include <string>

#include "framework/core/color.h"
#include "framework/core/object.h"
#include "framework/typeinfo/event.h"
#include "framework/typeinfo/ident_maps.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
VM_DECLARE_ENUM(TFontStyle);
VM_DECLARE_ENUM(TFontPitch);

struct TFontData {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TFontStyles Style;
  TFontCharset Charset = DEFAULT_CHARSET;
  TFontPitch Pitch = fpDefault;
  int Escapement = 0;  // tenths of a degree, counter-clockwise: 900 reads upward, 2700 downward
  friend bool operator==(const TFontData&, const TFontData&) = default;
};

class TFont : public TPersistent {
 public:
  VM_CLASS()
  // Sizes in points convert to pixel heights at this resolution.
  static constexpr int kPixelsPerInch = 96;

  const TFontData& Data() const { return FData; }
  const std::string& Name() const { return FData.Name; }
  void SetName(const std::string& value);
  int Height() const { return FData.Height; }
  void SetHeight(int value);
  // Points: -Height * 72 / 96 rounded; setting it sets Height to -(Size * 96 / 72) rounded.
  int Size() const;
  void SetSize(int value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFontStyles Style() const { return FData.Style; }
  void SetStyle(TFontStyles value);
  TFontCharset Charset() const { return FData.Charset; }
  void SetCharset(TFontCharset value);
  TFontPitch Pitch() const { return FData.Pitch; }
  void SetPitch(TFontPitch value);
  // Not stored: painters rotate a font for one drawing step.
  int Escapement() const { return FData.Escapement; }
  void SetEscapement(int value);
  void CopyFrom(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }
  TFontData FData;
  TColor FColor = clWindowText;
};
