#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_frame_hints.h"
#include "platform/sdl/sdl_text.h"

namespace {
bool IsToolFrame(TWindowFrame frame) {
  return frame == TWindowFrame::ToolWindow || frame == TWindowFrame::SizeableToolWindow;
}

bool IsSizeableFrame(TWindowFrame frame) {
  return frame == TWindowFrame::Sizeable || frame == TWindowFrame::SizeableToolWindow;
}

SDL_Rect Scaled(const TRect& r, int scale) {
  return {r.Left * scale, r.Top * scale, r.Width() * scale, r.Height() * scale};
}

// The rows first, first + scale, first + 2 scale, ... of `target`, as a surface of their own.
TSdlSurfacePtr EveryNthRow(SDL_Surface* target, int first, int scale) {
  return TSdlSurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(
      static_cast<uint8_t*>(target->pixels) + first * target->pitch, target->w, target->h / scale,
      target->format->BitsPerPixel, target->pitch * scale, target->format->format));
}

// Enlarges `whole` (source pixels) into its blocks on `target`. SDL widens each row once,
// into the first screen row of its blocks, and the blocks' other rows are plain copies of
// that row: widening costs more per pixel than copying.
bool EnlargeIntoBlocks(SDL_Surface* source, SDL_Surface* target, const TRect& whole, int scale) {
  // The desktop's surface in our own layout (the usual case): each pixel is repeated along
  // its row, and the row copied down its blocks. SDL's general stretch steps through every
  // target pixel by fractions; a whole factor needs none of that, and a banner tick at
  // scale 2 spent most of its time there.
  if (target->format->format == source->format->format && source->format->BytesPerPixel == 4 &&
      !SDL_MUSTLOCK(target)) {
    const size_t rowBytes = 4 * size_t(whole.Width()) * size_t(scale);
    for (int y = whole.Top; y < whole.Bottom; ++y) {
      const auto* from = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(source->pixels) +
                                                           size_t(y) * size_t(source->pitch)) + whole.Left;
      uint8_t* first = static_cast<uint8_t*>(target->pixels) + size_t(y) * size_t(scale) * size_t(target->pitch) +
                       4 * size_t(whole.Left) * size_t(scale);
      auto* to = reinterpret_cast<uint32_t*>(first);
      for (int x = 0; x < whole.Width(); ++x)
        for (int k = 0; k < scale; ++k) *to++ = from[x];
      for (int k = 1; k < scale; ++k) std::memcpy(first + size_t(k) * size_t(target->pitch), first, rowBytes);
    }
    return true;
  }
  SDL_Rect from{whole.Left, whole.Top, whole.Width(), whole.Height()};
  if (SDL_ISPIXELFORMAT_INDEXED(target->format->format) || SDL_MUSTLOCK(target)) {
    SDL_Rect to = Scaled(whole, scale);
    return SDL_BlitScaled(source, &from, target, &to) == 0;
  }
  const auto firstRows = EveryNthRow(target, 0, scale);
  if (firstRows == nullptr) return false;
  const SDL_Rect widened{whole.Left * scale, whole.Top, whole.Width() * scale, whole.Height()};
  SDL_Rect to = widened;
  if (SDL_BlitScaled(source, &from, firstRows.get(), &to) != 0) return false;
  for (int k = 1; k < scale; ++k) {
    const auto rows = EveryNthRow(target, k, scale);
    if (rows == nullptr) return false;
    SDL_Rect a = widened, b = widened;
    if (SDL_BlitSurface(firstRows.get(), &a, rows.get(), &b) != 0) return false;
  }
  return true;
}
}  // namespace

TSdlWindow::TSdlWindow(TSdlBackend& backend, const TRect& bounds) : FBackend(backend), FFine(backend.Scale()) {
  FSurface.SetPixelFormat(pf32bit);
  SetScreenBounds(bounds);
  FBackend.WindowCreated(this);
}

TSdlWindow::~TSdlWindow() {
  FBackend.WindowDestroyed(this);
  FSurface.SetSize(0, 0);  // lets go of the desktop's pixels before they go
  DestroyHandle();
}

