// Colour arithmetic. Expected values were worked out from the rules by hand (and checked
// with an independent reimplementation); several sit exactly on .5 or on the 239 divisor.
#include <gtest/gtest.h>

#include "widgets/frame_drawing.h"

namespace {
TColor Hex(uint32_t rgb) { return TColor(rgb); }

TEST(RgbToHsl, GreysHaveNoHueOrSaturation) {
  EXPECT_EQ(RgbToHsl(clBlack), (THsl{0, 0, 0}));
  EXPECT_EQ(RgbToHsl(clWhite), (THsl{0, 0, 240}));
  EXPECT_EQ(RgbToHsl(clGray), (THsl{0, 0, 120}));  // 120.47
  EXPECT_EQ(RgbToHsl(Hex(0x909090)), (THsl{0, 0, 136}));
  EXPECT_EQ(RgbToHsl(clWindow), (THsl{0, 0, 240}));  // system colours are resolved
}

TEST(RgbToHsl, PurePrimaries) {
  EXPECT_EQ(RgbToHsl(clRed), (THsl{0, 240, 120}));
  EXPECT_EQ(RgbToHsl(clLime), (THsl{80, 240, 120}));
  EXPECT_EQ(RgbToHsl(clBlue), (THsl{160, 240, 120}));
  EXPECT_EQ(RgbToHsl(clYellow), (THsl{40, 240, 120}));
}

TEST(RgbToHsl, MainWindowColours) {
  EXPECT_EQ(RgbToHsl(Hex(0x80511C)), (THsl{139, 154, 73}));  // 138.8, 153.85, 73.41
  EXPECT_EQ(RgbToHsl(Hex(0x21A121)), (THsl{80, 158, 91}));
  EXPECT_EQ(RgbToHsl(Hex(0x3CC7FF)), (THsl{29, 240, 148}));  // 28.51
  EXPECT_EQ(RgbToHsl(Hex(0xF48D6A)), (THsl{150, 207, 165}));
  EXPECT_EQ(RgbToHsl(Hex(0xF0F4F4)), (THsl{40, 37, 228}));
  EXPECT_EQ(RgbToHsl(clSkyBlue), (THsl{141, 171, 191}));
  EXPECT_EQ(RgbToHsl(clBtnFace), (THsl{34, 83, 213}));
}

TEST(RgbToHsl, HalvesRoundToEven) {
  EXPECT_EQ(RgbToHsl(Hex(0x801800)).H, 152);  // 152.5
  EXPECT_EQ(RgbToHsl(Hex(0x804800)).H, 138);  // 137.5
  EXPECT_EQ(RgbToHsl(Hex(0x80B10F)).S, 202);  // 202.5
  EXPECT_EQ(RgbToHsl(Hex(0x80B709)).S, 218);  // 217.5
}

TEST(RgbToHsl, HueJustBelowAFullTurnAndHueOfColor) {
  EXPECT_EQ(HueOfColor(Hex(0x3300FF)), 232);  // (-0.2 / 6 + 1) * 240
  EXPECT_EQ(HueOfColor(Hex(0x80511C)), 139);
}

TEST(HslToRgb, LightnessZeroIsBlackWhateverHueAndSaturation) {
  EXPECT_EQ(HslToRgb(0, 0, 0), clBlack);
  EXPECT_EQ(HslToRgb(100, 240, 0), clBlack);
  EXPECT_EQ(HslToRgb(240, 255, 0), clBlack);
}

TEST(HslToRgb, GreyHalvesRoundToEven) {
  EXPECT_EQ(HslToRgb(0, 0, 8), Hex(0x080808));     // 8.5
  EXPECT_EQ(HslToRgb(0, 0, 24), Hex(0x1A1A1A));    // 25.5
  EXPECT_EQ(HslToRgb(77, 0, 120), Hex(0x808080));  // 127.5
  EXPECT_EQ(HslToRgb(0, 0, 240), clWhite);
}

TEST(HslToRgb, HueIsReadOnA239Scale) {
  EXPECT_EQ(HslToRgb(0, 240, 120), clRed);
  EXPECT_EQ(HslToRgb(40, 240, 120), Hex(0x00FFFE));   // 6 * 40 / 239 misses yellow
  EXPECT_EQ(HslToRgb(160, 240, 70), Hex(0x950002));   // sextant 4 with a trace of red
  EXPECT_EQ(HslToRgb(238, 240, 120), Hex(0x0600FF));  // sextant 5
  EXPECT_EQ(HslToRgb(239, 240, 120), clRed);          // sextant 6 acts as 0
  EXPECT_EQ(HslToRgb(240, 240, 120), Hex(0x0006FF));
}

TEST(HslToRgb, OutOfScaleInputsStayInRange) {
  EXPECT_EQ(HslToRgb(80, 240, 250), clWhite);
  // A saturation above 240 drives the minimum channel below 0; it stops at 0.
  EXPECT_EQ(HslToRgb(0, 255, 60), Hex(0x000083));
}

TEST(DarkenLighten, ShadesOfTheMainWindowColours) {
  EXPECT_EQ(DarkenColor(Hex(0xF48D6A), 50), Hex(0xE44211));
  EXPECT_EQ(DarkenColor(Hex(0xF48D6A), 100), Hex(0x812509));
  EXPECT_EQ(LightenColor(Hex(0xF48D6A), 40), Hex(0xFAC9BA));
  EXPECT_EQ(LightenColor(Hex(0xF48D6A), 50), Hex(0xFBD8CE));
  EXPECT_EQ(DarkenColor(Hex(0xF0F4F4), 100), Hex(0x769A9A));
  EXPECT_EQ(DarkenColor(clSkyBlue, 50), Hex(0xE1904B));
  EXPECT_EQ(LightenColor(Hex(0x80511C), 50), Hex(0xD28433));
  EXPECT_EQ(DarkenColor(clBlue, 50), Hex(0x950002));
  EXPECT_EQ(DarkenColor(clBtnFace, 50), Hex(0x91C1C9));
}

TEST(DarkenLighten, ExtremesSaturate) {
  EXPECT_EQ(DarkenColor(clBlack, 100), clBlack);
  EXPECT_EQ(LightenColor(clWhite, 100), clWhite);
  EXPECT_EQ(DarkenColor(Hex(0x80511C), 255), clBlack);
  EXPECT_EQ(LightenColor(clGray, 200), clWhite);  // L 255 after the cap
  EXPECT_EQ(LightenColor(clGray, 100), Hex(0xEAEAEA));
}

TEST(ShiftLightness, SignPicksTheDirection) {
  EXPECT_EQ(ShiftLightness(clBtnFace, 0), clBtnFace);  // unresolved
  EXPECT_EQ(ShiftLightness(Hex(0xF48D6A), -50), Hex(0xE44211));
  EXPECT_EQ(ShiftLightness(Hex(0xF48D6A), 40), Hex(0xFAC9BA));
  EXPECT_EQ(ShiftLightness(clBtnFace, -50), Hex(0x91C1C9));
  // Beyond 255 the shift saturates instead of wrapping to a small amount.
  EXPECT_EQ(ShiftLightness(Hex(0x80511C), -300), clBlack);
  EXPECT_EQ(ShiftLightness(clBlack, 300), clWhite);
}

TEST(MixColors, WeightsAndRounding) {
  EXPECT_EQ(MixColors(Hex(0x80511C), Hex(0x3CC7FF), 255), Hex(0x80511C));
  EXPECT_EQ(MixColors(Hex(0x80511C), clBtnFace, 0), Hex(0xD8E9EC));  // b resolved
  EXPECT_EQ(MixColors(Hex(0x80511C), Hex(0x3CC7FF), 128), Hex(0x5E8C8D));
  EXPECT_EQ(MixColors(Hex(0x80511C), Hex(0x3CC7FF), 80), Hex(0x51A2B8));
  EXPECT_EQ(MixColors(Hex(0x80511C), Hex(0x3CC7FF), 153), Hex(0x658077));
  EXPECT_EQ(MixColors(clWindow, clBtnFace, 128), Hex(0xECF4F6));
  // 255 * (1 - 128/255) is 126.99999: rounded, neither truncated nor taken as a half.
  EXPECT_EQ(MixColors(clBlack, clWhite, 128), Hex(0x7F7F7F));
  EXPECT_EQ(MixColors(clWhite, clBlack, 128), Hex(0x808080));
}

TEST(ColorsNearlyEqual, HueAndLightnessWindows) {
  EXPECT_TRUE(ColorsNearlyEqual(clRed, Hex(0x000090)));    // L 120 vs 68
  EXPECT_FALSE(ColorsNearlyEqual(clRed, Hex(0x000080)));   // L 120 vs 60
  EXPECT_TRUE(ColorsNearlyEqual(clRed, Hex(0x0079FF)));    // H 19
  EXPECT_FALSE(ColorsNearlyEqual(clRed, Hex(0x0080FF)));   // H 20
  EXPECT_FALSE(ColorsNearlyEqual(clRed, Hex(0x3300FF)));   // H 232: no wrap-around
  EXPECT_FALSE(ColorsNearlyEqual(clWindow, clBtnFace));    // H 0 vs 34
  EXPECT_TRUE(ColorsNearlyEqual(clWindow, clWhite));
}
}  // namespace
