#pragma once
// Helpers for pixel checks: a filled 32-bit surface and the set of pixels a primitive changed.
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

using TPixelSet = std::set<std::pair<int, int>>;

inline std::unique_ptr<TBitmap> MakeSurface(int width, int height, TColor fill = clWhite,
                                            TPixelFormat format = pf32bit) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  bitmap->Canvas().Brush().SetColor(fill);
  bitmap->Canvas().FillRect({0, 0, width, height});
  return bitmap;
}

// Every pixel whose colour differs from `background`.
inline TPixelSet ChangedPixels(const TBitmap& bitmap, TColor background = clWhite) {
  TPixelSet set;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.PixelRGB(x, y) != uint32_t(background)) set.insert({x, y});
  return set;
}

inline TPixelSet PixelsOf(std::initializer_list<std::pair<int, int>> points) { return TPixelSet(points); }

inline TPixelSet RectPixels(int l, int t, int r, int b) {
  TPixelSet set;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) set.insert({x, y});
  return set;
}
