#include "framework/controls/control_canvas.h"

#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/port/backend_port.h"

namespace {
uint64_t CurrentLayoutGeneration() {
  const TWindowSystem* ws = TWindowSystem::Current();
  return ws != nullptr ? ws->LayoutGeneration() : 0;
}

// The window whose surface shows `control`, and the control's client origin on it.
TWinControl* HostWindow(TControl& control, TPoint& origin) {
  if (auto* window = dynamic_cast<TWinControl*>(&control)) {
    origin = window->SurfaceOffset();
    return window->TopLevel();
  }
  TWinControl* parent = control.Parent();
  if (parent == nullptr) return nullptr;
  origin = parent->SurfaceOffset() + TPoint{control.Left(), control.Top()};
  return parent->TopLevel();
}
}  // namespace

TControlCanvas::TControlCanvas(TControl& control) : FControl(control) {
  OnChange = [this](TObject*) { PresentDrawn(); };
}

TControlCanvas::~TControlCanvas() { SetHandle(nullptr); }

bool TControlCanvas::DrawsOutsidePaint() { return FOutside != nullptr && HandleAllocated() && &Handle() == FOutside.get(); }

TCanvas& TControlCanvas::Ready() {
  if (HandleAllocated() && !DrawsOutsidePaint()) return *this;  // lent for a message
  const uint64_t generation = CurrentLayoutGeneration();
  if (!DrawsOutsidePaint() || generation != FGeneration) Attach(generation);
  return *this;
}

// The control moved, or was shown or covered, since the context was set up: it gets the
// new place and clip and keeps the rest of its state.
void TControlCanvas::Attach(uint64_t generation) {
  TPoint origin;
  TWinControl* host = HostWindow(FControl, origin);
  FWindow = host != nullptr ? host->PlatformWindow() : nullptr;
  TRegion clip = FWindow != nullptr ? FControl.ExposedRegion() : TRegion();
  if (clip.IsEmpty()) FWindow = nullptr;
  clip.Offset(origin.X, origin.Y);
  auto context = std::make_unique<TDrawContext>(FWindow != nullptr ? &FWindow->Surface() : &FNowhere);
  if (FOutside != nullptr) context->State() = FOutside->State();
  context->SetOrigin(origin);
  context->SetClipRegion(&clip);
  FShownBox = clip.BoundingBox();
  FGeneration = generation;
  FOutside = std::move(context);
  SetHandle(FOutside.get());
  Font().CopyFrom(FControl.Font());
}

void TControlCanvas::PresentDrawn() { PresentPart(FShownBox); }

void TControlCanvas::ChangedWithin(const TRect& logical) {
  if (!DrawsOutsidePaint() || FWindow == nullptr || FWindow->Scale() == 1) {
    Changed();
    return;
  }
  const TPoint origin = FOutside->Origin();
  PresentPart(IntersectRect(logical.Offset(origin.X, origin.Y), FShownBox));
}

void TControlCanvas::PresentPart(const TRect& box) {
  if (!DrawsOutsidePaint() || FWindow == nullptr || box.IsEmpty()) return;
  // A window gone since the set-up is not presented; the next Ready sets up afresh.
  if (FGeneration != CurrentLayoutGeneration()) return;
  if (const std::optional<TRegion>& clip = FOutside->State().Clip) {
    if (box == FShownBox) FWindow->HideFine(*clip);  // not copied: this runs for every banner step
    else FWindow->HideFine(clip->Combine(TRegion(box), roAnd));
  }
  FWindow->Present(box);
}
