// Hostile and unusual files, copies decoding at the same time, and the progress clock.
#include <algorithm>
#include <memory>

#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "jpeg_test_support.h"
#include "pictures/jpeg_glue.h"
#include "platform/headless/headless_backend.h"

namespace {
using JpegSafety = JpegTest;

TJPEGSettings EightBit(bool eachScan = false) {
  TJPEGSettings s = DefaultJpegSettings();
  s.OutputDepth = od8Bit;
  s.ShowEachScan = eachScan;
  return s;
}

// The byte offsets of every marker segment `marker` (0xFF, marker).
std::vector<size_t> MarkerOffsets(const TBytes& file, uint8_t marker) {
  std::vector<size_t> found;
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == marker) found.push_back(i);
  return found;
}

// A progressive file whose first scan (with its entropy data) is repeated `copies` times.
TBytes WithRepeatedScan(const TBytes& progressive, int copies) {
  const std::vector<size_t> scans = MarkerOffsets(progressive, 0xDA);
  const TBytes scan(progressive.begin() + ptrdiff_t(scans[0]), progressive.begin() + ptrdiff_t(scans[1]));
  TBytes file(progressive.begin(), progressive.begin() + ptrdiff_t(scans[1]));
  for (int i = 0; i < copies; ++i) file.insert(file.end(), scan.begin(), scan.end());
  file.insert(file.end(), progressive.begin() + ptrdiff_t(scans[1]), progressive.end());
  return file;
}

// A baseline file whose frame header claims `width` x `height`.
TBytes WithClaimedSize(TBytes file, int width, int height) {
  const size_t frame = MarkerOffsets(file, 0xC0).at(0);
  file[frame + 5] = uint8_t(height >> 8);
  file[frame + 6] = uint8_t(height);
  file[frame + 7] = uint8_t(width >> 8);
  file[frame + 8] = uint8_t(width);
  return file;
}

TEST_F(JpegSafety, FilesWithoutOneOrThreeColourSamplesAreRefusedAtEveryDepth) {
  for (const TJpegRecipe& recipe : {TJpegRecipe{.Width = 16, .Height = 16, .TwoComponents = true},
                                    TJpegRecipe{.Width = 16, .Height = 16, .Cmyk = true}}) {
    for (TJPEGOutputDepth depth : {od8Bit, od24Bit}) {
      TJPEGImage image;
      TJPEGSettings s = image.Settings();
      s.OutputDepth = depth;
      image.SetSettings(s);
      Load(image, MakeJpeg(recipe));
      EXPECT_THROW(image.DecodeToBitmap(), EJPEG) << (recipe.Cmyk ? "CMYK" : "two components") << " depth " << depth;
    }
  }
}

TEST_F(JpegSafety, ScanByScanDisplayKeepsEveryIndexInsideTheWorkPalette) {
  TJPEGImage image;
  image.SetSettings(EightBit(true));
  Load(image, MakeJpeg({.Width = 32, .Height = 24, .Progressive = true}));
  const TPalette work(std::vector<TPaletteEntry>{{0, 0, 0, 0}, {255, 255, 255, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}});
  image.SetPalette(&work);
  TBitmap& bitmap = image.DecodeToBitmap();
  ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
  ASSERT_NE(bitmap.Palette(), nullptr);
  ASSERT_EQ(bitmap.Palette()->Entries().size(), 5u);
  uint8_t highest = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    highest = std::max(highest, *std::max_element(row, row + bitmap.Width()));
  }
  EXPECT_LT(highest, 5);
  EXPECT_GT(highest, 0) << "the picture uses more than black";
}

TEST_F(JpegSafety, AFileOfEndlessScansFailsInsteadOfHoldingThePaint) {
  const TBytes file = WithRepeatedScan(MakeJpeg({.Width = 16, .Height = 16, .Progressive = true}), kMaxJpegScans + 10);
  for (bool eachScan : {false, true}) {
    TJPEGImage image;
    TJPEGSettings s = image.Settings();
    s.ShowEachScan = eachScan;
    image.SetSettings(s);
    Load(image, file);
    try {
      image.DecodeToBitmap();
      ADD_FAILURE() << "decoded " << (eachScan ? "scan by scan" : "at once");
    } catch (const EOutOfResources& e) {
      EXPECT_STREQ(e.what(), "Out of system resources");
    }
  }
  // A few repeated scans are only a damaged file: it decodes as far as the library gets.
  TJPEGImage fine;
  Load(fine, WithRepeatedScan(MakeJpeg({.Width = 16, .Height = 16, .Progressive = true}), 3));
  EXPECT_NO_THROW(fine.DecodeToBitmap());
}

