#include <cstdlib>

#include "jpeg_test_support.h"

namespace {
using JpegPalette = JpegTest;

TEST_F(JpegPalette, OutputDepthFollowsTheScreenAtStartUp) {
  EXPECT_EQ(TJPEGImage().Settings().OutputDepth, od24Bit);
  UseScreenDepth(8);
  EXPECT_EQ(DefaultJpegSettings().OutputDepth, od8Bit);
  EXPECT_EQ(TJPEGImage().Settings().OutputDepth, od8Bit);
  UseScreenDepth(16);
  EXPECT_EQ(TJPEGImage().Settings().OutputDepth, od24Bit);
}

TEST_F(JpegPalette, AnEightBitScreenGetsAPictureQuantisedTo236Colours) {
  UseScreenDepth(8);
  const TBytes file = MakeJpeg({.Width = 1021, .Height = 528});
  TJPEGImage image;
  Load(image, file);
  const TBitmap& bitmap = image.DecodeToBitmap();
  ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
  ASSERT_NE(image.Palette(), nullptr);
  EXPECT_EQ(image.Palette(), bitmap.Palette());
  EXPECT_GT(image.Palette()->Count(), 100);
  EXPECT_LE(image.Palette()->Count(), 236);
  EXPECT_TRUE(image.PaletteDirty());
  // The indices are the library's; the palette is its colour map, red from component 2.
  const TLibraryImage library = LibraryDecode(file, [](jpeg_decompress_struct& d) {
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = 236;
  });
  EXPECT_TRUE(SameSamples(bitmap, library));
  const TPaletteEntry entry = image.Palette()->Entry(17);
  EXPECT_EQ(entry, (TPaletteEntry{library.ColorMap[2][17], library.ColorMap[1][17], library.ColorMap[0][17], 0}));
  // And the colours stay near the full-colour picture's.
  const TLibraryImage full = LibraryDecode(file);
  for (auto [x, y] : {std::pair{0, 0}, {500, 300}, {1020, 527}}) {
    const uint8_t* bgr = full.Samples.data() + (size_t(y) * 1021 + size_t(x)) * 3;
    const uint32_t rgb = bitmap.PixelRGB(x, y);
    EXPECT_LT(std::abs(int(rgb & 0xFF) - bgr[2]), 48) << x << "," << y;
    EXPECT_LT(std::abs(int(rgb >> 8 & 0xFF) - bgr[1]), 48) << x << "," << y;
    EXPECT_LT(std::abs(int(rgb >> 16 & 0xFF) - bgr[0]), 48) << x << "," << y;
  }
}

TEST_F(JpegPalette, ATrueColourPictureOnAnEightBitScreenOffersTheHalftonePalette) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 8, .Height = 8}));
  EXPECT_EQ(image.Palette(), nullptr);
  SetScreenDepthQuery([] { return 8; });
  ASSERT_NE(image.Palette(), nullptr);
  EXPECT_EQ(*image.Palette(), HalftonePalette());
  // Decoding at 24 bits drops that work palette.
  image.DecodeToBitmap();
  EXPECT_EQ(image.Palette(), nullptr);
}

TEST_F(JpegPalette, TheWorkPaletteBecomesTheDecodersColourMap) {
  UseScreenDepth(8);
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 64, .Height = 32}));
  const TPalette screen({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}});
  image.SetPalette(&screen);
  const TBitmap& bitmap = image.DecodeToBitmap();
  ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
  ASSERT_NE(bitmap.Palette(), nullptr);
  EXPECT_EQ(*bitmap.Palette(), screen);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_LT(bitmap.ScanLine(y)[x], 5) << x << "," << y;
}

TEST_F(JpegPalette, ChangingThePaletteDropsABitmapThatUsesAnother) {
  UseScreenDepth(8);
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 16, .Height = 16}));
  int changes = 0;
  image.OnChange = [&](TObject*) { ++changes; };
  const TPalette decoded = *image.DecodeToBitmap().Palette();
  image.SetPaletteDirty(false);
  changes = 0;
  image.SetPalette(&decoded);  // the palette it already has: the bitmap stays
  EXPECT_NE(image.DecodedBitmap(), nullptr);
  EXPECT_EQ(changes, 0);
  const TPalette other({{1, 2, 3, 0}, {200, 200, 200, 0}});
  image.SetPalette(&other);
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  EXPECT_TRUE(image.PaletteDirty());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(*image.Palette(), other);
  EXPECT_EQ(image.DecodeToBitmap().Palette()->Count(), 2);
}
}  // namespace
