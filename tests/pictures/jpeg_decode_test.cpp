#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "jpeg_test_support.h"

namespace {
using JpegDecode = JpegTest;

TEST_F(JpegDecode, LoadReadsTheHeaderSizeWithoutDecoding) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 1021, .Height = 528}));
  EXPECT_EQ(image.Width(), 1021);
  EXPECT_EQ(image.Height(), 528);
  EXPECT_FALSE(image.Empty());
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  EXPECT_FALSE(image.Settings().MultiScanEncoding);
  EXPECT_FALSE(image.Data()->HeaderGrayscale);

  TJPEGImage grey;
  Load(grey, MakeJpeg({.Width = 7, .Height = 5, .Grey = true, .Progressive = true}));
  EXPECT_EQ(grey.Width(), 7);
  EXPECT_EQ(grey.Height(), 5);
  EXPECT_TRUE(grey.Settings().MultiScanEncoding);
  EXPECT_TRUE(grey.Data()->HeaderGrayscale);
  EXPECT_EQ(grey.DecodedBitmap(), nullptr);
}

TEST_F(JpegDecode, ColourDecodesToTheLibrarysBlueGreenRedSamples) {
  for (TJpegRecipe recipe : {TJpegRecipe{.Width = 1021, .Height = 528}, TJpegRecipe{.Width = 1021, .Height = 528, .Progressive = true},
                         TJpegRecipe{.Width = 1, .Height = 1}, TJpegRecipe{.Width = 1, .Height = 2},
                         TJpegRecipe{.Width = 1, .Height = 2, .Progressive = true}, TJpegRecipe{.Width = 37, .Height = 1}}) {
    SCOPED_TRACE(testing::Message() << recipe.Width << "x" << recipe.Height << (recipe.Progressive ? " progressive" : ""));
    const TBytes file = MakeJpeg(recipe);
    TJPEGImage image;
    Load(image, file);
    const TBitmap& bitmap = image.DecodeToBitmap();
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_TRUE(SameSamples(bitmap, LibraryDecode(file)));
  }
}

TEST_F(JpegDecode, PixelBytesAreBlueGreenRed) {
  // A flat colour survives compression closely, so the byte order shows plainly.
  TBitmap source;
  source.SetSize(16, 16);
  source.Canvas().Brush().SetColor(TColor(0x0020C0F0));  // red F0, green C0, blue 20
  source.Canvas().FillRect({0, 0, 16, 16});
  TJPEGImage encoder;
  encoder.CopyFrom(&source);
  TMemoryStream file;
  encoder.SaveToByteStream(file);
  file.SetPosition(0);
  TJPEGImage image;
  image.LoadFromByteStream(file);
  const uint8_t* pixel = image.DecodeToBitmap().ScanLine(8) + 8 * 3;
  EXPECT_NEAR(pixel[0], 0x20, 3);
  EXPECT_NEAR(pixel[1], 0xC0, 3);
  EXPECT_NEAR(pixel[2], 0xF0, 3);
}

TEST_F(JpegDecode, GreyDecodesToEightBitsWithAGreyPalette) {
  const TBytes file = MakeJpeg({.Width = 40, .Height = 30, .Grey = true});
  TJPEGImage image;
  Load(image, file);
  const TBitmap& bitmap = image.DecodeToBitmap();
  const TLibraryImage library = LibraryDecode(file, [](jpeg_decompress_struct& d) {
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = 236;
  });
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_TRUE(SameSamples(bitmap, library));
  ASSERT_NE(bitmap.Palette(), nullptr);
  ASSERT_EQ(bitmap.Palette()->Count(), int(library.ColorMap[0].size()));
  EXPECT_LE(bitmap.Palette()->Count(), 236);
  for (int i = 0; i < bitmap.Palette()->Count(); ++i) {
    const TPaletteEntry e = bitmap.Palette()->Entry(i);
    const uint8_t level = library.ColorMap[0][size_t(i)];
    EXPECT_EQ(e, (TPaletteEntry{level, level, level, 0})) << "entry " << i;
  }
}

