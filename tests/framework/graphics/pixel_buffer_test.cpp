// Pixel bytes: a byte vector's behaviour, bitmaps sized without clearing their rows, and
// bitmaps whose pixels live in memory someone else owns.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
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

// A 32-bit bitmap with a different colour in each corner and a grey middle.
void PaintCorners(TBitmap& bitmap, int width, int height) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(width, height);
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(clGray);
  c.FillRect({0, 0, width, height});
  c.SetPixel(0, 0, clRed), c.SetPixel(width - 1, 0, clLime);
  c.SetPixel(0, height - 1, clBlue), c.SetPixel(width - 1, height - 1, clYellow);
}

std::vector<uint8_t> StoredBytes(const TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToByteStream(stream);
  return stream.Bytes();
}

TEST(BorrowedPixels, LiveTopRowFirstInTheLenderMemoryAndKeepThePicture) {
  TBitmap bitmap;
  PaintCorners(bitmap, 5, 3);
  const std::vector<uint8_t> stored = StoredBytes(bitmap);
  std::vector<uint8_t> lent(5 * 4 * 3, 0xEE);
  bitmap.BorrowPixels(lent.data());
  EXPECT_TRUE(bitmap.PixelsBorrowed());
  EXPECT_EQ(bitmap.ScanLine(0), lent.data()) << "the top row comes first";
  EXPECT_EQ(bitmap.ScanLine(2), lent.data() + 2 * 20);
  EXPECT_EQ(bitmap.PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(bitmap.PixelRGB(4, 2), uint32_t(clYellow));
  EXPECT_EQ(StoredBytes(bitmap), stored) << "stored bottom row first all the same";

  bitmap.Canvas().SetPixel(1, 0, clFuchsia);  // drawing reaches the lender's memory
  EXPECT_EQ(lent[4], 0xFF);
  EXPECT_EQ(lent[5], 0x00);
  EXPECT_EQ(lent[6], 0xFF);

  TBitmap copy;
  copy.CopyFrom(&bitmap);
  EXPECT_FALSE(copy.PixelsBorrowed()) << "a copy owns its pixels";
  lent[0] = 0x12;  // blue byte of the top-left pixel, behind the bitmap's back
  EXPECT_EQ(copy.PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(copy.PixelRGB(1, 0), uint32_t(clFuchsia));
  EXPECT_EQ(bitmap.PixelRGB(0, 0), 0x1200FFu);

  bitmap.OwnPixels();
  EXPECT_FALSE(bitmap.PixelsBorrowed());
  std::fill(lent.begin(), lent.end(), 0);
  EXPECT_EQ(bitmap.PixelRGB(0, 0), 0x1200FFu) << "owned pixels no longer follow the lender";
  EXPECT_EQ(bitmap.PixelRGB(1, 0), uint32_t(clFuchsia));
  EXPECT_EQ(bitmap.PixelRGB(4, 2), uint32_t(clYellow));
}

TEST(BorrowedPixels, ANewSizeTakesThemBackWithTheSharedPart) {
  TBitmap bitmap;
  PaintCorners(bitmap, 4, 4);
  std::vector<uint8_t> lent(4 * 4 * 4);
  bitmap.BorrowPixels(lent.data());
  bitmap.BorrowPixels(lent.data());  // lent again to the same memory: nothing moves
  EXPECT_EQ(bitmap.PixelRGB(3, 0), uint32_t(clLime));
  bitmap.SetSize(6, 2);
  EXPECT_FALSE(bitmap.PixelsBorrowed());
  std::fill(lent.begin(), lent.end(), 0);
  EXPECT_EQ(bitmap.PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(bitmap.PixelRGB(3, 0), uint32_t(clLime));
  EXPECT_EQ(bitmap.PixelRGB(1, 1), uint32_t(clGray));
  EXPECT_EQ(bitmap.PixelRGB(5, 1), 0u) << "new pixels are black";
}

TEST(BorrowedPixels, OnlyA32BitBitmapLends) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  std::vector<uint8_t> lent(16);
  try {
    bitmap.BorrowPixels(lent.data());
    FAIL() << "a 24-bit bitmap borrowed 32-bit rows";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid");
  }
  EXPECT_FALSE(bitmap.PixelsBorrowed());
}
}  // namespace