void TSdlWindow::CreateHandle() {
  FBackend.AwaitDisplay();
  // Fixed-size frames get no resize border; the desktop then offers no maximise either.
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (IsSizeableFrame(FFrame)) flags |= SDL_WINDOW_RESIZABLE;
  if (FFrame == TWindowFrame::None) flags |= SDL_WINDOW_BORDERLESS;
  if (IsToolFrame(FFrame)) flags |= SDL_WINDOW_UTILITY;
  const int scale = Scale();
  FHandle = SDL_CreateWindow(Cp1252ToUtf8(FCaption).c_str(), FBounds.Left * scale, FBounds.Top * scale,
                             std::max(1, FBounds.Width() * scale), std::max(1, FBounds.Height() * scale), flags);
  if (FHandle == nullptr) throw EOutOfResources(rs::SWindowCreateError, std::string(SDL_GetError()));
  ApplyFrameHints(FHandle, FFrame);
  FBackend.HandleCreated(this);
}

void TSdlWindow::DestroyHandle() {
  if (FHandle == nullptr) return;
  // At a scale above 1 the pixels live in a surface of our own, not the desktop window's.
  if (Scale() == 1) FSurface.OwnPixels();
  SDL_DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TSdlWindow::SetScreenBounds(const TRect& bounds) {
  const bool moved = bounds.TopLeft() != FBounds.TopLeft();
  const bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
  FBounds = bounds;
  if (resized || FSurface.Empty()) {
    FSurface.SetSize(std::max(0, bounds.Width()), std::max(0, bounds.Height()));
    FFine.Drop();
    FFineSource.reset();
    if (Scale() > 1) KeepSurfaceInBlocksSource();
  }
  if (FHandle == nullptr) return;
  const int scale = Scale();
  if (moved) SDL_SetWindowPosition(FHandle, bounds.Left * scale, bounds.Top * scale);
  if (resized) SDL_SetWindowSize(FHandle, std::max(1, bounds.Width() * scale), std::max(1, bounds.Height() * scale));
}

void TSdlWindow::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (!visible) {
    if (FHandle != nullptr) SDL_HideWindow(FHandle);
    return;
  }
  if (FHandle == nullptr) CreateHandle();
  SDL_ShowWindow(FHandle);
  ApplyShowState();
  if (FPresented) PresentAll();
  else TakeDesktopSurface();
  BringToFront();
}

// A window shown for the first time has nothing painted yet. Its pixels move into the
// desktop's surface, where the first paint draws them, and reach the screen with that
// paint's present, not with a whole-window present of blank pixels just before it.
void TSdlWindow::TakeDesktopSurface() {
  if (Scale() > 1 || FSurface.PixelsBorrowed()) return;
  SDL_Surface* target = SDL_GetWindowSurface(FHandle);
  if (target != nullptr && CanBorrow(target)) FSurface.BorrowPixels(static_cast<uint8_t*>(target->pixels));
}

void TSdlWindow::SetCaption(const std::string& caption) {
  FCaption = caption;
  if (FHandle != nullptr) SDL_SetWindowTitle(FHandle, Cp1252ToUtf8(caption).c_str());
}

