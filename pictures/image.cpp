#include "pictures/image.h"

#include <limits>

#include "framework/controls/custom_form.h"
#include "framework/controls/fine_canvas.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

// The fitted size depends on the ratio being rounded to a double and then multiplied at the
// 64-bit mantissa of extended precision: 513 x (4/3 as a double) is just below 684 there,
// while double arithmetic would round it up to 684.
static_assert(std::numeric_limits<long double>::digits == 64, "placement needs 80-bit extended precision");

const TClassInfo& TImage::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TImage, TGraphicControl>("TImage")
          .Property("Picture", &TImage::Picture, &TImage::SetPicture)
          .Property("Proportional", &TImage::Proportional, &TImage::SetProportional, Default(0))
          .Property("Stretch", &TImage::Stretch, &TImage::SetStretch, Default(0))
          .Property("Center", &TImage::Center, &TImage::SetCenter, Default(0))
          .Property("Transparent", &TImage::Transparent, &TImage::SetTransparent, Default(0))
          .Property("IncrementalDisplay", &TImage::IncrementalDisplay, &TImage::SetIncrementalDisplay, Default(0))
          .Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, Default(0))
          .Event("OnProgress", &TImage::FOnProgress);
  return info;
}

namespace {
// A new image view's size before its form description sets one.
constexpr int kInitialSize = 105;

// Restores the drawing flag when paint ends, also by an exception.
class TDrawingScope {
 public:
  explicit TDrawingScope(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
  ~TDrawingScope() { FFlag = FWas; }
  TDrawingScope(const TDrawingScope&) = delete;
  TDrawingScope& operator=(const TDrawingScope&) = delete;

 private:
  bool& FFlag;
  bool FWas;
};

int Truncated(long double value) { return int(value); }
}  // namespace

TRect PlacementRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center) {
  int width = w, height = h;
  if (stretch || (proportional && (w > cw || h > ch))) {
    if (proportional && w > 0 && h > 0) {
      const double ratio = double(w) / double(h);
      const long double a = ratio;
      if (w > h) {
        width = cw;
        height = Truncated(cw / a);
        if (height > ch) {
          height = ch;
          width = Truncated(ch * a);
        }
      } else {
        height = ch;
        width = Truncated(ch * a);
        if (width > cw) {
          width = cw;
          height = Truncated(cw / a);
        }
      }
    } else {
      width = cw;
      height = ch;
    }
  }
  TRect rect{0, 0, width, height};
  if (center) rect = rect.Offset((cw - width) / 2, (ch - height) / 2);
  return rect;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
  SetBounds(Left(), Top(), kInitialSize, kInitialSize);
  FPicture->OnChange = [this](TObject* sender) { PictureChanged(sender); };
  FPicture->OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redrawNow,
                                const TRect& rect, const std::string& message) {
    Progress(sender, stage, percent, redrawNow, rect, message);
  };
}

TImage::~TImage() {
  // The picture may not call back into a control that is going away.
  FPicture->OnChange = nullptr;
  FPicture->OnProgress = nullptr;
}

void TImage::SetPicture(TPicture* value) { FPicture->CopyFrom(value); }

void TImage::SetPlacement(bool& field, bool value) {
  if (field == value) return;
  field = value;
  PictureChanged(this);
}

void TImage::SetProportional(bool value) { SetPlacement(FProportional, value); }
void TImage::SetStretch(bool value) { SetPlacement(FStretch, value); }
void TImage::SetCenter(bool value) { SetPlacement(FCenter, value); }
void TImage::SetTransparent(bool value) { SetPlacement(FTransparent, value); }

void TImage::SetAutoSize(bool value) {
  if (FAutoSize == value) return;
  FAutoSize = value;
  int width = Width(), height = Height();
  if (FAutoSize && CanAutoSize(width, height)) SetBounds(Left(), Top(), width, height);
}

TRect TImage::DestRect() const { return DestRect(1); }

TRect TImage::DestRect(int scale) const {
  return PlacementRect(FPicture->Width(), FPicture->Height(), Width() * scale, Height() * scale, FStretch,
                       FProportional, FCenter);
}

const TPalette* TImage::GetPalette() const {
  const TGraphic* graphic = FPicture->Graphic();
  return graphic ? graphic->Palette() : nullptr;
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) const {
  if (Align() == alNone || Align() == alLeft || Align() == alRight) newWidth = FPicture->Width();
  if (Align() == alNone || Align() == alTop || Align() == alBottom) newHeight = FPicture->Height();
  return true;
}

// On a scaled window the picture is also drawn at the screen's own resolution, over the
// whole area of the view: around the picture the screen shows what lies beneath the view,
// block for block, as it would without the picture. An opaque view has nothing beneath it.
void TImage::Paint() {
  const TDrawingScope drawing(FDrawing);
  TGraphic* graphic = FPicture->Graphic();
  if (graphic == nullptr) return;
  TFineCanvas fine(*this, Canvas());
  const bool opaque = ControlStyle().Contains(csOpaque);
  if (!opaque) fine.CopySurface();
  Canvas().StretchDraw(DestRect(), *graphic);
  if (!fine.Active()) return;
  if (opaque) fine.CopySurface();
  fine.Canvas().StretchDraw(DestRect(fine.Scale()), *graphic);
  fine.Show();
}

void TImage::SetOpaque(bool opaque) {
  TControlStyle style = ControlStyle();
  if (opaque) style.Include(csOpaque);
  else style.Exclude(csOpaque);
  SetControlStyle(style);
}

void TImage::PictureChanged(TObject*) {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  if (TGraphic* graphic = FPicture->Graphic()) {
    graphic->SetTransparent(FTransparent);
    const TRect dest = DestRect();
    SetOpaque(!graphic->Transparent() && dest.Left <= 0 && dest.Top <= 0 && dest.Right >= Width() &&
              dest.Bottom >= Height());
    if (DoPaletteChange() && FDrawing) Update();
  } else {
    SetOpaque(false);
  }
  if (!FDrawing) Invalidate();
}

bool TImage::DoPaletteChange() {
  TGraphic* graphic = FPicture->Graphic();
  TCustomForm* form = GetParentForm(this);
  const bool loading = ComponentState().Contains(csLoading) ||
                       (form != nullptr && form->ComponentState().Contains(csLoading));
  if (!Visible() || loading || graphic == nullptr || !graphic->PaletteDirty()) return false;
  if (graphic->Palette() == nullptr) {
    graphic->SetPaletteDirty(false);
    return false;
  }
  TWindowSystem* system = TWindowSystem::Current();
  if (form == nullptr || !form->Active() || form->PlatformWindow() == nullptr || system == nullptr) return false;
  // While painting the palette must be in effect before the drawing goes on.
  if (FDrawing) form->Perform(msgQueryNewPalette);
  else system->PostMessage(form, msgQueryNewPalette);
  graphic->SetPaletteDirty(false);
  return true;
}

void TImage::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                      const TRect& rect, const std::string& message) {
  if (FIncrementalDisplay && redrawNow) {
    if (DoPaletteChange()) Update();
    // Inside a paint the rows decoded so far are drawn at once; outside one the host paints them.
    else if (FDrawing) Paint();
    else Repaint();
  }
  FOnProgress(sender, stage, percentDone, redrawNow, rect, message);
}
