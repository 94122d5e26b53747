// Decoding: the decoder set-up shared with the scaled-size query, and the decode of the
// encoded bytes straight into the rows of the bitmap.
#include <algorithm>
#include <exception>
#include <vector>

#include <jerror.h>

#include "framework/core/exceptions.h"
#include "pictures/jpeg_glue.h"
#include "pictures/jpeg_image.h"

namespace {
// The library asks for at most a few rows at a time (its row group); more is never needed.
constexpr int kMaxRowsPerRead = 16;
// Fewer than 256, leaving room for the colours the screen keeps for itself.
constexpr int kQuantizedColors = 236;

TPalette PaletteFromColorMap(const jpeg_decompress_struct& info) {
  std::vector<TPaletteEntry> entries(size_t(std::max(info.actual_number_of_colors, 0)));
  const bool grey = info.out_color_components == 1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const JSAMPARRAY map = info.colormap;
    entries[i] = grey ? TPaletteEntry{map[0][i], map[0][i], map[0][i], 0}
                      : TPaletteEntry{map[2][i], map[1][i], map[0][i], 0};
  }
  return TPalette(std::move(entries));
}

void GivePaletteFromColorMap(TJPEGImage& image, TBitmap& bitmap, const jpeg_decompress_struct& info) {
  const TPalette palette = PaletteFromColorMap(info);
  bitmap.SetPalette(&palette);
  image.SetPaletteDirty(true);
}

// The bitmap's rows take the library's samples as they are, so their sizes must agree: a
// colour space the library cannot turn into three or one samples (four-component files) is
// refused rather than written past the row ends.
void CheckSampleLayout(TDecodeContext& context, const TBitmap& bitmap) {
  if (context.Info.output_components * 8 != bitmap.BitsPerPixel())
    throw EJPEG(JERR_CONVERSION_NOTIMPL);
}

// A damaged header can claim up to 65500 x 65500 pixels; such a picture is refused before the
// library allocates its buffers for it, as a bitmap of that size would be.
void CheckOutputSize(TDecodeContext& context, const TBitmap& bitmap) {
  jpeg_decompress_struct& info = context.Info;
  JpegCall(context.Errors, [&] { jpeg_calc_output_dimensions(&info); });
  const int64_t bytes = BytesPerScanLine(info.output_width, bitmap.BitsPerPixel()) * int64_t(info.output_height);
  if (info.output_width > unsigned(kMaxBitmapExtent) || info.output_height > unsigned(kMaxBitmapExtent) ||
      bytes > kMaxBitmapBytes)
    throw EOutOfResources(rs::SOutOfResources);
  // Rows and palettes are made of one grey or three colour samples: two-component files
  // (no palette row 2) and four-component ones (the black channel) are refused at any depth.
  if (info.out_color_components != 1 && info.out_color_components != 3) throw EJPEG(JERR_CONVERSION_NOTIMPL);
}
}  // namespace

void TJPEGImage::SetUpDecoder(TDecodeContext& context, TJPEGImage* progressOwner) const {
  context.Create(progressOwner);
  context.ReadHeader(FData->EncodedBytes.get());
  jpeg_decompress_struct& info = context.Info;
  info.scale_num = 1;
  info.scale_denom = 1u << FSettings.ScaleShift;
  info.do_block_smoothing = FSettings.BlockSmoothing;
  if (FSettings.GrayscaleOutput) info.out_color_space = JCS_GRAYSCALE;
  // Bitmap rows hold blue, green, red.
  if (info.out_color_space == JCS_RGB) info.out_color_space = JCS_EXT_BGR;
  if (FSettings.OutputDepth == od8Bit || info.out_color_space == JCS_GRAYSCALE) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = kQuantizedColors;
  }
  if (FSettings.DecodeSpeed == dsBestSpeed) {
    info.dct_method = JDCT_IFAST;
    info.two_pass_quantize = FALSE;
    info.dither_mode = JDITHER_ORDERED;
  }
  context.SavedDctMethod = info.dct_method;
  context.SavedTwoPass = info.two_pass_quantize;
  context.SavedDitherMode = info.dither_mode;
  bool multiScan = false;
  JpegCall(context.Errors, [&] { multiScan = jpeg_has_multiple_scans(&info); });
  if (FSettings.ShowEachScan && multiScan) {
    // Quick passes while the scans arrive; the final pass gets the chosen quality back.
    info.enable_2pass_quant = info.two_pass_quantize;
    info.dct_method = JDCT_IFAST;
    info.two_pass_quantize = FALSE;
    info.dither_mode = JDITHER_ORDERED;
    info.buffered_image = TRUE;
  }
}

TSize TJPEGImage::ScaledSize() const {
  if (!FData->EncodedBytes || FData->EncodedBytes->Bytes().empty()) return {};
  TDecodeContext context;
  SetUpDecoder(context, nullptr);
  JpegCall(context.Errors, [&] { jpeg_calc_output_dimensions(&context.Info); });
  return {int(context.Info.output_width), int(context.Info.output_height)};
}

