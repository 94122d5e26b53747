#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/core/stream.h"
#include "framework/graphics/png_export.h"
#include "framework/typeinfo/class_info.h"
#include "pixel_helpers.h"

TEST(DrawContext, OriginAndClipPaintAControlInsideItsWindow) {
  // A window surface with a control at (10, 5) whose visible area is cut by a sibling on top.
  auto window = MakeSurface(40, 30);
  TDrawContext dc(window.get());
  dc.SetOrigin({10, 5});
  const TRegion visible = TRegion(TRect{10, 5, 30, 20}).Combine(TRegion(TRect{25, 5, 30, 10}), roDiff);
  dc.SetClipRegion(&visible);
  EXPECT_EQ(dc.ClipBox(), (TRect{0, 0, 20, 15}));
  TBrushData black{clBlack, bsSolid, nullptr};
  dc.FillRect({-5, -5, 100, 100}, black);
  TPixelSet expected = RectPixels(10, 5, 25, 10);
  expected.merge(RectPixels(10, 10, 30, 20));
  EXPECT_EQ(ChangedPixels(*window), expected);
  EXPECT_EQ(dc.GetPixel(0, 0), clBlack);
  EXPECT_EQ(dc.GetPixel(16, 0), clNone);  // clipped away
  EXPECT_FALSE(dc.PointVisible(20, 0));
}

// A window's surface is a bare pixel image whose rows may live in the desktop's memory:
// the context draws there in place, and a canvas on it is a copy source like any other.
TEST(DrawContext, DrawsIntoAPixelImageInPlace) {
  TBitmapImage surface;
  surface.Width = 3, surface.Height = 2, surface.Format = pf32bit, surface.TopDown = true;
  std::vector<uint8_t> lent(3 * 4 * 2, 0);
  surface.Bits.Borrow(lent.data(), lent.size());
  TDrawContext dc(&surface);
  dc.SetOrigin({1, 0});
  dc.FillRect({0, 1, 1, 2}, TBrushData{clRed, bsSolid, nullptr});  // device (1, 1)
  EXPECT_TRUE(surface.Bits.Borrowed());
  const size_t at = 4 * 3 + 4 * 1;  // second row, second pixel
  EXPECT_EQ(std::vector<uint8_t>(lent.begin() + at, lent.begin() + at + 4), (std::vector<uint8_t>{0, 0, 0xFF, 0}));
  EXPECT_EQ(std::count(lent.begin(), lent.end(), 0), std::ptrdiff_t(lent.size()) - 1) << "nothing else written";

  TCanvas window;
  window.SetHandle(&dc);
  auto copy = MakeSurface(3, 2);
  copy->Canvas().CopyRect({0, 0, 2, 2}, window, {-1, 0, 1, 2});
  window.SetHandle(nullptr);
  EXPECT_EQ(copy->PixelRGB(1, 1), uint32_t(clRed));
  EXPECT_EQ(copy->PixelRGB(0, 1), uint32_t(clBlack));
  EXPECT_EQ(copy->PixelRGB(2, 1), uint32_t(clWhite)) << "outside the copied rectangle";
}

TEST(DrawContext, SaveAndRestoreLevels) {
  auto s = MakeSurface(10, 10);
  TDrawContext dc(s.get());
  EXPECT_EQ(dc.Save(), 1);
  dc.SetOrigin({3, 3});
  dc.IntersectClipRect({0, 0, 2, 2});
  EXPECT_EQ(dc.Save(), 2);
  dc.State().BkColor = clRed;
  EXPECT_EQ(dc.Save(), 3);
  dc.Restore(-1);
  EXPECT_EQ(dc.State().BkColor, clRed);
  dc.Restore(1);
  EXPECT_EQ(dc.SaveDepth(), 0);
  EXPECT_EQ(dc.Origin(), (TPoint{0, 0}));
  EXPECT_EQ(dc.ClipBox(), (TRect{0, 0, 10, 10}));
  for (int bad : {0, 1, -1}) {
    try {
      dc.Restore(bad);
      FAIL() << bad;
    } catch (const EOutOfResources& e) {
      EXPECT_STREQ(e.what(), "Error restoring device context");
    }
  }
  for (int i = 0; i < TDrawContext::kMaxSaveDepth; ++i) dc.Save();
  try {
    dc.Save();
    FAIL();
  } catch (const EOutOfResources& e) {
    EXPECT_STREQ(e.what(), "Error saving device context");
  }
}

