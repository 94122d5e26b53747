#pragma once
// A control's own canvas borrows a paint or erase message's drawing context (already placed at
// the control and clipped to it) for the length of that message, and the control's font.
#include "framework/controls/messages.h"

class TCanvas;
class TFont;

class TLentCanvas {
 public:
  TLentCanvas(TCanvas& own, const TMessage& paintMessage, const TFont& font);
  ~TLentCanvas();
  TLentCanvas(const TLentCanvas&) = delete;
  TLentCanvas& operator=(const TLentCanvas&) = delete;

 private:
  TCanvas& FOwn;
};
