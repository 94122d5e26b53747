#pragma once
// TLoupe: full-resolution inspection of a shown photograph. While the right mouse button
// is held over the photograph of an inspected image view (or Z is held with the pointer
// there), a round lens follows the pointer and shows the picture's own pixels around the
// source pixel under the pointer, at 1x, 2x or 4x (the wheel steps it). Releasing, leaving
// the photograph or Escape hides it. It is an overlay of the form: above every control,
// inside the client area, never over the control it keeps clear of. On a window shown at a
// scale above 1 the lens is drawn at the screen's own resolution: the source pixel under
// the pointer is the one the fine photograph shows there, and at 1x each source pixel is
// one screen pixel.
#include <memory>
#include <optional>
#include <vector>

#include "framework/controls/control.h"
#include "framework/controls/overlay.h"
#include "framework/graphics/bitmap.h"
#include "pictures/loupe_geometry.h"

class TImage;
class TWinControl;

class TLoupe : public TOverlay {
 public:
  explicit TLoupe(TWinControl& form);
  ~TLoupe() override;
  TLoupe(const TLoupe&) = delete;
  TLoupe& operator=(const TLoupe&) = delete;

  // Takes the view's mouse events (right button, moves, wheel, leaving) for the loupe.
  void Inspect(TImage& image);
  // The lens never covers this control (a control of the form).
  void KeepClearOf(const TControl* control) { FKeepClear = control; }
  // The form's keys, seen before its controls: Z held shows the lens at the pointer,
  // Escape hides it. Answers true for a key the loupe used up (Escape while shown).
  bool KeyDown(int key, TShiftState shift);
  void KeyUp(int key);
  // The photographs' visibility changed: a lens over one that went hides.
  void ImagesChanged();
  // Hides the lens until the next press of the button or of Z (the form lost the keyboard,
  // so a release may never come).
  void Dismiss() { Hide(); }

  bool Shown() const { return FImage != nullptr; }
  int Zoom() const { return kLoupeZooms[FZoomIndex]; }
  // The image view under the lens and the source pixel on its centre pixel (on a scaled
  // window: on the centre pixel's top-left screen pixel).
  const TImage* Image() const { return FImage; }
  TPoint SourcePixel() const { return FSource; }
  // The lens's square in the form's client coordinates.
  TRect Bounds() const { return FBounds; }

  const TRegion& OverlayArea() const override { return FArea; }
  void PaintOverlay(TBitmapImage& surface) override;
  bool PaintFineOverlay(TBitmapImage& layer, int scale) override;

 private:
  // Shows the lens over `image` at `p` (the view's coordinates) when `p` is on its photograph.
  bool ShowAt(TImage& image, TPoint p);
  void Follow(TPoint p);
  void Hide();
  void StepZoom(int notches);
  void Place(TImage* image, TPoint pointer, TPoint source);
  TRegion AreaAt(const TRect& bounds) const;
  TImage* PhotographUnderPointer() const;
  int WindowScale() const;
  std::optional<TPoint> SourcePixelOf(const TImage& image, TPoint p) const;
  void Compose();
  void DrawLens(TBitmap& lens, int scale) const;

  void ImageMouseDown(TImage& image, TMouseButton button, int x, int y);
  void ImageMouseMove(TImage& image, int x, int y);
  void ImageMouseUp(TMouseButton button);

  TWinControl& FForm;
  std::vector<TImage*> FImages;
  const TControl* FKeepClear = nullptr;
  TImage* FImage = nullptr;  // the view under the lens; none while hidden
  TPoint FSource;
  TRect FBounds;
  TRegion FArea;
  int FZoomIndex = 0;
  int FScale = 1;  // the window's, taken when the lens shows
  // What keeps the lens up: the right button, Z, or both.
  bool FHeldByButton = false;
  bool FHeldByKey = false;
  bool FKeyDown = false;  // Z is down: its repeats show nothing
  bool FComposed = false;
  TBitmap FLens;  // the lens drawn off-screen, copied to the surface in one operation
  TBitmap FFineLens;  // at a scale above 1: the same in screen pixels, for the fine layer
};
