#include "framework/graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap_file.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TPixelFormat, "pf1bit", "pf8bit", "pf24bit", "pf32bit")
VM_ENUM_INFO(TTransparentMode, "tmAuto", "tmFixed")

const TClassInfo& TBitmap::ClassInfo() {
  static const TClassInfo info = DefineClass<TBitmap, TGraphic>("TBitmap");
  return info;
}

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

namespace {
std::vector<TRGBQuad> DefaultColorTable(TPixelFormat format) {
  if (format == pf1bit) return MonochromeColorTable();
  if (format == pf8bit) return HalftonePalette().ToColorTable();
  return {};
}

TBitmapImage BlankImage(int width, int height, TPixelFormat format, std::vector<TRGBQuad> table,
                        TNewPixels pixels = TNewPixels::Black) {
  TBitmapImage image;
  image.Width = std::max(width, 0);
  image.Height = std::max(height, 0);
  image.Format = format;
  image.ColorTable = std::move(table);
  const int64_t bytes = BytesPerScanLine(image.Width, image.BitsPerPixel()) * image.Height;
  if (image.Width > kMaxBitmapExtent || image.Height > kMaxBitmapExtent || bytes > kMaxBitmapBytes)
    throw EOutOfResources(rs::SOutOfResources);
  if (pixels == TNewPixels::Black) {
    image.Bits.assign(size_t(bytes), 0);
    return image;
  }
  // The caller writes the pixels; the padding after them is cleared here, so that stored
  // files and byte comparisons never see leftover memory.
  image.Bits.AllocateUninitialised(size_t(bytes));
  const size_t stride = size_t(image.Stride()), used = size_t(image.Width) * size_t(image.BitsPerPixel()) / 8;
  for (size_t at = used; at < image.Bits.size(); at += stride) std::memset(image.Bits.data() + at, 0, stride - used);
  return image;
}
}  // namespace

void TBitmap::ImageChanged() {
  FPalette.reset();
  NotifyChanged(this);
}

void TBitmap::SetSize(int width, int height, TNewPixels pixels) {
  if (width == FImage.Width && height == FImage.Height) return;
  std::vector<TRGBQuad> table =
      FImage.ColorTable.empty() ? DefaultColorTable(FImage.Format) : FImage.ColorTable;
  TBitmapImage image = BlankImage(width, height, FImage.Format, std::move(table), pixels);
  const int rows = pixels == TNewPixels::Unset ? 0 : std::min(image.Height, FImage.Height);
  const size_t bytes = size_t(std::min(image.Stride(), FImage.Stride()));
  for (int y = 0; y < rows; ++y) std::memcpy(image.Row(y), FImage.Row(y), bytes);
  FImage = std::move(image);
  ImageChanged();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FImage.Format) return;
  TBitmapImage image = BlankImage(FImage.Width, FImage.Height, format, DefaultColorTable(format));
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) image.SetPixelValue(x, y, image.RGBToValue(FImage.PixelRGB(x, y)));
  FImage = std::move(image);
  ImageChanged();
}

void TBitmap::ClearRowsFrom(int row) {
  for (int y = std::max(row, 0); y < FImage.Height; ++y) std::memset(FImage.Row(y), 0, size_t(FImage.Stride()));
}

void TBitmap::BorrowPixels(uint8_t* rows) {
  if (FImage.Format != pf32bit) throw EInvalidGraphicOperation(rs::SInvalidBitmap);
  if (FImage.Bits.Borrowed() && FImage.Bits.data() == rows) return;
  const size_t stride = size_t(FImage.Stride());
  for (int y = 0; y < FImage.Height; ++y) std::memcpy(rows + size_t(y) * stride, FImage.Row(y), stride);
  FImage.Bits.Borrow(rows, stride * size_t(FImage.Height));
  FImage.TopDown = true;
}

void TBitmap::OwnPixels() {
  if (!FImage.Bits.Borrowed()) return;
  TBitmapImage image = BlankImage(FImage.Width, FImage.Height, FImage.Format, FImage.ColorTable, TNewPixels::Unset);
  for (int y = 0; y < image.Height; ++y) std::memcpy(image.Row(y), FImage.Row(y), size_t(image.Stride()));
  FImage.Bits = std::move(image.Bits);
  FImage.TopDown = false;
}

uint8_t* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= FImage.Height) throw EInvalidGraphicOperation(rs::SScanLine);
  return FImage.Row(row);
}

const uint8_t* TBitmap::ScanLine(int row) const { return const_cast<TBitmap*>(this)->ScanLine(row); }

const TPalette* TBitmap::Palette() const {
  if (FImage.Format != pf8bit || FImage.ColorTable.empty()) return nullptr;
  if (!FPalette) FPalette = TPalette::FromColorTable(FImage.ColorTable);
  return &*FPalette;
}

