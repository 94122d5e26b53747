// The native window's painting: invalid regions, visible regions and the paint pass.
//
// What keeps a window's pixels equal to those of a full repaint, whatever happened:
// - a window paints its invalid area within its visible region, erasing first unless it
//   is opaque, then its window-less children in z-order;
// - whatever it painted over child windows (it does not clip them) becomes invalid in
//   those windows and every window inside them, which then paint on top in the same pass;
// - changes that uncover or move windows invalidate the area with all windows over it;
// - Update and the loop paint a whole top-level window's invalid areas, never a subtree
//   alone while an ancestor is still to paint over it;
// - each control's erase and paint start from the same drawing state and cannot leave
//   theirs to the next;
// - on a scaled window, whatever is painted hides the fine layer there first: only the
//   control painting it anew shows it again.
#include <algorithm>

#include "framework/controls/overlay.h"
#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/canvas.h"
#include "framework/port/backend_port.h"

namespace {
// Gives one control's erase or paint a fresh canvas over the shared context, and puts the
// context's state back afterwards, however the control left it.
class TPaintScope {
 public:
  explicit TPaintScope(TDrawContext& context)
      : FContext(context), FState(context.State()), FDepth(context.SaveDepth()) {
    FCanvas.SetHandle(&context);
  }
  ~TPaintScope() {
    FCanvas.SetHandle(nullptr);
    if (FContext.SaveDepth() > FDepth) FContext.Restore(FDepth + 1);
    FContext.State() = std::move(FState);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  intptr_t CanvasParam() { return reinterpret_cast<intptr_t>(&FCanvas); }

 private:
  TDrawContext& FContext;
  TDrawState FState;
  int FDepth;
  TCanvas FCanvas;
};

TRegion WithoutVisibleWindows(TRegion region, const TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    auto* w = dynamic_cast<const TWinControl*>(parent.Controls(i));
    if (w != nullptr && w->Visible()) region = region.Combine(TRegion(w->BoundsRect()), roDiff);
  }
  return region;
}
}  // namespace

// ---- invalidation ----

void TWinControl::InvalidateRect(const TRect& rect, bool erase) { InvalidateRegion(TRegion(rect), erase); }

void TWinControl::InvalidateRegion(const TRegion& region, bool erase) {
  TRegion part = region.Combine(TRegion(ClientRect()), roAnd);
  if (part.IsEmpty()) return;
  FInvalid = FInvalid.IsEmpty() ? std::move(part) : FInvalid.Combine(part, roOr);
  FEraseNeeded = FEraseNeeded || erase;
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->Invalidated();
}

void TWinControl::InvalidateWithChildren(const TRect& rect, bool erase) {
  InvalidateWithChildren(TRegion(rect), erase);
}

void TWinControl::InvalidateWithChildren(const TRegion& region, bool erase) {
  InvalidateRegion(region, erase);
  for (TWinControl* child : FWinControls) {
    if (!child->Visible()) continue;
    TRegion inChild = region.Combine(TRegion(child->BoundsRect()), roAnd);
    if (inChild.IsEmpty()) continue;
    inChild.Offset(-child->Left(), -child->Top());
    child->InvalidateWithChildren(inChild, erase);
  }
}

// Painting over a child window spoils the windows inside it too, whether or not the child
// clips them: they lie in the area this window just painted.
void TWinControl::InvalidateCoveredChildren(const TRegion& region) {
  for (TWinControl* child : FWinControls) {
    if (!child->Visible()) continue;
    TRegion inChild = region.Combine(TRegion(child->BoundsRect()), roAnd);
    if (inChild.IsEmpty()) continue;
    inChild.Offset(-child->Left(), -child->Top());
    child->InvalidateWithChildren(inChild, true);
  }
}

void TWinControl::Invalidate() { InvalidateRect(ClientRect(), !ControlStyle().Contains(csOpaque)); }

void TWinControl::SetClipChildren(bool value) {
  if (value == FClipChildren) return;
  FClipChildren = value;
  NoteLayoutChange();
}

bool TWinControl::PaintPending() const {
  if (!Visible()) return false;
  if (FOverlayDirty) return true;
  if (!FInvalid.IsEmpty()) return true;
  return std::any_of(FWinControls.begin(), FWinControls.end(), [](const TWinControl* w) { return w->PaintPending(); });
}

// ---- what shows ----

TRegion TWinControl::VisibleRegion() const { return WithoutOverlay(VisibleRegionBeneathOverlay()); }

