#pragma once
// An overlay: drawn over the whole content of a top-level window, child windows included,
// as a window of its own above them all would be. Painting beneath it leaves its area
// alone; what it uncovers when it moves or goes is painted again by the window's next
// paint pass, which then draws the overlay and presents both at once.
#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/region.h"

class TOverlay {
 public:
  virtual ~TOverlay() = default;
  // The pixels it covers, in the window's client coordinates (empty: it does not show).
  virtual const TRegion& OverlayArea() const = 0;
  // Draws its area onto the window's surface, whose coordinates are the client's.
  virtual void PaintOverlay(TBitmapImage& surface) = 0;
};
