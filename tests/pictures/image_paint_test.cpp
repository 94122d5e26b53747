// An image view on a shown form: decoding at the first paint only, what shows around a
// fitted picture, opacity, the property writers and the palette request.
#include "image_test_support.h"

namespace {
TEST_F(ImageTest, AShownViewDecodesAtItsFirstPaintAndNeverAgain) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(264, 64, 409, 169), MakeJpeg({.Width = 403, .Height = 168}));
  image->SetVisible(false);
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(Jpeg(*image).DecodedBitmap(), nullptr) << "an invisible view is never decoded";
  EXPECT_EQ(image->Decodes, 0);

  image->SetVisible(true);
  App->ProcessMessages();
  ASSERT_NE(Jpeg(*image).DecodedBitmap(), nullptr);
  EXPECT_EQ(image->Decodes, 1);
  const TBitmap* decoded = Jpeg(*image).DecodedBitmap();
  form->Invalidate();
  App->ProcessMessages();
  image->Repaint();
  EXPECT_EQ(image->Decodes, 1);
  EXPECT_EQ(Jpeg(*image).DecodedBitmap(), decoded);
}

TEST_F(ImageTest, APictureSmallerThanItsBoxLeavesTheParentShowingInTheStrip) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(264, 64, 409, 169), MakeJpeg({.Width = 403, .Height = 168}));
  EXPECT_FALSE(Opaque(*image));
  form->Show();
  App->ProcessMessages();
  const TBitmap& decoded = *Jpeg(*image).DecodedBitmap();
  for (const TPoint p : {TPoint{0, 0}, TPoint{402, 0}, TPoint{0, 167}, TPoint{402, 167}, TPoint{200, 80}})
    EXPECT_EQ(Shown(*form, 264 + p.X, 64 + p.Y), decoded.PixelRGB(p.X, p.Y)) << p.X << "," << p.Y;
  for (const TPoint p : {TPoint{403, 0}, TPoint{408, 168}, TPoint{0, 168}, TPoint{405, 100}})
    EXPECT_EQ(Shown(*form, 264 + p.X, 64 + p.Y), kSkyBlue) << p.X << "," << p.Y;
  EXPECT_EQ(Shown(*form, 263, 64), kSkyBlue);
}

TEST_F(ImageTest, CentredThePictureStartsAtHalfTheSlack) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(264, 64, 409, 169), MakeJpeg({.Width = 403, .Height = 168}));
  image->SetCenter(true);
  form->Show();
  App->ProcessMessages();
  const TBitmap& decoded = *Jpeg(*image).DecodedBitmap();
  EXPECT_EQ(Shown(*form, 264 + 2, 64), kSkyBlue);
  EXPECT_EQ(Shown(*form, 264 + 3, 64), decoded.PixelRGB(0, 0));
  EXPECT_EQ(Shown(*form, 264 + 405, 64 + 167), decoded.PixelRGB(402, 167));
  EXPECT_EQ(Shown(*form, 264 + 406, 64), kSkyBlue);
}

TEST_F(ImageTest, AFittedPhotographIsReducedByDroppingRowsAndColumns) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(264, 64, 689, 513), MakeJpeg({.Width = 1024, .Height = 768}));
  form->Show();
  App->ProcessMessages();
  const TBitmap& decoded = *Jpeg(*image).DecodedBitmap();
  // 1024 onto 683 keeps source floor((2d * 1024 - 683) / 1366) + 1; 768 onto 513 likewise.
  auto source = [](int d, int s, int dExtent) {
    const int num = 2 * d * s - dExtent, den = 2 * dExtent;
    return (num >= 0 ? num / den : -((-num + den - 1) / den)) + 1;
  };
  for (const TPoint p : {TPoint{0, 0}, TPoint{682, 512}, TPoint{341, 256}, TPoint{100, 400}})
    EXPECT_EQ(Shown(*form, 264 + p.X, 64 + p.Y),
              decoded.PixelRGB(std::min(source(p.X, 1024, 683), 1023), std::min(source(p.Y, 768, 513), 767)))
        << p.X << "," << p.Y;
  EXPECT_EQ(Shown(*form, 264 + 683, 64), kSkyBlue) << "683 wide, not 684";
  EXPECT_EQ(Shown(*form, 264 + 688, 64 + 512), kSkyBlue);
  EXPECT_FALSE(Opaque(*image));
}

TEST_F(ImageTest, OpaqueOnlyWhenAnUntransparentPictureCoversTheWholeBox) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(0, 0, 40, 30), MakeJpeg({.Width = 40, .Height = 30}));
  EXPECT_TRUE(Opaque(*image));
  image->SetTransparent(true);
  EXPECT_TRUE(Jpeg(*image).Transparent()) << "passed to the graphic";
  EXPECT_FALSE(Opaque(*image));
  image->SetTransparent(false);
  EXPECT_TRUE(Opaque(*image));
  image->SetBounds(0, 0, 40, 31);
  image->SetProportional(false);
  image->SetStretch(true);
  EXPECT_TRUE(Opaque(*image)) << "stretched without keeping the ratio";
  image->SetProportional(true);
  EXPECT_FALSE(Opaque(*image)) << "40 x 30 kept in 40 x 31 leaves a row";
  image->SetCenter(true);
  EXPECT_FALSE(Opaque(*image));
  image->Picture()->SetGraphic(nullptr);
  EXPECT_FALSE(Opaque(*image)) << "an empty picture";
  image->SetStretch(false);
  image->Picture()->CopyFrom(nullptr);
  EXPECT_TRUE(image->DestRect().IsEmpty());
}

