#pragma once
// What the block copies share: the raster operations, reading source pixels as the target
// sees them, normalising an axis, and mapping colours into the target's pixel values.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/core/color.h"
#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/draw_context.h"

namespace blit {

inline uint32_t ResolveRGB(TColor color) { return uint32_t(ColorToRGB(color)) & 0xFFFFFF; }

inline uint32_t ApplyMode(TCopyMode mode, uint32_t s, uint32_t d) {
  switch (mode) {
    case cmSrcCopy: return s;
    case cmSrcAnd: return s & d;
    case cmSrcPaint: return s | d;
    case cmSrcInvert: return s ^ d;
    case cmDstInvert: return ~d & 0xFFFFFF;
    case cmNotSrcCopy: return ~s & 0xFFFFFF;
    case cmBlackness: return 0;
    case cmWhiteness: return 0xFFFFFF;
  }
  return s;
}

// Source pixels as RGB. A monochrome source drawn in colour shows its 0 pixels in the text
// colour and its 1 pixels in the background colour; a colour source copied into a monochrome
// target becomes white where it has the background colour and black elsewhere.
class TSourceReader {
 public:
  TSourceReader(const TBitmapImage& source, const TBitmapImage& target, const TDrawState& state)
      : FSource(source),
        FMonoToColor(source.Format == pf1bit && target.Format != pf1bit),
        FColorToMono(source.Format != pf1bit && target.Format == pf1bit),
        FText(ResolveRGB(state.TextColor)),
        FBk(ResolveRGB(state.BkColor)) {}

  uint32_t Read(int x, int y) const {
    const uint32_t value = FSource.PixelValue(x, y);
    if (FMonoToColor) return value ? FBk : FText;
    const uint32_t rgb = FSource.ValueToRGB(value);
    if (FColorToMono) return rgb == FBk ? 0xFFFFFF : 0;
    return rgb;
  }

  // Pixels x0 .. x1 - 1 of row y, as Read gives them.
  void ReadRow(int y, int x0, int x1, uint32_t* out) const {
    const bool direct = !FColorToMono && (FSource.Format == pf24bit || FSource.Format == pf32bit);
    if (!direct) {
      for (int x = x0; x < x1; ++x) *out++ = Read(x, y);
      return;
    }
    const size_t step = FSource.Format == pf32bit ? 4 : 3;
    const uint8_t* p = FSource.Row(y) + size_t(x0) * step;
    for (int x = x0; x < x1; ++x, p += step) *out++ = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
  }

 private:
  const TBitmapImage& FSource;
  bool FMonoToColor, FColorToMono;
  uint32_t FText, FBk;
};

struct TAxis {
  int DestStart = 0;
  int SourceStart = 0;
  int DestExtent = 0;
  int SourceExtent = 0;
  bool Mirrored = false;
};

// Normalises one axis of a copy; reversed extents on one side only mirror the picture.
inline TAxis MakeAxis(int d0, int d1, int s0, int s1) {
  return {std::min(d0, d1), std::min(s0, s1), std::abs(d1 - d0), std::abs(s1 - s0), (d1 < d0) != (s1 < s0)};
}

// The device pixels a copy onto `device` can reach: the surface and the clip's bounds.
inline TRect ReachableArea(const TDrawContext& dc, const TRect& device) {
  TRect area = IntersectRect(device, {0, 0, dc.Surface()->Width, dc.Surface()->Height});
  if (dc.State().Clip) area = IntersectRect(area, dc.State().Clip->BoundingBox());
  return area;
}

// A 32-bit surface pixel (blue, green, red, 0 in memory) as one word.
static_assert(std::endian::native == std::endian::little, "surface words are assembled little-endian");
inline uint32_t SurfaceWord(uint32_t rgb) { return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// The target's pixel value of an RGB colour. Matching a colour to an indexed target's table
// is a search of the table, so recent answers are kept; the answer for a colour never changes
// during one copy.
class TTargetValues {
 public:
  explicit TTargetValues(const TBitmapImage& target) : FTarget(target), FIndexed(target.Format == pf8bit) {
    if (FIndexed) FKeys.fill(kNoColor);
  }
  uint32_t Value(uint32_t rgb) {
    if (!FIndexed) return FTarget.RGBToValue(rgb);
    const size_t slot = ((rgb * 0x9E3779B1u) >> 20) & (kSlots - 1);
    if (FKeys[slot] != rgb) {
      FKeys[slot] = rgb;
      FValues[slot] = uint8_t(FTarget.RGBToValue(rgb));
    }
    return FValues[slot];
  }

 private:
  static constexpr size_t kSlots = 4096;
  static constexpr uint32_t kNoColor = 0xFFFFFFFF;  // above every RGB value
  const TBitmapImage& FTarget;
  bool FIndexed;
  std::array<uint32_t, kSlots> FKeys{};
  std::array<uint8_t, kSlots> FValues{};
};

}  // namespace blit