// The utility type of a tool window can only be given when the desktop window is made,
// so a change of that kind makes it again.
void TSdlWindow::SetFrame(TWindowFrame frame) {
  if (frame == FFrame) return;
  const bool remake = IsToolFrame(frame) != IsToolFrame(FFrame);
  FFrame = frame;
  if (FHandle == nullptr) return;
  if (remake) {
    DestroyHandle();
    CreateHandle();
    if (FVisible) {
      SDL_ShowWindow(FHandle);
      PresentAll();
    }
    return;
  }
  SDL_SetWindowResizable(FHandle, IsSizeableFrame(frame) ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowBordered(FHandle, frame == TWindowFrame::None ? SDL_FALSE : SDL_TRUE);
  ApplyFrameHints(FHandle, frame);
}

void TSdlWindow::SetShowState(TWindowShowState state) {
  FShowState = state;
  if (FHandle != nullptr && FVisible) ApplyShowState();
}

void TSdlWindow::ApplyShowState() {
  switch (FShowState) {
    case TWindowShowState::Maximized: SDL_MaximizeWindow(FHandle); break;
    case TWindowShowState::Minimized: SDL_MinimizeWindow(FHandle); break;
    default:
      if (SDL_GetWindowFlags(FHandle) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(FHandle);
  }
}

// Raising also takes the keyboard: a desktop without a window manager would otherwise
// leave the keys with whatever window the pointer is over.
void TSdlWindow::BringToFront() {
  FBackend.WindowRaised(this);
  if (FHandle == nullptr || !FVisible) return;
  SDL_RaiseWindow(FHandle);
  SDL_SetWindowInputFocus(FHandle);
}

// While our surface's pixels live in the desktop's window surface, presenting only shows
// them. SDL replaces that surface after a resize, freeing the old one, but only inside
// SDL_GetWindowSurface: until then the update refuses and the old pixels stay readable,
// so they are taken back first.
void TSdlWindow::Present(const TRect& rect) {
  if (FHandle == nullptr || !FVisible) return;
  const TRect r = IntersectRect(rect, {0, 0, FSurface.Width(), FSurface.Height()});
  if (r.IsEmpty()) return;
  FPresented = true;
  if (Scale() > 1) {
    PresentScaled(r);
    return;
  }
  const SDL_Rect shown{r.Left, r.Top, r.Width(), r.Height()};
  if (FSurface.PixelsBorrowed()) {
    // The pixels are already in the desktop's surface: only telling it waits.
    if (FBackend.HoldsPresents()) {
      FHeldPresents.push_back(shown);
      return;
    }
    if (SDL_UpdateWindowSurfaceRects(FHandle, &shown, 1) == 0) {
      FBackend.Presented();
      return;
    }
    FSurface.OwnPixels();
  }
  // Without a window surface (the desktop is short of memory) the pixels stay in ours
  // and reach the screen with the next exposure.
  SDL_Surface* target = SDL_GetWindowSurface(FHandle);
  if (target == nullptr) return;
  if (CanBorrow(target)) {
    FSurface.BorrowPixels(static_cast<uint8_t*>(target->pixels));
    const SDL_Rect all{0, 0, target->w, target->h};
    SDL_UpdateWindowSurfaceRects(FHandle, &all, 1);
    FBackend.Presented();
    return;
  }
  const TRect within = IntersectRect(r, {0, 0, target->w, target->h});
  if (within.IsEmpty()) return;
  CopyToWindowSurface(target, within);
  const SDL_Rect part{within.Left, within.Top, within.Width(), within.Height()};
  SDL_UpdateWindowSurfaceRects(FHandle, &part, 1);
  FBackend.Presented();
}

// The desktop's surface can hold our pixels in place when it has our layout exactly: the
// same size, 32 bits of blue, green, red and an unused byte, rows packed, no locking.
bool TSdlWindow::CanBorrow(const SDL_Surface* target) const {
  return target->format->format == SDL_PIXELFORMAT_XRGB8888 && target->w == FSurface.Width() &&
         target->h == FSurface.Height() && target->pitch == FSurface.Stride() && !SDL_MUSTLOCK(target) &&
         FSurface.PixelFormat() == pf32bit;
}

// The surface's pixels move into an SDL surface of the same layout, top row first, so that
// SDL can enlarge them where they are.
void TSdlWindow::KeepSurfaceInBlocksSource() {
  FBlocksSource.reset();
  if (FSurface.Empty()) return;
  FBlocksSource.reset(
      SDL_CreateRGBSurfaceWithFormat(0, FSurface.Width(), FSurface.Height(), 32, SDL_PIXELFORMAT_XRGB8888));
  if (FBlocksSource == nullptr) throw EOutOfResources(rs::SWindowCreateError, std::string(SDL_GetError()));
  FSurface.BorrowPixels(static_cast<uint8_t*>(FBlocksSource->pixels));
}

TBitmapImage* TSdlWindow::FineLayer() { return Scale() > 1 ? &FFine.Image(FSurface.Image()) : nullptr; }

// A view of the fine layer's pixels (top row first, our byte order), remade when they move.
SDL_Surface* TSdlWindow::FineSource() {
  const TBitmapImage* fine = FFine.Made();
  if (fine == nullptr) return nullptr;
  if (FFineSource == nullptr || FFineSource->pixels != fine->Bits.data())
    FFineSource.reset(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(fine->Bits.data()), fine->Width,
                                                         fine->Height, 32, fine->Stride(), SDL_PIXELFORMAT_XRGB8888));
  return FFineSource.get();
}

// SDL's nearest enlargement by a whole factor repeats each pixel into a block, exactly as
// long as no clipping makes it recompute the source: only whole blocks inside the desktop's
// surface are enlarged. Where the fine layer shows, the blocks are not drawn first (the
// layer is shown on whole blocks, as the controls mark it, so nothing is drawn twice).
void TSdlWindow::PresentScaled(const TRect& rect) {
  SDL_Surface* target = SDL_GetWindowSurface(FHandle);
  if (target == nullptr || FBlocksSource == nullptr) return;
  const int scale = Scale();
  const TRect r = IntersectRect(rect, {0, 0, target->w / scale, target->h / scale});
  if (r.IsEmpty()) return;
  const SDL_Rect shown = Scaled(r, scale);
  const TRect screen{shown.x, shown.y, shown.x + shown.w, shown.y + shown.h};
  SDL_Surface* fine = FineSource();
  const TRegion fineHere = fine != nullptr ? FFine.Shown().Combine(TRegion(screen), roAnd) : TRegion();
  const TRegion blocks = TRegion(screen).Combine(fineHere, roDiff);
  for (const TRect& part : blocks.Rects()) {
    // Out to whole blocks: a piece of a block beside the fine layer is drawn over by it.
    const TRect whole{part.Left / scale, part.Top / scale, (part.Right + scale - 1) / scale,
                      (part.Bottom + scale - 1) / scale};
    if (!EnlargeIntoBlocks(FBlocksSource.get(), target, whole, scale)) return;
  }
  for (const TRect& piece : fineHere.Rects()) {
    SDL_Rect from{piece.Left, piece.Top, piece.Width(), piece.Height()};
    SDL_Rect to = from;
    SDL_BlitSurface(fine, &from, target, &to);
  }
  if (FBackend.HoldsPresents()) {
    FHeldPresents.push_back(shown);
    return;
  }
  SDL_UpdateWindowSurfaceRects(FHandle, &shown, 1);
  FBackend.Presented();
}

void TSdlWindow::SendHeldPresents() {
  if (FHeldPresents.empty()) return;
  if (FHandle == nullptr || !FVisible) {
    FHeldPresents.clear();
    return;
  }
  // Scaled, the held rectangles are the desktop's, already enlarged into its surface.
  if (Scale() > 1 || FSurface.PixelsBorrowed()) {
    const bool sent = SDL_UpdateWindowSurfaceRects(FHandle, FHeldPresents.data(), int(FHeldPresents.size())) == 0;
    if (sent) FBackend.Presented();
    if (sent || Scale() > 1) {
      FHeldPresents.clear();  // kept for the next pass's rectangles
      return;
    }
    FSurface.OwnPixels();
  }
  // The surface changed hands since (the desktop resized it, or refused it): the pixels
  // are ours again and each part is copied there as any present is.
  const std::vector<SDL_Rect> held = std::move(FHeldPresents);
  FHeldPresents.clear();
  for (const SDL_Rect& r : held) Present({r.x, r.y, r.x + r.w, r.y + r.h});
}

void TSdlWindow::PresentAll() { Present({0, 0, FSurface.Width(), FSurface.Height()}); }

// Our surface is 32-bit blue, green, red, unused, top row first through ScanLine; the
// desktop's may be any format, so each row is converted.
void TSdlWindow::CopyToWindowSurface(SDL_Surface* target, const TRect& rect) {
  if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
  const int bytesPerPixel = target->format->BytesPerPixel;
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    const uint8_t* source = FSurface.ScanLine(y) + rect.Left * 4;
    uint8_t* row = static_cast<uint8_t*>(target->pixels) + y * target->pitch + rect.Left * bytesPerPixel;
    SDL_ConvertPixels(rect.Width(), 1, SDL_PIXELFORMAT_XRGB8888, source, FSurface.Stride(), target->format->format,
                      row, target->pitch);
  }
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

void TSdlWindow::ApplyIcon(SDL_Surface* icon) {
  if (FHandle != nullptr && icon != nullptr) SDL_SetWindowIcon(FHandle, icon);
}
