#include <random>

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "jpeg_test_support.h"

namespace {
using JpegFailure = JpegTest;

TEST_F(JpegFailure, CountZeroIsNotEmptyButFailsWithCode42AtTheFirstDraw) {
  TJPEGImage image;
  Load(image, {});
  EXPECT_FALSE(image.Empty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
  TBitmap target;
  target.SetSize(4, 4);
  try {
    image.DrawInto(target.Canvas(), {0, 0, 4, 4});
    FAIL() << "drew";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code, 42);
    EXPECT_STREQ(e.what(), "JPEG error #42");
  }
  // The failed decode is kept, so a repaint does not fail again.
  ASSERT_NE(image.DecodedBitmap(), nullptr);
  EXPECT_NO_THROW(image.DrawInto(target.Canvas(), {0, 0, 4, 4}));
}

TEST_F(JpegFailure, AnImageNeverGivenDataIsEmptyAndFailsLikeAnEmptyFile) {
  TJPEGImage image;
  EXPECT_TRUE(image.Empty());
  EXPECT_THROW(image.DecodeToBitmap(), EJPEG);
}

TEST_F(JpegFailure, SizeChangesAreRefused) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 8, .Height = 8}));
  for (auto change : {&TJPEGImage::SetWidth, &TJPEGImage::SetHeight}) {
    try {
      (image.*change)(4);
      FAIL() << "resized";
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
    }
  }
  EXPECT_EQ(image.Width(), 8);
}

TEST_F(JpegFailure, AFileWithoutAHeaderFailsToLoad) {
  TBytes notJpeg(64, 0x42);
  TJPEGImage image;
  try {
    Load(image, notJpeg);
    FAIL() << "loaded";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code, 53);  // not a JPEG file: starts with something other than a start-of-image marker
    EXPECT_STREQ(e.what(), "JPEG error #53");
  }
}

TEST_F(JpegFailure, StoredCountBeyondTheStreamIsAReadError) {
  TMemoryStream stored;
  const int32_t count = 1 << 30;
  stored.WriteBuffer(&count, 4);
  stored.WriteBuffer("\xFF\xD8", 2);
  stored.SetPosition(0);
  TJPEGImage image;
  EXPECT_THROW(image.ReadStoredData(stored), EReadError);
  const int32_t negative = -5;
  stored.SetPosition(0);
  stored.WriteBuffer(&negative, 4);
  stored.SetPosition(0);
  EXPECT_THROW(image.ReadStoredData(stored), EReadError);
}

TEST_F(JpegFailure, TruncatedDataDecodesAsFarAsTheLibraryGets) {
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const TBytes full = MakeJpeg({.Width = 200, .Height = 160, .Progressive = progressive});
    const TBytes half(full.begin(), full.begin() + ptrdiff_t(full.size() / 2));
    TJPEGImage image;
    Load(image, half);
    EXPECT_EQ(image.Width(), 200);
    const TBitmap* bitmap = nullptr;
    ASSERT_NO_THROW(bitmap = &image.DecodeToBitmap());
    EXPECT_TRUE(SameSamples(*bitmap, LibraryDecode(half)));
    if (!progressive) {
      // The rows that arrived are the complete picture's rows.
      const TLibraryImage complete = LibraryDecode(full);
      EXPECT_EQ(std::memcmp(bitmap->ScanLine(0), complete.Samples.data(), 600), 0);
    }
  }
}

TEST_F(JpegFailure, DataCutRightAfterTheHeaderNeverCrashes) {
  const TBytes full = MakeJpeg({.Width = 50, .Height = 40});
  for (size_t keep : {size_t(2), size_t(20), size_t(200), size_t(400), full.size() - 2}) {
    SCOPED_TRACE(keep);
    const TBytes cut(full.begin(), full.begin() + ptrdiff_t(std::min(keep, full.size())));
    TJPEGImage image;
    try {
      Load(image, cut);
      image.DecodeToBitmap();
    } catch (const EJPEG& e) {
      EXPECT_EQ(std::string(e.what()), "JPEG error #" + std::to_string(e.Code));
    }
  }
}

TEST_F(JpegFailure, CorruptBytesEndInAPictureOrAJpegError) {
  const TBytes file = MakeJpeg({.Width = 96, .Height = 64, .Progressive = true});
  std::mt19937 random(1234);
  int failures = 0, pictures = 0;
  for (int round = 0; round < 60; ++round) {
    TBytes damaged = file;
    for (int i = 0; i < 6; ++i) damaged[random() % damaged.size()] = uint8_t(random());
    TJPEGImage image;
    try {
      Load(image, damaged);
      const TBitmap& bitmap = image.DecodeToBitmap();
      EXPECT_EQ(bitmap.Width(), image.Width());
      ++pictures;
    } catch (const Exception& e) {
      // A library error, or a header asking for more pixels than a bitmap may hold.
      EXPECT_TRUE(dynamic_cast<const EJPEG*>(&e) != nullptr || e.Message() == "Out of system resources") << e.what();
      ++failures;
    }
  }
  EXPECT_EQ(failures + pictures, 60);
}

TEST_F(JpegFailure, AHeaderAskingForAnAbsurdPictureIsRefusedBeforeDecoding) {
  TBytes file = MakeJpeg({.Width = 16, .Height = 16, .Progressive = true});
  // The start-of-frame segment: FF C2, length, precision, then height and width.
  size_t sof = 0;
  while (!(file[sof] == 0xFF && file[sof + 1] == 0xC2)) ++sof;
  file[sof + 5] = 0xFF, file[sof + 6] = 0xDC;  // height 65500
  file[sof + 7] = 0xFF, file[sof + 8] = 0xDC;  // width 65500
  TJPEGImage image;
  Load(image, file);
  EXPECT_EQ(image.Width(), 65500);
  try {
    image.DecodeToBitmap();
    FAIL() << "decoded";
  } catch (const EOutOfResources& e) {
    EXPECT_STREQ(e.what(), "Out of system resources");
  }
}

TEST_F(JpegFailure, FourComponentFilesAreRefusedNotWrittenPastTheRows) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 16, .Height = 16, .Cmyk = true}));
  EXPECT_EQ(image.Width(), 16);
  try {
    image.DecodeToBitmap();
    FAIL() << "decoded";
  } catch (const EJPEG& e) {
    EXPECT_STREQ(e.what(), "JPEG error #27");
  }
}
}  // namespace
