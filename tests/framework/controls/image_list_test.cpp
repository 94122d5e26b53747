// The image list: see-through colours, the two disabled looks, and change links, each
// subscriber with a link of its own.
#include <gtest/gtest.h>

#include <memory>

#include "framework/controls/image_list.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

namespace {
// A 4 x 2 image: red with a green bottom-left pixel.
const TBitmap& RedWithGreenCorner() {
  static const std::unique_ptr<TBitmap> image = [] {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(4, 2);
    b->Canvas().Brush().SetColor(clRed);
    b->Canvas().FillRect({0, 0, 4, 2});
    b->Canvas().SetPixel(0, 1, clLime);
    return b;
  }();
  return *image;
}

struct ImageListTest : ::testing::Test {
  TImageList List{nullptr};
  TBitmap Surface;
  ImageListTest() {
    List.SetWidth(4);
    List.SetHeight(2);
    Surface.SetPixelFormat(pf32bit);
    Surface.SetSize(6, 4);
    Surface.Canvas().Brush().SetColor(clWhite);
    Surface.Canvas().FillRect({0, 0, 6, 4});
  }
  uint32_t At(int x, int y) const { return Surface.PixelRGB(x, y); }
};
}  // namespace

TEST_F(ImageListTest, AddedImagesSeeThroughTheirBottomLeftColourAndMaskedOnesThroughTheGivenOne) {
  EXPECT_EQ(List.Add(RedWithGreenCorner()), 0);
  EXPECT_EQ(List.AddMasked(RedWithGreenCorner(), clNone), 1);
  EXPECT_EQ(List.AddMasked(RedWithGreenCorner(), clRed), 2);
  List.Draw(Surface.Canvas(), 1, 1, 0, true);
  EXPECT_EQ(At(1, 2), 0xFFFFFFu) << "the corner's green is see-through";
  EXPECT_EQ(At(2, 2), 0x0000FFu);
  List.Draw(Surface.Canvas(), 1, 1, 1, true);
  EXPECT_EQ(At(1, 2), 0x00FF00u) << "clNone: every pixel is drawn";
  List.Draw(Surface.Canvas(), 1, 1, 2, true);
  EXPECT_EQ(At(2, 1), 0x0000FFu) << "red is see-through: the last image left it";
  List.Draw(Surface.Canvas(), 1, 1, 3, true);
  EXPECT_EQ(At(0, 0), 0xFFFFFFu) << "an index past the list draws nothing";
}

TEST_F(ImageListTest, DisabledImagesAreASilhouetteUnlessGreyShadesAreChosen) {
  List.AddMasked(RedWithGreenCorner(), clNone);
  EXPECT_EQ(List.DisabledLook(), dlSilhouette);
  List.Draw(Surface.Canvas(), 0, 0, 0, false);
  const uint32_t shadow = uint32_t(ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(0, 0), shadow);
  EXPECT_EQ(At(0, 1), shadow) << "one colour whatever the pixel";
  List.SetDisabledLook(dlGrayShades);
  List.Draw(Surface.Canvas(), 0, 0, 0, false);
  const uint32_t red = At(1, 0), green = At(0, 1);
  EXPECT_NE(red, shadow);
  EXPECT_EQ(red, green) << "pure red and pure green have the same lightness";
  // Red's lightness is half way: a grey of 128, lifted half way toward the face.
  const uint32_t face = uint32_t(ColorToRGB(clBtnFace));
  EXPECT_NEAR(GetRValue(red), (128 + GetRValue(face)) / 2.0, 1.0);
  EXPECT_NEAR(GetGValue(red), (128 + GetGValue(face)) / 2.0, 1.0);
  EXPECT_NEAR(GetBValue(red), (128 + GetBValue(face)) / 2.0, 1.0);
}

TEST_F(ImageListTest, EveryLinkHearsEveryChangeAndLeavesWhenFreed) {
  int heardA = 0, heardB = 0;
  TChangeLink a;
  a.OnChange = [&](TObject*) { ++heardA; };
  auto b = std::make_unique<TChangeLink>();
  b->OnChange = [&](TObject*) { ++heardB; };
  List.RegisterChanges(&a);
  List.RegisterChanges(b.get());
  List.Add(RedWithGreenCorner());
  List.SetDisabledLook(dlGrayShades);
  List.SetDisabledLook(dlGrayShades);
  EXPECT_EQ(heardA, 2) << "an unchanged look tells nobody";
  EXPECT_EQ(heardB, 2);
  b.reset();
  List.Clear();
  EXPECT_EQ(heardA, 3) << "a freed link is gone from the list";
  List.SetWidth(8);
  EXPECT_EQ(heardA, 4) << "a new size is news even to an empty list";
  {
    TImageList other(nullptr);
    other.RegisterChanges(&a);
    EXPECT_EQ(a.Sender(), &other) << "a link follows one list at a time";
    List.Add(RedWithGreenCorner());
    EXPECT_EQ(heardA, 4);
  }
  EXPECT_EQ(a.Sender(), nullptr) << "a freed list lets its links go";
}
