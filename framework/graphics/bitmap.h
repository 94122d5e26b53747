#pragma once
// Device-independent bitmaps of 1, 8, 24 or 32 bits per pixel, drawable through a canvas
// of their own and stored as bitmap files.
#include <memory>
#include <optional>

#include "framework/core/color.h"
#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/graphic.h"

enum TTransparentMode { tmAuto, tmFixed };
enum class TNewPixels { Black, Unset };
VM_DECLARE_ENUM(TPixelFormat);
VM_DECLARE_ENUM(TTransparentMode);

class TBitmap : public TGraphic {
 public:
  VM_CLASS()
  TBitmap();
  ~TBitmap() override;

  bool Empty() const override { return FImage.Width == 0 || FImage.Height == 0; }
  int Width() const override { return FImage.Width; }
  int Height() const override { return FImage.Height; }
  void SetWidth(int value) override { SetSize(value, FImage.Height); }
  void SetHeight(int value) override { SetSize(FImage.Width, value); }
  // Black: keeps the part of the picture both sizes share; new pixels are black (index 0).
  // Unset: a changed size keeps nothing and leaves every byte of the rows to the caller,
  // who must write them all (a decoder filling every row).
  void SetSize(int width, int height, TNewPixels pixels = TNewPixels::Black);
  // Blackens (index 0) every row from `row` (counted from the top) to the bottom.
  void ClearRowsFrom(int row);
  TPixelFormat PixelFormat() const { return FImage.Format; }
  // Converts the pixels; an 8-bit bitmap without a colour table gets the halftone palette.
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return FImage.Format == pf1bit; }
  int BitsPerPixel() const { return FImage.BitsPerPixel(); }
  int Stride() const { return FImage.Stride(); }

  // The bytes of row `row`, row 0 being the top of the image.
  uint8_t* ScanLine(int row);
  const uint8_t* ScanLine(int row) const;

  const TPalette* Palette() const override;
  // Replaces the colour table of a 1- or 8-bit bitmap (pixels keep their indices).
  void SetPalette(const TPalette* palette) override;
  const std::vector<TRGBQuad>& ColorTable() const { return FImage.ColorTable; }
  void SetColorTable(std::vector<TRGBQuad> table);

  // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour last set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode mode);
  // A monochrome bitmap of the same size whose pixels are set where this one has `color`.
  std::unique_ptr<TBitmap> CreateMask(TColor color) const;

  // The pixels move into `rows`: Height rows of Stride bytes, top row first, memory the
  // caller keeps alive until the pixels move back (OwnPixels, a new size or a new image).
  // The picture stays as it was; no change is reported. 32-bit bitmaps only.
  void BorrowPixels(uint8_t* rows);
  // Copies borrowed pixels into memory of the bitmap's own.
  void OwnPixels();
  bool PixelsBorrowed() const { return FImage.Bits.Borrowed(); }

  TCanvas& Canvas();
  const TBitmapImage& Image() const { return FImage; }
  TBitmapImage& Image() { return FImage; }
  // Takes the pixels of `image` whole.
  void SetImage(TBitmapImage image);
  uint32_t PixelRGB(int x, int y) const { return FImage.PixelRGB(x, y); }

  void DrawInto(TCanvas& canvas, const TRect& rect) override;
  // The stored form: a 32-bit little-endian byte count, then that many bytes of bitmap file.
  void ReadStoredData(TStream& stream) override;
  void WriteStoredData(TStream& stream) const override;
  void LoadFromByteStream(TStream& stream) override;
  void SaveToByteStream(TStream& stream) const override;
  // Copies another bitmap's pixels, palette and transparency; other sources as the base.
  void CopyFrom(const TPersistent* source) override;

 private:
  void ImageChanged();

  TBitmapImage FImage;
  mutable std::optional<TPalette> FPalette;
  std::unique_ptr<TCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};
