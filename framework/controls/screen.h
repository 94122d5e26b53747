#pragma once
// TScreen: what the program knows of the desktop (resolution, size), the forms that
// exist and which of them is active. The application installs one; while it lives,
// Screen() answers it.
#include <functional>
#include <optional>
#include <vector>

#include "framework/core/geometry.h"
#include "framework/typeinfo/ident_maps.h"

class TCustomForm;
class TFont;
class TPlatformBackend;
class TWinControl;

class TScreen {
 public:
  explicit TScreen(TPlatformBackend& backend);
  ~TScreen();
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  int PixelsPerInch() const;
  int Width() const;
  int Height() const;
  // Bits per pixel of the screen: 8 for a palette screen, 32 for true colour.
  int ColorDepth() const;
  // Where the mouse pointer is, in screen coordinates.
  TPoint CursorPos() const;
  // A pointer shape for the whole program (crHourGlass while busy); crDefault leaves the
  // shape to the control under the pointer.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);

  // Forms register themselves while they exist; the active one has the keyboard.
  const std::vector<TCustomForm*>& Forms() const { return FForms; }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  TCustomForm* ActiveForm() const { return FActiveForm; }
  void SetActiveForm(TCustomForm* form) { FActiveForm = form; }
  // The focused control of the active form.
  TWinControl* ActiveControl() const;

  // The height of a line of text in `font` on this screen, as the text engine measures
  // it. The measure can be replaced (a test screen with fonts of known size); cleared,
  // the line height is unknown and forms load unscaled.
  using TLineHeightMeasure = std::function<int(const TFont&)>;
  void SetLineHeightMeasure(TLineHeightMeasure measure) { FLineHeightMeasure = std::move(measure); }
  std::optional<int> FontLineHeight(const TFont& font) const;

 private:
  TPlatformBackend& FBackend;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TLineHeightMeasure FLineHeightMeasure;
  TCursor FCursor = crDefault;
};

// The installed screen, or none.
TScreen* Screen();
// The colour depth to draw for: the installed screen's; else, for a message loop run
// without an application, its backend's; else 32 (no display to ask: true colour).
int ScreenColorDepth();
