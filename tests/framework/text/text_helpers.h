#pragma once
// Ink checks for text: which pixels a text call changed, never their grey levels.
#include "tests/framework/graphics/pixel_helpers.h"
#include "framework/graphics/canvas_text.h"
#include "framework/graphics/text_layout.h"

// The bounding box of every pixel differing from `background`; empty when none.
inline TRect InkBox(const TBitmap& bitmap, TColor background = clWhite) {
  TRect box;
  bool any = false;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.PixelRGB(x, y) == uint32_t(background)) continue;
      box = any ? UnionRect(box, {x, y, x + 1, y + 1}) : TRect{x, y, x + 1, y + 1};
      any = true;
    }
  return box;
}

// A canvas on a white 32-bit surface with black text in `name` at `height`.
inline std::unique_ptr<TBitmap> TextSurface(int width, int height, const char* name = "MS Sans Serif",
                                            int fontHeight = -11) {
  auto bitmap = MakeSurface(width, height);
  TCanvas& canvas = bitmap->Canvas();
  canvas.Font().SetName(name);
  canvas.Font().SetHeight(fontHeight);
  canvas.Font().SetColor(clBlack);
  canvas.Brush().SetStyle(bsClear);
  return bitmap;
}
