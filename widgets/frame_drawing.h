#pragma once
// The colour arithmetic and the frame, bevel, focus, arrow, gradient and masked-bitmap
// drawing every control of the kit shares. Colours may be system colours; they are
// resolved to RGB wherever the functions compute with them.
#include <cstdint>

#include "framework/core/color.h"
#include "framework/core/geometry.h"
#include "widgets/frame_types.h"

class TBitmap;
class TCanvas;
class TControl;
class TFont;

// Hue, saturation and lightness on a 0 to 240 scale (H reaches 240 just below a full turn).
struct THsl {
  uint8_t H = 0;
  uint8_t S = 0;
  uint8_t L = 0;
  friend bool operator==(const THsl&, const THsl&) = default;
};

THsl RgbToHsl(TColor color);
uint8_t HueOfColor(TColor color);
// The hue is read on a 0 to 239 scale, so H 239 and 240 both land in the red sextant.
TColor HslToRgb(uint8_t h, uint8_t s, uint8_t l);
TColor DarkenColor(TColor color, uint8_t amount);
// Lightness may rise to 255; anything above 240 comes out white.
TColor LightenColor(TColor color, uint8_t amount);
// Negative amounts darken, positive ones lighten; 0 hands back `color` as given (a system
// colour stays unresolved). Magnitudes above 255 act as 255.
TColor ShiftLightness(TColor color, int amount);
// `a` weighted by weight / 255, `b` by the rest.
TColor MixColors(TColor a, TColor b, uint8_t weight);
// Hues within 20 (no wrap-around) and lightness within 60.
bool ColorsNearlyEqual(TColor a, TColor b);
// The screen shows more than 256 colours (no fixed palette). Without a window system
// installed the default screen, which is true colour, is assumed.
bool HasTrueColorDisplay();

// The frame functions draw only on `sides` and answer the rectangle left inside what they
// drew, shrunk only on those sides. Left and top lines take `ul`, right and bottom `lr`;
// right and bottom are drawn last and own the top-right and bottom-left corners.
TRect DrawBevelStep(TCanvas& canvas, const TRect& rect, TColor ul, TColor lr, TSides sides);
// `width` steps with a 1-pixel pen, each inside the previous one.
TRect DrawBevelBand(TCanvas& canvas, const TRect& rect, TColor ul, TColor lr, int width, TSides sides);
TRect Draw3DEdgeSides(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides);
TRect DrawButtonEdge(TCanvas& canvas, const TRect& rect, bool down);
TRect DrawButtonEdgeSides(TCanvas& canvas, const TRect& rect, bool down, TSides sides);
TRect DrawTintedButtonEdge(TCanvas& canvas, const TRect& rect, TColor face, bool down);
TRect DrawTintedButtonEdgeSides(TCanvas& canvas, const TRect& rect, TColor face, bool down, TSides sides);
TRect DrawFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style);
TRect DrawFrameSides(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides);
// The frame shapes in shades of `color` instead of the system colours.
TRect DrawTintedFrame(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style);
TRect DrawTintedFrameSides(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style, TSides sides);
// A dotted black rectangle whose dots start one pixel from the top-left corner along each
// edge; answers `rect` deflated by 1.
TRect DrawFocusFrame(TCanvas& canvas, const TRect& rect);

// Arrow looks; without a themed platform the themed look draws the classic one.
enum TArrowLook { alClassic, alThemed };
enum TArrowDirection { adUp, adDown, adLeft, adRight };
// A small filled triangle centred in `rect`; other directions draw nothing. Leaves the pen
// solid and the brush colour as it found it.
void DrawArrowGlyph(TCanvas& canvas, const TRect& rect, int look, int direction, bool pressed, bool enabled);

inline constexpr int gsVertical = 2;    // colour A at the top, B at the bottom
inline constexpr int gsHorizontal = 5;  // colour A at the left, B at the right
// Fills `rect` with a gradient from B (at the far edge, exact) toward A (within one step).
// Only the vertical and horizontal styles are drawn; the other style numbers draw nothing.
// Bands are at least `colorStep` pixels long (step 1: every colour change starts a band).
void FillGradientRect(TCanvas& canvas, const TRect& rect, int style, TColor a, TColor b, int colorStep);

// Draws `sourceRect` of `bitmap` scaled to `dest`; pixels of colour `seeThrough` leave the
// canvas unchanged.
void DrawMaskedBitmap(TCanvas& canvas, const TBitmap& bitmap, const TRect& dest, TColor seeThrough,
                      const TRect& sourceRect);

// Paints what `control`'s parent shows under the control onto `canvas` (which is in the
// control's client coordinates): the parent's erase and paint, shifted and clipped to the
// parent's client area. With `invalidateParent`, a parent that paints through neither a
// canvas of its own nor as a top-level form is invalidated too, so it catches up later.
void PaintParentBackground(TControl& control, TCanvas& canvas, bool invalidateParent);

// The font resolves to a scalable outline face (its metrics carry the TrueType bit).
bool FontIsTrueType(const TFont& font);
