#include "pictures/loupe.h"

#include <algorithm>

#include "framework/controls/keys.h"
#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/draw_context.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"

namespace {
// The picture's own pixels, as decoded for the view's paint; none before the first paint.
const TBitmap* SourceBitmap(const TImage& image) {
  const TGraphic* graphic = image.Picture()->Graphic();
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(graphic)) return jpeg->DecodedBitmap();
  return dynamic_cast<const TBitmap*>(graphic);
}

std::optional<TPoint> SourcePixelOf(const TImage& image, TPoint p) {
  const TBitmap* bitmap = SourceBitmap(image);
  if (bitmap == nullptr || bitmap->Empty()) return std::nullopt;
  return SourcePixelAt(image.DestRect(), {bitmap->Width(), bitmap->Height()}, p);
}

// The area of `control` in the client coordinates of `form`.
TRect RectOnForm(const TControl& control, const TWinControl& form) {
  const TPoint origin = form.ScreenToClient(control.ClientToScreen({0, 0}));
  return {origin.X, origin.Y, origin.X + control.Width(), origin.Y + control.Height()};
}
}  // namespace

TLoupe::TLoupe(TWinControl& form) : FForm(form) {
  FLens.SetPixelFormat(pf32bit);
  FForm.SetOverlay(this);
}

TLoupe::~TLoupe() {
  for (TImage* image : FImages) {
    image->FOnMouseDown.Clear();
    image->FOnMouseMove.Clear();
    image->FOnMouseUp.Clear();
    image->FOnMouseWheel.Clear();
    image->FOnMouseLeave.Clear();
  }
  FForm.SetOverlay(nullptr);
}

void TLoupe::Inspect(TImage& image) {
  FImages.push_back(&image);
  TImage* view = &image;
  image.FOnMouseDown = [this, view](TObject*, TMouseButton button, TShiftState, int x, int y) {
    ImageMouseDown(*view, button, x, y);
  };
  image.FOnMouseMove = [this, view](TObject*, TShiftState, int x, int y) {
    if (FImage == view) Follow({x, y});
  };
  image.FOnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int, int) { ImageMouseUp(button); };
  image.FOnMouseWheel = [this, view](TObject*, TShiftState, int notches, int, int) {
    if (FImage == view) StepZoom(notches);
  };
  image.FOnMouseLeave = [this, view](TObject*) {
    if (FImage == view) Hide();
  };
}

// ---- what shows it and hides it ----

void TLoupe::ImageMouseDown(TImage& image, TMouseButton button, int x, int y) {
  if (button != mbRight) return;
  if (Shown() || ShowAt(image, {x, y})) FHeldByButton = true;
}

void TLoupe::ImageMouseUp(TMouseButton button) {
  if (button != mbRight) return;
  FHeldByButton = false;
  if (!FHeldByKey) Hide();
}

bool TLoupe::KeyDown(int key, TShiftState shift) {
  if (key == vkEscape && Shown()) {
    Hide();
    return true;
  }
  if (key != 'Z' || shift.Contains(ssCtrl) || shift.Contains(ssAlt) || FKeyDown) return false;
  FKeyDown = true;  // the key's repeats while held show nothing new
  if (Shown()) {
    FHeldByKey = true;
  } else if (TImage* image = PhotographUnderPointer()) {
    const TWindowSystem* ws = TWindowSystem::Current();
    if (ShowAt(*image, image->ScreenToClient(ws->CursorPos()))) FHeldByKey = true;
  }
  return false;
}

void TLoupe::KeyUp(int key) {
  if (key != 'Z') return;
  FKeyDown = false;
  FHeldByKey = false;
  if (!FHeldByButton) Hide();
}

void TLoupe::ImagesChanged() {
  if (FImage != nullptr && !FImage->IsShowing()) Hide();
}

TImage* TLoupe::PhotographUnderPointer() const {
  const TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr) return nullptr;
  const auto it = std::find(FImages.begin(), FImages.end(), ws->MouseControl());
  return it != FImages.end() && (*it)->IsShowing() ? *it : nullptr;
}

