#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "jpeg_test_support.h"

namespace {
using JpegStorage = JpegTest;

TEST_F(JpegStorage, StoredDataRoundTripsByteForByte) {
  const TBytes file = MakeJpeg({.Width = 403, .Height = 168});
  TMemoryStream stored = StoredValue(file);
  stored.Seek(0, TSeekOrigin::End);
  stored.WriteBuffer("tail", 4);  // what follows the value is left alone
  stored.SetPosition(0);
  TJPEGImage image;
  image.ReadStoredData(stored);
  EXPECT_EQ(stored.Position(), int64_t(4 + file.size()));
  TMemoryStream written;
  image.WriteStoredData(written);
  EXPECT_EQ(written.Bytes(), StoredValue(file).Bytes());
  image.DecodeToBitmap();  // decoding never touches the encoded bytes
  TMemoryStream again;
  image.WriteStoredData(again);
  EXPECT_EQ(again.Bytes(), written.Bytes());
  TMemoryStream saved;
  image.SaveToByteStream(saved);
  EXPECT_EQ(saved.Bytes(), file);
}

TEST_F(JpegStorage, AnEmptyImageStoresAZeroCount) {
  TJPEGImage image;
  TMemoryStream written;
  image.WriteStoredData(written);
  EXPECT_EQ(written.Bytes(), TBytes(4, 0));
}

TEST_F(JpegStorage, LoadFromByteStreamTakesTheRestOfTheStream) {
  const TBytes file = MakeJpeg({.Width = 9, .Height = 11});
  TBytes prefixed(3 + file.size(), 0x55);
  std::copy(file.begin(), file.end(), prefixed.begin() + 3);
  TMemoryStream stream = StreamOf(prefixed);
  stream.SetPosition(3);
  TJPEGImage image;
  image.LoadFromByteStream(stream);
  EXPECT_EQ(image.Width(), 9);
  EXPECT_EQ(image.Data()->EncodedBytes->Bytes(), file);
}

TEST_F(JpegStorage, CopiesShareTheEncodedData) {
  TJPEGImage source;
  Load(source, MakeJpeg({.Width = 30, .Height = 20}));
  TJPEGImage copy;
  copy.CopyFrom(&source);
  EXPECT_EQ(copy.Data(), source.Data());
  EXPECT_EQ(source.Data().use_count(), 2);
  EXPECT_EQ(copy.DecodedBitmap(), nullptr);
  EXPECT_TRUE(copy.SameAs(source));
  {
    TJPEGImage third;
    third.CopyFrom(&copy);
    EXPECT_EQ(source.Data().use_count(), 3);
  }
  EXPECT_EQ(source.Data().use_count(), 2);
  // A decoded source gives the copy a bitmap of its own with the same pixels.
  const TBitmap& decoded = source.DecodeToBitmap();
  TJPEGImage decodedCopy;
  decodedCopy.CopyFrom(&source);
  ASSERT_NE(decodedCopy.DecodedBitmap(), nullptr);
  EXPECT_NE(decodedCopy.DecodedBitmap(), &decoded);
  EXPECT_EQ(decodedCopy.DecodedBitmap()->Image().Bits, decoded.Image().Bits);
}

TEST_F(JpegStorage, SameAsComparesEncodedBytes) {
  const TBytes file = MakeJpeg({.Width = 12, .Height = 12});
  TJPEGImage a, b, c;
  Load(a, file);
  Load(b, file);
  Load(c, MakeJpeg({.Width = 12, .Height = 12, .Quality = 50}));
  EXPECT_TRUE(a.SameAs(b));
  EXPECT_FALSE(a.SameAs(c));
  TBitmap bitmap;
  EXPECT_FALSE(a.SameAs(bitmap));
  EXPECT_FALSE(TJPEGImage().SameAs(TJPEGImage()));  // two fresh images hold different data
}

TEST_F(JpegStorage, CopyingIntoABitmapDecodes) {
  const TBytes file = MakeJpeg({.Width = 21, .Height = 13});
  TJPEGImage image;
  Load(image, file);
  TBitmap bitmap;
  bitmap.CopyFrom(&image);
  EXPECT_NE(image.DecodedBitmap(), nullptr);
  EXPECT_TRUE(SameSamples(bitmap, LibraryDecode(file)));
  EXPECT_THROW(image.CopyFrom(nullptr), EConvertError);
}

TEST_F(JpegStorage, ABitmapIsEncodedOnDemand) {
  TBitmap source;
  source.SetSize(40, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) source.Canvas().SetPixel(x, y, TColor(PatternSample(x, y, 0) | PatternSample(x, y, 1) << 8));
  TJPEGImage image;
  image.CopyFrom(&source);
  EXPECT_FALSE(image.Empty());
  EXPECT_EQ(image.Data()->EncodedBytes, nullptr);
  EXPECT_EQ(image.Width(), 40);
  TMemoryStream file;
  image.SaveToByteStream(file);
  ASSERT_GT(file.Size(), 100);
  EXPECT_EQ(file.Bytes()[0], 0xFF);
  EXPECT_EQ(file.Bytes()[1], 0xD8);
  EXPECT_EQ(image.Data()->HeaderWidth, 40);
  // Saving again reuses the bytes instead of encoding anew.
  const TMemoryStream* encoded = image.Data()->EncodedBytes.get();
  TMemoryStream second;
  image.SaveToByteStream(second);
  EXPECT_EQ(image.Data()->EncodedBytes.get(), encoded);
  EXPECT_EQ(second.Bytes(), file.Bytes());

  TJPEGImage reloaded;
  file.SetPosition(0);
  reloaded.LoadFromByteStream(file);
  const TBitmap& decoded = reloaded.DecodeToBitmap();
  for (auto [x, y] : {std::pair{0, 0}, {20, 12}, {39, 23}}) {
    const uint32_t want = source.PixelRGB(x, y), got = decoded.PixelRGB(x, y);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), 12) << x << "," << y;
  }
}

TEST_F(JpegStorage, EncoderSettingsMakeGreyAndProgressiveFiles) {
  TBitmap source;
  source.SetSize(33, 17);
  source.Canvas().Brush().SetColor(clRed);
  source.Canvas().FillRect({0, 0, 33, 17});
  TJPEGImage image;
  TJPEGSettings settings = image.Settings();
  settings.GrayscaleOutput = true;
  settings.MultiScanEncoding = true;
  image.SetSettings(settings);
  image.CopyFrom(&source);
  TMemoryStream file;
  image.SaveToByteStream(file);
  EXPECT_TRUE(image.Data()->HeaderGrayscale);
  file.SetPosition(0);
  TJPEGImage reloaded;
  reloaded.LoadFromByteStream(file);
  EXPECT_TRUE(reloaded.Data()->HeaderGrayscale);
  EXPECT_TRUE(reloaded.Settings().MultiScanEncoding);
  EXPECT_EQ(reloaded.Width(), 33);
  EXPECT_EQ(reloaded.DecodeToBitmap().PixelFormat(), pf8bit);
}
}  // namespace