TEST_F(ImageTest, AnEmptyViewDrawsNothing) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(264, 64, 100, 80), {});
  form->Show();
  App->ProcessMessages();
  EXPECT_FALSE(Opaque(*image));
  EXPECT_EQ(Shown(*form, 264, 64), kSkyBlue);
  EXPECT_EQ(Shown(*form, 363, 143), kSkyBlue);
}

TEST_F(ImageTest, PlacementWritersRerunTheHandlingOnlyOnAChange) {
  TCountingImage image(nullptr);
  image.SetCenter(true);
  image.SetCenter(true);
  image.SetStretch(true);
  image.SetStretch(true);
  image.SetProportional(true);
  image.SetProportional(true);
  image.SetTransparent(true);
  image.SetTransparent(true);
  EXPECT_EQ(image.Changes, 4);
  image.SetIncrementalDisplay(true);
  image.SetAutoSize(false);
  EXPECT_EQ(image.Changes, 4);
}

TEST_F(ImageTest, AutoSizeTakesThePictureSizeWhereTheAlignmentAllows) {
  TBitmap bitmap;
  bitmap.SetSize(403, 168);
  TImage image(nullptr);
  image.SetBounds(5, 6, 50, 60);
  image.Picture()->SetGraphic(&bitmap);
  EXPECT_EQ(image.BoundsRect(), (TRect{5, 6, 55, 66})) << "without AutoSize the box stays";
  image.SetAutoSize(true);
  EXPECT_EQ(image.BoundsRect(), (TRect{5, 6, 408, 174}));
  bitmap.SetSize(20, 10);
  image.Picture()->SetGraphic(&bitmap);
  EXPECT_EQ(image.BoundsRect(), (TRect{5, 6, 25, 16})) << "a new picture resizes";
  int w = 1, h = 2;
  image.SetAlign(alTop);
  ASSERT_TRUE(image.CanAutoSize(w, h));
  EXPECT_EQ(w, 1) << "aligned top: the width is the parent's business";
  EXPECT_EQ(h, 10);
  w = 1, h = 2;
  image.SetAlign(alRight);
  image.CanAutoSize(w, h);
  EXPECT_EQ(w, 20);
  EXPECT_EQ(h, 2);
  w = 1, h = 2;
  image.SetAlign(alClient);
  image.CanAutoSize(w, h);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 2);
}

TEST_F(ImageTest, AFailingDecodeReachesTheHostAndIsNotRetried) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(10, 10, 50, 50), {});
  TMemoryStream value = StoredPicture({});
  image->Picture()->ReadData(value);
  std::vector<std::string> errors;
  App->WindowSystem().SetExceptionHandler([&](std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const Exception& e) {
      errors.push_back(e.Message());
    }
  });
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(errors, (std::vector<std::string>{"JPEG error #42"}));
  ASSERT_NE(Jpeg(*image).DecodedBitmap(), nullptr) << "the empty bitmap is kept";
  EXPECT_TRUE(Jpeg(*image).DecodedBitmap()->Empty());
  image->Invalidate();
  App->ProcessMessages();
  EXPECT_EQ(errors.size(), 1u) << "not decoded again";
}

TEST_F(ImageTest, ATrueColourScreenIsNeverAskedToRealiseAPalette) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(0, 0, 64, 48), MakeJpeg({}));
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(image->GetPalette(), nullptr);
  EXPECT_EQ(form->PaletteQueries, 0);
  EXPECT_FALSE(Jpeg(*image).PaletteDirty()) << "no palette: the flag is cleared";
}

class PaletteScreenTest : public ImageTest {
 protected:
  PaletteScreenTest() : ImageTest(THeadlessScreen{.BitsPerPixel = 8}) {}
};

TEST_F(PaletteScreenTest, TheDecodedPaletteIsRealisedByTheActiveFormOnly) {
  TPaletteForm* form = MakeForm();
  TCountingImage* image = AddImage(form, Bounds(0, 0, 64, 48), MakeJpeg({}));
  form->Show();
  App->ProcessMessages();
  ASSERT_NE(Jpeg(*image).DecodedBitmap(), nullptr);
  EXPECT_EQ(Jpeg(*image).DecodedBitmap()->PixelFormat(), pf8bit);
  ASSERT_NE(image->GetPalette(), nullptr);
  EXPECT_GE(form->PaletteQueries, 1) << "sent while painting";
  EXPECT_FALSE(Jpeg(*image).PaletteDirty());

  // Not active: the request waits, the flag stays set.
  TPaletteForm* other = MakeForm();
  TCountingImage* inactive = AddImage(other, Bounds(0, 0, 64, 48), MakeJpeg({.Width = 32, .Height = 32}));
  other->Show();
  form->Activate();
  ASSERT_FALSE(other->Active());
  const int before = other->PaletteQueries;
  Jpeg(*inactive).DecodeToBitmap();
  EXPECT_TRUE(Jpeg(*inactive).PaletteDirty());
  EXPECT_EQ(other->PaletteQueries, before);
  // Active again and changed outside a paint: the request is posted.
  other->Activate();
  inactive->SetStretch(true);
  EXPECT_FALSE(Jpeg(*inactive).PaletteDirty());
  EXPECT_EQ(other->PaletteQueries, before) << "posted, not sent";
  App->ProcessMessages();
  EXPECT_EQ(other->PaletteQueries, before + 1);
}

}  // namespace
