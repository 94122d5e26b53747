// Pixel bytes: a byte vector's behaviour, and bitmaps sized without clearing their rows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/pixel_buffer.h"

namespace {
TEST(PixelBuffer, BehavesLikeAByteVector) {
  TPixelBuffer a;
  EXPECT_TRUE(a.empty());
  a.assign(5, 7);
  a[1] = 9;
  EXPECT_EQ(std::vector<uint8_t>(a), (std::vector<uint8_t>{7, 9, 7, 7, 7}));
  a.resize(7);
  EXPECT_EQ(a, (std::vector<uint8_t>{7, 9, 7, 7, 7, 0, 0})) << "grown bytes are zero";
  a.resize(2);
  EXPECT_EQ(a, (std::vector<uint8_t>{7, 9}));
  TPixelBuffer b = a;
  b[0] = 1;
  EXPECT_EQ(a[0], 7) << "copies are deep";
  EXPECT_FALSE(a == b);
  TPixelBuffer c = std::move(b);
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(c, (std::vector<uint8_t>{1, 9}));
  b = c;
  EXPECT_TRUE(b == c);
  TPixelBuffer none;
  none.resize(0);
  EXPECT_EQ(none, std::vector<uint8_t>{});
}

// Leaves freed memory of a bitmap's size full of ones, for the next one of that size.
void LeaveDirtyMemory(TPixelFormat format, int width, int height) {
  auto dirty = std::make_unique<TBitmap>();
  dirty->SetPixelFormat(format);
  dirty->SetSize(width, height);
  for (uint8_t& b : dirty->Image().Bits) b = 0xFF;
}

TEST(PixelBuffer, AnUnsetSizeStillClearsTheRowPaddingAfterThePixels) {
  for (TPixelFormat format : {pf24bit, pf8bit, pf1bit}) {
    LeaveDirtyMemory(format, 101, 50);
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(101, 50, TNewPixels::Unset);
    ASSERT_EQ(bitmap.Width(), 101);
    const TBitmapImage& image = bitmap.Image();
    const size_t used = size_t(101 * image.BitsPerPixel() / 8);
    for (int y = 0; y < 50; ++y)
      for (size_t i = used; i < size_t(image.Stride()); ++i)
        ASSERT_EQ(bitmap.ScanLine(y)[i], 0) << "row " << y << " byte " << i << " bpp " << image.BitsPerPixel();
  }
}

TEST(PixelBuffer, ABlackSizeStillClearsAndKeepsTheSharedPart) {
  LeaveDirtyMemory(pf24bit, 40, 30);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  bitmap.Image().SetPixelValue(1, 1, 0x123456);
  bitmap.SetSize(40, 30);
  EXPECT_EQ(bitmap.PixelRGB(1, 1), 0x123456u);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (x > 1 || y > 1) {
        ASSERT_EQ(bitmap.PixelRGB(x, y), 0u) << x << "," << y;
      }
}

TEST(PixelBuffer, ClearingRowsFromOneBlackensThatRowAndAllBelow) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(5, 4);
  for (uint8_t& b : bitmap.Image().Bits) b = 0x5A;
  bitmap.ClearRowsFrom(2);
  EXPECT_EQ(bitmap.PixelRGB(4, 1), 0x5A5A5Au);
  EXPECT_EQ(bitmap.PixelRGB(0, 2), 0u);
  EXPECT_EQ(bitmap.PixelRGB(4, 3), 0u);
  bitmap.ClearRowsFrom(-3);
  EXPECT_EQ(bitmap.PixelRGB(0, 0), 0u);
  bitmap.ClearRowsFrom(9);  // past the bottom: nothing
}
}  // namespace