TRegion TWinControl::VisibleRegionBeneathOverlay() const {
  TRegion visible(ClientRect());
  TPoint offset;  // this window's client origin in the coordinates of `level`'s client area
  const TWinControl* child = this;
  for (const TWinControl* level = Parent(); level != nullptr; child = level, level = level->Parent()) {
    offset = offset + TPoint{child->Left(), child->Top()};
    TRegion levelClip(level->ClientRect());
    auto it = std::find(level->FWinControls.begin(), level->FWinControls.end(), child);
    for (++it; it != level->FWinControls.end(); ++it)
      if ((*it)->Visible()) levelClip = levelClip.Combine(TRegion((*it)->BoundsRect()), roDiff);
    levelClip.Offset(-offset.X, -offset.Y);
    visible = visible.Combine(levelClip, roAnd);
  }
  if (FClipChildren) visible = WithoutVisibleWindows(visible, *this);
  return visible;
}

TRegion TWinControl::WithoutOverlay(TRegion region) const {
  const TWinControl* top = this;
  while (top->Parent() != nullptr) top = top->Parent();
  if (top->FOverlay == nullptr || top->FOverlay->OverlayArea().IsEmpty() || region.IsEmpty()) return region;
  const TPoint offset = SurfaceOffset();
  if (offset == TPoint{}) {
    const TRegion& covered = top->FOverlay->OverlayArea();
    return region.Intersects(covered) ? region.Combine(covered, roDiff) : region;
  }
  TRegion covered = top->FOverlay->OverlayArea();
  covered.Offset(-offset.X, -offset.Y);
  return region.Combine(covered, roDiff);
}

// ---- the overlay ----

void TWinControl::SetOverlay(TOverlay* overlay) {
  if (overlay == FOverlay) return;
  const TRegion old = FOverlay != nullptr ? FOverlay->OverlayArea() : TRegion();
  FOverlay = overlay;
  OverlayChanged(old);
}

void TWinControl::OverlayChanged(const TRegion& oldArea) {
  const bool shows = FOverlay != nullptr && !FOverlay->OverlayArea().IsEmpty();
  InvalidateWithChildren(shows ? oldArea.Combine(FOverlay->OverlayArea(), roDiff) : oldArea, true);
  FOverlayDirty = shows;
  // Canvases drawing outside paint clip to what shows: that just changed.
  NoteLayoutChange();
}

TRegion TControl::ExposedRegion() const {
  if (!IsShowing()) return {};
  if (auto* window = dynamic_cast<const TWinControl*>(this)) return WithoutVisibleWindows(window->VisibleRegion(), *window);
  if (FParent == nullptr) return {};
  TRegion shown = WithoutVisibleWindows(FParent->VisibleRegion(), *FParent).Combine(TRegion(BoundsRect()), roAnd);
  const auto& siblings = FParent->FControls;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it != siblings.end())
    for (++it; it != siblings.end(); ++it)
      if ((*it)->Visible()) shown = shown.Combine(TRegion((*it)->BoundsRect()), roDiff);
  shown.Offset(-FLeft, -FTop);
  return shown;
}

// ---- the paint pass ----

void TWinControl::Update() {
  TWinControl* top = TopLevel();
  if (top->PlatformWindow() == nullptr || !IsShowing() || top->FPainting) return;
  TRect painted = top->PaintInvalidWindows();
  if (!painted.IsEmpty()) top->PlatformWindow()->Present(painted);
}

TRect TWinControl::PaintInvalidWindows() {
  TWinControl* top = TopLevel();
  TPlatformWindow* window = top->PlatformWindow();
  TRect painted;
  if (window == nullptr || !IsShowing() || top->FPainting) return painted;
  // Most passes of an idle loop find nothing to paint: no walk, no drawing context.
  if (!PaintPending()) return painted;
  top->FPainting = true;
  struct TDone {
    TWinControl* Top;
    ~TDone() { Top->FPainting = false; }
  } done{top};
  TDrawContext context(&window->Surface());
  TCanvas canvas;
  canvas.SetHandle(&context);
  PaintTree(canvas, painted);
  canvas.SetHandle(nullptr);
  if (this == top && FOverlayDirty) {
    FOverlayDirty = false;
    window->HideFine(FOverlay->OverlayArea());
    FOverlay->PaintOverlay(window->Surface());
    if (const int scale = window->Scale(); scale > 1) {
      TBitmapImage* layer = window->FineLayer();
      if (layer != nullptr && FOverlay->PaintFineOverlay(*layer, scale)) {
        TRegion fine = FOverlay->OverlayArea();
        fine.Scale(scale);
        window->ShowFine(fine);
      }
    }
    painted = UnionRect(painted, FOverlay->OverlayArea().BoundingBox());
  }
  return painted;
}

