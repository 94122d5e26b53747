#pragma once
// A top-level window on the desktop. The framework paints into a surface of ours. Once
// the window is on the screen, that surface's pixels move into the desktop window's own
// surface when it has their layout, so they are not kept twice, and presenting only shows
// the changed rectangles; otherwise presenting copies them there. The desktop window is
// made when the window is first shown, so that a frame chosen before then (a tool
// window's small caption) is part of it from the start. At a scale above 1 the desktop
// window is that many times larger: presenting enlarges the surface's pixels into blocks
// and puts the shown part of the fine layer over them.
#include <string>

#include <SDL2/SDL_video.h>

#include <memory>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/port/backend_port.h"
#include "framework/port/fine_layer.h"

class TSdlBackend;

struct TSdlSurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using TSdlSurfacePtr = std::unique_ptr<SDL_Surface, TSdlSurfaceFree>;

class TSdlWindow : public TPlatformWindow {
 public:
  TSdlWindow(TSdlBackend& backend, const TRect& bounds);
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  TRect ScreenBounds() const override { return FBounds; }
  void SetScreenBounds(const TRect& bounds) override;
  bool Visible() const override { return FVisible; }
  void SetVisible(bool visible) override;
  void SetCaption(const std::string& caption) override;
  void SetFrame(TWindowFrame frame) override;
  void SetShowState(TWindowShowState state) override;
  void BringToFront() override;
  TBitmapImage& Surface() override { return FSurface.Image(); }
  void Present(const TRect& rect) override;
  int Scale() const override { return FFine.Scale(); }
  TBitmapImage* FineLayer() override;
  void ShowFine(const TRegion& region) override { FFine.Show(region); }
  void HideFine(const TRegion& region) override { FFine.Hide(region); }

  // The desktop window, or none while the window has never been shown.
  SDL_Window* Handle() const { return FHandle; }
  // The desktop moved the window (`clientOrigin` in surface pixels): remembered without
  // moving it again.
  void MovedTo(TPoint clientOrigin) { FBounds = Bounds(clientOrigin.X, clientOrigin.Y, FBounds.Width(), FBounds.Height()); }
  // Shows the whole surface again, after the desktop lost the window's pixels.
  void PresentAll();
  // Sends the rectangles presented while the backend held them, in one round trip.
  void SendHeldPresents();
  void ApplyIcon(SDL_Surface* icon);

 private:
  void CreateHandle();
  void DestroyHandle();
  void ApplyShowState();
  bool CanBorrow(const SDL_Surface* target) const;
  void TakeDesktopSurface();
  void CopyToWindowSurface(SDL_Surface* target, const TRect& rect);
  void PresentScaled(const TRect& rect);
  void KeepSurfaceInBlocksSource();
  SDL_Surface* FineSource();

  TSdlBackend& FBackend;
  SDL_Window* FHandle = nullptr;
  std::vector<SDL_Rect> FHeldPresents;
  TRect FBounds;
  bool FVisible = false;
  bool FPresented = false;  // pixels were presented since the window was made
  std::string FCaption;
  TWindowFrame FFrame = TWindowFrame::Sizeable;
  TWindowShowState FShowState = TWindowShowState::Normal;
  TBitmap FSurface;
  TFineLayer FFine;
  // At a scale above 1: the surface's pixels live here, where SDL enlarges them from; and
  // a view of the fine layer's pixels, for SDL to copy from.
  TSdlSurfacePtr FBlocksSource;
  TSdlSurfacePtr FFineSource;
};