TEST_F(JpegSafety, AHeaderAskingForMoreThanTheLibraryMayUseFailsFast) {
  // The 8-bit bitmap (256,000,000 bytes) is allowed, but quantising in two passes needs a
  // full-colour copy of the whole picture in the library.
  TJPEGImage image;
  image.SetSettings(EightBit());
  Load(image, WithClaimedSize(MakeJpeg({.Width = 16, .Height = 16}), 16000, 16000));
  EXPECT_EQ(image.Width(), 16000);
  EXPECT_THROW(image.DecodeToBitmap(), EJPEG);
  ASSERT_NE(image.DecodedBitmap(), nullptr);
  EXPECT_TRUE(image.DecodedBitmap()->Empty()) << "refused before the bitmap took its memory";
}

TEST_F(JpegSafety, CopiesSharingAFileDecodeIndependentlyEvenOneInsideTheOther) {
  const TBytes file = MakeJpeg({.Width = 40, .Height = 30});
  TJPEGImage image;
  Load(image, file);
  TJPEGImage copy;
  copy.CopyFrom(&image);
  ASSERT_EQ(copy.Data(), image.Data());
  image.OnProgress = [&](TObject*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    if (stage == psStarting) copy.DecodeToBitmap();
  };
  const TLibraryImage library = LibraryDecode(file);
  EXPECT_TRUE(SameSamples(image.DecodeToBitmap(), library));
  ASSERT_NE(copy.DecodedBitmap(), nullptr);
  EXPECT_TRUE(SameSamples(*copy.DecodedBitmap(), library));
}

TEST_F(JpegSafety, AnImageMadeFromABitmapStoresItsFile) {
  TBitmap pixels;
  pixels.SetPixelFormat(pf24bit);
  pixels.SetSize(12, 10);
  pixels.Canvas().FillRect({0, 0, 12, 10});
  TJPEGImage image;
  image.CopyFrom(&pixels);
  TMemoryStream stored;
  image.WriteStoredData(stored);
  stored.SetPosition(0);
  TJPEGImage reloaded;
  reloaded.ReadStoredData(stored);
  EXPECT_EQ(reloaded.Width(), 12);
  EXPECT_EQ(reloaded.Height(), 10);
  EXPECT_NO_THROW(reloaded.DecodeToBitmap());
  EXPECT_EQ(reloaded.DecodedBitmap()->Width(), 12);
}

TEST_F(JpegSafety, AnAbortFromTheEndingReportDoesNotHideTheDecodeFailure) {
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 16, .Height = 16, .Cmyk = true}));
  image.OnProgress = [](TObject*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    if (stage == psEnding) throw EAbort("");
  };
  EXPECT_THROW(image.DecodeToBitmap(), EJPEG);
  // Without a failure the abort still cancels quietly.
  TJPEGImage fine;
  Load(fine, MakeJpeg({.Width = 16, .Height = 16}));
  fine.OnProgress = image.OnProgress;
  EXPECT_NO_THROW(fine.DecodeToBitmap());
}

// A clock that moves 100 ms every time it is read, as if each library step took that long.
class TSlowClockBackend : public THeadlessBackend {
 public:
  uint64_t TickCount() const override {
    const_cast<TSlowClockBackend*>(this)->AdvanceClock(100);
    return THeadlessBackend::TickCount();
  }
};

TEST_F(JpegSafety, ProgressIsTimedByTheWindowSystemsClock) {
  TSlowClockBackend backend;
  TWindowSystem system(backend);
  TJPEGImage image;
  Load(image, MakeJpeg({.Width = 64, .Height = 256}));
  std::vector<int> percents;
  image.OnProgress = [&](TObject*, TProgressStage stage, uint8_t percent, bool, const TRect&, const std::string&) {
    if (stage == psRunning) percents.push_back(percent);
  };
  const uint64_t before = backend.TickCount();
  image.DecodeToBitmap();
  const uint64_t reads = (backend.TickCount() - before) / 100;
  // One report at most every 500 ms of the virtual clock, so about one per five readings.
  ASSERT_GE(percents.size(), 2u);
  EXPECT_LE(percents.size(), reads / 5 + 1);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_LT(percents.back(), 100);
}
}  // namespace
