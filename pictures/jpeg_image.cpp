#include "pictures/jpeg_image.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "pictures/jpeg_glue.h"

const TClassInfo& TJPEGImage::ClassInfo() {
  static const TClassInfo info = DefineClass<TJPEGImage, TGraphic>("TJPEGImage");
  return info;
}

TJPEGImage::TJPEGImage() : FData(std::make_shared<TJPEGData>()), FSettings(DefaultJpegSettings()) {}

TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const {
  if (FData->EncodedBytes) return false;
  return !FBitmap || FBitmap->Empty();
}

int TJPEGImage::Width() const {
  if (FBitmap) return FBitmap->Width();
  return FSettings.ScaleShift == 0 ? FData->HeaderWidth : ScaledSize().cx;
}

int TJPEGImage::Height() const {
  if (FBitmap) return FBitmap->Height();
  return FSettings.ScaleShift == 0 ? FData->HeaderHeight : ScaledSize().cy;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(rs::SChangeJPGSize); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(rs::SChangeJPGSize); }

const TPalette* TJPEGImage::Palette() const {
  if (FBitmap) return FBitmap->Palette();
  if (!FWorkPalette && FSettings.OutputDepth == od24Bit && ScreenDepth() <= 8)
    FWorkPalette = std::make_unique<TPalette>(HalftonePalette());
  return FWorkPalette.get();
}

void TJPEGImage::SetPalette(const TPalette* palette) {
  if (palette == FWorkPalette.get()) return;
  bool discarded = false;
  if (FBitmap) {
    const TPalette* current = FBitmap->Palette();
    const bool same = palette == nullptr ? current == nullptr : current != nullptr && *current == *palette;
    if (!same) {
      FBitmap.reset();
      discarded = true;
    }
  }
  FWorkPalette = palette ? std::make_unique<TPalette>(*palette) : nullptr;
  if (discarded) {
    SetPaletteDirty(true);
    NotifyChanged(this);
  }
}

void TJPEGImage::DrawInto(TCanvas& canvas, const TRect& rect) { canvas.StretchDraw(rect, DecodeToBitmap()); }

bool TJPEGImage::SameAs(const TGraphic& other) const {
  const auto* jpeg = dynamic_cast<const TJPEGImage*>(&other);
  if (jpeg == nullptr) return false;
  if (FData->EncodedBytes && jpeg->FData->EncodedBytes) return TGraphic::SameAs(other);
  return FData == jpeg->FData;
}

void TJPEGImage::CopyFrom(const TPersistent* source) {
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
    if (jpeg == this) return;
    FData = jpeg->FData;
    FBitmap.reset();
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->CopyFrom(jpeg->FBitmap.get());
    }
  } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    NewData();
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->CopyFrom(bitmap);
  } else {
    return TGraphic::CopyFrom(source);
  }
  SetPaletteDirty(true);
  NotifyChanged(this);
}

// Copying out decodes on first use, as drawing does: the bitmap is a cache of the encoded
// value, so filling it is not a change of this image's value.
void TJPEGImage::CopyTo(TPersistent* dest) const {
  auto* bitmap = dynamic_cast<TBitmap*>(dest);
  if (bitmap == nullptr) return TGraphic::CopyTo(dest);
  bitmap->CopyFrom(&const_cast<TJPEGImage*>(this)->DecodeToBitmap());
}

void TJPEGImage::SetSettings(const TJPEGSettings& settings) {
  TJPEGSettings next = settings;
  next.EncodeQuality = std::clamp<uint8_t>(next.EncodeQuality, 1, 100);
  next.ScaleShift = std::min<uint8_t>(next.ScaleShift, 3);
  const TJPEGSettings previous = std::exchange(FSettings, next);
  const bool decodingChanged = previous.GrayscaleOutput != next.GrayscaleOutput ||
                               previous.DecodeSpeed != next.DecodeSpeed ||
                               previous.OutputDepth != next.OutputDepth || previous.ScaleShift != next.ScaleShift ||
                               previous.BlockSmoothing != next.BlockSmoothing;
  if (decodingChanged && FBitmap && FData->EncodedBytes) {
    DiscardBitmap();
    NotifyChanged(this);
  }
}

void TJPEGImage::NewData() { FData = std::make_shared<TJPEGData>(); }

void TJPEGImage::DiscardBitmap() {
  FBitmap.reset();
  SetPaletteDirty(true);
}

void TJPEGImage::ReadStoredData(TStream& stream) {
  int32_t count = 0;
  stream.ReadBuffer(&count, 4);
  // Checked before allocating, so a corrupt count cannot ask for an absurd buffer.
  if (count < 0 || count > stream.Size() - stream.Position()) throw EReadError(rs::SReadError);
  ReadImage(stream, count);
}

// An image given pixels rather than a file stores the file made from them: a count of 0
// would reload as an image that fails to draw.
void TJPEGImage::WriteStoredData(TStream& stream) const {
  const_cast<TJPEGImage*>(this)->Compress();
  const TMemoryStream* bytes = FData->EncodedBytes.get();
  const int32_t count = bytes ? int32_t(bytes->Bytes().size()) : 0;
  stream.WriteBuffer(&count, 4);
  if (count > 0) stream.WriteBuffer(bytes->Memory(), count);
}

void TJPEGImage::LoadFromByteStream(TStream& stream) { ReadImage(stream, stream.Size() - stream.Position()); }

// Encoding on demand fills in the value the image stands for; it changes nothing a reader
// of the image could tell apart.
void TJPEGImage::SaveToByteStream(TStream& stream) const {
  const_cast<TJPEGImage*>(this)->Compress();
  const TMemoryStream* bytes = FData->EncodedBytes.get();
  if (bytes != nullptr && !bytes->Bytes().empty()) stream.WriteBuffer(bytes->Memory(), int64_t(bytes->Bytes().size()));
}

void TJPEGImage::ReadImage(TStream& stream, int64_t count) {
  NewData();
  FBitmap.reset();
  FData->EncodedBytes = std::make_unique<TMemoryStream>();
  FData->EncodedBytes->SetSize(count);
  if (count > 0) {
    stream.ReadBuffer(FData->EncodedBytes->Memory(), count);
    ReadHeader();
  }
  SetPaletteDirty(true);
  NotifyChanged(this);
}

void TJPEGImage::ReadHeader() {
  TDecodeContext context;
  context.Create(nullptr);
  context.ReadHeader(FData->EncodedBytes.get());
  FData->HeaderWidth = int(context.Info.image_width);
  FData->HeaderHeight = int(context.Info.image_height);
  FData->HeaderGrayscale = context.Info.jpeg_color_space == JCS_GRAYSCALE;
  bool multiScan = false;
  JpegCall(context.Errors, [&] { multiScan = jpeg_has_multiple_scans(&context.Info); });
  FSettings.MultiScanEncoding = multiScan;
}
