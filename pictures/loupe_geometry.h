#pragma once
// The loupe's geometry: which source pixel a fitted photograph shows at a point (the
// inverse of the fitting), the round lens placed at the pointer, and the source pixels
// each magnification shows in it.
#include <optional>

#include "framework/core/geometry.h"
#include "framework/graphics/region.h"

// A round lens 240 pixels across with a 2-pixel ring; magnifications step 1x, 2x, 4x.
inline constexpr int kLoupeDiameter = 240;
inline constexpr int kLoupeRingWidth = 2;
inline constexpr int kLoupeZooms[] = {1, 2, 4};

// The source pixel of a `picture`-sized picture that a stretching copy into `placement`
// (colour-on-colour, the true-colour screen's mode) draws at pixel `p`; both in the image
// view's coordinates. None when `p` lies outside the placement.
std::optional<TPoint> SourcePixelAt(const TRect& placement, TSize picture, TPoint p);
// The same, continued past the placement's edges at its ratio: the picture's pixel that
// would show at `p` if the picture went on (it may lie outside the picture). A lens placed
// where the fine photograph is smaller than its blocks would be shows its edge from there.
TPoint SourcePixelAlong(const TRect& placement, TSize picture, TPoint p);

// The lens's square when the pointer is at pixel `pointer`: that pixel is the lens's
// centre pixel, (120, 120) of the square.
TRect LoupeBounds(TPoint pointer);
// The source pixels the lens shows at `zoom` around `source`, which lands on the centre
// pixel; each source pixel fills zoom x zoom lens pixels. On a screen `scale` times finer
// than the surface the lens is `scale` times as many screen pixels across, and a source
// pixel fills zoom x zoom of those.
TRect LoupeSourceRect(TPoint source, int zoom, int scale = 1);
// The lens's pixels (the ring's included) and the ring's alone, in the square's coordinates.
// A pixel belongs to a disc when its centre lies within the disc's radius.
const TRegion& LensDisc();
const TRegion& LensRing();