void TWinControl::PaintTree(TCanvas& canvas, TRect& painted) {
  if (!Visible()) return;
  if (!FInvalid.IsEmpty()) {
    // The overlay goes last: the invalid part is mostly far smaller than what shows.
    TRegion clip = WithoutOverlay(FInvalid.Combine(VisibleRegionBeneathOverlay(), roAnd));
    const bool erase = FEraseNeeded && !ControlStyle().Contains(csOpaque);
    FInvalid = TRegion();
    FEraseNeeded = false;
    if (!clip.IsEmpty()) {
      PaintWindow(canvas, clip, erase);
      const TPoint offset = SurfaceOffset();
      painted = UnionRect(painted, clip.BoundingBox().Offset(offset.X, offset.Y));
      if (!FClipChildren) InvalidateCoveredChildren(clip);
    }
  }
  for (TWinControl* child : std::vector<TWinControl*>(FWinControls)) child->PaintTree(canvas, painted);
}

// Erase and paint skip the opaque window-less children, which cover their areas
// themselves; then every window-less child paints in z-order, clipped to itself.
void TWinControl::PaintWindow(TCanvas& canvas, const TRegion& clip, bool erase) {
  TDrawContext& context = canvas.Handle();
  const TPoint offset = SurfaceOffset();
  // Controls clear of the clip's bounds change nothing here: no region work for them.
  const TRect clipBox = clip.BoundingBox();
  auto meetsClip = [&](const TControl* c) { return c->Visible() && !IntersectRect(c->BoundsRect(), clipBox).IsEmpty(); };
  TRegion own = clip;
  for (TControl* c : FControls)
    if (meetsClip(c) && c->ControlStyle().Contains(csOpaque)) own = own.Combine(TRegion(c->BoundsRect()), roDiff);
  TPlatformWindow* window = TopLevel()->PlatformWindow();
  auto placeAt = [&](TPoint origin, TRegion region) {
    region.Offset(offset.X, offset.Y);
    if (window != nullptr) window->HideFine(region);
    context.SetOrigin(origin);
    context.SetClipRegion(&region);
  };
  const TDrawState outer = context.State();
  if (!own.IsEmpty()) {
    placeAt(offset, own);
    if (erase) {
      TPaintScope scope(context);
      Perform(msgEraseBackground, scope.CanvasParam());
    }
    TPaintScope scope(context);
    Perform(msgPaint, scope.CanvasParam());
  }
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (!meetsClip(c)) continue;
    TRegion part = clip.Combine(TRegion(c->BoundsRect()), roAnd);
    if (part.IsEmpty()) continue;
    placeAt(offset + TPoint{c->Left(), c->Top()}, std::move(part));
    TPaintScope scope(context);
    c->Perform(msgPaint, scope.CanvasParam());
  }
  context.State() = outer;
}

void TWinControl::PaintControlNow(TControl* control) {
  TPlatformWindow* window = TopLevel()->PlatformWindow();
  if (window == nullptr) return;
  // Inside a paint pass the surface belongs to the pass: the next one paints the control.
  if (TopLevel()->FPainting) {
    control->Invalidate();
    return;
  }
  TRegion clip = control->ExposedRegion();
  if (clip.IsEmpty()) return;
  const TPoint origin = SurfaceOffset() + TPoint{control->Left(), control->Top()};
  clip.Offset(origin.X, origin.Y);
  window->HideFine(clip);
  TDrawContext context(&window->Surface());
  context.SetOrigin(origin);
  context.SetClipRegion(&clip);
  {
    TPaintScope scope(context);
    control->Perform(msgPaint, scope.CanvasParam());
  }
  window->Present(clip.BoundingBox());
  // A window-less control above that is not opaque lets this one show through: it paints
  // over the new pixels with the next pass (the parent paints nothing under an opaque one).
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  for (++it; it != FControls.end(); ++it)
    if ((*it)->Visible() && !(*it)->ControlStyle().Contains(csOpaque))
      InvalidateRect(IntersectRect((*it)->BoundsRect(), control->BoundsRect()), false);
}

void TWinControl::EraseBackground(TMessage& m) {
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  canvas->Brush().SetColor(Color());
  canvas->Brush().SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  m.Result = 1;
}