void TBitmap::SetPalette(const TPalette* palette) {
  if (FImage.Format != pf1bit && FImage.Format != pf8bit) return;
  SetColorTable(palette ? palette->ToColorTable() : DefaultColorTable(FImage.Format));
  SetPaletteDirty(true);
}

void TBitmap::SetColorTable(std::vector<TRGBQuad> table) {
  if (table.size() > 256) table.resize(256);
  FImage.ColorTable = std::move(table);
  ImageChanged();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return TColor(FImage.PixelRGB(0, FImage.Height - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == FTransparentColor && FTransparentMode == tmFixed) return;
  FTransparentColor = color;
  FTransparentMode = color == clDefault ? tmAuto : tmFixed;
  NotifyChanged(this);
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == FTransparentMode) return;
  if (mode == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

std::unique_ptr<TBitmap> TBitmap::CreateMask(TColor color) const {
  auto mask = std::make_unique<TBitmap>();
  mask->SetImage(BlankImage(FImage.Width, FImage.Height, pf1bit, MonochromeColorTable()));
  const uint32_t key = uint32_t(ColorToRGB(color)) & 0xFFFFFF;
  TBitmapImage& bits = mask->Image();
  for (int y = 0; y < FImage.Height; ++y)
    for (int x = 0; x < FImage.Width; ++x) bits.SetPixelValue(x, y, FImage.PixelRGB(x, y) == key ? 1 : 0);
  return mask;
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>(std::make_unique<TDrawContext>(this));
    FCanvas->OnChange = [this](TObject*) { ImageChanged(); };
  }
  return *FCanvas;
}

void TBitmap::SetImage(TBitmapImage image) {
  FImage = std::move(image);
  ImageChanged();
}

void TBitmap::DrawInto(TCanvas& canvas, const TRect& rect) {
  if (Empty()) return;
  canvas.RequireState();
  TDrawContext& dc = canvas.Handle();
  const TPalette* previous = nullptr;
  const TPalette* palette = Palette();
  if (palette != nullptr) {
    previous = dc.SelectPalette(palette, true);
    dc.RealizePalette();
  }
  const int targetBits = dc.SurfaceBitsPerPixel();
  if (targetBits <= 8 && targetBits < BitsPerPixel()) {
    dc.State().StretchMode = smHalftone;
  } else if (!Monochrome()) {
    dc.State().StretchMode = smColorOnColor;
  }
  const TRect source{0, 0, Width(), Height()};
  if (Transparent()) dc.MaskedStretchBlt(rect, *this, source, *CreateMask(TransparentColor()));
  else dc.StretchBlt(rect, *this, source, canvas.CopyMode());
  if (palette != nullptr) dc.SelectPalette(previous, true);
  canvas.Changed();
}

void TBitmap::ReadStoredData(TStream& stream) {
  int32_t count = 0;
  stream.ReadBuffer(&count, 4);
  if (count < 0) throw EInvalidGraphic(rs::SInvalidBitmap);
  if (count > stream.Size() - stream.Position()) throw EReadError(rs::SReadError);
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), count);
  SetImage(count == 0 ? TBitmapImage{} : ReadBitmapFile(bytes.data(), bytes.size()));
}

void TBitmap::WriteStoredData(TStream& stream) const {
  if (Empty()) {
    const int32_t zero = 0;
    stream.WriteBuffer(&zero, 4);
    return;
  }
  const std::vector<uint8_t> bytes = WriteBitmapFile(FImage);
  const auto count = int32_t(bytes.size());
  stream.WriteBuffer(&count, 4);
  stream.WriteBuffer(bytes.data(), count);
}

void TBitmap::LoadFromByteStream(TStream& stream) {
  const int64_t count = stream.Size() - stream.Position();
  if (count <= 0 || count > kMaxBitmapBytes * 2) throw EInvalidGraphic(rs::SInvalidBitmap);
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), count);
  SetImage(ReadBitmapFile(bytes.data(), bytes.size()));
}

void TBitmap::SaveToByteStream(TStream& stream) const {
  const std::vector<uint8_t> bytes = WriteBitmapFile(FImage);
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TBitmap::CopyFrom(const TPersistent* source) {
  const auto* bitmap = dynamic_cast<const TBitmap*>(source);
  if (bitmap == nullptr) return TGraphic::CopyFrom(source);
  if (bitmap == this) return;
  FTransparentColor = bitmap->FTransparentColor;
  FTransparentMode = bitmap->FTransparentMode;
  SetTransparent(bitmap->Transparent());
  SetImage(bitmap->FImage);
}
