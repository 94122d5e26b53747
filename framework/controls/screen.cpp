#include "framework/controls/screen.h"

#include <algorithm>

#include "framework/controls/custom_form.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "framework/port/backend_port.h"

namespace {
TScreen*& CurrentScreen() {
  static TScreen* current = nullptr;
  return current;
}
}  // namespace

TScreen* Screen() { return CurrentScreen(); }

int ScreenColorDepth() {
  if (const TScreen* screen = Screen()) return screen->ColorDepth();
  if (const TWindowSystem* ws = TWindowSystem::Current()) return ws->Backend().BitsPerPixel();
  return 32;
}

namespace {
int MeasureLineHeight(const TFont& font) {
  TCanvas canvas;
  canvas.Font().CopyFrom(&font);
  return canvas.TextHeight("0");
}
}  // namespace

TScreen::TScreen(TPlatformBackend& backend) : FBackend(backend), FLineHeightMeasure(MeasureLineHeight) {
  if (CurrentScreen() != nullptr) throw EInvalidOperation(rs::SApplicationInstalled);
  CurrentScreen() = this;
}

TScreen::~TScreen() { CurrentScreen() = nullptr; }

int TScreen::PixelsPerInch() const { return FBackend.PixelsPerInch(); }
int TScreen::Width() const { return FBackend.ScreenSize().cx; }
int TScreen::Height() const { return FBackend.ScreenSize().cy; }
int TScreen::ColorDepth() const { return FBackend.BitsPerPixel(); }
TPoint TScreen::CursorPos() const { return FBackend.CursorPos(); }

void TScreen::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->CursorChanged();
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(FForms, form);
  if (FActiveForm == form) FActiveForm = nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  return FActiveForm != nullptr ? FActiveForm->FocusedControl() : nullptr;
}

std::optional<int> TScreen::FontLineHeight(const TFont& font) const {
  if (!FLineHeightMeasure) return std::nullopt;
  return FLineHeightMeasure(font);
}
