#pragma once
// What a scaled window keeps beside its surface for the port's fine layer: the layer's
// pixels (Scale times the surface's size, rows top-down so that a desktop library can
// read them in place) and the part of it that presenting shows instead of the blocks.
// Both backends hold one per window; each composes it onto its screen its own way.
#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/region.h"

class TFineLayer {
 public:
  explicit TFineLayer(int scale) : FScale(scale) {}
  int Scale() const { return FScale; }

  // The layer for a surface like `surface` (its size times the scale, its format and
  // colour table), made on first use and made again, all hidden, after the surface
  // changed size or format.
  TBitmapImage& Image(const TBitmapImage& surface);
  // The pixels made so far; none before the first Image or after Drop.
  const TBitmapImage* Made() const { return FImage.Bits.empty() ? nullptr : &FImage; }
  // Lets the pixels go (the surface changed size): nothing is shown until they are made again.
  void Drop();

  // Where the layer is shown, in layer pixels.
  const TRegion& Shown() const { return FShown; }
  void Show(const TRegion& region);
  // `region` in surface pixels.
  void Hide(const TRegion& region);

 private:
  int FScale;
  TBitmapImage FImage;
  TRegion FShown;
};
