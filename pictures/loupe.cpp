#include "pictures/loupe.h"

#include <algorithm>

#include "framework/controls/keys.h"
#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/draw_context.h"
#include "framework/port/backend_port.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"

namespace {
// The picture's own pixels, as decoded for the view's paint; none before the first paint.
const TBitmap* SourceBitmap(const TImage& image) {
  const TGraphic* graphic = image.Picture()->Graphic();
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(graphic)) return jpeg->DecodedBitmap();
  return dynamic_cast<const TBitmap*>(graphic);
}

// The area of `control` in the client coordinates of `form`.
TRect RectOnForm(const TControl& control, const TWinControl& form) {
  const TPoint origin = form.ScreenToClient(control.ClientToScreen({0, 0}));
  return {origin.X, origin.Y, origin.X + control.Width(), origin.Y + control.Height()};
}
}  // namespace

TLoupe::TLoupe(TWinControl& form) : FForm(form) {
  FLens.SetPixelFormat(pf32bit);
  FFineLens.SetPixelFormat(pf32bit);
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

int TLoupe::WindowScale() const {
  const TPlatformWindow* window = FForm.TopLevel()->PlatformWindow();
  return window != nullptr ? std::max(1, window->Scale()) : 1;
}

// The lens shows while the pointer is on the photograph as the surface places it, at every
// scale. On a scaled window the screen shows the photograph from its fine placement: the
// source pixel is the one there on the top-left screen pixel of the pointer's block (the
// lens's centre screen pixel), or beyond the picture's edge where the fine photograph is
// the smaller.
std::optional<TPoint> TLoupe::SourcePixelOf(const TImage& image, TPoint p) const {
  const TBitmap* bitmap = SourceBitmap(image);
  if (bitmap == nullptr || bitmap->Empty()) return std::nullopt;
  const TSize picture{bitmap->Width(), bitmap->Height()};
  const std::optional<TPoint> source = SourcePixelAt(image.DestRect(), picture, p);
  if (!source || FScale == 1) return source;
  return SourcePixelAlong(image.DestRect(FScale), picture, {p.X * FScale, p.Y * FScale});
}

bool TLoupe::ShowAt(TImage& image, TPoint p) {
  if (!image.IsShowing()) return false;
  FScale = WindowScale();
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

// The lens `scale` times its size across: the source pixels around FSource, each zoom x
// zoom pixels, and the ring in blocks. Beyond the picture's edge the lens shows the form's
// colour, the colour around the photograph.
void TLoupe::DrawLens(TBitmap& bitmap, int scale) const {
  const int diameter = kLoupeDiameter * scale;
  // The lens's pixels are made when it is first shown: a viewer that never uses it keeps none.
  if (bitmap.Width() != diameter) bitmap.SetSize(diameter, diameter);
  TDrawContext lens(&bitmap);
  const int zoom = Zoom();
  const TRect wanted = LoupeSourceRect(FSource, zoom, scale);
  const TBitmap* source = SourceBitmap(*FImage);
  const TRect shown = source != nullptr ? IntersectRect(wanted, {0, 0, source->Width(), source->Height()}) : TRect{};
  if (shown != wanted) lens.FillRect({0, 0, diameter, diameter}, TBrushData{FForm.Color(), bsSolid, nullptr});
  if (!shown.IsEmpty()) {
    const TRect dest{(shown.Left - wanted.Left) * zoom, (shown.Top - wanted.Top) * zoom,
                     (shown.Right - wanted.Left) * zoom, (shown.Bottom - wanted.Top) * zoom};
    lens.StretchBlt(dest, *source, shown, cmSrcCopy);
  }
  if (scale == 1) {
    lens.FillRegion(LensRing(), TBrushData{clHighlight, bsSolid, nullptr});
  } else {
    TRegion ring = LensRing();
    ring.Scale(scale);
    lens.FillRegion(ring, TBrushData{clHighlight, bsSolid, nullptr});
  }
}

void TLoupe::Compose() {
  FComposed = true;
  if (FScale == 1) {
    DrawLens(FLens, 1);
    return;
  }
  // The surface keeps the middle screen pixel of each block: wherever the blocks show, the
  // lens is the same picture at the surface's resolution.
  DrawLens(FFineLens, FScale);
  if (FLens.Width() != kLoupeDiameter) FLens.SetSize(kLoupeDiameter, kLoupeDiameter);
  const TBitmapImage& fine = FFineLens.Image();
  TBitmapImage& lens = FLens.Image();
  const int middle = FScale / 2;
  for (int y = 0; y < kLoupeDiameter; ++y) {
    const auto* from = reinterpret_cast<const uint32_t*>(fine.Row(y * FScale + middle));
    auto* to = reinterpret_cast<uint32_t*>(lens.Row(y));
    for (int x = 0; x < kLoupeDiameter; ++x) to[x] = from[x * FScale + middle];
  }
}

void TLoupe::PaintOverlay(TBitmapImage& surface) {
  if (!Shown()) return;
  if (!FComposed) Compose();
  TDrawContext context(&surface);
  context.SetClipRegion(&FArea);
  context.BitBlt(FBounds.Left, FBounds.Top, kLoupeDiameter, kLoupeDiameter, FLens, 0, 0, cmSrcCopy);
}

bool TLoupe::PaintFineOverlay(TBitmapImage& layer, int scale) {
  if (!Shown() || scale != FScale) return false;
  if (!FComposed) Compose();
  TRegion area = FArea;
  area.Scale(scale);
  TDrawContext context(&layer);
  context.SetClipRegion(&area);
  const int diameter = kLoupeDiameter * scale;
  context.BitBlt(FBounds.Left * scale, FBounds.Top * scale, diameter, diameter, FFineLens, 0, 0, cmSrcCopy);
  return true;
}
