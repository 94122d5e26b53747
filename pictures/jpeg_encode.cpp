// Encoding: a JPEG file made from the bitmap, for images that were given pixels rather
// than a file.
#include <algorithm>

#include "framework/core/exceptions.h"
#include "pictures/jpeg_glue.h"
#include "pictures/jpeg_image.h"

namespace {
constexpr int kMaxRowsPerWrite = 64;
}

void TJPEGImage::Compress() {
  if (FData->EncodedBytes || !FBitmap || FBitmap->Empty()) return;
  try {
    WriteEncoded(*FBitmap);
  } catch (const EAbort&) {
    NewData();
  }
}

void TJPEGImage::WriteEncoded(const TBitmap& source) {
  auto data = std::make_shared<TJPEGData>();
  data->EncodedBytes = std::make_unique<TMemoryStream>();
  data->HeaderWidth = source.Width();
  data->HeaderHeight = source.Height();
  TBitmap pixels;
  pixels.CopyFrom(&source);
  pixels.SetPixelFormat(pf24bit);

  TEncodeContext context;
  context.Create(this);
  context.AttachDestination(*data->EncodedBytes);
  jpeg_compress_struct& info = context.Info;
  info.image_width = JDIMENSION(source.Width());
  info.image_height = JDIMENSION(source.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  JpegCall(context.Errors, [&] {
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, FSettings.EncodeQuality, TRUE);
  });
  if (FSettings.GrayscaleOutput) {
    data->HeaderGrayscale = true;
    JpegCall(context.Errors, [&] { jpeg_set_colorspace(&info, JCS_GRAYSCALE); });
  }
  if (FSettings.MultiScanEncoding) JpegCall(context.Errors, [&] { jpeg_simple_progression(&info); });

  NotifyProgress(this, psStarting, 0, false, {}, {});
  TBitmapImage& image = pixels.Image();
  JpegCall(context.Errors, [&] {
    jpeg_start_compress(&info, TRUE);
    JSAMPROW rows[kMaxRowsPerWrite];
    while (info.next_scanline < info.image_height) {
      const int count = std::min(kMaxRowsPerWrite, int(info.image_height - info.next_scanline));
      for (int i = 0; i < count; ++i) rows[i] = image.Row(int(info.next_scanline) + i);
      jpeg_write_scanlines(&info, rows, JDIMENSION(count));
    }
    jpeg_finish_compress(&info);
  });
  NotifyProgress(this, psEnding, 100, false, {}, {});
  FData = std::move(data);
}
