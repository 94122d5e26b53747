#pragma once
// Colours: 0x00BBGGRR is RGB (red in the low byte); 0xFF0000nn is system colour nn.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TTypeInfo;

enum TColor : int32_t {
  clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
  clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
  clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
  clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
  clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
  clNone = 0x1FFFFFFF, clDefault = 0x20000000,
  clSystemColor = int32_t(0xFF000000),
  clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
  clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
  clMenu = clSystemColor | 4, clWindow = clSystemColor | 5, clWindowFrame = clSystemColor | 6,
  clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8, clCaptionText = clSystemColor | 9,
  clActiveBorder = clSystemColor | 10, clInactiveBorder = clSystemColor | 11,
  clAppWorkSpace = clSystemColor | 12, clHighlight = clSystemColor | 13,
  clHighlightText = clSystemColor | 14, clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
  clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
  clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
  cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22, clInfoText = clSystemColor | 23,
  clInfoBk = clSystemColor | 24, clHotLight = clSystemColor | 26,
  clGradientActiveCaption = clSystemColor | 27, clGradientInactiveCaption = clSystemColor | 28,
  clMenuHighlight = clSystemColor | 29, clMenuBar = clSystemColor | 30,
};

const TTypeInfo& TypeInfoOf(TColor*);

constexpr uint8_t GetRValue(uint32_t rgb) { return uint8_t(rgb & 0xFF); }
constexpr uint8_t GetGValue(uint32_t rgb) { return uint8_t((rgb >> 8) & 0xFF); }
constexpr uint8_t GetBValue(uint32_t rgb) { return uint8_t((rgb >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }

constexpr bool IsSystemColor(TColor c) { return (uint32_t(c) & 0xFF000000u) == 0xFF000000u; }

// The RGB value of system colour `index`; indices outside the table give black.
uint32_t SystemColorRGB(int index);
// Resolves a system colour to its RGB value; any other colour passes through unchanged.
TColor ColorToRGB(TColor c);

struct TIdentMapEntry {
  int32_t Value;
  const char* Name;
};
// The colour identifier table, in the order the form streams' writer prefers names.
const std::vector<TIdentMapEntry>& ColorIdentTable();
std::optional<TColor> IdentToColor(std::string_view ident);
std::optional<std::string> ColorToIdent(TColor c);
