// The native window's painting: invalid regions, visible regions and the paint pass.
#include <algorithm>

#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "platform/backend.h"

void TWinControl::InvalidateRect(const TRect& rect, bool erase) { InvalidateRegion(TRegion(rect), erase); }

// Without ClipChildren the parent paints over its child windows, so they are invalidated
// with it and repaint on top afterwards.
void TWinControl::InvalidateRegion(const TRegion& region, bool erase) {
  TRegion part = region.Combine(TRegion(ClientRect()), roAnd);
  if (part.IsEmpty()) return;
  FInvalid = FInvalid.Combine(part, roOr);
  FEraseNeeded = FEraseNeeded || erase;
  if (FClipChildren) return;
  for (TWinControl* child : FWinControls) {
    if (!child->Visible()) continue;
    TRegion inChild = part;
    inChild.Offset(-child->Left(), -child->Top());
    child->InvalidateRegion(inChild, erase);
  }
}

void TWinControl::Invalidate() { InvalidateRect(ClientRect(), true); }

void TWinControl::Update() {
  TWinControl* top = TopLevel();
  if (top->PlatformWindow() == nullptr || !IsShowing()) return;
  TRect painted = PaintInvalidWindows();
  if (!painted.IsEmpty()) top->PlatformWindow()->Present(painted);
}

TRegion TWinControl::VisibleRegion() const {
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
  if (FClipChildren)
    for (const TWinControl* w : FWinControls)
      if (w->Visible()) visible = visible.Combine(TRegion(w->BoundsRect()), roDiff);
  return visible;
}

TRect TWinControl::PaintInvalidWindows() {
  TWinControl* top = TopLevel();
  TPlatformWindow* window = top->PlatformWindow();
  TRect painted;
  if (window == nullptr || !IsShowing()) return painted;
  TDrawContext context(&window->Surface());
  TCanvas canvas;
  canvas.SetHandle(&context);
  PaintTree(canvas, painted);
  canvas.SetHandle(nullptr);
  return painted;
}

void TWinControl::PaintTree(TCanvas& canvas, TRect& painted) {
  if (!Visible()) return;
  if (!FInvalid.IsEmpty()) {
    TRegion clip = FInvalid.Combine(VisibleRegion(), roAnd);
    const bool erase = FEraseNeeded;
    FInvalid = TRegion();
    FEraseNeeded = false;
    if (!clip.IsEmpty()) {
      PaintWindow(canvas, clip, erase);
      const TPoint offset = SurfaceOffset();
      painted = UnionRect(painted, clip.BoundingBox().Offset(offset.X, offset.Y));
    }
  }
  for (TWinControl* child : std::vector<TWinControl*>(FWinControls)) child->PaintTree(canvas, painted);
}

// Erase and paint skip the opaque window-less children, which cover their areas
// themselves; then every window-less child paints in z-order, clipped to itself.
void TWinControl::PaintWindow(TCanvas& canvas, const TRegion& clip, bool erase) {
  TDrawContext& context = canvas.Handle();
  const TPoint offset = SurfaceOffset();
  TRegion own = clip;
  for (TControl* c : FControls)
    if (c->Visible() && c->ControlStyle().Contains(csOpaque)) own = own.Combine(TRegion(c->BoundsRect()), roDiff);
  auto clipTo = [&](TRegion region) {
    region.Offset(offset.X, offset.Y);
    context.SetClipRegion(&region);
  };
  context.Save();
  context.SetOrigin(offset);
  clipTo(own);
  if (!own.IsEmpty()) {
    if (erase) Perform(msgEraseBackground, reinterpret_cast<intptr_t>(&canvas));
    Perform(msgPaint, reinterpret_cast<intptr_t>(&canvas));
  }
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (!c->Visible()) continue;
    TRegion part = clip.Combine(TRegion(c->BoundsRect()), roAnd);
    if (part.IsEmpty()) continue;
    context.SetOrigin(offset + TPoint{c->Left(), c->Top()});
    clipTo(part);
    c->Perform(msgPaint, reinterpret_cast<intptr_t>(&canvas));
  }
  context.Restore(-1);
}

void TWinControl::EraseBackground(TMessage& m) {
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  canvas->Brush().SetColor(Color());
  canvas->Brush().SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  m.Result = 1;
}
