#pragma once
// Shared checks of the JPEG picture tests.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/canvas.h"

#include "framework/graphics/bitmap.h"
#include "jpeg_fixtures.h"
#include "pictures/jpeg_image.h"

// Every test starts from the start-up defaults on a true-colour screen.
class JpegTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    SetScreenDepthQuery({});
    DefaultJpegSettings() = TJPEGSettings{};
    InitializeJpegDefaults();
  }
  static void UseScreenDepth(int bits) {
    SetScreenDepthQuery([bits] { return bits; });
    InitializeJpegDefaults();
  }
  static void Load(TJPEGImage& image, const TBytes& file) {
    TMemoryStream stored = StoredValue(file);
    image.ReadStoredData(stored);
  }
};

// The bitmap's rows hold exactly the library's samples.
inline ::testing::AssertionResult SameSamples(const TBitmap& bitmap, const TLibraryImage& library) {
  if (bitmap.Width() != library.Width || bitmap.Height() != library.Height)
    return ::testing::AssertionFailure() << "size " << bitmap.Width() << "x" << bitmap.Height() << ", library "
                                         << library.Width << "x" << library.Height;
  if (bitmap.BitsPerPixel() != library.Components * 8)
    return ::testing::AssertionFailure() << bitmap.BitsPerPixel() << " bits per pixel";
  const size_t rowBytes = size_t(library.Width * library.Components);
  for (int y = 0; y < library.Height; ++y)
    if (std::memcmp(bitmap.ScanLine(y), library.Samples.data() + rowBytes * size_t(y), rowBytes) != 0)
      return ::testing::AssertionFailure() << "row " << y << " differs";
  return ::testing::AssertionSuccess();
}
