#pragma once
// A JPEG photograph as a graphic: the encoded bytes (shared between copies), the size from
// the header, and a bitmap decoded through libjpeg on first use and kept.
#include <memory>

#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/graphic.h"
#include "framework/graphics/palette.h"
#include "pictures/jpeg_settings.h"

struct TDecodeContext;

// The encoded file and what its header said. Images that copy one another share one.
class TJPEGData {
 public:
  std::unique_ptr<TMemoryStream> EncodedBytes;  // the whole file, or none
  int HeaderWidth = 0;
  int HeaderHeight = 0;
  bool HeaderGrayscale = false;
};

class TJPEGImage : public TGraphic {
 public:
  VM_CLASS()
  TJPEGImage();
  ~TJPEGImage() override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  // A JPEG image's size is the file's: raises EInvalidGraphicOperation.
  void SetWidth(int value) override;
  void SetHeight(int value) override;

  const TPalette* Palette() const override;
  // Takes a copy of `palette` as the work palette; a decoded bitmap with another palette is
  // dropped so that the next draw decodes against the new one.
  void SetPalette(const TPalette* palette) override;

  void DrawInto(TCanvas& canvas, const TRect& rect) override;
  bool SameAs(const TGraphic& other) const override;
  void CopyFrom(const TPersistent* source) override;

  // A 32-bit little-endian count, then that many bytes of JPEG file.
  void ReadStoredData(TStream& stream) override;
  void WriteStoredData(TStream& stream) const override;
  void LoadFromByteStream(TStream& stream) override;
  // Writes the JPEG file, encoding the bitmap first when there are no encoded bytes.
  void SaveToByteStream(TStream& stream) const override;

  // The decoded bitmap, decoding first if there is none. It stays owned by the image; after a
  // failed decode it is the empty or partly filled bitmap and is not decoded again.
  TBitmap& DecodeToBitmap();
  // Makes encoded bytes from the bitmap when there are none.
  void Compress();

  const TJPEGSettings& Settings() const { return FSettings; }
  // A change that affects decoding drops the decoded bitmap.
  void SetSettings(const TJPEGSettings& settings);
  const std::shared_ptr<TJPEGData>& Data() const { return FData; }
  const TBitmap* DecodedBitmap() const { return FBitmap.get(); }

 protected:
  void CopyTo(TPersistent* dest) const override;

 private:
  void ReadImage(TStream& stream, int64_t count);
  void ReadHeader();
  void NewData();
  void DiscardBitmap();
  // Decoder set-up with the current settings, up to the point where decoding can start.
  void SetUpDecoder(TDecodeContext& context, TJPEGImage* progressOwner) const;
  void Decode(TDecodeContext& context, TBitmap& bitmap);
  void ReadRows(TDecodeContext& context, TBitmap& bitmap);
  void UseWorkPaletteAsColorMap(TDecodeContext& context);
  void WriteEncoded(const TBitmap& source);
  TSize ScaledSize() const;

  std::shared_ptr<TJPEGData> FData;
  std::unique_ptr<TBitmap> FBitmap;
  // The palette the decoder quantises to on an 8-bit screen; a halftone one is made on demand.
  mutable std::unique_ptr<TPalette> FWorkPalette;
  TJPEGSettings FSettings;
};
