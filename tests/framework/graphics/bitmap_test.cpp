#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap_file.h"
#include "pixel_helpers.h"

namespace {
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void Set16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}

// A 3x2 24-bit file: bottom row red, green, blue; top row white, black, grey.
std::vector<uint8_t> SmallFile() {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(3, 2);
  TCanvas& c = bitmap.Canvas();
  c.SetPixel(0, 1, clRed), c.SetPixel(1, 1, clLime), c.SetPixel(2, 1, clBlue);
  c.SetPixel(0, 0, clWhite), c.SetPixel(1, 0, clBlack), c.SetPixel(2, 0, clGray);
  return WriteBitmapFile(bitmap.Image());
}

void ExpectInvalid(const std::vector<uint8_t>& bytes) {
  try {
    ReadBitmapFile(bytes.data(), bytes.size());
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid");
  }
}
}  // namespace

TEST(Bitmap, StrideIsPaddedToFourBytes) {
  EXPECT_EQ(BytesPerScanLine(1, 1), 4);
  EXPECT_EQ(BytesPerScanLine(33, 1), 8);
  EXPECT_EQ(BytesPerScanLine(5, 8), 8);
  EXPECT_EQ(BytesPerScanLine(3, 24), 12);
  EXPECT_EQ(BytesPerScanLine(4, 24), 12);
  EXPECT_EQ(BytesPerScanLine(5, 24), 16);
  EXPECT_EQ(BytesPerScanLine(3, 32), 12);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(5, 3);
  EXPECT_EQ(b.Stride(), 16);
  EXPECT_EQ(b.Image().Bits.size(), 48u);
}

TEST(Bitmap, RowsAreStoredBottomUp) {
  auto b = MakeSurface(2, 3, clBlack, pf24bit);
  b->Canvas().SetPixel(1, 0, RGB(10, 20, 30));  // top row
  const auto& bits = b->Image().Bits;
  const size_t lastStoredRow = 2 * size_t(b->Stride());
  EXPECT_EQ(bits[lastStoredRow + 3], 30);  // blue, green, red
  EXPECT_EQ(bits[lastStoredRow + 4], 20);
  EXPECT_EQ(bits[lastStoredRow + 5], 10);
  EXPECT_EQ(b->ScanLine(0), b->Image().Bits.data() + lastStoredRow);
  EXPECT_EQ(b->ScanLine(2), b->Image().Bits.data());
  EXPECT_EQ(b->ScanLine(0) - b->ScanLine(1), b->Stride());
}

TEST(Bitmap, ScanLineOutOfRangeRaises) {
  auto b = MakeSurface(4, 1);
  EXPECT_NO_THROW(b->ScanLine(0));
  for (int row : {-1, 1}) {
    try {
      b->ScanLine(row);
      FAIL();
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
  }
}

TEST(Bitmap, EightBitPaletteAndNearestIndexDrawing) {
  TBitmap b;
  b.SetPixelFormat(pf8bit);
  b.SetSize(4, 1);
  b.SetColorTable({{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}});  // black, red, blue
  b.Canvas().SetPixel(0, 0, RGB(200, 30, 30));
  b.Canvas().SetPixel(1, 0, RGB(10, 10, 240));
  EXPECT_EQ(b.ScanLine(0)[0], 1);
  EXPECT_EQ(b.ScanLine(0)[1], 2);
  EXPECT_EQ(b.PixelRGB(0, 0), uint32_t(clRed));
  ASSERT_NE(b.Palette(), nullptr);
  EXPECT_EQ(b.Palette()->Entry(2), (TPaletteEntry{0, 0, 255, 0}));
  const std::vector<uint8_t> file = WriteBitmapFile(b.Image());
  // Colour table entries in the file: blue, green, red, 0.
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4, file.begin() + 54 + 8), (std::vector<uint8_t>{0, 0, 255, 0}));
}

TEST(Bitmap, SetSizeKeepsTheSharedPartAndWidthHeightAreIndependent) {
  auto b = MakeSurface(3, 3, clRed);
  b->SetSize(5, 2);
  EXPECT_EQ(b->PixelRGB(2, 1), uint32_t(clRed));
  EXPECT_EQ(b->PixelRGB(4, 1), uint32_t(clBlack));
  TBitmap c;
  c.SetWidth(10);
  EXPECT_EQ(c.Width(), 10);
  EXPECT_TRUE(c.Empty());
  c.SetHeight(4);
  EXPECT_EQ(c.Height(), 4);
  EXPECT_FALSE(c.Empty());
}

