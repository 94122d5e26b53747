#include "framework/controls/lent_canvas.h"

#include "framework/graphics/canvas.h"

TLentCanvas::TLentCanvas(TCanvas& own, const TMessage& paintMessage, const TFont& font) : FOwn(own) {
  auto* lender = reinterpret_cast<TCanvas*>(paintMessage.WParam);
  FOwn.SetHandle(&lender->Handle());
  FOwn.Font().CopyFrom(&font);
}

TLentCanvas::~TLentCanvas() { FOwn.SetHandle(nullptr); }