TBitmap& TJPEGImage::DecodeToBitmap() {
  if (FBitmap) return *FBitmap;
  // Kept even if decoding fails: a broken picture is not decoded again at every paint.
  FBitmap = std::make_unique<TBitmap>();
  TBitmap& bitmap = *FBitmap;
  try {
    TDecodeContext context;
    SetUpDecoder(context, this);
    const bool indexed = FSettings.OutputDepth == od8Bit || context.Info.out_color_space == JCS_GRAYSCALE;
    bitmap.SetPixelFormat(indexed ? pf8bit : pf24bit);
    NotifyProgress(this, psStarting, 0, false, {}, {});
    std::exception_ptr failure;
    try {
      Decode(context, bitmap);
    } catch (...) {
      failure = std::current_exception();
    }
    // Rows the decoder never reached hold no picture: black, not leftover memory.
    if (!context.Info.buffered_image) bitmap.ClearRowsFrom(int(context.Info.output_scanline));
    try {
      NotifyProgress(this, psEnding, failure ? 0 : 100, PaletteDirty(), {}, {});
      if (PaletteDirty()) NotifyChanged(this);
    } catch (...) {
      // A handler's abort must not hide why the decode failed.
      if (!failure) throw;
    }
    if (failure) std::rethrow_exception(failure);
  } catch (const EAbort&) {
    // A cancelled decode keeps the rows it has.
  }
  return bitmap;
}

void TJPEGImage::Decode(TDecodeContext& context, TBitmap& bitmap) {
  jpeg_decompress_struct& info = context.Info;
  bool paletteToMake = true;
  if (FWorkPalette) {
    if (FSettings.OutputDepth == od8Bit && info.out_color_space != JCS_GRAYSCALE) {
      UseWorkPaletteAsColorMap(context);
      bitmap.SetPalette(FWorkPalette.get());
      paletteToMake = false;
    } else if (FSettings.OutputDepth == od24Bit) {
      FWorkPalette.reset();
    }
  }
  CheckOutputSize(context, bitmap);
  JpegCall(context.Errors, [&] { jpeg_start_decompress(&info); });
  CheckSampleLayout(context, bitmap);
  // Every row is written by the decoder, so the new rows are not cleared first; scan-by-scan
  // display shows the rows before the first scan has filled them, so there they are.
  bitmap.SetSize(int(info.output_width), int(info.output_height),
                 info.buffered_image ? TNewPixels::Black : TNewPixels::Unset);
  if (info.buffered_image) {
    bool firstPass = true;
    bool complete = false;
    while (!complete) {
      if (info.input_scan_number > kMaxJpegScans) throw EOutOfResources(rs::SOutOfResources);
      JpegCall(context.Errors, [&] { jpeg_start_output(&info, info.input_scan_number); });
      if (firstPass && info.colormap != nullptr && bitmap.PixelFormat() == pf8bit && paletteToMake)
        GivePaletteFromColorMap(*this, bitmap, info);
      firstPass = false;
      ReadRows(context, bitmap);
      JpegCall(context.Errors, [&] {
        jpeg_finish_output(&info);
        complete = jpeg_input_complete(&info);
      });
    }
    info.dct_method = context.SavedDctMethod;
    info.dither_mode = context.SavedDitherMode;
    // The final pass may quantise in two passes to a map of its own, unless the map is the
    // work palette the bitmap already carries.
    if (context.SavedTwoPass && paletteToMake) {
      info.two_pass_quantize = TRUE;
      info.colormap = nullptr;
    }
    JpegCall(context.Errors, [&] { jpeg_start_output(&info, info.input_scan_number); });
  }
  if ((!info.buffered_image || context.SavedTwoPass) && info.colormap != nullptr && paletteToMake)
    GivePaletteFromColorMap(*this, bitmap, info);
  ReadRows(context, bitmap);
  JpegCall(context.Errors, [&] {
    if (info.buffered_image) jpeg_finish_output(&info);
    jpeg_finish_decompress(&info);
  });
}

// Each output row k goes straight into bitmap row k (top row first), no buffer between.
void TJPEGImage::ReadRows(TDecodeContext& context, TBitmap& bitmap) {
  TBitmapImage& image = bitmap.Image();
  jpeg_decompress_struct& info = context.Info;
  JpegCall(context.Errors, [&] {
    JSAMPROW rows[kMaxRowsPerRead];
    while (info.output_scanline < info.output_height) {
      const int remaining = int(info.output_height - info.output_scanline);
      const int count = std::min({std::max(info.rec_outbuf_height, 1), kMaxRowsPerRead, remaining});
      for (int i = 0; i < count; ++i) rows[i] = image.Row(int(info.output_scanline) + i);
      if (jpeg_read_scanlines(&info, rows, JDIMENSION(count)) == 0) break;
    }
  });
}

// Quantising to the palette the screen shows avoids a second mapping when drawing.
void TJPEGImage::UseWorkPaletteAsColorMap(TDecodeContext& context) {
  const std::vector<TPaletteEntry>& entries = FWorkPalette->Entries();
  const int count = int(std::min<size_t>(entries.size(), 256));
  if (count == 0) return;
  jpeg_decompress_struct& info = context.Info;
  JSAMPARRAY map = nullptr;
  JpegCall(context.Errors, [&] {
    map = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, JDIMENSION(count), 3);
  });
  for (int i = 0; i < count; ++i) {
    map[2][i] = entries[size_t(i)].Red;
    map[1][i] = entries[size_t(i)].Green;
    map[0][i] = entries[size_t(i)].Blue;
  }
  info.colormap = map;
  info.actual_number_of_colors = count;
}
