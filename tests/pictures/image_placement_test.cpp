// Where an image view draws its picture: the sixteen photographs of the main window in their
// boxes, and the rule's other cases, through a real image view holding a picture of that size.
#include <gtest/gtest.h>

#include "framework/graphics/bitmap.h"
#include "pictures/image.h"

namespace {
struct TFit {
  int BoxWidth, BoxHeight, PictureWidth, PictureHeight, ShownWidth, ShownHeight;
};

// The photographs of the main window: box, picture size, shown size.
const TFit kPhotographs[] = {
    {689, 361, 1021, 528, 689, 356}, {409, 169, 403, 168, 403, 168}, {689, 361, 701, 350, 689, 344},
    {689, 513, 1024, 768, 683, 513}, {441, 305, 450, 311, 441, 304}, {505, 345, 500, 345, 500, 345},
    {273, 217, 274, 212, 273, 211}, {273, 209, 274, 212, 270, 209}, {689, 385, 773, 426, 689, 379},
    {689, 393, 771, 438, 689, 391}, {689, 401, 770, 447, 689, 399}, {369, 265, 367, 267, 364, 265},
    {369, 265, 367, 267, 364, 265}, {641, 217, 635, 214, 635, 214}, {593, 201, 607, 205, 593, 200},
    {449, 537, 451, 540, 448, 537},
};

// An image view with a box of cw x ch holding a w x h bitmap.
class TPlacedImage {
 public:
  TPlacedImage(int cw, int ch, int w, int h) : Image(nullptr) {
    Image.SetBounds(264, 64, cw, ch);
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    Image.Picture()->SetGraphic(&bitmap);
  }
  TImage Image;
};

TEST(ImagePlacement, EveryPhotographOfTheMainWindowComesOutAtItsShownSize) {
  int index = 1;
  for (const TFit& fit : kPhotographs) {
    TPlacedImage placed(fit.BoxWidth, fit.BoxHeight, fit.PictureWidth, fit.PictureHeight);
    placed.Image.SetProportional(true);
    EXPECT_EQ(placed.Image.DestRect(), (TRect{0, 0, fit.ShownWidth, fit.ShownHeight})) << "Image" << index;
    ++index;
  }
}

TEST(ImagePlacement, TheRatioIsADoubleMultipliedAtExtendedPrecisionAndTruncated) {
  // 513 x (4/3 held as a double) is 683.99999999999996 at extended precision.
  EXPECT_EQ(PlacementRect(1024, 768, 689, 513, false, true, false), (TRect{0, 0, 683, 513}));
  // Exactly representable ratios give the exact products.
  EXPECT_EQ(PlacementRect(800, 400, 300, 100, false, true, false), (TRect{0, 0, 200, 100}));
  // First step too tall, second step from the height: 274 x 212 in 273 x 209.
  EXPECT_EQ(PlacementRect(274, 212, 273, 209, false, true, false), (TRect{0, 0, 270, 209}));
}

TEST(ImagePlacement, APictureThatFitsIsNeverEnlargedByProportionalAlone) {
  EXPECT_EQ(PlacementRect(403, 168, 409, 169, false, true, false), (TRect{0, 0, 403, 168}));
  EXPECT_EQ(PlacementRect(409, 169, 409, 169, false, true, false), (TRect{0, 0, 409, 169})) << "equal counts as fitting";
  EXPECT_EQ(PlacementRect(403, 168, 409, 169, false, false, false), (TRect{0, 0, 403, 168}));
  // Only one direction too large is enough to scale.
  EXPECT_EQ(PlacementRect(274, 212, 273, 217, false, true, false), (TRect{0, 0, 273, 211}));
}

TEST(ImagePlacement, StretchScalesEitherWayAndWithoutProportionalFillsTheBox) {
  EXPECT_EQ(PlacementRect(100, 50, 300, 200, true, true, false), (TRect{0, 0, 300, 150})) << "enlarged";
  EXPECT_EQ(PlacementRect(100, 50, 300, 200, true, false, false), (TRect{0, 0, 300, 200}));
  EXPECT_EQ(PlacementRect(1021, 528, 689, 361, true, false, false), (TRect{0, 0, 689, 361}));
  // Stretching an empty picture fills the box too: there is no ratio to keep.
  EXPECT_EQ(PlacementRect(0, 0, 40, 30, true, true, false), (TRect{0, 0, 40, 30}));
}

TEST(ImagePlacement, SquareAndTallPicturesFitByTheHeightFirst) {
  EXPECT_EQ(PlacementRect(500, 500, 300, 200, false, true, false), (TRect{0, 0, 200, 200}));
  EXPECT_EQ(PlacementRect(500, 500, 200, 300, false, true, false), (TRect{0, 0, 200, 200})) << "too wide at full height";
  EXPECT_EQ(PlacementRect(451, 540, 449, 537, false, true, false), (TRect{0, 0, 448, 537}));
  EXPECT_EQ(PlacementRect(300, 900, 200, 200, false, true, false), (TRect{0, 0, 66, 200}));
}

TEST(ImagePlacement, CenterMovesByHalfTheSlackTruncatedTowardZero) {
  EXPECT_EQ(PlacementRect(403, 168, 409, 169, false, true, true), (TRect{3, 0, 406, 168}));
  // A picture wider than its box, drawn at its own size, moves left by half the excess.
  EXPECT_EQ(PlacementRect(415, 171, 409, 169, false, false, true), (TRect{-3, -1, 412, 170}));
  EXPECT_EQ(PlacementRect(1024, 768, 689, 513, false, true, true), (TRect{3, 0, 686, 513}));
}

TEST(ImagePlacement, AnEmptyPictureHasAnEmptyRectangle) {
  TImage image(nullptr);
  EXPECT_EQ(image.Width(), 105);
  EXPECT_EQ(image.Height(), 105);
  image.SetProportional(true);
  EXPECT_TRUE(image.DestRect().IsEmpty());
  image.SetCenter(true);
  EXPECT_EQ(image.DestRect(), (TRect{52, 52, 52, 52}));
}
}  // namespace
