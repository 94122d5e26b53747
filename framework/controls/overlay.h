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
  // On a window shown at a scale above 1, right after PaintOverlay: draws its area again
  // into `layer`, the window's fine layer (`scale` times the surface's size), where it has
  // more detail to show than the surface's blocks. Answers whether it drew; the layer then
  // shows over its whole area. Overlays drawn in blocks alone leave it as it is.
  virtual bool PaintFineOverlay(TBitmapImage& /*layer*/, int /*scale*/) { return false; }
};
