#pragma once
// TFineCanvas: the screen's own pixels under a control while it paints, on a window the
// desktop shows at a scale above 1. It draws into the window's fine layer, placed and
// clipped like the paint's canvas but Scale times finer; what it shows there replaces the
// blocks of the surface until that part of the surface is painted again. At scale 1, or
// when the paint does not go to the window's surface, it is not active and costs nothing.
#include <optional>

#include "framework/graphics/canvas.h"
#include "framework/graphics/draw_context.h"

class TControl;
class TPlatformWindow;

class TFineCanvas {
 public:
  // `paintCanvas`: the canvas `control` is painting with now.
  TFineCanvas(TControl& control, TCanvas& paintCanvas);
  ~TFineCanvas();
  TFineCanvas(const TFineCanvas&) = delete;
  TFineCanvas& operator=(const TFineCanvas&) = delete;

  bool Active() const { return FWindow != nullptr; }
  int Scale() const { return FScale; }
  // Origin at the control's top-left corner, in fine pixels. Only while Active.
  TCanvas& Canvas() { return FCanvas; }
  // Fills the fine pixels with the blocks of the surface's pixels, as presenting shows them.
  void CopySurface();
  // From now on the screen shows the fine pixels of the paint's area.
  void Show();

 private:
  TPlatformWindow* FWindow = nullptr;
  int FScale = 1;
  TBitmapImage* FSurface = nullptr;
  TRect FSurfaceBox;  // the paint's area on the surface
  TRegion FClip;      // the same in fine pixels
  std::optional<TDrawContext> FContext;
  TCanvas FCanvas;
};
