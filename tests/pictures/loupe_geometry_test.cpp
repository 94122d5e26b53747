// The loupe's geometry by numbers: the source pixel under the pointer at the corners and
// the centre of all sixteen fitted photographs, the lens's disc and ring, and the source
// area of each magnification.
#include <gtest/gtest.h>

#include <array>

#include "pictures/image.h"
#include "pictures/loupe_geometry.h"

namespace {
struct TPhotograph {
  int Number;
  TSize Box, Picture, Shown;
  // Expected source pixels at the shown picture's top-left, top-right, bottom-left and
  // bottom-right pixels and at its centre (Shown / 2), worked out from the copy's
  // grouping of source rows and columns rather than from the code's closed form.
  std::array<TPoint, 5> Source;
};

const TPhotograph kPhotographs[] = {
    {1, {689, 361}, {1021, 528}, {689, 356}, {{{0, 0}, {1020, 0}, {0, 527}, {1020, 527}, {510, 264}}}},
    {2, {409, 169}, {403, 168}, {403, 168}, {{{0, 0}, {402, 0}, {0, 167}, {402, 167}, {201, 84}}}},
    {3, {689, 361}, {701, 350}, {689, 344}, {{{0, 0}, {700, 0}, {0, 349}, {700, 349}, {350, 175}}}},
    {4, {689, 513}, {1024, 768}, {683, 513}, {{{0, 0}, {1023, 0}, {0, 767}, {1023, 767}, {511, 383}}}},
    {5, {441, 305}, {450, 311}, {441, 304}, {{{0, 0}, {449, 0}, {0, 310}, {449, 310}, {224, 156}}}},
    {6, {505, 345}, {500, 345}, {500, 345}, {{{0, 0}, {499, 0}, {0, 344}, {499, 344}, {250, 172}}}},
    {7, {273, 217}, {274, 212}, {273, 211}, {{{0, 0}, {273, 0}, {0, 211}, {273, 211}, {136, 105}}}},
    {8, {273, 209}, {274, 212}, {270, 209}, {{{0, 0}, {273, 0}, {0, 211}, {273, 211}, {137, 105}}}},
    {9, {689, 385}, {773, 426}, {689, 379}, {{{0, 0}, {772, 0}, {0, 425}, {772, 425}, {386, 212}}}},
    {10, {689, 393}, {771, 438}, {689, 391}, {{{0, 0}, {770, 0}, {0, 437}, {770, 437}, {385, 218}}}},
    {11, {689, 401}, {770, 447}, {689, 399}, {{{0, 0}, {769, 0}, {0, 446}, {769, 446}, {384, 223}}}},
    {12, {369, 265}, {367, 267}, {364, 265}, {{{0, 0}, {366, 0}, {0, 266}, {366, 266}, {184, 133}}}},
    {13, {369, 265}, {367, 267}, {364, 265}, {{{0, 0}, {366, 0}, {0, 266}, {366, 266}, {184, 133}}}},
    {14, {641, 217}, {635, 214}, {635, 214}, {{{0, 0}, {634, 0}, {0, 213}, {634, 213}, {317, 107}}}},
    {15, {593, 201}, {607, 205}, {593, 200}, {{{0, 0}, {606, 0}, {0, 204}, {606, 204}, {303, 103}}}},
    {16, {449, 537}, {451, 540}, {448, 537}, {{{0, 0}, {450, 0}, {0, 539}, {450, 539}, {226, 269}}}},
};

TEST(LoupeGeometry, SourcePixelAtTheCornersAndCentreOfEveryPhotograph) {
  for (const TPhotograph& photo : kPhotographs) {
    SCOPED_TRACE("Image" + std::to_string(photo.Number));
    const TRect placement = PlacementRect(photo.Picture.cx, photo.Picture.cy, photo.Box.cx, photo.Box.cy,
                                          false, true, false);
    ASSERT_EQ(placement, (TRect{0, 0, photo.Shown.cx, photo.Shown.cy}));
    const int right = photo.Shown.cx - 1, bottom = photo.Shown.cy - 1;
    const TPoint points[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}, {photo.Shown.cx / 2, photo.Shown.cy / 2}};
    for (size_t i = 0; i < std::size(points); ++i)
      EXPECT_EQ(SourcePixelAt(placement, photo.Picture, points[i]), photo.Source[i]) << "point " << i;
  }
}

TEST(LoupeGeometry, NoSourcePixelOutsideThePlacement) {
  const TRect placement{0, 0, 683, 513};  // Image4: its box is 689 wide
  EXPECT_FALSE(SourcePixelAt(placement, {1024, 768}, {683, 100}));
  EXPECT_FALSE(SourcePixelAt(placement, {1024, 768}, {-1, 0}));
  EXPECT_FALSE(SourcePixelAt(placement, {1024, 768}, {0, 513}));
  EXPECT_FALSE(SourcePixelAt(placement, {0, 0}, {0, 0})) << "an empty picture has no pixels";
  // A centred placement moves the source grid with it.
  EXPECT_EQ(SourcePixelAt({3, 0, 406, 168}, {403, 168}, {3, 0}), (TPoint{0, 0}));
  EXPECT_EQ(SourcePixelAt({3, 0, 406, 168}, {403, 168}, {405, 167}), (TPoint{402, 167}));
}