TEST(Bitmap, PixelFormatConversionKeepsColours) {
  auto b = MakeSurface(2, 2, clRed, pf24bit);
  b->SetPixelFormat(pf32bit);
  EXPECT_EQ(b->PixelRGB(1, 1), uint32_t(clRed));
  b->SetPixelFormat(pf8bit);
  EXPECT_EQ(b->ColorTable().size(), 256u);
  EXPECT_EQ(b->PixelRGB(1, 1), uint32_t(clRed));
  b->SetPixelFormat(pf1bit);
  EXPECT_EQ(b->PixelRGB(1, 1), uint32_t(clBlack));
}

TEST(BitmapFile, RoundTripsEveryDepth) {
  for (TPixelFormat format : {pf1bit, pf8bit, pf24bit, pf32bit}) {
    auto b = MakeSurface(7, 3, clWhite, format);
    b->Canvas().SetPixel(0, 0, clBlack);
    b->Canvas().SetPixel(6, 2, clBlack);
    b->Canvas().SetPixel(3, 1, clRed);
    const std::vector<uint8_t> file = WriteBitmapFile(b->Image());
    EXPECT_EQ(file.size(), 54 + 4 * b->ColorTable().size() + size_t(b->Stride()) * 3);
    const TBitmapImage back = ReadBitmapFile(file.data(), file.size());
    EXPECT_EQ(back.Format, format);
    EXPECT_EQ(back.Bits, b->Image().Bits);
    EXPECT_EQ(back.ColorTable, b->ColorTable());
    EXPECT_EQ(back.PixelRGB(0, 0), uint32_t(clBlack));
    EXPECT_EQ(back.PixelRGB(1, 0), uint32_t(clWhite));
  }
}

TEST(BitmapFile, ReadsCoreHeaderFourBitAndTopDownFiles) {
  // 12-byte core header, 4 bits per pixel, 3x1, colour table of 16 three-byte entries.
  std::vector<uint8_t> f(14 + 12 + 48 + 4, 0);
  f[0] = 'B', f[1] = 'M';
  Set32(f, 10, 14 + 12 + 48);
  Set32(f, 14, 12);
  Set16(f, 18, 3), Set16(f, 20, 1), Set16(f, 22, 1), Set16(f, 24, 4);
  f[26 + 3 * 2 + 2] = 255;  // entry 2: red
  f[26 + 3 * 5 + 0] = 255;  // entry 5: blue
  f[74] = 0x25, f[75] = 0x00;
  const TBitmapImage core = ReadBitmapFile(f.data(), f.size());
  EXPECT_EQ(core.Format, pf8bit);
  EXPECT_EQ(core.PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(core.PixelRGB(1, 0), uint32_t(clBlue));
  EXPECT_EQ(core.PixelRGB(2, 0), uint32_t(clBlack));

  std::vector<uint8_t> topDown = SmallFile();
  Set32(topDown, 22, uint32_t(-2));
  const TBitmapImage flipped = ReadBitmapFile(topDown.data(), topDown.size());
  EXPECT_EQ(flipped.PixelRGB(0, 0), uint32_t(clRed));
  EXPECT_EQ(flipped.PixelRGB(1, 1), uint32_t(clBlack));
}

TEST(BitmapFile, RejectsMalformedFiles) {
  const std::vector<uint8_t> good = SmallFile();
  ASSERT_NO_THROW(ReadBitmapFile(good.data(), good.size()));
  auto patched = [&good](auto change) {
    std::vector<uint8_t> f = good;
    change(f);
    return f;
  };
  ExpectInvalid(patched([](auto& f) { f[0] = 'X'; }));
  ExpectInvalid(patched([](auto& f) { Set32(f, 14, 64); }));                 // unknown header size
  ExpectInvalid(patched([](auto& f) { Set32(f, 30, 1); }));                  // compressed
  ExpectInvalid(patched([](auto& f) { Set16(f, 28, 16); }));                 // 16 bits per pixel
  ExpectInvalid(patched([](auto& f) { Set16(f, 26, 2); }));                  // two planes
  ExpectInvalid(patched([](auto& f) { Set32(f, 18, 0); }));                  // zero width
  ExpectInvalid(patched([](auto& f) { Set32(f, 22, 0x7FFFFFFF); }));         // absurd height
  ExpectInvalid(patched([](auto& f) { Set32(f, 22, 0x80000000); }));         // most negative height
  ExpectInvalid(patched([](auto& f) { Set32(f, 10, uint32_t(f.size())); })); // rows past the end
  ExpectInvalid(patched([](auto& f) { Set32(f, 10, 20); }));                 // rows inside the header
  ExpectInvalid(patched([](auto& f) { f.resize(f.size() - 1); }));                     // truncated rows
  ExpectInvalid(std::vector<uint8_t>(good.begin(), good.begin() + 20));      // truncated header
  ExpectInvalid(std::vector<uint8_t>(good.begin(), good.begin() + 2));
  // An 8-bit file claiming more colours than 256, and one whose table runs past the end.
  TBitmap eight;
  eight.SetPixelFormat(pf8bit);
  eight.SetSize(2, 2);
  const std::vector<uint8_t> e = WriteBitmapFile(eight.Image());
  std::vector<uint8_t> tooMany = e;
  Set32(tooMany, 46, 257);
  ExpectInvalid(tooMany);
  ExpectInvalid(std::vector<uint8_t>(e.begin(), e.begin() + 54 + 100));
}

TEST(BitmapStoredData, GlyphBlockLayout) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf8bit);
  glyph.SetSize(32, 16);
  std::vector<TRGBQuad> table = glyph.ColorTable();
  table[7] = {216, 233, 236, 0};
  glyph.SetColorTable(table);
  glyph.Canvas().Brush().SetColor(RGB(236, 233, 216));
  glyph.Canvas().FillRect({0, 0, 32, 16});
  TMemoryStream stored;
  glyph.WriteStoredData(stored);
  const std::vector<uint8_t>& b = stored.Bytes();
  ASSERT_EQ(b.size(), 1594u);
  EXPECT_EQ(U32At(b, 0), 1590u);
  EXPECT_EQ(b[4], 'B');
  EXPECT_EQ(U32At(b, 4 + 2), 1590u);
  EXPECT_EQ(U32At(b, 4 + 10), 1078u);
  EXPECT_EQ(U32At(b, 4 + 34), 512u);

  stored.SetPosition(0);
  TBitmap back;
  back.ReadStoredData(stored);
  EXPECT_EQ(back.Width(), 32);
  EXPECT_EQ(back.PixelFormat(), pf8bit);
  EXPECT_EQ(back.TransparentColor(), RGB(236, 233, 216));
  EXPECT_TRUE(back.SameAs(glyph));
}