bool TLoupe::ShowAt(TImage& image, TPoint p) {
  if (!image.IsShowing()) return false;
  const std::optional<TPoint> source = SourcePixelOf(image, p);
  if (!source) return false;
  FZoomIndex = 0;
  Place(&image, p, *source);
  return true;
}

void TLoupe::Follow(TPoint p) {
  const std::optional<TPoint> source = SourcePixelOf(*FImage, p);
  if (source) Place(FImage, p, *source);
  else Hide();
}

void TLoupe::Hide() {
  FHeldByButton = false;
  FHeldByKey = false;
  if (!Shown()) return;
  const TRegion old = std::move(FArea);
  FArea = TRegion();
  FImage = nullptr;
  FForm.OverlayChanged(old);
}

void TLoupe::StepZoom(int notches) {
  const int index = std::clamp(FZoomIndex + notches, 0, int(std::size(kLoupeZooms)) - 1);
  if (index == FZoomIndex) return;
  FZoomIndex = index;
  FComposed = false;
  FForm.OverlayChanged(FArea);
}

// ---- placing and drawing ----

void TLoupe::Place(TImage* image, TPoint p, TPoint source) {
  const TRect bounds = LoupeBounds(FForm.ScreenToClient(image->ClientToScreen(p)));
  if (image == FImage && bounds == FBounds && source == FSource) return;
  TRegion old = std::move(FArea);
  FImage = image;
  FSource = source;
  FBounds = bounds;
  FArea = AreaAt(bounds);
  FComposed = false;
  FForm.OverlayChanged(old);
}

TRegion TLoupe::AreaAt(const TRect& bounds) const {
  TRegion area = LensDisc();
  area.Offset(bounds.Left, bounds.Top);
  if (IntersectRect(bounds, FForm.ClientRect()) != bounds) area = area.Combine(TRegion(FForm.ClientRect()), roAnd);
  if (FKeepClear != nullptr && FKeepClear->IsShowing()) {
    const TRect clear = RectOnForm(*FKeepClear, FForm);
    if (!IntersectRect(bounds, clear).IsEmpty()) area = area.Combine(TRegion(clear), roDiff);
  }
  return area;
}

// Beyond the picture's edge the lens shows the form's colour, the colour around the photograph.
void TLoupe::Compose() {
  // The lens's pixels are made when it is first shown: a viewer that never uses it keeps none.
  if (FLens.Width() != kLoupeDiameter) FLens.SetSize(kLoupeDiameter, kLoupeDiameter);
  TDrawContext lens(&FLens);
  const int zoom = Zoom();
  const TRect wanted = LoupeSourceRect(FSource, zoom);
  const TBitmap* source = SourceBitmap(*FImage);
  const TRect shown = source != nullptr ? IntersectRect(wanted, {0, 0, source->Width(), source->Height()}) : TRect{};
  if (shown != wanted) lens.FillRect({0, 0, kLoupeDiameter, kLoupeDiameter}, TBrushData{FForm.Color(), bsSolid, nullptr});
  if (!shown.IsEmpty()) {
    const TRect dest{(shown.Left - wanted.Left) * zoom, (shown.Top - wanted.Top) * zoom,
                     (shown.Right - wanted.Left) * zoom, (shown.Bottom - wanted.Top) * zoom};
    lens.StretchBlt(dest, *source, shown, cmSrcCopy);
  }
  lens.FillRegion(LensRing(), TBrushData{clHighlight, bsSolid, nullptr});
  FComposed = true;
}

void TLoupe::PaintOverlay(TBitmapImage& surface) {
  if (!Shown()) return;
  if (!FComposed) Compose();
  TDrawContext context(&surface);
  context.SetClipRegion(&FArea);
  context.BitBlt(FBounds.Left, FBounds.Top, kLoupeDiameter, kLoupeDiameter, FLens, 0, 0, cmSrcCopy);
}
