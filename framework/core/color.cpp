#include "framework/core/color.h"

#include <array>

#include "framework/core/text.h"

namespace {
constexpr std::array<uint32_t, 31> kSystemColors = {
    0xC8D0D4, 0x984E00, 0xE35400, 0xDF967A, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0xC56A31, 0xFFFFFF, 0xD8E9EC,
    0x99A8AC, 0x99A8AC, 0x000000, 0xF8E4D8, 0xFFFFFF, 0x646F71, 0xE2EFF1, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xFF953D, 0xEBB99D, 0xC56A31, 0xD8E9EC,
};
}  // namespace

uint32_t SystemColorRGB(int index) {
  if (index < 0 || index >= int(kSystemColors.size())) return 0;
  return kSystemColors[size_t(index)];
}

TColor ColorToRGB(TColor c) {
  if (IsSystemColor(c)) return TColor(SystemColorRGB(int(uint32_t(c) & 0xFF)));
  return c;
}

const std::vector<TIdentMapEntry>& ColorIdentTable() {
  static const std::vector<TIdentMapEntry> table = {
      {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
      {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
      {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
      {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
      {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
      {clMedGray, "clMedGray"}, {clActiveBorder, "clActiveBorder"},
      {clActiveCaption, "clActiveCaption"}, {clAppWorkSpace, "clAppWorkSpace"},
      {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"}, {clBtnHighlight, "clBtnHighlight"},
      {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"}, {clCaptionText, "clCaptionText"},
      {clDefault, "clDefault"}, {clGradientActiveCaption, "clGradientActiveCaption"},
      {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
      {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
      {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
      {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"},
      {clInfoText, "clInfoText"}, {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"},
      {clMenuHighlight, "clMenuHighlight"}, {clMenuText, "clMenuText"}, {clNone, "clNone"},
      {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
      {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
  };
  return table;
}

std::optional<TColor> IdentToColor(std::string_view ident) {
  for (const auto& e : ColorIdentTable())
    if (SameText(e.Name, ident)) return TColor(e.Value);
  return std::nullopt;
}

std::optional<std::string> ColorToIdent(TColor c) {
  for (const auto& e : ColorIdentTable())
    if (e.Value == int32_t(c)) return std::string(e.Name);
  return std::nullopt;
}