TEST(BitmapStoredData, EmptyCountAndBadCounts) {
  TMemoryStream zero;
  const int32_t n0 = 0;
  zero.WriteBuffer(&n0, 4);
  zero.SetPosition(0);
  auto b = MakeSurface(2, 2);
  b->ReadStoredData(zero);
  EXPECT_TRUE(b->Empty());

  TMemoryStream huge;
  const int32_t big = 0x7FFFFFF0;
  huge.WriteBuffer(&big, 4);
  huge.SetPosition(0);
  EXPECT_THROW(b->ReadStoredData(huge), EReadError);

  TMemoryStream negative;
  const int32_t minus = -5;
  negative.WriteBuffer(&minus, 4);
  negative.SetPosition(0);
  EXPECT_THROW(b->ReadStoredData(negative), EInvalidGraphic);

  // A failed read leaves the bitmap as it was.
  auto kept = MakeSurface(3, 3, clRed);
  std::vector<uint8_t> bad = SmallFile();
  bad[0] = 'Q';
  TMemoryStream badStream;
  badStream.WriteBuffer(bad.data(), int64_t(bad.size()));
  badStream.SetPosition(0);
  EXPECT_THROW(kept->LoadFromByteStream(badStream), EInvalidGraphic);
  EXPECT_EQ(kept->Width(), 3);
  EXPECT_EQ(kept->PixelRGB(1, 1), uint32_t(clRed));
}

TEST(BitmapStoredData, ByteStreamHoldsThePlainFile) {
  auto b = MakeSurface(3, 2, clLime, pf24bit);
  TMemoryStream s;
  b->SaveToByteStream(s);
  EXPECT_EQ(s.Bytes(), WriteBitmapFile(b->Image()));
  s.SetPosition(0);
  TBitmap back;
  back.LoadFromByteStream(s);
  EXPECT_EQ(back.PixelRGB(2, 1), uint32_t(clLime));
}
