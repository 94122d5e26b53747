#include "tools/assets/text_mask.h"

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

TTextMask RenderTextMask(const std::string& text, const std::string& fontName, int pixelHeight, bool bold) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font().SetName(fontName);
  canvas.Font().SetHeight(-pixelHeight);
  canvas.Font().SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
  const TSize extent = canvas.TextExtent(text);
  bitmap.SetSize(extent.cx, extent.cy);
  // Black on white: the darkness of a pixel is the text's coverage.
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(TRect{0, 0, extent.cx, extent.cy});
  canvas.Font().SetColor(clBlack);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(0, 0, text);
  TTextMask mask;
  mask.Width = extent.cx;
  mask.Height = extent.cy;
  mask.Coverage.resize(size_t(extent.cx) * size_t(extent.cy));
  for (int y = 0; y < extent.cy; ++y)
    for (int x = 0; x < extent.cx; ++x) {
      const uint32_t rgb = bitmap.PixelRGB(x, y);
      const int grey = int(rgb & 0xFF) + int((rgb >> 8) & 0xFF) + int((rgb >> 16) & 0xFF);
      mask.Coverage[size_t(y) * size_t(extent.cx) + size_t(x)] = 1.0f - float(grey) / (3 * 255.0f);
    }
  return mask;
}
