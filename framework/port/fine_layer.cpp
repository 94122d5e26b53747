#include "framework/port/fine_layer.h"

TBitmapImage& TFineLayer::Image(const TBitmapImage& surface) {
  const int width = surface.Width * FScale, height = surface.Height * FScale;
  if (FImage.Width != width || FImage.Height != height || FImage.Format != surface.Format || FImage.Bits.empty()) {
    FImage.Width = width;
    FImage.Height = height;
    FImage.Format = surface.Format;
    FImage.TopDown = true;
    FImage.Bits.assign(size_t(FImage.Stride()) * size_t(height), 0);
    FShown = TRegion();
  }
  FImage.ColorTable = surface.ColorTable;
  return FImage;
}

void TFineLayer::Drop() {
  FImage = TBitmapImage();
  FShown = TRegion();
}

void TFineLayer::Show(const TRegion& region) {
  if (FImage.Bits.empty()) return;
  const TRegion inside = region.Combine(TRegion(TRect{0, 0, FImage.Width, FImage.Height}), roAnd);
  FShown = FShown.Combine(inside, roOr);
}

// Called for every stroke drawn on the surface, so a stroke away from the shown part
// costs no region arithmetic.
void TFineLayer::Hide(const TRegion& region) {
  if (FShown.IsEmpty() || region.IsEmpty()) return;
  TRect box = region.BoundingBox();
  box = {box.Left * FScale, box.Top * FScale, box.Right * FScale, box.Bottom * FScale};
  if (IntersectRect(box, FShown.BoundingBox()).IsEmpty()) return;
  TRegion scaled = region;
  scaled.Scale(FScale);
  FShown = FShown.Combine(scaled, roDiff);
}
