#pragma once
// Pixel checks written as pictures: one string per row, one letter per pixel, '.' for the
// untouched background. A failing check prints both pictures.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

using TLegend = std::map<char, uint32_t>;  // letter -> RGB

inline constexpr uint32_t kBackground = 0xFF00FF;

// System colours of the platform, as RGB.
inline const TLegend& SystemLegend() {
  static const TLegend legend = {
      {'S', 0x99A8AC},  // button shadow
      {'H', 0xFFFFFF},  // button highlight
      {'D', 0x646F71},  // 3-D dark shadow
      {'L', 0xE2EFF1},  // 3-D light
      {'T', 0x000000},  // button text
  };
  return legend;
}

inline std::unique_ptr<TBitmap> MakeCanvasBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(width, height);
  bitmap->Canvas().Brush().SetColor(TColor(kBackground));
  bitmap->Canvas().FillRect({0, 0, width, height});
  return bitmap;
}

inline std::vector<std::string> Picture(const TBitmap& bitmap, const TLegend& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t rgb = bitmap.PixelRGB(x, y);
      char letter = rgb == kBackground ? '.' : '?';
      for (const auto& [l, c] : legend)
        if (c == rgb && letter == '?') letter = l;
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

#define EXPECT_PICTURE(bitmap, legend, ...) \
  EXPECT_EQ(Picture(bitmap, legend), (std::vector<std::string>{__VA_ARGS__}))

inline int ChangedCount(const TBitmap& bitmap) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.PixelRGB(x, y) != kBackground;
  return count;
}
