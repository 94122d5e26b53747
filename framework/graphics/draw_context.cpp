#include "framework/graphics/draw_context.h"

#include "framework/core/exceptions.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/palette.h"

TDrawContext::TDrawContext(TBitmap* bitmap) : FSurface(&bitmap->Image()) {}

TRect TDrawContext::SurfaceRect() const { return {0, 0, FSurface->Width, FSurface->Height}; }

int TDrawContext::SurfaceBitsPerPixel() const { return FSurface->BitsPerPixel(); }

int TDrawContext::Save() {
  if (SaveDepth() >= kMaxSaveDepth) throw EOutOfResources(rs::SDCSaveError);
  FSaved.push_back(FState);
  return SaveDepth();
}

void TDrawContext::Restore(int level) {
  const int depth = SaveDepth();
  const int target = level < 0 ? depth + level + 1 : level;
  if (level == 0 || target < 1 || target > depth) throw EOutOfResources(rs::SDCRestoreError);
  FState = std::move(FSaved[size_t(target - 1)]);
  FSaved.resize(size_t(target - 1));
}

void TDrawContext::SetClipRegion(const TRegion* region) {
  if (region == nullptr) FState.Clip.reset();
  else FState.Clip = *region;
}

void TDrawContext::IntersectClipRect(const TRect& logical) {
  const TRegion rect(logical.Offset(FState.Origin.X, FState.Origin.Y));
  FState.Clip = FState.Clip ? FState.Clip->Combine(rect, roAnd) : rect.Combine(TRegion(SurfaceRect()), roAnd);
}

void TDrawContext::ExcludeClipRect(const TRect& logical) {
  const TRegion rect(logical.Offset(FState.Origin.X, FState.Origin.Y));
  FState.Clip = VisibleRegion().Combine(rect, roDiff);
}

TRegion TDrawContext::VisibleRegion() const {
  const TRegion surface(SurfaceRect());
  return FState.Clip ? FState.Clip->Combine(surface, roAnd) : surface;
}

bool TDrawContext::WhollyVisible(const TRect& rect) const {
  if (IntersectRect(rect, SurfaceRect()) != rect) return false;
  return !FState.Clip || FState.Clip->ContainsRect(rect);
}

TRect TDrawContext::ClipBox() const {
  return VisibleRegion().BoundingBox().Offset(-FState.Origin.X, -FState.Origin.Y);
}

bool TDrawContext::PointVisible(int x, int y) const {
  const int dx = x + FState.Origin.X, dy = y + FState.Origin.Y;
  if (!SurfaceRect().Contains({dx, dy})) return false;
  return !FState.Clip || FState.Clip->PointIn(dx, dy);
}

const TPalette* TDrawContext::SelectPalette(const TPalette* palette, bool background) {
  const TPalette* previous = FState.Palette;
  FState.Palette = palette;
  FState.PaletteBackground = background;
  return previous;
}

int TDrawContext::RealizePalette() const { return FState.Palette ? FState.Palette->Count() : 0; }