TEST(LoupeGeometry, AnEnlargedPlacementRepeatsSourcePixels) {
  // A 2 x 2 picture stretched over 8 x 4: four columns and two rows per source pixel.
  EXPECT_EQ(SourcePixelAt({0, 0, 8, 4}, {2, 2}, {3, 1}), (TPoint{0, 0}));
  EXPECT_EQ(SourcePixelAt({0, 0, 8, 4}, {2, 2}, {4, 2}), (TPoint{1, 1}));
}

TEST(LoupeGeometry, TheLensIsCentredOnThePointerPixel) {
  EXPECT_EQ(LoupeBounds({500, 300}), (TRect{380, 180, 620, 420}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 1), (TRect{391, 263, 631, 503}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 2), (TRect{451, 323, 571, 443}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 4), (TRect{481, 353, 541, 413}));
}

TEST(LoupeGeometry, TheDiscIsRoundAndTheRingTwoPixelsWide) {
  const TRegion& disc = LensDisc();
  EXPECT_EQ(disc.BoundingBox(), (TRect{0, 0, 240, 240}));
  EXPECT_TRUE(disc.PointIn(120, 120));
  EXPECT_FALSE(disc.PointIn(0, 0));
  EXPECT_FALSE(disc.PointIn(239, 239));
  EXPECT_FALSE(disc.PointIn(34, 34)) << "the corner's diagonal lies outside";
  EXPECT_TRUE(disc.PointIn(35, 35));
  int area = 0;
  for (const TRect& r : disc.Rects()) area += r.Width() * r.Height();
  EXPECT_NEAR(area, 45239, 240) << "pi x 120 x 120";
  // Mirror-symmetric both ways.
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 240; x += 7) ASSERT_EQ(disc.PointIn(x, y), disc.PointIn(239 - x, 239 - y)) << x << "," << y;
  const TRegion& ring = LensRing();
  for (int x : {0, 1, 238, 239}) EXPECT_TRUE(ring.PointIn(x, 120)) << x;
  for (int x : {2, 120, 237}) EXPECT_FALSE(ring.PointIn(x, 120)) << x;
  EXPECT_TRUE(ring.PointIn(120, 0));
  EXPECT_TRUE(ring.PointIn(120, 1));
  EXPECT_FALSE(ring.PointIn(120, 2));
  EXPECT_EQ(ring.Combine(disc, roDiff), TRegion()) << "the ring lies on the lens";
}
}  // namespace

// On a screen S times finer the lens is 240 S screen pixels across: 240 S / zoom source
// pixels, the given one still on the centre pixel.
TEST(LoupeGeometry, AScaledLensShowsScaleTimesAsManySourcePixels) {
  EXPECT_EQ(LoupeSourceRect({511, 383}, 1, 2), (TRect{271, 143, 751, 623}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 2, 2), (TRect{391, 263, 631, 503}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 4, 2), (TRect{451, 323, 571, 443}));
  EXPECT_EQ(LoupeSourceRect({511, 383}, 4, 3), (TRect{421, 293, 601, 473}));
}

// Inside the placement the continued mapping is the copy's own; beyond it the picture goes
// on at the placement's ratio, rounded down on either side.
TEST(LoupeGeometry, TheSourcePixelContinuesPastThePlacementAtItsRatio) {
  const TRect place{0, 0, 683, 513};  // Image4 shrunk
  for (TPoint p : {TPoint{0, 0}, TPoint{682, 512}, TPoint{341, 256}})
    EXPECT_EQ(SourcePixelAlong(place, {1024, 768}, p), *SourcePixelAt(place, {1024, 768}, p));
  // A picture at its own size: the offset from the placement, either side of it.
  EXPECT_EQ(SourcePixelAlong({10, 20, 461, 560}, {451, 540}, {410, 620}), (TPoint{400, 600}));
  EXPECT_EQ(SourcePixelAlong({10, 20, 461, 560}, {451, 540}, {7, 18}), (TPoint{-3, -2}));
  // Shrunk by two: two screen pixels per source pixel, past the edge as well.
  EXPECT_EQ(SourcePixelAlong({0, 0, 100, 50}, {200, 100}, {101, 51}), (TPoint{202, 102}));
  EXPECT_EQ(SourcePixelAlong({0, 0, 100, 50}, {50, 25}, {-1, 51}), (TPoint{-1, 25}));
}