TEST_F(JpegDecode, DrawingTwiceDecodesOnce) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 32, .Height = 24}));
  int starts = 0, ends = 0;
  image.OnProgress = [&](TObject*, TProgressStage stage, uint8_t percent, bool, const TRect&, const std::string&) {
    if (stage == psStarting) {
      ++starts;
      EXPECT_EQ(percent, 0);
    } else if (stage == psEnding) {
      ++ends;
      EXPECT_EQ(percent, 100);
    }
  };
  TBitmap target;
  target.SetSize(32, 24);
  image.DrawInto(target.Canvas(), {0, 0, 32, 24});
  const TBitmap* decoded = image.DecodedBitmap();
  image.DrawInto(target.Canvas(), {0, 0, 32, 24});
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(image.DecodedBitmap(), decoded);
  EXPECT_EQ(&image.DecodeToBitmap(), decoded);
  // Drawn at its own size, the target shows the decoded pixels.
  EXPECT_EQ(target.PixelRGB(5, 7), decoded->PixelRGB(5, 7));
  EXPECT_EQ(target.PixelRGB(31, 23), decoded->PixelRGB(31, 23));
}

TEST_F(JpegDecode, ScaledOutputSizeComesFromTheLibraryWithoutDecoding) {
  const TBytes file = MakeJpeg({.Width = 1021, .Height = 528});
  TJPEGImage image;
  Load(image, file);
  TJPEGSettings settings = image.Settings();
  settings.ScaleShift = 3;
  image.SetSettings(settings);
  EXPECT_EQ(image.Width(), 128);  // ceil(1021 / 8)
  EXPECT_EQ(image.Height(), 66);
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  const TLibraryImage library = LibraryDecode(file, [](jpeg_decompress_struct& d) { d.scale_denom = 8; });
  EXPECT_TRUE(SameSamples(image.DecodeToBitmap(), library));
}

TEST_F(JpegDecode, SettingsThatChangeDecodingDropTheBitmap) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 64, .Height = 64}));
  image.DecodeToBitmap();
  TJPEGSettings settings = image.Settings();
  settings.EncodeQuality = 50;  // encoder only
  image.SetSettings(settings);
  EXPECT_NE(image.DecodedBitmap(), nullptr);
  settings.ScaleShift = 9;  // clamped to 3
  image.SetSettings(settings);
  EXPECT_EQ(image.Settings().ScaleShift, 3);
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  EXPECT_EQ(image.DecodeToBitmap().Width(), 8);
}

TEST_F(JpegDecode, ScanByScanDisplayEndsWithTheFullQualityPicture) {
  const TBytes file = MakeJpeg({.Width = 100, .Height = 60, .Progressive = true});
  TJPEGImage image;
  Load(image, file);
  TJPEGSettings settings = image.Settings();
  settings.ShowEachScan = true;
  image.SetSettings(settings);
  EXPECT_TRUE(SameSamples(image.DecodeToBitmap(), LibraryDecode(file)));
}

TEST_F(JpegDecode, BestSpeedUsesTheFastTransform) {
  const TBytes file = MakeJpeg({.Width = 48, .Height = 40});
  TJPEGImage image;
  Load(image, file);
  TJPEGSettings settings = image.Settings();
  settings.DecodeSpeed = dsBestSpeed;
  image.SetSettings(settings);
  EXPECT_TRUE(SameSamples(image.DecodeToBitmap(),
                          LibraryDecode(file, [](jpeg_decompress_struct& d) { d.dct_method = JDCT_IFAST; })));
}

TEST_F(JpegDecode, AnAbortFromTheProgressHandlerKeepsTheBitmap) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 20, .Height = 20}));
  image.OnProgress = [](TObject*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    if (stage == psStarting) throw EAbort("");
  };
  TBitmap& bitmap = image.DecodeToBitmap();
  EXPECT_EQ(image.DecodedBitmap(), &bitmap);
  EXPECT_EQ(bitmap.Width(), 0);
}
}  // namespace