TEST(DrawContext, ExcludeClipRectAndBrushPatterns) {
  auto s = MakeSurface(8, 4);
  TCanvas& c = s->Canvas();
  c.Handle().ExcludeClipRect({2, 0, 6, 4});
  TBitmap pattern;
  pattern.SetPixelFormat(pf1bit);
  pattern.SetSize(2, 1);
  pattern.Image().SetPixelValue(1, 0, 1);
  c.Handle().State().BkColor = clYellow;
  c.Brush().SetBitmap(&pattern);
  c.Font().SetColor(clNavy);  // the text colour paints a pattern's 0 pixels
  c.FillRect({0, 0, 8, 1});
  EXPECT_EQ(s->PixelRGB(0, 0), uint32_t(clNavy));
  EXPECT_EQ(s->PixelRGB(1, 0), uint32_t(clYellow));
  EXPECT_EQ(s->PixelRGB(3, 0), uint32_t(clWhite));
  EXPECT_EQ(s->PixelRGB(7, 0), uint32_t(clYellow));
  c.Brush().SetStyle(bsClear);
  c.FillRect({0, 1, 8, 2});
  EXPECT_EQ(s->PixelRGB(0, 1), uint32_t(clWhite));
}

TEST(Palettes, HalftonePaletteAndRealisationOnTrueColour) {
  const TPalette& halftone = HalftonePalette();
  ASSERT_EQ(halftone.Count(), 256);
  EXPECT_EQ(halftone.Entry(0), (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(halftone.Entry(255), (TPaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(halftone.Entry(halftone.NearestIndex(RGB(153, 51, 204))), (TPaletteEntry{153, 51, 204, 0}));
  auto s = MakeSurface(4, 4, clRed);
  const std::vector<uint8_t> before = s->Image().Bits;
  TDrawContext dc(s.get());
  EXPECT_EQ(dc.SelectPalette(&halftone, true), nullptr);
  EXPECT_EQ(dc.RealizePalette(), 256);
  EXPECT_EQ(dc.SelectPalette(nullptr, false), &halftone);
  EXPECT_EQ(s->Image().Bits, before);
}

TEST(Canvas, NeedsAContextAndReportsChanges) {
  TCanvas bare;
  try {
    bare.FillRect({0, 0, 1, 1});
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Canvas does not allow drawing");
  }
  auto s = MakeSurface(2, 2);
  int changes = 0;
  s->OnChange = [&changes](TObject*) { ++changes; };
  s->Canvas().SetPixel(0, 0, clRed);
  s->Canvas().FillRect({0, 0, 1, 1});
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(s->Modified());
}

TEST(Font, PublishedPropertiesAndSizeConversion) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  int changes = 0;
  font.OnChange = [&changes](TObject*) { ++changes; };
  const TClassInfo& info = TFont::ClassInfo();
  info.FindProperty("Name")->Set(font, TValue(std::string("Verdana")));
  info.FindProperty("Height")->Set(font, TValue(int64_t(-13)));
  info.FindProperty("Style")->Set(font, TValue(int64_t(TFontStyles{fsBold, fsUnderline}.Bits())));
  info.FindProperty("Charset")->Set(font, TValue(int64_t(DEFAULT_CHARSET)));  // unchanged: no notice
  EXPECT_EQ(font.Name(), "Verdana");
  EXPECT_EQ(font.Size(), 10);
  EXPECT_TRUE(font.Style().Contains(fsBold));
  EXPECT_FALSE(font.Style().Contains(fsItalic));
  EXPECT_EQ(changes, 3);
  font.SetSize(8);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(info.FindProperty("Pitch")->PropType->EnumName(1), "fpVariable");
  TFont copy;
  copy.CopyFrom(&font);
  EXPECT_EQ(copy.Data(), font.Data());
}

namespace {
// Records what a graphic declares, as the form reader and writer would see it.
class TRecordingFiler : public TWriter {
 public:
  void DeclareValueProperty(const std::string&, TReaderProc, TWriterProc, bool) override {}
  void DeclareByteBlockProperty(const std::string& name, TStreamProc, TStreamProc write, bool hasData) override {
    Name = name;
    HasData = hasData;
    if (hasData) write(Written);
  }
  TComponent* Root() const override { return nullptr; }
  void WriteInteger(int64_t) override {}
  void WriteFloat(double) override {}
  void WriteString(const std::string&) override {}
  void WriteWideString(const std::u16string&) override {}
  void WriteIdent(const std::string&) override {}
  void WriteBoolean(bool) override {}
  void WriteChar(char) override {}
  void WriteListBegin() override {}
  void WriteListEnd() override {}
  const TPersistent* Ancestor() const override { return AncestorObject; }
  void WriteComponentData(TComponent&) override {}

  std::string Name;
  bool HasData = false;
  TMemoryStream Written;
  const TPersistent* AncestorObject = nullptr;
};
}  // namespace

TEST(Graphic, StoredDataDeclaration) {
  TBitmap empty;
  TRecordingFiler f1;
  empty.DeclareStoredData(f1);
  EXPECT_EQ(f1.Name, "Data");
  EXPECT_FALSE(f1.HasData);
  auto b = MakeSurface(2, 2, clRed, pf24bit);
  TRecordingFiler f2;
  b->DeclareStoredData(f2);
  EXPECT_TRUE(f2.HasData);
  TMemoryStream expected;
  b->WriteStoredData(expected);
  EXPECT_EQ(f2.Written.Bytes(), expected.Bytes());
  auto same = MakeSurface(2, 2, clRed, pf24bit);
  TRecordingFiler f3;
  f3.AncestorObject = same.get();
  b->DeclareStoredData(f3);
  EXPECT_FALSE(f3.HasData);
  same->Canvas().SetPixel(0, 0, clBlue);
  b->DeclareStoredData(f3);
  EXPECT_TRUE(f3.HasData);
}

TEST(Graphic, SameAsTransparencyAndProgress) {
  TBitmap a, b;
  EXPECT_TRUE(a.SameAs(b));
  auto c = MakeSurface(1, 1);
  EXPECT_FALSE(a.SameAs(*c));
  int changes = 0;
  a.OnChange = [&changes](TObject*) { ++changes; };
  a.SetTransparent(true);
  a.SetTransparent(true);
  EXPECT_EQ(changes, 1);
  int progress = -1;
  a.OnProgress = [&progress](TObject*, TProgressStage stage, uint8_t percent, bool, const TRect&, const std::string&) {
    progress = stage * 1000 + percent;
  };
  a.NotifyProgress(&a, psRunning, 40, false, {}, "");
  EXPECT_EQ(progress, 1040);
}

TEST(Graphic, DrawAndTransparentStretchDraw) {
  auto glyph = MakeSurface(2, 2, clFuchsia, pf24bit);
  glyph->Canvas().SetPixel(1, 0, clBlue);
  auto target = MakeSurface(6, 6, clWhite);
  target->Canvas().Draw(1, 1, *glyph);
  EXPECT_EQ(target->PixelRGB(1, 1), uint32_t(clFuchsia));
  EXPECT_EQ(target->PixelRGB(2, 1), uint32_t(clBlue));
  glyph->SetTransparent(true);  // the bottom-left pixel's colour is see-through
  EXPECT_EQ(glyph->TransparentColor(), clFuchsia);
  auto second = MakeSurface(6, 6, clWhite);
  second->Canvas().StretchDraw({0, 0, 4, 4}, *glyph);
  EXPECT_EQ(ChangedPixels(*second), RectPixels(2, 0, 4, 2));
}

TEST(Png, SavedFileReadsBackWithTheSamePixels) {
  auto s = MakeSurface(3, 2, clWhite, pf24bit);
  s->Canvas().SetPixel(2, 1, RGB(10, 20, 30));
  const std::string path = testing::TempDir() + "velmorath_canvas.png";
  SaveBitmapToPng(*s, path);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ((std::vector<uint8_t>(rgb.end() - 3, rgb.end())), (std::vector<uint8_t>{10, 20, 30}));
  std::remove(path.c_str());
  EXPECT_THROW(SaveBitmapToPng(*s, "/nonexistent-dir/x.png"), EStreamError);
}
